#include "Sources.h"

#include "BuildError.h"
#include "Converter.h"
#include "JsonInput.h"
#include "LibraryWriter.h"

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

// Some biographies of the data set stand twice in a row; one copy is kept.
QString withoutRepeat(const QString& text)
{
    const qsizetype half = text.size() / 2;
    if (text.size() % 2 == 1 && text.at(half).isSpace() && text.left(half) == text.mid(half + 1))
        return text.left(half);
    return text;
}

QHash<QString, QString> readBiographies(const Converter& convert, const QStringList& files)
{
    QHash<QString, QString> biographies;
    for (const QString& file : files) {
        const QJsonArray authors = readJsonArray(file);
        for (qsizetype i = 0; i < authors.size(); ++i) {
            const QJsonObject author = authors[i].toObject();
            const QString name = convert(requiredText(author, QStringLiteral("name"), file, i)).trimmed();
            QString biography = author.value(QStringLiteral("desc")).toString();
            if (biography.isEmpty())
                biography = author.value(QStringLiteral("description")).toString();
            if (!biography.trimmed().isEmpty() && !biographies.contains(name))
                biographies.insert(name, convert(withoutRepeat(biography.trimmed())));
        }
    }
    return biographies;
}

QString lines(const QStringList& paragraphs)
{
    return paragraphs.join(QLatin1Char('\n'));
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

void importChinese(LibraryWriter& writer, const Converter& convert, const ChineseSource& source)
{
    const QHash<QString, QString> biographies = readBiographies(convert, source.authorFiles);
    writer.epoch(source.epoch);
    for (const QString& file : source.poemFiles) {
        const QJsonArray poems = readJsonArray(file);
        for (qsizetype i = 0; i < poems.size(); ++i) {
            if (!poems[i].isObject())
                throw BuildError(QStringLiteral("%1：第 %2 项：应为对象").arg(file).arg(i + 1));
            const QJsonObject poem = poems[i].toObject();
            const QString author = convert(requiredText(poem, QStringLiteral("author"), file, i)).trimmed();
            // Untitled poems take the customary title; a poem without lines is left out.
            QString title = poem.value(QStringLiteral("title")).toString().trimmed();
            if (title.isEmpty())
                title = poem.value(QStringLiteral("rhythmic")).toString().trimmed();
            title = title.isEmpty() ? QStringLiteral("无题") : convert(title);
            const QStringList paragraphs = textList(poem, QStringLiteral("paragraphs"), file, i);
            if (paragraphs.isEmpty()) {
                if (writer.warning)
                    writer.warning(QStringLiteral("%1：第 %2 项没有诗句，已跳过").arg(file).arg(i + 1));
                continue;
            }
            const QStringList notes = textList(poem, QStringLiteral("notes"), file, i);
            writer.chinaAuthor(source.epoch, author, biographies.value(author));
            writer.addChinaPoem(source.epoch, author, title, convert(lines(paragraphs)), convert(lines(notes)));
        }
    }
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
        importChinese(writer, asIs, source);
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
