#pragma once

#include <QString>

namespace qelvane {

// One of OpenCC's conversions between Simplified and Traditional characters, by the
// name of its configuration ("t2s.json", "s2t.json").
class ChineseConversion {
public:
    // Loads the conversion; throws StoreError when OpenCC cannot.
    explicit ChineseConversion(const char* config);
    ~ChineseConversion();
    ChineseConversion(const ChineseConversion&) = delete;
    ChineseConversion& operator=(const ChineseConversion&) = delete;

    // Throws StoreError when the conversion fails.
    QString operator()(const QString& text) const;

private:
    void* m_opencc = nullptr;
};

} // namespace qelvane
