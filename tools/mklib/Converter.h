#pragma once

#include "store/Simplified.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>

namespace qelvane::mklib {

// Turns Traditional Chinese text into Simplified through OpenCC; when not asked to,
// it hands the text back as it is. A collection already in Simplified characters gets
// only the Traditional characters left in it converted (Simplified::leftovers).
class Converter {
public:
    explicit Converter(bool toSimplified);

    // The conversion for a collection in Traditional characters (all of it) or in
    // Simplified ones (what is left over); it counts into this one's tally.
    Converter forCollection(bool traditional) const;

    QString operator()(const QString& text) const;
    QStringList operator()(const QStringList& texts) const;

    // The left-over Traditional characters converted so far, as "陽→阳" with how often.
    QMap<QString, int> leftoversConverted() const { return m_tally ? *m_tally : QMap<QString, int>(); }
    // The conversion itself, when asked for.
    const Simplified* simplified() const { return m_simplified.get(); }

private:
    std::shared_ptr<Simplified> m_simplified;
    std::shared_ptr<QMap<QString, int>> m_tally;
    bool m_whole = true;
};

} // namespace qelvane::mklib
