#pragma once

#include "store/Simplified.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace qelvane::mklib {

// Turns Traditional Chinese text into Simplified through OpenCC; when not asked to,
// it hands the text back as it is.
class Converter {
public:
    explicit Converter(bool toSimplified);

    QString operator()(const QString& text) const;
    QStringList operator()(const QStringList& texts) const;

private:
    std::optional<Simplified> m_simplified;
};

} // namespace qelvane::mklib
