#pragma once

#include <QString>

// The tags of the library tree's nodes: the two roots, the epochs and countries, and
// the authors of either side.
namespace qelvane::tags {

inline const QString ChinaRoot = QStringLiteral("ChinaPoem");
inline const QString ForeignRoot = QStringLiteral("ForeignPoem");
inline const QString ChinaEpoch = QStringLiteral("ChinaEpoch");
inline const QString ForeignCountry = QStringLiteral("ForeignCountry");
inline const QString ChinaPoet = QStringLiteral("ChinaPoet");
inline const QString ForeignPoet = QStringLiteral("ForeignPoet");

} // namespace qelvane::tags
