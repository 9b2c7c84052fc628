// The metre of famous poems, each case one rule of 王力's, with the answer the rules give
// worked out by hand: the form, the pattern, the rhyme group and the faults at their place.
#include "text/Metre.h"
#include "text/MetreWords.h"
#include "text/Pinyin.h"
#include "text/RhymeBook.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace qelvane::metre;

namespace {

struct Poem {
    QString title;
    QString text;
};

Poem poem(const QString& title)
{
    QFile file(QStringLiteral(QELVANE_FIXTURES_DIR "/metre/poems.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QJsonValue& entry : QJsonDocument::fromJson(file.readAll()).array()) {
        const QJsonObject o = entry.toObject();
        if (o["title"].toString() == title) {
            QStringList lines;
            for (const QJsonValue& line : o["paragraphs"].toArray())
                lines.append(line.toString());
            return {title, lines.join(u'\n')};
        }
    }
    return {};
}

Metre metreOf(const QString& title, BookChoice choice = {})
{
    const Poem p = poem(title);
    return analyse(p.title, p.text, choice);
}

// "kind@line:column" for each fault, to compare with the rules' answer in one line.
QStringList faults(const Metre& m)
{
    QStringList out;
    for (const Fault& f : m.faults)
        out.append(QStringLiteral("%1@%2:%3").arg(f.kind).arg(f.line).arg(f.column));
    return out;
}

const CharMetre& at(const Metre& m, int line, int column)
{
    return m.chars[m.verse.phrases[line - 1].first + column - 1];
}

} // namespace

class tst_Metre : public QObject {
    Q_OBJECT
private slots:
    void regulatedVerse_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("start");
        QTest::addColumn<bool>("firstRhymes");
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<QStringList>("faults");
        // 仄起 (破), the first line ending oblique (在), 侵 at 深 心 金 簪.
        QTest::newRow("五律 仄起首句不入韵") << "春望" << "五言律诗" << "仄起" << false << QStringList{"下平十二侵"}
                                              << QStringList{};
        // 平起 (山), 西 rhyming with 低 泥 蹄 堤; 面 makes line 2 a 仄仄平平仄仄平 line, whose
        // fifth place 云 should be oblique.
        QTest::newRow("七律 平起首句入韵") << "钱塘湖春行" << "七言律诗" << "平起" << true << QStringList{"上平八齐"}
                                            << QStringList{"不合律@2:5"};
        // 纷 (文) beside 魂 村 (元): a neighbouring group, named, not a fault.
        QTest::newRow("绝句 首句借邻韵") << "清明" << "七言绝句" << "平起" << true
                                         << QStringList{"上平十三元", "上平十二文"} << QStringList{};
        // 雪飞半自秦: 仄平仄仄平, the foot's one level companion.
        QTest::newRow("孤平") << "江行无题一百首 二" << "五言绝句" << "仄起" << false << QStringList{"上平十一真"}
                              << QStringList{"孤平@2:1"};
        // 积雪浮云端: 浮云端, three level characters at the end.
        QTest::newRow("三平尾") << "终南望余雪" << "五言绝句" << "平起" << false << QStringList{"上平十四寒"}
                                << QStringList{"三平尾@2:3"};
        // 君 level where 粘 asks the oblique of 舍. 一 (oblique, line 3) and 无 (level, line 4)
        // both stand against their lines' patterns, but as the remedy of 对句相救: no fault.
        QTest::newRow("失粘, 对句相救") << "送元二使安西" << "七言绝句" << "平起" << true << QStringList{"上平十一真"}
                                       << QStringList{"失粘@3:2"};
    }
    void regulatedVerse()
    {
        QFETCH(QString, title);
        const Metre m = metreOf(title);
        QTEST(m.form, "form");
        QTEST(m.start, "start");
        QTEST(m.firstLineRhymes.value_or(false), "firstRhymes");
        QTEST(m.rhymeGroups, "groups");
        QTEST(faults(m), "faults");
    }

    void freeVerseAndOtherForms()
    {
        // Oblique rhymes (绝 灭 雪, 入声九屑) make a 古体 of a 五言 quatrain.
        const Metre snow = metreOf("江雪");
        QCOMPARE(snow.form, QString("古体诗"));
        QCOMPARE(snow.rhymeGroups, QStringList{"入声九屑"});
        QVERIFY(at(snow, 4, 5).foot);
        QVERIFY(!snow.regulated());
        QCOMPARE(describe(snow), QString("古体诗 · 平水韵 入声九屑"));
        // A poem in another script is neither.
        QCOMPARE(metreOf("Demain, dès l'aube").form, QString("其他"));
    }

    void polyphonesVariantsAndUnknowns()
    {
        // 思 (平 支, 仄 寘) at a foot rhyming in 支 takes the level reading.
        const Metre longing = metreOf("相思");
        QCOMPARE(at(longing, 4, 5).mark, Mark::Level);
        QVERIFY(at(longing, 4, 5).byPosition);
        QCOMPARE(longing.lines[3].footGroup, QString("上平四支"));
        // 看 (平 寒, 仄 翰) at a second place the pattern asks level of (照 oblique, 对).
        const Metre falls = metreOf("望庐山瀑布");
        QCOMPARE(at(falls, 2, 2).mark, Mark::Level);
        QVERIFY(at(falls, 2, 2).byPosition);
        // 牀 is read through 床 (下平七阳) and rhymes with 霜 and 乡.
        const Metre night = metreOf("静夜思");
        QCOMPARE(at(night, 1, 1).mark, Mark::Level);
        QVERIFY(readingsOf(U'牀', Book::Pingshui).contains("下平七阳"));
        QVERIFY(readingsOf(U'牀', Book::Pingshui).contains("床"));
        // A lost character (□) is unknown, never guessed, and no fault is laid on it.
        const Metre statue = metreOf("寺中观卧像");
        QCOMPARE(at(statue, 1, 5).mark, Mark::Unknown);
        for (const Fault& f : statue.faults)
            QVERIFY(!(f.line == 1 && f.column == 5));
        QVERIFY(readingsOf(U'□', Book::Pingshui).endsWith("平水韵不收"));
        // 上声三讲, missing from the source table, is there.
        QVERIFY(RhymeBook::get(Book::Pingshui).groupNamed(u"上声三讲") >= 0);
        QVERIFY(readingsOf(U'讲', Book::Pingshui).contains("上声三讲"));
    }

    void tunes()
    {
        // 相见欢 格一 leaves 中 where 剪不断 理还乱 stand; its level rhymes in 第十二部,
        // the change to 断 乱 in 第七部 仄声.
        const Metre west = metreOf("相见欢");
        QCOMPARE(west.form, QString("词"));
        QCOMPARE(west.tune, QString("相见欢"));
        QCOMPARE(west.tuneForm, 0);
        QCOMPARE(west.book, Book::Cilin);
        QCOMPARE(west.rhymeGroups, (QStringList{"第十二部平声", "第七部仄声"}));
        QCOMPARE(faults(west), QStringList{});
        QCOMPARE(describe(west), QString("词 · 相见欢 · 格一 · 词林正韵 第十二部平声、第七部仄声"));
        // 卜算子 格一 ends 仄仄平平仄: 枫 (level) in 枫落吴江冷 stands against it.
        const Metre moon = metreOf("卜算子");
        QCOMPARE(moon.tuneForm, 0);
        QCOMPARE(faults(moon), QStringList{"不合谱@8:1"});
        // The tune is found by the part of a title before "·" or a space.
        const Poem p = poem("相见欢");
        QCOMPARE(analyse(u"相见欢·无言独上西楼", p.text).tune, QString("相见欢"));
        QCOMPARE(analyse(u"相见欢 一", p.text).tune, QString("相见欢"));
    }

    void pinyin()
    {
        // 看: kàn, the common reading, first; kān beside it.
        QCOMPARE(pinyinOf(U'看').readings, (QStringList{"kàn", "kān"}));
        QVERIFY(pinyinOf(U'看').polyphone());
        QCOMPARE(pinyinOf(U'月').readings, QStringList{"yuè"});
        // Unihan reads neither a lost character nor a character of another script.
        QVERIFY(pinyinOf(U'□').readings.isEmpty());
        QVERIFY(pinyinOf(U'a').readings.isEmpty());
    }

    void otherBooks()
    {
        // In the 中华新韵 the entering tones are gone: 绝 (入声 in the 平水韵) is 阳平, level.
        const Metre snow = metreOf("江雪", {Book::Xinyun});
        QCOMPARE(snow.book, Book::Xinyun);
        QCOMPARE(at(snow, 1, 5).mark, Mark::Level);
    }
};

QTEST_APPLESS_MAIN(tst_Metre)
#include "tst_metre.moc"
