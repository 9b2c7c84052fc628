#pragma once

#include <QString>

namespace qelvane {

// Traditional Chinese text turned into Simplified by OpenCC's t2s conversion (the
// library builder's --t2s, and the find box for what a reader types).
class Simplified {
public:
    // Loads the conversion; throws StoreError when OpenCC cannot.
    Simplified();
    ~Simplified();
    Simplified(const Simplified&) = delete;
    Simplified& operator=(const Simplified&) = delete;

    // Throws StoreError when the conversion fails.
    QString operator()(const QString& text) const;

private:
    void* m_opencc = nullptr;
};

} // namespace qelvane
