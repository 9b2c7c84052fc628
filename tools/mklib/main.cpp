// qelvane-mklib: makes a new poem library file for Qelvane.
#include "BuildError.h"
#include "BuildReport.h"
#include "Compaction.h"
#include "Converter.h"
#include "Epochs.h"
#include "PoetrySource.h"
#include "ScriptCheck.h"
#include "LibraryWriter.h"
#include "Sources.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

using namespace qelvane::mklib;

namespace {

void print(const QString& text, FILE* stream = stdout)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qelvane-mklib"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "生成 Qelvane 诗词库文件。\n"
        "例：qelvane-mklib --sample data --out poem.mdb\n"
        "    qelvane-mklib --sample data --corpus 唐=chinese-poetry/tang --corpus 宋=chinese-poetry/songci "
        "--t2s --out full.mdb\n"
        "    qelvane-mklib --sample data --checkout chinese-poetry --poetry Poetry/data --t2s --out full.mdb"));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("要生成的诗词库文件。"), QStringLiteral("文件"));
    const QCommandLineOption force(QStringLiteral("force"), QStringLiteral("覆盖已有的文件。"));
    const QCommandLineOption sample(QStringLiteral("sample"),
                                    QStringLiteral("Qelvane 自带的样本数据文件夹（含 library.json）。"),
                                    QStringLiteral("文件夹"));
    const QCommandLineOption corpus(QStringLiteral("corpus"),
                                    QStringLiteral("chinese-poetry 格式的诗词文件夹，归入给定的年代；可多次使用。"),
                                    QStringLiteral("年代=文件夹"));
    const QCommandLineOption checkout(QStringLiteral("checkout"),
                                      QStringLiteral("chinese-poetry 数据集的全部诗词集（诗经至纳兰性德），各归其年代。"),
                                      QStringLiteral("文件夹"));
    const QCommandLineOption poetry(QStringLiteral("poetry"),
                                    QStringLiteral("Werneror/Poetry 数据集的 CSV 文件夹（每个年代一个文件），各归其年代；现代诗词不收。"),
                                    QStringLiteral("文件夹"));
    const QCommandLineOption t2s(QStringLiteral("t2s"),
                                 QStringLiteral("将 --corpus 和 --checkout 的繁体字转换为简体字（OpenCC）；--poetry 的简体文字中残留的繁体字也转换。"));
    const QCommandLineOption compact(QStringLiteral("compact"),
                                     QStringLiteral("整理已有诗词库的查找索引，并把删除后空出的空间还给磁盘。"),
                                     QStringLiteral("文件"));
    parser.addOptions({out, force, sample, corpus, checkout, poetry, t2s, compact});
    parser.process(app);

    if (parser.isSet(compact)) {
        try {
            int shown = -1;
            const auto [before, after] = compactLibrary(parser.value(compact), [&shown](int percent) {
                if (percent / 10 != shown / 10)
                    print(QStringLiteral("已整理 %1%……").arg(percent));
                shown = percent;
            });
            print(QStringLiteral("完成：%1 由 %2 MB 变为 %3 MB")
                      .arg(parser.value(compact))
                      .arg(double(before) / 1048576.0, 0, 'f', 1)
                      .arg(double(after) / 1048576.0, 0, 'f', 1));
            return 0;
        } catch (const BuildError& error) {
            print(QStringLiteral("qelvane-mklib：%1").arg(error.message()), stderr);
            return 1;
        }
    }

    if (!parser.isSet(out)) {
        print(QStringLiteral("qelvane-mklib：请用 --out 指定要生成的文件。"), stderr);
        return 2;
    }
    if (!parser.isSet(sample) && !parser.isSet(corpus) && !parser.isSet(checkout) && !parser.isSet(poetry)) {
        print(QStringLiteral("qelvane-mklib：请用 --sample、--corpus、--checkout 或 --poetry 指定数据来源。"), stderr);
        return 2;
    }
    try {
        QList<ChineseSource> sources;
        for (const QString& value : parser.values(corpus)) {
            const qsizetype equals = value.indexOf(QLatin1Char('='));
            if (equals <= 0)
                throw BuildError(QStringLiteral("--corpus %1：应写作 年代=文件夹").arg(value));
            sources << chineseFolder(value.left(equals), value.mid(equals + 1));
        }
        Checkout whole;
        if (parser.isSet(checkout))
            whole = checkoutSources(parser.value(checkout));
        const Converter convert(parser.isSet(t2s));
        LibraryWriter writer(parser.value(out), parser.isSet(force));
        writer.progress = [](int poems) { print(QStringLiteral("已写入 %1 首……").arg(poems)); };
        writer.warning = [](const QString& text) { print(QStringLiteral("警告：%1").arg(text), stderr); };
        BuildReport report;
        writer.report = &report;
        // With whole data sets the tree shows the epochs in the order of history; one no
        // poet comes to is left out.
        if (parser.isSet(checkout) || parser.isSet(poetry))
            writer.reserveEpochs(epochsInOrder());
        if (parser.isSet(sample))
            importSample(writer, parser.value(sample));
        writer.keepSampleTitles();
        for (const ChineseSource& source : sources)
            importChinese(writer, convert, source, report);
        for (const ChineseSource& source : whole.sources)
            importChinese(writer, convert, source, report, whole.placeholders);
        // After the first data set, so the poets it holds keep their place.
        if (parser.isSet(poetry))
            importPoetry(writer, convert, parser.value(poetry), report);
        const int authors = writer.authorCount();
        const int poems = writer.poemCount();
        writer.commit();
        // After the commit, which leaves out the epochs no poet came to.
        const auto byEpoch = writer.chinaPoemsByEpoch();
        for (const auto& [epoch, count] : byEpoch)
            print(QStringLiteral("  %1：%2 首").arg(epoch).arg(count));
        print(QStringLiteral("完成：%1 位作者，%2 首诗词，写入 %3").arg(authors).arg(poems).arg(parser.value(out)));
        if (!writer.poemsShelvedElsewhere.isEmpty()) {
            print(QStringLiteral("归并到一位诗人、另归年代的作品："));
            for (auto it = writer.poemsShelvedElsewhere.cbegin(); it != writer.poemsShelvedElsewhere.cend(); ++it)
                print(QStringLiteral("  %1，%2 首").arg(it.key()).arg(it.value()));
        }
        if (!report.isEmpty()) {
            print(QStringLiteral("整理与归并（规则：次数，例）："));
            for (const QString& line : report.lines())
                print(line);
        }
        if (writer.skippedWithoutText > 0)
            print(QStringLiteral("跳过 %1 项没有诗句的条目（数据集中只有标题，没有正文）").arg(writer.skippedWithoutText));
        if (const qelvane::Simplified* simplified = convert.simplified()) {
            const QMap<QString, int> converted = convert.leftoversConverted();
            if (!converted.isEmpty()) {
                QStringList counts;
                for (auto it = converted.cbegin(); it != converted.cend(); ++it)
                    counts << QStringLiteral("%1 %2 处").arg(it.key()).arg(it.value());
                print(QStringLiteral("简体文字中残留的繁体字已转换：%1").arg(counts.join(QStringLiteral("，"))));
            }
            // The check at the end: the library as written holds no Traditional-only character.
            const QMap<QString, int> left = traditionalOnlyCharacters(parser.value(out), *simplified);
            if (left.isEmpty()) {
                print(QStringLiteral("繁体字检查：没有只属于繁体的字"));
            } else {
                QStringList counts;
                for (auto it = left.cbegin(); it != left.cend(); ++it)
                    counts << QStringLiteral("%1 %2 处").arg(it.key()).arg(it.value());
                print(QStringLiteral("繁体字检查：仍有 %1 个只属于繁体的字：%2").arg(left.size()).arg(counts.join(QStringLiteral("，"))));
            }
        }
    } catch (const BuildError& error) {
        print(QStringLiteral("qelvane-mklib：%1").arg(error.message()), stderr);
        return 1;
    }
    return 0;
}
