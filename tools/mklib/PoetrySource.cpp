#include "PoetrySource.h"

#include "BuildError.h"
#include "BuildReport.h"
#include "Converter.h"
#include "CsvInput.h"
#include "Doubles.h"
#include "Epochs.h"
#include "FieldMending.h"
#include "LibraryWriter.h"
#include "PoetTable.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace qelvane::mklib {

namespace {

const QString Collection = QStringLiteral("Poetry");

struct Row {
    QString title, titleNote, authorNote, text;
};

// A file's label: its name without the number of a split file (宋_2.csv → 宋).
QString labelOf(const QString& fileName)
{
    static const QRegularExpression split(QStringLiteral("_[0-9]+$"));
    return QFileInfo(fileName).completeBaseName().remove(split);
}

int rank(const QString& label)
{
    const EpochLabel read = readEpochLabel(label);
    const int epoch = int(epochsInOrder().indexOf(read.earlier));
    switch (read.kind) {
    case EpochLabel::Kind::Classical:
        return epoch;
    case EpochLabel::Kind::Transitional:
        return 100 + epoch;
    default:
        return 200;
    }
}

QStringList filesOf(const QString& folder)
{
    const QDir dir(folder);
    if (!dir.exists())
        throw BuildError(QStringLiteral("%1：文件夹不存在").arg(folder));
    QStringList files = dir.entryList({QStringLiteral("*.csv")}, QDir::Files);
    if (files.isEmpty())
        throw BuildError(QStringLiteral("%1：没有 CSV 诗词文件（如 魏晋.csv）").arg(folder));
    QCollator numeric;
    numeric.setNumericMode(true);
    std::stable_sort(files.begin(), files.end(), [&](const QString& a, const QString& b) {
        const int ra = rank(labelOf(a)), rb = rank(labelOf(b));
        return ra != rb ? ra < rb : numeric.compare(a, b) < 0;
    });
    for (QString& file : files)
        file = dir.filePath(file);
    return files;
}

// Most texts stand on one line, their punctuation marking the verses: a line break after
// each sentence makes them read as the other poems do. Letters are not touched.
QString asVerses(const QString& text)
{
    if (text.contains(QLatin1Char('\n')))
        return text;
    static const QRegularExpression sentenceEnd(QStringLiteral("([。！？][”’」』）]?)(?=\\S)"));
    QString verses = text.trimmed();
    verses.replace(sentenceEnd, QStringLiteral("\\1\n"));
    return verses;
}

// The names a data set gives a poem whose author is unknown.
const QStringList& anonymousNames()
{
    static const QStringList names = {QStringLiteral("佚名"), QStringLiteral("无名氏"), QStringLiteral("失名"),
                                      QStringLiteral("阙名")};
    return names;
}

QString joined(const QStringList& lines)
{
    QStringList kept = lines;
    kept.removeAll(QString());
    return kept.join(QLatin1Char('\n'));
}

// The epoch a poet of the data set goes under, and the name, by the rules in order: the
// poet table; a passage's poet where the library holds him, else under the earlier epoch;
// the anonymous under the name the epoch uses; a poet whom the library holds under
// another epoch with one of these very poems is that poet, under the epoch holding more
// of his poems. Anyone else who shares a name with a poet held elsewhere stays apart.
struct Placement {
    QString epoch, name;
};
Placement place(LibraryWriter& writer, const QString& label, const QString& name, const QList<Row>& rows,
                BuildReport& report)
{
    const PoetTable& table = PoetTable::builtIn();
    const PoetTable::Shelf* shelf = table.shelf(Collection + QLatin1Char('/') + label, name);
    if (!shelf)
        shelf = table.shelf(Collection, name);
    if (shelf)
        return {shelf->epoch, shelf->name};

    const EpochLabel read = readEpochLabel(label);
    Placement placed{read.earlier, name};
    if (read.kind == EpochLabel::Kind::Transitional) {
        // The epochs of the passage, those between its two included (唐末宋初: 唐, 五代, 宋);
        // of those holding the poet, the one with most of his poems.
        const QStringList order = epochsInOrder();
        const qsizetype from = order.indexOf(read.earlier);
        const qsizetype to = read.later.isEmpty() ? from : order.indexOf(read.later);
        int most = 0;
        for (qsizetype i = from; i <= to; ++i)
            if (writer.holdsAuthor(order[i], name) && writer.poemCountOf(order[i], name) >= most) {
                most = writer.poemCountOf(order[i], name);
                placed.epoch = order[i];
            }
        const bool held = writer.holdsAuthor(placed.epoch, name);
        report.count(QStringLiteral("%1的诗人归入%2").arg(label, placed.epoch) +
                         (held ? QStringLiteral("（库中已有）") : QStringLiteral("（前一年代）")),
                     name);
    } else if (read.kind == EpochLabel::Kind::Unknown) {
        report.count(QStringLiteral("不认识的年代，自成一类"), label);
    }
    if (anonymousNames().contains(name)) {
        for (const QString& anonymous : anonymousNames())
            if (writer.holdsAuthor(placed.epoch, anonymous))
                return {placed.epoch, anonymous};
        return placed;
    }
    if (writer.holdsAuthor(placed.epoch, name))
        return placed;
    for (const QString& elsewhere : writer.epochsOfAuthor(name)) {
        const bool shares = std::any_of(rows.cbegin(), rows.cend(),
                                        [&](const Row& row) { return writer.holdsPoem(elsewhere, name, row.text); });
        if (!shares)
            continue;
        if (writer.poemCountOf(elsewhere, name) >= rows.size() || writer.isPinned(elsewhere, name)) {
            report.count(QStringLiteral("同名诗人收有相同的诗，归为一人"),
                         QStringLiteral("%1：%2 → %3").arg(name, label, elsewhere));
            return {elsewhere, name};
        }
        writer.moveAuthor(name, elsewhere, placed.epoch);
        report.count(QStringLiteral("同名诗人收有相同的诗，归为一人"),
                     QStringLiteral("%1：%2 → %3").arg(name, elsewhere, placed.epoch));
        return placed;
    }
    return placed;
}

// The data set gives many a series twice: whole under its title ("紫牡丹") and poem by
// poem ("紫牡丹 其一", "紫牡丹 其二"). The poems are kept; the whole, which adds nothing
// to them, is left out when its poems, each standing on its own, make it up.
QList<Row> withoutSeriesWholes(const QList<Row>& rows, BuildReport& report)
{
    QList<Row> kept;
    for (const Row& row : rows) {
        const QString prefix = row.title + QStringLiteral(" 其");
        const QString whole = doubles::letters(row.text);
        QSet<QString> parts;
        qsizetype covered = 0;
        bool contained = true;
        for (const Row& part : rows) {
            if (!part.title.startsWith(prefix))
                continue;
            const QString letters = doubles::letters(part.text);
            if (parts.contains(letters))
                continue;
            parts.insert(letters);
            covered += letters.size();
            contained = contained && whole.contains(letters);
        }
        // Only a whole its poems cover letter for letter: a preface of its own would be lost.
        if (parts.size() >= 2 && contained && covered == whole.size()) {
            report.count(QStringLiteral("组诗的全文与各首重复，只收各首"), row.title);
            continue;
        }
        kept << row;
    }
    return kept;
}

} // namespace

QStringList poetryLabels(const QString& folder)
{
    QStringList labels;
    for (const QString& file : filesOf(folder))
        if (!labels.contains(labelOf(file)))
            labels << labelOf(file);
    return labels;
}

void importPoetry(LibraryWriter& writer, const Converter& simplifiedConvert, const QString& folder,
                  BuildReport& report)
{
    const Converter convert = simplifiedConvert.forCollection(false);
    static const QStringList header = {QStringLiteral("题目"), QStringLiteral("朝代"), QStringLiteral("作者"),
                                       QStringLiteral("内容")};
    for (const QString& file : filesOf(folder)) {
        const QList<CsvRecord> records = readCsv(file);
        if (records.isEmpty() || records.first().fields != header)
            throw BuildError(QStringLiteral("%1：第 1 行应为 \"题目\",\"朝代\",\"作者\",\"内容\"").arg(file));
        // The poems of one file by label and poet, in the order they first come.
        QList<QPair<QString, QString>> poets;
        QHash<QPair<QString, QString>, QList<Row>> rowsOf;
        for (qsizetype i = 1; i < records.size(); ++i) {
            const CsvRecord& record = records[i];
            if (record.fields.size() != 4)
                throw BuildError(QStringLiteral("%1：第 %2 行：应有 4 栏，实有 %3 栏")
                                     .arg(file).arg(record.line).arg(record.fields.size()));
            const QString where = QStringLiteral("%1 第 %2 行").arg(QFileInfo(file).fileName()).arg(record.line);
            const QString label = record.fields[1].trimmed().isEmpty() ? labelOf(file) : record.fields[1].trimmed();
            if (readEpochLabel(label).kind == EpochLabel::Kind::Modern) {
                report.count(QStringLiteral("现代的诗不收（%1）").arg(label), QFileInfo(file).fileName());
                continue;
            }
            QString text = convert(mending::withLostCharacters(record.fields[3], where, report));
            text = mending::withoutWebResidue(text, where, report);
            if (text.trimmed().isEmpty()) {
                ++writer.skippedWithoutText;
                if (writer.warning)
                    writer.warning(QStringLiteral("%1：没有诗句，已跳过").arg(where));
                continue;
            }
            const mending::Title title = mending::title(
                convert(mending::withLostCharacters(record.fields[0], where, report)), report);
            const mending::Author author = mending::author(
                convert(mending::withLostCharacters(record.fields[2], where, report)), report);
            const QString name = author.name.isEmpty() ? QStringLiteral("无名氏") : author.name;
            const QPair<QString, QString> key{label, name};
            if (!rowsOf.contains(key))
                poets << key;
            rowsOf[key].append({title.title.isEmpty() ? QStringLiteral("无题") : title.title, title.note, author.note,
                                asVerses(text)});
        }
        for (const auto& [label, name] : poets) {
            const QList<Row> rows = withoutSeriesWholes(rowsOf[{label, name}], report);
            const Placement placed = place(writer, label, name, rows, report);
            const EpochLabel read = readEpochLabel(label);
            // A passage's poets are counted by their rule; the others when moved or renamed.
            if (read.kind != EpochLabel::Kind::Transitional || placed.name != name)
                writer.countShelvedElsewhere(name, read.kind == EpochLabel::Kind::Transitional ? placed.epoch : read.earlier,
                                             placed.name, placed.epoch, int(rows.size()));
            writer.chinaAuthor(placed.epoch, placed.name, {});
            for (const Row& row : rows)
                writer.addChinaPoem(placed.epoch, placed.name, row.title, row.text,
                                    joined({row.authorNote, row.titleNote}));
        }
    }
}

} // namespace qelvane::mklib
