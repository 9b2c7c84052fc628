#pragma once

#include <QString>
#include <QStringList>

namespace qelvane::mklib {

// Turns Traditional Chinese text into Simplified through OpenCC; when not asked to,
// it hands the text back as it is.
class Converter {
public:
    explicit Converter(bool toSimplified);
    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    QString operator()(const QString& text) const;
    QStringList operator()(const QStringList& texts) const;

private:
    void* m_opencc = nullptr;
};

} // namespace qelvane::mklib
