// The library builder on good and bad input.
#include "BuildError.h"
#include "BuildReport.h"
#include "Converter.h"
#include "CsvInput.h"
#include "Doubles.h"
#include "LibraryWriter.h"
#include "Sources.h"
#include "TestLibrary.h"
#include "store/Changes.h"
#include "store/DbConnection.h"
#include "store/FindIndex.h"
#include "store/FindIndexUpkeep.h"
#include "store/Schema.h"
#include "store/Simplified.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace qelvane;
using namespace qelvane::mklib;

namespace {

void writeJson(const QString& file, const QJsonArray& array)
{
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QJsonDocument(array).toJson());
}

QJsonObject poem(const QString& author, const QString& title, const QStringList& lines)
{
    return {{"author", author}, {"title", title}, {"paragraphs", QJsonArray::fromStringList(lines)}};
}

QString buildError(const std::function<void()>& build)
{
    try {
        build();
    } catch (const BuildError& error) {
        return error.message();
    }
    return {};
}

// A checkout-shaped folder: 全唐诗 with Tang and Song files side by side (the Song
// ones made from Tang files), a selection, the placeholder map and every other
// collection in its own fields.
void writeCheckout(const QString& checkout)
{
    writeJson(checkout + "/全唐诗/poet.tang.0.json",
              {poem("李白", "靜夜思", {"床前明月光，疑是地上霜。"}),
               QJsonObject{{"author", "李白"}, {"title", "怪字"}, {"paragraphs", QJsonArray{"一{上休下鳥}二{上/貝}"}}},
               poem("韋莊", "臺城", {"江雨霏霏江草齊，六朝如夢鳥空啼。"}),
               poem("後主煜", "浪淘沙", {"簾外雨潺潺，春意闌珊。"})});
    writeJson(checkout + "/全唐诗/authors.tang.json",
              {QJsonObject{{"name", "李白"}, {"desc", "唐代詩人。"}},
               QJsonObject{{"name", "後主煜"}, {"desc", "煜，字重光，南唐元宗子。"}}});
    // Another 韦庄, of 宋, who only shares the name.
    writeJson(checkout + "/全唐诗/poet.song.0.json",
              {poem("蘇軾", "題西林壁", {"橫看成嶺側成峰"}), poem("韋莊", "宋人詩", {"一句而已"})});
    writeJson(checkout + "/全唐诗/authors.song.json", {QJsonObject{{"name", "蘇軾"}, {"desc", ""}}});
    writeJson(checkout + "/全唐诗/唐诗三百首.json", {poem("李白", "靜夜思", {"床前明月光，疑是地上霜。"})});
    writeJson(checkout + "/全唐诗/唐诗补录.json",
              {QJsonObject{{"author", "佚名"}, {"title", ""}, {"paragraphs", QJsonArray{"住在绿池边"}},
                           {"notes", "长沙窑补遗"}}});
    QDir().mkpath(checkout + "/全唐诗");
    QFile map(checkout + "/全唐诗/表面结构字.json");
    if (!map.open(QIODevice::WriteOnly))
        QFAIL("cannot write the placeholder map");
    map.write(R"({"{上休下鳥}": [{"font": "𪀪", "unicode": "\U0002A02A"}], "{上/貝}": []})");
    map.close();
    writeJson(checkout + "/宋词/ci.song.0.json",
              {QJsonObject{{"author", "苏轼"}, {"rhythmic", "水调歌头"}, {"paragraphs", QJsonArray{"明月几时有"}}}});
    writeJson(checkout + "/宋词/author.song.json",
              {QJsonObject{{"name", "苏轼"}, {"description", "宋代文学家。"}},
               QJsonObject{{"name", "柳永"}, {"description", "--(？－约 1053) 字耆卿。"}}});
    writeJson(checkout + "/宋词/ci.song.1.json",
              {QJsonObject{{"author", "柳永"}, {"rhythmic", "雨霖铃"}, {"paragraphs", QJsonArray{"寒蝉凄切"}}}});
    writeJson(checkout + "/诗经/shijing.json",
              {QJsonObject{{"title", "关雎"}, {"chapter", "国风"}, {"section", "周南"},
                           {"content", QJsonArray{"关关雎鸠，在河之洲。"}}}});
    writeJson(checkout + "/楚辞/chuci.json",
              {QJsonObject{{"title", "离骚"}, {"section", "离骚"}, {"author", "屈原"},
                           {"content", QJsonArray{"帝高阳之苗裔兮"}}},
               QJsonObject{{"title", "惜誓"}, {"section", "惜誓"}, {"author", "贾谊"},
                           {"content", QJsonArray{"惜余年老而日衰兮"}}},
               QJsonObject{{"title", "九怀·匡机"}, {"section", "九怀"}, {"author", "王褒"},
                           {"content", QJsonArray{"极运兮不中，来将屈兮困穷。"}}}});
    writeJson(checkout + "/曹操诗集/caocao.json",
              {QJsonObject{{"title", "观沧海"}, {"paragraphs", QJsonArray{"东临碣石，以观沧海。"}}}});
    writeJson(checkout + "/五代诗词/huajianji/huajianji-1-juan.json",
              {QJsonObject{{"author", "温庭筠"}, {"title", "菩萨蛮"}, {"paragraphs", QJsonArray{"小山重叠金明灭"}},
                           {"notes", QJsonArray{"小山：屏山。"}}},
               QJsonObject{{"author", "温庭筠 二首"}, {"title", "更漏子"}, {"paragraphs", QJsonArray{"玉炉香，红蜡泪"}}},
               // Simplified but for a stray Traditional 陽; 乾, right in Simplified, stays.
               QJsonObject{{"author", "韦庄"}, {"title", "菩萨蛮 洛阳"}, {"paragraphs", QJsonArray{"洛陽城里春光好，乾坤"}}},
               QJsonObject{{"author", "欧陽炯"}, {"title", "南乡子"}, {"paragraphs", QJsonArray{"嫩草如烟"}}}});
    writeJson(checkout + "/五代诗词/nantang/poetrys.json",
              {QJsonObject{{"author", "李煜"}, {"rhythmic", "虞美人"}, {"paragraphs", QJsonArray{"春花秋月何时了"}}}});
    writeJson(checkout + "/五代诗词/nantang/authors.json", {QJsonObject{{"name", "李煜"}, {"desc", "南唐后主。"}}});
    writeJson(checkout + "/元曲/yuanqu.json",
              {QJsonObject{{"dynasty", "yuan"}, {"author", "马致远"}, {"title", "天净沙·秋思"},
                           {"paragraphs", QJsonArray{"枯藤老树昏鸦"}}},
               QJsonObject{{"dynasty", "yuan"}, {"author", "关汉卿"},
                           {"title", "尾・对着盏半明不灭的孤灯双眉皱，冷清清没个人瞅"}, {"paragraphs", QJsonArray{}}},
               QJsonObject{{"dynasty", "yuan"}, {"author", "关汉卿"}, {"title", "寄生草"}, {"paragraphs", QJsonArray{}}}});
    writeJson(checkout + "/纳兰性德/纳兰性德诗集.json",
              {QJsonObject{{"title", "长相思"}, {"author", "纳兰性德"}, {"para", QJsonArray{"山一程，水一程"}}}});
}


void writeText(const QString& file, const QString& text)
{
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

// The cases of mending and merging, in both data sets: the chinese-poetry layout (beside
// writeCheckout's files) and the Werneror/Poetry CSV layout.
void writeBothDataSets(const QString& checkout, const QString& poetry)
{
    writeCheckout(checkout);
    writeJson(checkout + "/全唐诗/poet.tang.1.json",
              {poem("太宗皇帝", "帝京篇 一", {"秦川雄帝宅，函谷壮皇居。"}),
               poem("馮延巳", "謁金門", {"風乍起，吹皺一池春水。"}),
               poem("後主煜", "相見歡 一", {"林花謝了春紅，太悤悤。", "無奈朝來寒雨，晚來風。", "胭脂淚，相留醉，幾時重。",
                                            "自是人生長恨，水長東。"}),
               poem("張祜", "寄友人乞菊栽（〖1〗《全唐詩》八八四有缺字。）", {"小庭今日種菊栽"}),
               poem("張彥修〖1〗", "題壁", {"一壁題詩"})});
    writeJson(checkout + "/全唐诗/authors.tang.json",
              {QJsonObject{{"name", "李白"}, {"desc", "唐代詩人。"}},
               QJsonObject{{"name", "後主煜"}, {"desc", "煜，字重光，南唐元宗子。"}},
               QJsonObject{{"name", "張祜"}, {"desc", "張祜，字承吉。    張祜，字承吉。"}}});
    writeJson(checkout + "/五代诗词/nantang/poetrys.json",
              {QJsonObject{{"author", "李煜"}, {"rhythmic", "虞美人"}, {"paragraphs", QJsonArray{"春花秋月何时了"}}},
               QJsonObject{{"author", "李煜"}, {"title", "相见欢·林花谢了春红"},
                           {"paragraphs", QJsonArray{"林花谢了春红，太匆匆！", "无奈朝来寒雨晚来风。", "胭脂泪，留人醉，几时重？",
                                                     "自是人生长恨水长东！"}},
                           {"notes", QJsonArray{"谢：凋谢。"}}}});
    writeJson(checkout + "/宋词/ci.song.2.json",
              {QJsonObject{{"author", "吴淑姬2"}, {"rhythmic", "长相思令"}, {"paragraphs", QJsonArray{"烟霏霏，雪霏霏"}}},
               QJsonObject{{"author", "韦庄"}, {"rhythmic", "谒金门"}, {"paragraphs", QJsonArray{"春雨足，染就一溪新绿"}}}});
    writeJson(checkout + "/元曲/yuanqu.json",
              {QJsonObject{{"author", "高明《蔡伯喈琵琶记》"}, {"title", "甘州歌"}, {"paragraphs", QJsonArray{"衷肠闷损"}}},
               QJsonObject{{"author", "刘秉忠"}, {"title", "双调・蟾宫曲"},
                           {"paragraphs", QJsonArray{"盼和风春雨如膏",
                                                     "中国诗歌库中华诗库首页,{Connection=[close],Server=[LiteSpeed]}>。"}}}});

    const QString header = "\"题目\",\"朝代\",\"作者\",\"内容\"\n";
    writeText(poetry + "/魏晋.csv", header + "\"饮酒 其五\",\"魏晋\",\"陶潜\",\"结庐在人境，而无车马喧。问君何能尔？心远地自偏。\"\n"
                                             "\"桃花源诗（并序）\",\"魏晋\",\"陶潜\",\"嬴氏乱天纪，贤者避其世。\"\n"
                                             // A series whole and poem by poem.
                                             "\"拟古二首\",\"魏晋\",\"陶潜\",\"荣荣窗下兰，密密堂前柳。辞家夙严驾，当往至无终。\"\n"
                                             "\"拟古二首 其一\",\"魏晋\",\"陶潜\",\"荣荣窗下兰，密密堂前柳。\"\n"
                                             "\"拟古二首 其二\",\"魏晋\",\"陶潜\",\"辞家夙严驾，当往至无终。\"\n");
    // A 王褒 of 北周 beside 楚辞's 王褒 of 汉; a character the data set lost; a text in
    // quotes across two lines with a doubled quote.
    writeText(poetry + "/南北朝.csv", header + "\"渡河北\",\"南北朝\",\"王褒\",\"秋风吹木叶，还似洞庭波。\"\n"
                                               "\"拟咏怀 其一\",\"南北朝\",\"庾信\",\"步兵未?饮，中散未弹琴。\"\r\n"
                                               "\"杨柳歌\",\"南北朝\",\"庾信\",\"河边杨柳百丈枝，\r\n别有\"\"长条\"\"踠地垂。\"\n");
    writeText(poetry + "/隋末唐初.csv", header + "\"帝京篇十首 其一\",\"隋末唐初\",\"李世民\",\"秦川雄帝宅，函谷壮皇州。\"\n"
                                                 "\"述怀\",\"隋末唐初\",\"魏徵\",\"中原还逐鹿，投笔事戎轩。\"\n");
    writeText(poetry + "/金_2.csv", header + "\"论诗三十首 其二\",\"金\",\"元好问\",\"曹刘坐啸虎生风，四海无人角两雄。\"\n");
    writeText(poetry + "/金_1.csv", header + "\"论诗三十首 其一\",\"金\",\"元好问\",\"汉谣魏什久纷纭，正体无人与细论。\"\n"
                                             "\"题壁\",\"金\",\"石抹世绩（一首\",\"一壁青山\"\n");
    // A passage with an epoch between its two: 冯延巳 stays under 五代.
    writeText(poetry + "/唐末宋初.csv", header + "\"长命女\",\"唐末宋初\",\"冯延巳\",\"春日宴，绿酒一杯歌一遍。\"\n");
    writeText(poetry + "/近现代.csv", header + "\"自题小像\",\"近现代\",\"鲁迅\",\"灵台无计逃神矢，风雨如磐暗故园。\"\n");
}

} // namespace

class tst_MkLib : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QStringList filesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files); }

    struct Cli {
        int exitCode;
        QString out, err;
    };
    Cli runBuilder(const QStringList& arguments)
    {
        QProcess builder;
        builder.start(QELVANE_MKLIB, arguments);
        builder.waitForFinished(120000);
        return {builder.exitCode(), QString::fromLocal8Bit(builder.readAllStandardOutput()),
                QString::fromLocal8Bit(builder.readAllStandardError())};
    }

private slots:
    void theFixtureHasEveryTableAndColumn()
    {
        const QString file = test::copyFixtureLibrary(m_dir.filePath("full"));
        for (const schema::Table& table : schema::tables())
            for (const schema::Column& column : table.columns)
                QVERIFY(test::scalar(file, QString("select count(%1) >= 0 from %2").arg(column.name, table.name)).toBool());
        // The program opens what the builder makes.
        QVERIFY(DbConnection::Open(file)->isOpen());
        QCOMPARE(test::scalar(file, "select count(*) from ChinaPoem where tf=false").toInt(), 6);
        QCOMPARE(test::scalar(file, "select count(*) from ForeignPoem where tf=false").toInt(), 4);
        QCOMPARE(test::scalar(file, "select group_concat(Name || '=' || Count) from NewCount").toString(),
                 QString("Author=0,Poem=0"));
        // Every author has a biography row, with Null where none was given.
        QCOMPARE(test::scalar(file, "select count(*) from ChinaAuthor").toInt(), 4);
        QCOMPARE(test::scalar(file, "select count(*) from ChinaAuthorDetail").toInt(), 4);
        QCOMPARE(test::scalar(file, "select AuthorID from ChinaAuthorDetail where AuthorDetail is null").toString(),
                 QString("A3"));
        QCOMPARE(test::scalar(file, "select count(*) from ForeignAuthorDetail where AuthorDetail is not null").toInt(), 3);
        QCOMPARE(test::scalar(file, "select Content from ForeignPoem where PoemID='WP1'").toString(),
                 QString("The sun comes up.\n\nThe day begins."));
        QCOMPARE(test::scalar(file, "select Name from ChinaPoem where PoemID='P6'").toString(), QString("水调歌头"));
        QVERIFY(test::scalar(file, "select count(*) from sqlite_master where type='index' and name='idx_ChinaPoem_AuthorID'")
                    .toBool());
    }

    // A library made before the freed pages were kept apart: --compact sweeps the index
    // of a big deletion and shrinks the file, which from then on gives pages back itself.
    void compactingALibraryAfterABigDeletion()
    {
        const QString file = test::copyFixtureLibrary(m_dir.filePath("compact"));
        test::seed(file, "pragma auto_vacuum=0");
        test::seed(file, "vacuum");
        test::seed(file, "insert into ChinaPoem(PoemID,Name,Content,Epoch,tf) "
                         "with recursive n(i) as (select 1 union all select i+1 from n where i<2000) "
                         "select 'X'||i, '题'||i, replace(hex(zeroblob(600)),'0','月'), '宋', false from n");
        {
            auto db = DbConnection::Open(file);
            DbConnection::Transaction build(*db);
            findindex::build(db->sqliteHandle());
            build.commit();
            changes::deletePlace(*db, LibrarySide::China, "宋");
            QVERIFY(findindex::tombstones(db->sqliteHandle()) >= 2000);
        }
        const qint64 before = QFileInfo(file).size();
        const Cli cli = runBuilder({"--compact", file});
        QCOMPARE(cli.exitCode, 0);
        QVERIFY2(cli.out.contains("完成"), qPrintable(cli.out + cli.err));
        QVERIFY2(QFileInfo(file).size() < before / 2, qPrintable(QString::number(QFileInfo(file).size())));
        QCOMPARE(test::scalar(file, "pragma auto_vacuum").toInt(), 2);
        auto db = DbConnection::Open(file);
        QCOMPARE(findindex::tombstones(db->sqliteHandle()), 0);
        QCOMPARE(findindex::find(db->sqliteHandle(), "床前明月光", 5).value(0).poemId, QString("P1"));
        const QStringList faults = test::findIndexFaults(*db);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        QCOMPARE(runBuilder({"--compact", m_dir.filePath("nothing.mdb")}).exitCode, 1);
    }

    void anExistingFileIsKeptUnlessForced()
    {
        const QString folder = m_dir.filePath("exists");
        QDir().mkpath(folder);
        const QString file = folder + "/poem.mdb";
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("keep me");
        f.close();
        const QString refused = buildError([&] { LibraryWriter writer(file, false); });
        QVERIFY2(refused.contains(file) && refused.contains("--force"), qPrintable(refused));
        QCOMPARE(filesIn(folder), QStringList({"poem.mdb"}));

        const Cli cli = runBuilder({"--sample", QELVANE_FIXTURES_DIR "/library", "--out", file});
        QCOMPARE(cli.exitCode, 1);
        QVERIFY(cli.err.contains("文件已存在"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("keep me"));
        f.close();

        const Cli forced = runBuilder({"--sample", QELVANE_FIXTURES_DIR "/library", "--out", file, "--force"});
        QCOMPARE(forced.exitCode, 0);
        QVERIFY2(forced.out.contains("完成：7 位作者，10 首诗词"), qPrintable(forced.out));
        QVERIFY(DbConnection::Open(file)->isOpen());
        QCOMPARE(filesIn(folder), QStringList({"poem.mdb"}));
    }

    void badJsonNamesTheFileAndPosition()
    {
        const QString corpus = m_dir.filePath("badjson");
        QDir().mkpath(corpus);
        QFile f(corpus + "/poet.tang.0.json");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[\n  {\"author\": \"李白\",\n   \"title\": \"x\" \"paragraphs\": []}\n]\n");
        f.close();
        const QString out = m_dir.filePath("badjson.mdb");
        const Cli cli = runBuilder({"--corpus", "唐=" + corpus, "--out", out});
        QCOMPARE(cli.exitCode, 1);
        QVERIFY2(cli.err.contains(corpus + "/poet.tang.0.json:3:"), qPrintable(cli.err));
        // All or nothing: neither the library nor a part of it is left.
        QVERIFY(!QFile::exists(out));
        QCOMPARE(QDir(m_dir.path()).entryList({"badjson.mdb*"}, QDir::Files), QStringList());
    }

    void aBadItemNamesItsPosition()
    {
        const QString corpus = m_dir.filePath("baditem");
        writeJson(corpus + "/poet.tang.0.json",
                  {poem("李白", "静夜思", {"床前明月光"}),
                   QJsonObject{{"author", "杜甫"}, {"title", "x"}, {"paragraphs", "not a list"}}});
        const QString out = m_dir.filePath("baditem.mdb");
        auto build = [&] {
            const Converter asIs(false);
            LibraryWriter writer(out, false);
            BuildReport report;
            importChinese(writer, asIs, chineseFolder("唐", corpus), report);
            writer.commit();
        };
        const QString error = buildError(build);
        QVERIFY2(error.contains("poet.tang.0.json：第 2 项") && error.contains("paragraphs"), qPrintable(error));
        QVERIFY(!QFile::exists(out));
        QCOMPARE(QDir(m_dir.path()).entryList({"baditem.mdb*"}, QDir::Files), QStringList());

        writeJson(corpus + "/poet.tang.0.json", {poem("", "无名", {"一句"})});
        QVERIFY(buildError(build).contains("缺少文本“author”"));
        QVERIFY(buildError([&] { chineseFolder("唐", m_dir.filePath("nowhere")); }).contains("文件夹不存在"));
        QVERIFY(!QFile::exists(out));
    }

    void gapsInARealCorpus()
    {
        const QString corpus = m_dir.filePath("gaps");
        writeJson(corpus + "/poet.tang.0.json",
                  {poem("李白", "", {"有句无题"}), QJsonObject{{"author", "杜甫"}, {"title", "有题无句"}},
                   poem("杜甫", "春望", {"国破山河在"})});
        const QString out = m_dir.filePath("gaps.mdb");
        const Cli cli = runBuilder({"--corpus", "唐=" + corpus, "--out", out});
        QCOMPARE(cli.exitCode, 0);
        QVERIFY2(cli.err.contains("警告：" + corpus + "/poet.tang.0.json：第 2 项没有诗句，已跳过"), qPrintable(cli.err));
        QCOMPARE(test::scalar(out, "select group_concat(Name, '|') from ChinaPoem").toString(), QString("无题|春望"));
    }

    void aCorpusFolderInTraditionalCharacters()
    {
        const QString corpus = m_dir.filePath("tang");
        writeJson(corpus + "/poet.tang.1000.json", {poem("杜甫", "春望", {"國破山河在，城春草木深。"})});
        writeJson(corpus + "/poet.tang.0.json",
                  {poem("李白", "靜夜思", {"床前明月光，疑是地上霜。"}),
                   // The same poem twice is kept once.
                   poem("李白", "靜夜思", {"床前明月光，疑是地上霜。"})});
        writeJson(corpus + "/authors.tang.json", {QJsonObject{{"name", "李白"}, {"desc", "字太白，號青蓮居士。"}},
                                                  // A biography standing twice is kept once.
                                                  QJsonObject{{"name", "杜甫"}, {"desc", "字子美。 字子美。"}}});
        writeJson(corpus + "/ci.song.0.json",
                  {QJsonObject{{"author", "蘇軾"}, {"rhythmic", "水調歌頭"}, {"paragraphs", QJsonArray{"明月幾時有"}},
                               {"notes", QJsonArray{"中秋", "作"}}}});
        const QString file = m_dir.filePath("tang.mdb");
        {
            const Converter simplified(true);
            LibraryWriter writer(file, false);
            BuildReport report;
            importChinese(writer, simplified, chineseFolder("唐", corpus), report);
            writer.commit();
        }
        // Files come in the order of their names, numbers counted as numbers (0 before 1000).
        QCOMPARE(test::scalar(file, "select group_concat(Name, '|') from ChinaPoem").toString(),
                 QString("水调歌头|静夜思|春望"));
        QCOMPARE(test::scalar(file, "select Content from ChinaPoem where Name='春望'").toString(),
                 QString("国破山河在，城春草木深。"));
        QCOMPARE(test::scalar(file, "select AuthorDetail from ChinaAuthorDetail d join ChinaAuthor a using(AuthorID) "
                                    "where a.AuthorName='李白'").toString(),
                 QString("字太白，号青莲居士。"));
        QCOMPARE(test::scalar(file, "select AuthorDetail from ChinaAuthorDetail d join ChinaAuthor a using(AuthorID) "
                                    "where a.AuthorName='杜甫'").toString(),
                 QString("字子美。"));
        QCOMPARE(test::scalar(file, "select Note from ChinaPoem where Name='水调歌头'").toString(), QString("中秋\n作"));
        QCOMPARE(test::scalar(file, "select group_concat(AuthorName) from ChinaAuthor").toString(),
                 QString("苏轼,李白,杜甫"));
        QCOMPARE(test::scalar(file, "select Epoch from ChinaEpoch").toString(), QString("唐"));
    }

    void longImportsReportProgress()
    {
        const QString corpus = m_dir.filePath("big");
        QJsonArray poems;
        for (int i = 0; i < 10001; ++i)
            poems.append(poem(QString("作者%1").arg(i % 50), QString("诗%1").arg(i), {QString("第%1句").arg(i)}));
        writeJson(corpus + "/poet.song.0.json", poems);
        const Cli cli = runBuilder({"--corpus", "宋=" + corpus, "--out", m_dir.filePath("big.mdb")});
        QCOMPARE(cli.exitCode, 0);
        QVERIFY2(cli.out.contains("已写入 10000 首……"), qPrintable(cli.out));
        QVERIFY(cli.out.contains("完成：50 位作者，10001 首诗词"));
    }

    void usageErrors()
    {
        QCOMPARE(runBuilder({"--sample", "x"}).exitCode, 2);
        QCOMPARE(runBuilder({"--out", m_dir.filePath("none.mdb")}).exitCode, 2);
        const Cli cli = runBuilder({"--corpus", "no-epoch", "--out", m_dir.filePath("none.mdb")});
        QCOMPARE(cli.exitCode, 1);
        QVERIFY(cli.err.contains("年代=文件夹"));
        QVERIFY(!QFile::exists(m_dir.filePath("none.mdb")));
    }

    void theWholeDataSetInItsOwnLayout()
    {
        const QString checkout = m_dir.filePath("checkout");
        writeCheckout(checkout);
        const QString out = m_dir.filePath("whole.mdb");
        const Cli run = runBuilder({"--checkout", checkout, "--t2s", "--out", out});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(run.out.contains("五代：3 首"));
        const auto value = [&](const QString& statement) { return test::scalar(out, statement).toString(); };
        // The epochs in the order of history, 五代 between 唐 and 宋; one no poet comes to
        // (明, without the sample) is left out.
        QCOMPARE(value("select group_concat(Epoch, ',') from ChinaEpoch"), QString("先秦,汉,魏晋,唐,五代,宋,元,清"));
        QCOMPARE(value("select Epoch from ChinaPoem where Name='静夜思'"), QString("唐"));
        // The selection adds nothing; Traditional text and biographies become Simplified.
        QCOMPARE(value("select count(*) from ChinaPoem where Name='静夜思'"), QString("1"));
        QCOMPARE(value("select d.AuthorDetail from ChinaAuthorDetail d join ChinaAuthor a on a.AuthorID=d.AuthorID "
                       "where a.AuthorName='李白'"),
                 QString("唐代诗人。"));
        // A placeholder with a character becomes it; one without stays.
        QCOMPARE(value("select Content from ChinaPoem where Name='怪字'"), QString("一𪀪二{上/貝}"));
        // The Song files of 全唐诗 go to 宋, as do the ci; 苏轼 is one author there.
        QCOMPARE(value("select Epoch from ChinaPoem where Name='题西林壁'"), QString("宋"));
        QCOMPARE(value("select count(*) from ChinaAuthor where AuthorName='苏轼'"), QString("1"));
        QCOMPARE(value("select d.AuthorDetail from ChinaAuthorDetail d join ChinaAuthor a on a.AuthorID=d.AuthorID "
                       "where a.AuthorName='苏轼'"),
                 QString("宋代文学家。"));
        QCOMPARE(value("select Author || '|' || Epoch || '|' || Note from ChinaPoem where Name='关雎'"),
                 QString("佚名|先秦|国风·周南"));
        QCOMPARE(value("select Author || '|' || Epoch || '|' || Note from ChinaPoem where Name='离骚'"),
                 QString("屈原|先秦|离骚"));
        // 楚辞's Han poets stand under 汉, with their poems.
        QCOMPARE(value("select Author || '|' || Epoch || '|' || Note from ChinaPoem where Name='惜誓'"),
                 QString("贾谊|汉|惜誓"));
        QCOMPARE(value("select Epoch from ChinaAuthor where AuthorName='贾谊'"), QString("汉"));
        // A biography that stands for the name with "--" begins with the name.
        QCOMPARE(value("select d.AuthorDetail from ChinaAuthorDetail d join ChinaAuthor a on a.AuthorID=d.AuthorID "
                       "where a.AuthorName='柳永'"),
                 QString("柳永：(？－约 1053) 字耆卿。"));
        QCOMPARE(value("select Author || '|' || Epoch from ChinaPoem where Name='观沧海'"), QString("曹操|魏晋"));
        // 温庭筠 of 花间集 died under 唐: his 词 stand with him there.
        QCOMPARE(value("select Epoch || '|' || Note from ChinaPoem where Name='菩萨蛮'"), QString("唐|小山：屏山。"));
        QCOMPARE(value("select Epoch from ChinaPoem where Name='虞美人'"), QString("五代"));
        // A count of poems after the name is no part of it: 温庭筠 is one author.
        QCOMPARE(value("select Author from ChinaPoem where Name='更漏子'"), QString("温庭筠"));
        QCOMPARE(value("select count(*) from ChinaAuthor where AuthorName like '温庭筠%'"), QString("1"));
        // A poet of 花间集 or 南唐 whom 全唐诗 holds too is one poet: 韦庄 under 唐 with both
        // collections' poems, 李煜 (全唐诗's 后主煜) under 五代 with his biography; the 宋
        // poet who only shares 韦庄's name stays apart. The report says what moved.
        QCOMPARE(value("select group_concat(Epoch || ':' || AuthorName, ',') from ChinaAuthor "
                       "where AuthorName in ('韦庄', '李煜', '后主煜')"),
                 QString("唐:韦庄,五代:李煜,宋:韦庄"));
        QCOMPARE(value("select group_concat(Name, ',') from ChinaPoem where Author='韦庄' and Epoch='唐'"),
                 QString("台城,菩萨蛮 洛阳"));
        QCOMPARE(value("select group_concat(Name, ',') from ChinaPoem where Author='李煜'"), QString("浪淘沙,虞美人"));
        QCOMPARE(value("select d.AuthorDetail from ChinaAuthorDetail d join ChinaAuthor a on a.AuthorID=d.AuthorID "
                       "where a.AuthorName='李煜'"),
                 QString("煜，字重光，南唐元宗子。"));
        QVERIFY2(run.out.contains("韦庄：五代 → 唐，1 首") && run.out.contains("后主煜 → 李煜：唐 → 五代，1 首"),
                 qPrintable(run.out));
        // A stray Traditional character in a Simplified collection is converted, in a text
        // and in a name; a character right in Simplified is not; the check at the end
        // finds none left.
        QCOMPARE(value("select Content from ChinaPoem where Name='菩萨蛮 洛阳'"), QString("洛阳城里春光好，乾坤"));
        QCOMPARE(value("select Author || '|' || Epoch from ChinaPoem where Name='南乡子'"), QString("欧阳炯|五代"));
        QVERIFY2(run.out.contains("简体文字中残留的繁体字已转换：陽→阳 2 处"), qPrintable(run.out));
        QVERIFY2(run.out.contains("繁体字检查：没有只属于繁体的字"), qPrintable(run.out));
        QCOMPARE(value("select Epoch from ChinaPoem where Name='天净沙·秋思'"), QString("元"));
        // A song written whole into its title is the tune and its text; one with no text
        // at all is left out, and the report counts it.
        QCOMPARE(value("select Author || '|' || Content from ChinaPoem where Name='尾'"),
                 QString("关汉卿|对着盏半明不灭的孤灯双眉皱，冷清清没个人瞅"));
        QCOMPARE(value("select count(*) from ChinaPoem where Name='寄生草'"), QString("0"));
        QVERIFY(run.err.contains("第 3 项没有诗句，已跳过"));
        QVERIFY2(run.out.contains("跳过 1 项没有诗句的条目"), qPrintable(run.out));
        QCOMPARE(value("select Content from ChinaPoem where Name='长相思'"), QString("山一程，水一程"));
        QCOMPARE(value("select Note from ChinaPoem where Author='佚名' and Epoch='唐'"), QString("长沙窑补遗"));
    }

    // Both data sets in one library: every poet once, every poem once, names and titles
    // mended, each rule in the report.
    void theSecondDataSetBesideTheFirst()
    {
        const QString checkout = m_dir.filePath("both/checkout"), poetry = m_dir.filePath("both/poetry");
        writeBothDataSets(checkout, poetry);
        const QString out = m_dir.filePath("both.mdb");
        const Cli run = runBuilder({"--checkout", checkout, "--poetry", poetry, "--t2s", "--out", out});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const auto value = [&](const QString& statement) { return test::scalar(out, statement).toString(); };
        const auto authors = [&](const QString& name) {
            return value("select group_concat(Epoch || ':' || AuthorName, ',') from ChinaAuthor where AuthorName like '" +
                         name + "%'");
        };
        // The new epochs among the old in the order of history; modern poetry left out.
        QCOMPARE(value("select group_concat(Epoch, ',') from ChinaEpoch"),
                 QString("先秦,汉,魏晋,南北朝,隋,唐,五代,宋,金,元,清"));
        QCOMPARE(value("select count(*) from ChinaPoem where Author='鲁迅'"), QString("0"));
        QVERIFY2(run.out.contains("现代的诗不收（近现代）：1 处"), qPrintable(run.out));
        // One poet, one node: 陶潜 is 陶渊明; 全唐诗's 太宗皇帝 and the passage's 李世民, whom the
        // library holds under 唐, one poet there; 魏徵, held nowhere, under the earlier 隋;
        // 冯延巳 under 五代; 宋词's 韦庄 with his 唐 poems. The two 王褒 stay apart.
        QCOMPARE(authors("陶"), QString("魏晋:陶渊明"));
        QCOMPARE(value("select group_concat(Name, ',') from ChinaPoem where Author='陶渊明'"),
                 QString("饮酒 其五,桃花源诗（并序）,拟古二首 其一,拟古二首 其二"));
        QCOMPARE(authors("李世民") + "|" + authors("太宗"), QString("唐:李世民|"));
        QCOMPARE(authors("魏徵"), QString("隋:魏徵"));
        QCOMPARE(authors("冯延巳"), QString("五代:冯延巳"));
        QCOMPARE(value("select Epoch from ChinaPoem where Name='长命女'"), QString("五代"));
        QCOMPARE(authors("石抹世绩"), QString("金:石抹世绩"));
        QCOMPARE(authors("韦庄"), QString("唐:韦庄,宋:韦庄"));
        QCOMPARE(value("select Epoch from ChinaPoem where Name='谒金门' and Author='韦庄'"), QString("唐"));
        QCOMPARE(authors("王褒"), QString("汉:王褒,南北朝:王褒"));
        QCOMPARE(value("select group_concat(Name, ',') from ChinaPoem where Author='元好问'"),
                 QString("论诗三十首 其一,论诗三十首 其二"));
        // A poem once: the copy with notes kept, the other's reading in its notes.
        QCOMPARE(value("select count(*) from ChinaPoem where Name like '相见欢%'"), QString("1"));
        QCOMPARE(value("select Name || '|' || Note from ChinaPoem where Name like '相见欢%'"),
                 QString("相见欢·林花谢了春红|谢：凋谢。\n留人醉：一作“相留醉”。"));
        QCOMPARE(value("select Author || '|' || Name || '|' || Note from ChinaPoem where Name like '帝京篇%'"),
                 QString("李世民|帝京篇 一|函谷壮皇居：一作“函谷壮皇州”。"));
        // Titles, names and texts mended.
        QCOMPARE(value("select Name || '|' || Note from ChinaPoem where Author='张祜'"),
                 QString("寄友人乞菊栽|题注：《全唐诗》八八四有缺字。"));
        QCOMPARE(value("select d.AuthorDetail from ChinaAuthorDetail d join ChinaAuthor a using(AuthorID) "
                       "where a.AuthorName='张祜'"),
                 QString("张祜，字承吉。"));
        QCOMPARE(authors("张彦修"), QString("唐:张彦修"));
        QCOMPARE(authors("吴淑姬"), QString("宋:吴淑姬（二）"));
        QCOMPARE(value("select Author || '|' || Note from ChinaPoem where Name='甘州歌'"), QString("高明|出自《蔡伯喈琵琶记》"));
        QCOMPARE(value("select Content from ChinaPoem where Author='刘秉忠'"), QString("盼和风春雨如膏"));
        QCOMPARE(value("select Content from ChinaPoem where Name='拟咏怀 其一'"), QString("步兵未□饮，中散未弹琴。"));
        QCOMPARE(value("select Content from ChinaPoem where Name='杨柳歌'"), QString("河边杨柳百丈枝，\n别有“长条”踠地垂。").replace("“", "\"").replace("”", "\""));
        QCOMPARE(value("select Content from ChinaPoem where Name='饮酒 其五'"),
                 QString("结庐在人境，而无车马喧。\n问君何能尔？\n心远地自偏。"));
        for (const char* rule : {"丢失的字（?）写作 □：1 处", "题目中的校注移入注释：1 处", "作者名中的校注标记删去：1 处",
                                 "作者名后的编号改为同名者序号：1 处", "作者栏中的剧名移入注释：1 处", "网页残留删去：1 处",
                                 "重复的作者小传只留一份：1 处", "合并时改收有注释的一份：1 处",
                                 "组诗的全文与各首重复，只收各首：1 处",
                                 "隋末唐初的诗人归入唐（库中已有）：1 处", "隋末唐初的诗人归入隋（前一年代）：1 处"})
            QVERIFY2(run.out.contains(QString::fromUtf8(rule)), qPrintable(QString::fromUtf8(rule) + "\n" + run.out));
        QVERIFY2(run.out.contains("陶潜 → 陶渊明（魏晋），4 首"), qPrintable(run.out));

        // A file that is not the data set's is refused with its name.
        writeText(m_dir.filePath("bad-poetry/唐.csv"), "title,author\n\"open,x\n");
        const Cli bad = runBuilder({"--poetry", m_dir.filePath("bad-poetry"), "--out", m_dir.filePath("bad.mdb")});
        QCOMPARE(bad.exitCode, 1);
        QVERIFY2(bad.err.contains("唐.csv：第 2 行：引号没有结束"), qPrintable(bad.err));
        QVERIFY(!QFile::exists(m_dir.filePath("bad.mdb")));
    }

    void aSamplePoemIsNotAddedTwice()
    {
        const QString file = m_dir.filePath("sample-first.mdb");
        {
            LibraryWriter writer(file, true);
            writer.epoch("先秦");
            QVERIFY(writer.addChinaPoem("先秦", "佚名", "关雎", "关关雎鸠，在河之洲。", "出自《诗经·周南》。"));
            QVERIFY(writer.addChinaPoem("宋", "苏轼", "水调歌头", "明月几时有？把酒问青天。", ""));
            writer.keepSampleTitles();
            // Another ci to the same tune is another poem.
            QVERIFY(writer.addChinaPoem("宋", "苏轼", "水调歌头", "落日绣帘卷，亭下水连空。", ""));
            QVERIFY(!writer.addChinaPoem("宋", "苏轼", "水调歌头", "明月几时有？把酒问青天。不知天上宫阙", ""));
            // The data set's whole song under the sample's title is left out; the same
            // title by another author or in another epoch is not.
            QVERIFY(!writer.addChinaPoem("先秦", "佚名", "关雎", "关关雎鸠，在河之洲。窈窕淑女，君子好逑。参差荇菜，"
                                                                "左右流之。窈窕淑女，寤寐求之。", "国风·周南"));
            QVERIFY(writer.addChinaPoem("先秦", "屈原", "关雎", "帝高阳之苗裔兮", ""));
            QVERIFY(writer.addChinaPoem("汉", "佚名", "关雎", "关关雎鸠", ""));
            writer.commit();
        }
        QCOMPARE(test::scalar(file, "select Note from ChinaPoem where Name='关雎' and Author='佚名' and Epoch='先秦'")
                     .toString(),
                 QString("出自《诗经·周南》。"));
        QCOMPARE(test::scalar(file, "select count(*) from ChinaPoem").toInt(), 5);
    }

    void theFullLibraryScript()
    {
        // The user's one command, run from another folder with paths relative to it, on
        // this build's builder.
        writeBothDataSets(m_dir.filePath("script-checkout"), m_dir.filePath("script-poetry"));
        auto runScript = [&](const QStringList& arguments) {
            QProcess script;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("QELVANE_BUILD_DIR", QFileInfo(QELVANE_MKLIB).dir().filePath(".."));
            script.setProcessEnvironment(environment);
            script.setWorkingDirectory(m_dir.path());
            script.start("bash", QStringList{QELVANE_FULL_LIBRARY_SCRIPT} + arguments);
            script.waitForFinished(120000);
            return Cli{script.exitCode(), QString::fromUtf8(script.readAllStandardOutput()),
                       QString::fromUtf8(script.readAllStandardError())};
        };
        // An option the script does not know is refused before anything is built.
        const Cli unknown = runScript({"script-checkout", "full.mdb", "--poems", "script-poetry"});
        QCOMPARE(unknown.exitCode, 2);
        QVERIFY2(unknown.err.contains("不认识的选项 --poems"), qPrintable(unknown.err));
        QVERIFY(!QFile::exists(m_dir.filePath("full.mdb")));
        const QStringList arguments = {"script-checkout", "full.mdb", "--poetry", "script-poetry"};
        const Cli first = runScript(arguments);
        QVERIFY2(first.exitCode == 0, qPrintable(first.err));
        const QString out = m_dir.filePath("full.mdb");
        // Counts by epoch, the size and time, and how to put it in place without loss.
        QVERIFY2(first.out.contains("先秦：5 首"), qPrintable(first.out));
        QVERIFY2(first.out.contains("南北朝：8 首") && first.out.contains("金：5 首"), qPrintable(first.out));
        QVERIFY(first.out.contains("大小 "));
        QVERIFY(first.out.contains("cp --backup=numbered \"" + out + "\""));
        // Every epoch of the tree has poems; the sample's poems are kept beside the new ones.
        QCOMPARE(test::scalar(out, "select count(*) from ChinaEpoch e where not exists "
                                   "(select 1 from ChinaPoem p where p.EpochID=e.EpochID)").toInt(), 0);
        QCOMPARE(test::scalar(out, "select count(*) from ChinaPoem where Name='关雎'").toInt(), 1);
        QVERIFY(test::scalar(out, "select count(*) from ChinaPoem where Author='李白'").toInt() >= 34);

        // A second run keeps the library it would overwrite.
        const QByteArray before = [&] {
            QFile file(out);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        QVERIFY(runScript(arguments).exitCode != 0);
        QFile after(out);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QVERIFY(after.readAll() == before);
    }

    // No name or text loses a character on the way in: every text of the data set's
    // files is in the library letter by letter, each letter as it was or as the
    // conversion to Simplified writes it.
    void everyLetterOfTheSourceIsKept()
    {
        const QString checkout = m_dir.filePath("letters"), poetry = m_dir.filePath("letters-poetry");
        writeBothDataSets(checkout, poetry);
        const QString out = m_dir.filePath("letters.mdb");
        QCOMPARE(runBuilder({"--checkout", checkout, "--poetry", poetry, "--t2s", "--out", out}).exitCode, 0);
        const Simplified simplified;
        const auto codePoints = [](const QString& text) {
            QList<uint> kept;
            for (const uint c : text.toUcs4())
                if (!QChar::isSpace(c))
                    kept << c;
            return kept;
        };
        const auto convertedFrom = [&](const QString& source, const QString& stored) {
            const QList<uint> from = codePoints(source), to = codePoints(stored);
            if (from.size() != to.size())
                return false;
            for (qsizetype i = 0; i < from.size(); ++i) {
                const char32_t c = from[i];
                const QString one = QString::fromUcs4(&c, 1);
                // The second data set's lost character is written □.
                const QList<uint> allowed = {from[i], simplified(one).toUcs4().value(0),
                                             simplified.leftovers(one).toUcs4().value(0), from[i] == '?' ? 0x25A1u : from[i]};
                if (!allowed.contains(to[i]))
                    return false;
            }
            return true;
        };
        QStringList texts, notes, names;
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "letters");
        db.setDatabaseName(out);
        QVERIFY(db.open());
        for (QSqlQuery rows("select Content, Note from ChinaPoem", db); rows.next();) {
            texts << rows.value(0).toString();
            notes << rows.value(1).toString();
        }
        for (QSqlQuery rows("select AuthorName from ChinaAuthor", db); rows.next();)
            names << rows.value(0).toString();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("letters");

        // Stored as it was, or merged into another copy of the poem whose notes give
        // every reading of this one where it differs.
        const auto isKept = [&](const QString& source) {
            if (std::any_of(texts.cbegin(), texts.cend(), [&](const QString& stored) { return convertedFrom(source, stored); }))
                return true;
            const QString converted = simplified(source);
            for (qsizetype i = 0; i < texts.size(); ++i) {
                if (!doubles::nearlySame(doubles::letters(converted), doubles::letters(texts[i])))
                    continue;
                const QStringList readings = doubles::collation(texts[i], converted);
                if (std::all_of(readings.cbegin(), readings.cend(), [&](const QString& r) { return notes[i].contains(r); }))
                    return true;
            }
            // Or a series given whole, each of its poems stored on its own.
            const QString whole = doubles::letters(converted);
            qsizetype at = 0;
            for (bool advanced = true; advanced && at < whole.size();) {
                advanced = false;
                for (const QString& stored : texts) {
                    const QString letters = doubles::letters(stored);
                    if (!letters.isEmpty() && letters.size() < whole.size() && whole.mid(at).startsWith(letters)) {
                        at += letters.size();
                        advanced = true;
                        break;
                    }
                }
            }
            return at == whole.size();
        };
        int compared = 0;
        QDirIterator files(checkout, {"*.json"}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
            if (!document.isArray() || files.fileName().startsWith("author") || files.fileName().contains("三百首"))
                continue;
            for (const QJsonValue& entry : document.array()) {
                const QJsonObject poem = entry.toObject();
                QStringList paragraphs;
                for (const char* field : {"paragraphs", "content", "para"})
                    for (const QJsonValue& line : poem.value(field).toArray())
                        paragraphs << line.toString();
                const QString text = paragraphs.join("");
                // Placeholders become their characters; empty entries are left out.
                if (text.isEmpty() || text.contains('{'))
                    continue;
                QVERIFY2(isKept(text), qPrintable(files.filePath() + ": " + text));
                ++compared;
                const QString author = poem.value("author").toString().section(' ', 0, 0);
                // Names the poet table gives way to, and the mended ones, are another test's.
                static const QRegularExpression mended("^(後主|嗣主|太宗)|[0-9〖《]");
                if (!author.isEmpty() && !author.contains(mended))
                    QVERIFY2(std::any_of(names.cbegin(), names.cend(),
                                         [&](const QString& stored) { return convertedFrom(author, stored); }),
                             qPrintable(author));
            }
        }
        QDirIterator csvFiles(poetry, {"*.csv"}, QDir::Files);
        while (csvFiles.hasNext()) {
            const QList<CsvRecord> records = readCsv(csvFiles.next());
            for (const CsvRecord& record : records.mid(1)) {
                if (record.fields[1] == "近现代")
                    continue;
                QVERIFY2(isKept(record.fields[3]), qPrintable(csvFiles.fileName() + ": " + record.fields[3]));
                ++compared;
            }
        }
        QVERIFY2(compared >= 30, qPrintable(QString::number(compared)));
    }

    void theSamePoemUnderTwoTitles()
    {
        using namespace doubles;
        QCOMPARE(letters("君不见，黄河之水\n天上来！"), QString("君不见黄河之水天上来"));
        QVERIFY(nearlySame(letters("噫吁戏危乎高哉"), letters("噫吁嚱危乎高哉")));
        QVERIFY(!nearlySame("床前明月光疑是地上霜", "举头望明月低头思故乡"));
        QVERIFY(prefersOver("清平调 一", "杂曲歌辞 清平调 一"));
        QVERIFY(!prefersOver("相和歌辞 蜀道难", "蜀道难"));
        QVERIFY(!prefersOver("静夜思", "夜思"));
        // A collation names the kept phrase and the other reading; variant forms and
        // punctuation are no reading.
        QCOMPARE(collation("林花谢了春红，太匆匆。胭脂泪，留人醉。", "林花谢了春红，太悤悤！胭脂泪，相留醉。"),
                 QStringList{"留人醉：一作“相留醉”。"});
        QCOMPARE(collation("床前明月光，疑是地上霜。", "床前明月光。"), QStringList{"疑是地上霜：一本无此句。"});
        QCOMPARE(collation("床前明月光，疑是地上霜。", "床前看月光，疑是地上霜。"), QStringList{"床前明月光：一作“床前看月光”。"});
        QVERIFY(collation("床前明月光", "床前明月光！").isEmpty());

        const QString file = m_dir.filePath("doubles.mdb");
        {
            LibraryWriter writer(file, true);
            writer.epoch("唐");
            QVERIFY(writer.addChinaPoem("唐", "李白", "鼓吹曲辞 将进酒", "君不见黄河之水天上来，奔流到海不复回。", ""));
            QVERIFY(!writer.addChinaPoem("唐", "李白", "将进酒", "君不见黄河之水天上来，奔流到海不复回！", ""));
            QVERIFY(!writer.addChinaPoem("唐", "李白", "相和歌辞 将进酒", "君不见黄河之水天上來，奔流到海不复回。", ""));
            // Another author's poem, or another poem, stays.
            QVERIFY(writer.addChinaPoem("唐", "杜甫", "将进酒", "君不见黄河之水天上来，奔流到海不复回。", ""));
            QVERIFY(writer.addChinaPoem("唐", "李白", "静夜思", "床前明月光，疑是地上霜。", ""));
            writer.commit();
        }
        QCOMPARE(test::scalar(file, "select group_concat(Author || ':' || Name, ',') from ChinaPoem").toString(),
                 QString("李白:将进酒,杜甫:将进酒,李白:静夜思"));
        // The sample: 李白 once per poem in 唐诗三百首.
        const QString sample = m_dir.filePath("sample.mdb");
        QCOMPARE(runBuilder({"--sample", QStringLiteral(QELVANE_SAMPLE_DIR), "--out", sample}).exitCode, 0);
        QCOMPARE(test::scalar(sample, "select count(*) from ChinaPoem where Author='李白'").toInt(), 34);
        QCOMPARE(test::scalar(sample, "select count(*) from ChinaPoem where Name like '相和歌辞 蜀道难'").toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_MkLib)
#include "tst_mklib.moc"
