#pragma once

#include <QMap>
#include <QString>

namespace qelvane {
class Simplified;
}

namespace qelvane::mklib {

// The characters of a written library's Chinese side (authors' names, biographies,
// titles, texts and notes) that belong to Traditional text only, with how often each
// occurs: after a build with --t2s there should be none. The data set's placeholders of
// characters Unicode lacks ("{上/貝}") are not looked into.
QMap<QString, int> traditionalOnlyCharacters(const QString& libraryFile, const Simplified& simplified);

} // namespace qelvane::mklib
