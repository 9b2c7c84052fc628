#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace qelvane::mklib {

class BuildReport;
class Converter;
class LibraryWriter;

// Poems and authors in the layout of the chinese-poetry data set: arrays of poems
// (author, title or the tune name "rhythmic", paragraphs, optional notes) and arrays
// of authors (name with desc or description), all put under one epoch.
// The other collections of the data set differ in their fields; a source names them.
struct ChineseSource {
    // The collection's name, as the poet table (poets.txt) knows it: 全唐诗, 宋词 ….
    QString collection;
    QString epoch;
    QStringList poemFiles;
    QStringList authorFiles;
    // The author of every poem, for collections that name none (诗经: 佚名).
    QString fixedAuthor;
    // Fields whose values open the notes, joined by "·" (诗经's chapter and section).
    QStringList notePrefixFields;
    // Whether the texts are Traditional and turned into Simplified (with --t2s).
    bool traditional = true;
};

// Placeholders such as "{上休下鳥}" for rare characters, and the character each stands
// for where Unicode has one (the data set's 表面结构字.json).
using PlaceholderMap = QHash<QString, QString>;
PlaceholderMap readPlaceholders(const QString& file);

// Every poetry collection of a checkout of the data set (or of a folder laid out like
// ../shared/corpus), each under its epoch: 诗经 and 楚辞 先秦, 曹操诗集 魏晋, 全唐诗 唐 and
// (its poet.song files) 宋, 五代诗词 五代, 宋词 宋, 元曲 元, 纳兰性德 清. Selections that repeat
// poems (唐诗三百首, 宋词三百首) are left out.
struct Checkout {
    QList<ChineseSource> sources;
    PlaceholderMap placeholders;
};
Checkout checkoutSources(const QString& folder);

// The data set's files in a folder: poet.*.json and ci.*.json are poems, author*.json
// authors; numbered files come in the order of their numbers.
ChineseSource chineseFolder(const QString& epoch, const QString& folder);

// `convert` applies to Traditional sources only; placeholders are written as characters.
// A poet goes under the epoch and name the poet table gives for the collection; names,
// titles and texts are mended (FieldMending), each mending counted in `report`.
void importChinese(LibraryWriter& writer, const Converter& convert, const ChineseSource& source, BuildReport& report,
                   const PlaceholderMap& placeholders = {});

// The program's own sample data: a folder with library.json naming the epochs,
// countries, the country list of the author editor, the metre templates, the Chinese
// sources and the foreign poets with their poems.
void importSample(LibraryWriter& writer, const QString& folder);

} // namespace qelvane::mklib
