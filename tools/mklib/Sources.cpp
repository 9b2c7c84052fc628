#include "Sources.h"

#include "BuildError.h"
#include "BuildReport.h"
#include "Converter.h"
#include "Epochs.h"
#include "FieldMending.h"
#include "JsonInput.h"
#include "LibraryWriter.h"
#include "PoetTable.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QRegularExpression>

namespace qelvane::mklib {

namespace {

QStringList numberedFiles(const QDir& dir, const QStringList& patterns)
{
    QStringList files = dir.entryList(patterns, QDir::Files);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(files.begin(), files.end(), [&numeric](const QString& a, const QString& b) {
        return numeric.compare(a, b) < 0;
    });
    for (QString& file : files)
        file = dir.filePath(file);
    return files;
}

// An author as the data set names one, without the count of poems a collection
// sometimes writes after the name (花间集's "尹鹗 六首"), so the poet is one author.
QString authorName(const QString& raw)
{
    static const QRegularExpression count(QStringLiteral("\\s+[〇零一二两三四五六七八九十百0-9]+首$"));
    return raw.trimmed().remove(count);
}

// Some biographies stand for the name with "--" ("--(？－约 1053) 字耆卿。"): the name
// is written there, as the others begin with it ("苏轼：(1037-1101) …").
QString withName(const QString& name, const QString& biography)
{
    if (!biography.startsWith(QLatin1String("--")))
        return biography;
    qsizetype start = 0;
    while (start < biography.size() && (biography.at(start) == QLatin1Char('-') || biography.at(start).isSpace()))
        ++start;
    return name + QStringLiteral("：") + biography.mid(start);
}

QHash<QString, QString> readBiographies(const Converter& convert, const QStringList& files, BuildReport& report)
{
    QHash<QString, QString> biographies;
    for (const QString& file : files) {
        const QJsonArray authors = readJsonArray(file);
        for (qsizetype i = 0; i < authors.size(); ++i) {
            const QJsonObject author = authors[i].toObject();
            // Under the name the poems are filed by; the mending is counted with the poems.
            BuildReport uncounted;
            const QString name =
                mending::author(convert(requiredText(author, QStringLiteral("name"), file, i)), uncounted).name;
            QString biography = author.value(QStringLiteral("desc")).toString();
            if (biography.isEmpty())
                biography = author.value(QStringLiteral("description")).toString();
            if (!biography.trimmed().isEmpty() && !biographies.contains(name))
                biographies.insert(name, convert(mending::withoutRepeat(withName(name, biography.trimmed()), name, report)));
        }
    }
    return biographies;
}

QString lines(const QStringList& paragraphs)
{
    return paragraphs.join(QLatin1Char('\n'));
}

// The first of several field names a collection uses for the same thing.
QStringList firstTextList(const QJsonObject& poem, const QStringList& keys, const QString& file, qsizetype index)
{
    for (const QString& key : keys)
        if (poem.contains(key))
            return textList(poem, key, file, index);
    return {};
}

// Notes come as an array of lines or, in some files, as one text.
QStringList notesOf(const QJsonObject& poem, const QString& file, qsizetype index)
{
    const QJsonValue notes = poem.value(QStringLiteral("notes"));
    if (notes.isString())
        return {notes.toString()};
    return textList(poem, QStringLiteral("notes"), file, index);
}

// The text converted, its placeholders written as the characters they stand for; a
// placeholder the map has no character for stays as the data set wrote it.
QString convertedText(const QString& text, const Converter& convert, const PlaceholderMap& placeholders)
{
    if (placeholders.isEmpty() || !text.contains(QLatin1Char('{')))
        return convert(text);
    static const QRegularExpression placeholder(QStringLiteral("\\{[^{}]{1,12}\\}"));
    QString written;
    qsizetype from = 0;
    for (auto match = placeholder.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        written += convert(text.mid(from, found.capturedStart() - from));
        written += placeholders.value(found.captured(), found.captured());
        from = found.capturedEnd();
    }
    return written + convert(text.mid(from));
}

QString relativeTo(const QString& folder, const QString& file)
{
    return QDir(folder).filePath(file);
}

} // namespace

ChineseSource chineseFolder(const QString& epoch, const QString& folder)
{
    const QDir dir(folder);
    if (!dir.exists())
        throw BuildError(QStringLiteral("%1：文件夹不存在").arg(folder));
    ChineseSource source;
    source.epoch = epoch;
    source.poemFiles = numberedFiles(dir, {QStringLiteral("poet.*.json"), QStringLiteral("ci.*.json")});
    source.authorFiles = numberedFiles(dir, {QStringLiteral("author*.json")});
    if (source.poemFiles.isEmpty())
        throw BuildError(QStringLiteral("%1：没有诗词文件（poet.*.json 或 ci.*.json）").arg(folder));
    return source;
}

void importChinese(LibraryWriter& writer, const Converter& traditionalToSimplified, const ChineseSource& source,
                   BuildReport& report, const PlaceholderMap& placeholders)
{
    const Converter convert = traditionalToSimplified.forCollection(source.traditional);
    const auto text = [&](const QString& raw) { return convertedText(raw, convert, placeholders); };
    const PoetTable& table = PoetTable::builtIn();
    QHash<QString, QString> biographies = readBiographies(convert, source.authorFiles, report);
    // In a fixed order, so that of two names of one poet the same biography wins every time.
    QStringList named = biographies.keys();
    named.sort();
    for (const QString& name : std::as_const(named))
        if (const PoetTable::Shelf* shelf = table.shelf(source.collection, name);
            shelf && shelf->name != name && !biographies.contains(shelf->name))
            biographies.insert(shelf->name, biographies.take(name));
    writer.epoch(source.epoch);
    for (const QString& file : source.poemFiles) {
        const QJsonArray poems = readJsonArray(file);
        for (qsizetype i = 0; i < poems.size(); ++i) {
            if (!poems[i].isObject())
                throw BuildError(QStringLiteral("%1：第 %2 项：应为对象").arg(file).arg(i + 1));
            const QJsonObject poem = poems[i].toObject();
            const mending::Author field =
                source.fixedAuthor.isEmpty()
                    ? mending::author(authorName(convert(requiredText(poem, QStringLiteral("author"), file, i))), report)
                    : mending::Author{source.fixedAuthor, {}};
            const QString& named = field.name;
            const PoetTable::Shelf* shelf = table.shelf(source.collection, named);
            const QString author = shelf ? shelf->name : named;
            if (shelf)
                writer.pinAuthor(shelf->epoch, author);
            // Untitled poems take the customary title; a poem without lines is left out.
            QString title = poem.value(QStringLiteral("title")).toString().trimmed();
            if (title.isEmpty())
                title = poem.value(QStringLiteral("rhythmic")).toString().trimmed();
            QStringList paragraphs = firstTextList(
                poem, {QStringLiteral("paragraphs"), QStringLiteral("content"), QStringLiteral("para")}, file, i);
            // 元曲 writes some songs of a suite whole into the title, after the tune and a
            // "・" ("尾・对着盏半明不灭的孤灯…"): the tune is the title, the rest the text.
            const qsizetype dot = title.indexOf(QChar(0x30FB));
            if (paragraphs.isEmpty() && dot > 0 && dot + 1 < title.size()) {
                paragraphs = {title.mid(dot + 1).trimmed()};
                title = title.left(dot).trimmed();
            }
            const mending::Title titled = mending::title(title.isEmpty() ? QStringLiteral("无题") : text(title), report);
            title = titled.title;
            if (paragraphs.isEmpty()) {
                ++writer.skippedWithoutText;
                if (writer.warning)
                    writer.warning(QStringLiteral("%1：第 %2 项没有诗句，已跳过").arg(file).arg(i + 1));
                continue;
            }
            QStringList notes = notesOf(poem, file, i);
            QStringList prefix;
            for (const QString& field : source.notePrefixFields)
                if (!poem.value(field).toString().isEmpty())
                    prefix << poem.value(field).toString();
            if (!prefix.isEmpty())
                notes.prepend(prefix.join(QStringLiteral("·")));
            for (const QString& moved : {titled.note, field.note})
                if (!moved.isEmpty())
                    notes.prepend(moved);
            const QString epoch = shelf ? shelf->epoch : source.epoch;
            if (epoch != source.epoch)
                writer.epoch(epoch);
            writer.countShelvedElsewhere(named, source.epoch, author, epoch);
            writer.chinaAuthor(epoch, author, biographies.value(author));
            const QString where = QStringLiteral("%1：%2《%3》").arg(source.collection, author, title);
            writer.addChinaPoem(epoch, author, title, mending::withoutWebResidue(text(lines(paragraphs)), where, report),
                                text(lines(notes)));
        }
    }
}

PlaceholderMap readPlaceholders(const QString& file)
{
    PlaceholderMap map;
    const QJsonObject placeholders = readJsonObject(file);
    for (auto entry = placeholders.begin(); entry != placeholders.end(); ++entry) {
        const QJsonArray forms = entry.value().toArray();
        if (!forms.isEmpty() && !forms.first().toObject().value(QStringLiteral("font")).toString().isEmpty())
            map.insert(entry.key(), forms.first().toObject().value(QStringLiteral("font")).toString());
    }
    return map;
}

namespace {

// The data set's folder by its name there or in ../shared/corpus.
QDir subfolder(const QString& checkout, const QStringList& names)
{
    for (const QString& name : names) {
        const QDir dir(QDir(checkout).filePath(name));
        if (dir.exists())
            return dir;
    }
    return QDir(QDir(checkout).filePath(names.first()));
}

QStringList existing(const QDir& dir, const QStringList& names)
{
    QStringList files;
    for (const QString& name : names)
        if (QFileInfo::exists(dir.filePath(name)))
            files << dir.filePath(name);
    return files;
}

ChineseSource collection(const QString& name, const QString& epoch, const QStringList& poemFiles, bool traditional)
{
    ChineseSource source;
    source.collection = name;
    source.epoch = epoch;
    source.poemFiles = poemFiles;
    source.traditional = traditional;
    return source;
}

} // namespace

Checkout checkoutSources(const QString& folder)
{
    if (!QDir(folder).exists())
        throw BuildError(QStringLiteral("%1：文件夹不存在").arg(folder));
    Checkout checkout;
    const QDir tang = subfolder(folder, {QStringLiteral("全唐诗"), QStringLiteral("tang")});
    if (QFileInfo::exists(tang.filePath(QStringLiteral("表面结构字.json"))))
        checkout.placeholders = readPlaceholders(tang.filePath(QStringLiteral("表面结构字.json")));

    // Where a collection files a poet otherwise than literary history (楚辞's Han poets,
    // 全唐诗's emperors and the poets of 五代), poets.txt says so, collection by collection.
    ChineseSource shijing = collection(QStringLiteral("诗经"), QStringLiteral("先秦"),
                                       existing(subfolder(folder, {QStringLiteral("诗经")}), {QStringLiteral("shijing.json")}),
                                       false);
    shijing.fixedAuthor = QStringLiteral("佚名");
    shijing.notePrefixFields = {QStringLiteral("chapter"), QStringLiteral("section")};
    ChineseSource chuci = collection(QStringLiteral("楚辞"), QStringLiteral("先秦"),
                                     existing(subfolder(folder, {QStringLiteral("楚辞")}), {QStringLiteral("chuci.json")}),
                                     false);
    chuci.notePrefixFields = {QStringLiteral("section")};
    ChineseSource caocao = collection(QStringLiteral("曹操诗集"), QStringLiteral("魏晋"),
                                      existing(subfolder(folder, {QStringLiteral("曹操诗集")}), {QStringLiteral("caocao.json")}),
                                      false);
    caocao.fixedAuthor = QStringLiteral("曹操");

    ChineseSource tangPoems = collection(QStringLiteral("全唐诗"), QStringLiteral("唐"),
                                         numberedFiles(tang, {QStringLiteral("poet.tang.*.json")}), true);
    tangPoems.poemFiles += existing(tang, {QStringLiteral("唐诗补录.json")});
    tangPoems.authorFiles = existing(tang, {QStringLiteral("authors.tang.json")});

    const QDir wudai = subfolder(folder, {QStringLiteral("五代诗词")});
    ChineseSource wudaiPoems = collection(
        QStringLiteral("五代诗词"), QStringLiteral("五代"),
        numberedFiles(QDir(wudai.filePath(QStringLiteral("huajianji"))), {QStringLiteral("huajianji-*-juan.json")}), false);
    wudaiPoems.poemFiles += existing(QDir(wudai.filePath(QStringLiteral("nantang"))), {QStringLiteral("poetrys.json")});
    wudaiPoems.authorFiles = existing(QDir(wudai.filePath(QStringLiteral("nantang"))), {QStringLiteral("authors.json")});

    ChineseSource songPoems = collection(QStringLiteral("全宋诗"), QStringLiteral("宋"),
                                         numberedFiles(tang, {QStringLiteral("poet.song.*.json")}), true);
    songPoems.authorFiles = existing(tang, {QStringLiteral("authors.song.json")});
    const QDir songci = subfolder(folder, {QStringLiteral("宋词"), QStringLiteral("songci")});
    ChineseSource ci = collection(QStringLiteral("宋词"), QStringLiteral("宋"),
                                  numberedFiles(songci, {QStringLiteral("ci.song.*.json")}), false);
    ci.authorFiles = existing(songci, {QStringLiteral("author.song.json")});

    ChineseSource yuanqu = collection(QStringLiteral("元曲"), QStringLiteral("元"),
                                      existing(subfolder(folder, {QStringLiteral("元曲")}), {QStringLiteral("yuanqu.json")}),
                                      false);
    ChineseSource nalan = collection(QStringLiteral("纳兰性德"), QStringLiteral("清"),
                                     existing(subfolder(folder, {QStringLiteral("纳兰性德")}),
                                              {QStringLiteral("纳兰性德诗集.json")}),
                                     false);

    for (const ChineseSource& source : {shijing, chuci, caocao, tangPoems, wudaiPoems, songPoems, ci, yuanqu, nalan})
        if (!source.poemFiles.isEmpty())
            checkout.sources << source;
    if (checkout.sources.isEmpty())
        throw BuildError(QStringLiteral("%1：找不到 chinese-poetry 数据集的诗词文件").arg(folder));
    return checkout;
}

void importSample(LibraryWriter& writer, const QString& folder)
{
    const QString manifestFile = relativeTo(folder, QStringLiteral("library.json"));
    const QJsonObject manifest = readJsonObject(manifestFile);
    auto names = [&](const char* key) {
        QStringList list;
        for (const QJsonValue& value : manifest.value(QLatin1String(key)).toArray())
            list << value.toString();
        if (list.isEmpty())
            throw BuildError(QStringLiteral("%1：缺少“%2”").arg(manifestFile, QLatin1String(key)));
        return list;
    };
    for (const QString& epoch : names("epochs"))
        writer.epoch(epoch);
    for (const QString& country : names("countries"))
        writer.country(country);
    for (const QString& country : names("foreignEpoch"))
        writer.addForeignEpoch(country);

    const QString formatsFile = relativeTo(folder, manifest.value(QStringLiteral("formats")).toString());
    const QJsonArray formats = readJsonArray(formatsFile);
    for (qsizetype i = 0; i < formats.size(); ++i) {
        const QJsonObject format = formats[i].toObject();
        writer.addFormat(requiredText(format, QStringLiteral("name"), formatsFile, i),
                         lines(textList(format, QStringLiteral("lines"), formatsFile, i)));
    }

    const Converter asIs(false);
    for (const QJsonValue& entry : manifest.value(QStringLiteral("chinese")).toArray()) {
        const QJsonObject object = entry.toObject();
        ChineseSource source;
        source.epoch = object.value(QStringLiteral("epoch")).toString();
        for (const QJsonValue& file : object.value(QStringLiteral("poems")).toArray())
            source.poemFiles << relativeTo(folder, file.toString());
        for (const QJsonValue& file : object.value(QStringLiteral("authors")).toArray())
            source.authorFiles << relativeTo(folder, file.toString());
        BuildReport sampleStandsAsWritten;
        importChinese(writer, asIs, source, sampleStandsAsWritten);
    }

    const QString foreignFile = relativeTo(folder, manifest.value(QStringLiteral("foreign")).toString());
    const QJsonArray poets = readJsonArray(foreignFile);
    for (qsizetype i = 0; i < poets.size(); ++i) {
        const QJsonObject poet = poets[i].toObject();
        const QString country = requiredText(poet, QStringLiteral("country"), foreignFile, i);
        const QString name = requiredText(poet, QStringLiteral("author"), foreignFile, i);
        writer.foreignAuthor(country, name, requiredText(poet, QStringLiteral("bio"), foreignFile, i));
        const QJsonArray poems = poet.value(QStringLiteral("poems")).toArray();
        for (qsizetype j = 0; j < poems.size(); ++j) {
            const QJsonObject poem = poems[j].toObject();
            const QString where = QStringLiteral("%1（第 %2 位诗人）").arg(foreignFile).arg(i + 1);
            writer.addForeignPoem(country, name, requiredText(poem, QStringLiteral("title"), where, j),
                                  lines(textList(poem, QStringLiteral("paragraphs"), where, j)),
                                  lines(textList(poem, QStringLiteral("notes"), where, j)));
        }
    }
}

} // namespace qelvane::mklib
