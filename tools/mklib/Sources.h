#pragma once

#include <QString>
#include <QStringList>

namespace qelvane::mklib {

class Converter;
class LibraryWriter;

// Poems and authors in the layout of the chinese-poetry data set: arrays of poems
// (author, title or the tune name "rhythmic", paragraphs, optional notes) and arrays
// of authors (name with desc or description), all put under one epoch.
struct ChineseSource {
    QString epoch;
    QStringList poemFiles;
    QStringList authorFiles;
};

// The data set's files in a folder: poet.*.json and ci.*.json are poems, author*.json
// authors; numbered files come in the order of their numbers.
ChineseSource chineseFolder(const QString& epoch, const QString& folder);

void importChinese(LibraryWriter& writer, const Converter& convert, const ChineseSource& source);

// The program's own sample data: a folder with library.json naming the epochs,
// countries, the country list of the author editor, the metre templates, the Chinese
// sources and the foreign poets with their poems.
void importSample(LibraryWriter& writer, const QString& folder);

} // namespace qelvane::mklib
