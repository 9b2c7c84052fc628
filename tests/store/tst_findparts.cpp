// The find index's parts on their own inputs: the lists' codec and the matcher that
// compares a query with a line.
#include "store/ApproximateMatch.h"
#include "store/FindText.h"
#include "store/PostingList.h"

#include <QtTest>

using namespace qelvane;
using namespace qelvane::findindex;

class tst_FindParts : public QObject {
    Q_OBJECT

private slots:
    void theCodecRoundTrips()
    {
        const std::vector<std::vector<Entry>> lists = {
            {},
            {0},
            {1, 2, 3},
            // A gap of exactly one 7-bit group, and of the largest a key may make.
            {127, 128, 255, 16383, 16384},
            {5, (Entry(1) << 55) + 5, (Entry(1) << 62) - 1},
        };
        std::vector<Entry> decoded;
        for (const std::vector<Entry>& list : lists) {
            const QByteArray bytes = postings::encode(list);
            postings::decode(bytes, decoded);
            QCOMPARE(decoded, list);
        }
        // Small gaps take a byte each: the lists stay a few bytes a line.
        QCOMPARE(postings::encode({1, 2, 3, 100}).size(), 4);
        QCOMPARE(postings::encode({200}).size(), 2);
        // A list cut short loses its last number only.
        QByteArray cut = postings::encode({10, 20, 100000});
        cut.chop(1);
        postings::decode(cut, decoded);
        QCOMPARE(decoded, std::vector<Entry>({10, 20}));
    }

    void theMatcherFindsTheLeastEdits_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("edits");
        QTest::addColumn<QString>("matched");
        QTest::newRow("exact in the middle") << "明月" << "床前明月光" << 0 << "明月";
        QTest::newRow("exact at the end") << "月光" << "床前明月光" << 0 << "月光";
        QTest::newRow("one changed") << "床前看月光" << "床前明月光疑是地上霜" << 1 << "床前明月光";
        QTest::newRow("one dropped") << "床明月光" << "床前明月光" << 1 << "";
        QTest::newRow("one added") << "床前明明月光" << "床前明月光" << 1 << "床前明月光";
        QTest::newRow("longer than the line") << "床前明月光" << "明月" << 3 << "明月";
        QTest::newRow("nothing in common") << "山水" << "明月" << 2 << "";
        // Nothing to match in: more than the query could be off.
        QTest::newRow("an empty line") << "明月" << "" << 3 << "";
    }

    void theMatcherFindsTheLeastEdits()
    {
        QFETCH(QString, query);
        QFETCH(QString, line);
        QFETCH(int, edits);
        QFETCH(QString, matched);
        const std::u32string q = findtext::fold(query).chars;
        const std::u32string l = findtext::fold(line).chars;
        const matching::Match match = matching::bestMatch(q, l);
        QCOMPARE(match.edits, edits);
        if (!matched.isEmpty())
            QCOMPARE(QString::fromStdU32String(l.substr(size_t(match.start), size_t(match.end - match.start))), matched);
    }

    void howFarAQueryMayBeOff()
    {
        const auto allowed = [](const char* text) { return matching::editsAllowed(findtext::fold(QString::fromUtf8(text)).chars); };
        QCOMPARE(allowed("明月"), 0);
        QCOMPARE(allowed("床前明"), 1);
        QCOMPARE(allowed("床前明月光"), 1);
        QCOMPARE(allowed("床前明月光疑"), 2);
        // Latin words are only misspelt from six letters on.
        QCOMPARE(allowed("roses"), 0);
        QCOMPARE(allowed("sunrise"), 2);
        QVERIFY(matching::isLatin(findtext::fold(QStringLiteral("Rose 12")).chars));
        QVERIFY(!matching::isLatin(findtext::fold(QStringLiteral("rose月")).chars));
    }

    void latinMatchesWholeWordsAndShortEndings()
    {
        const auto word = [](const QString& query, const QString& line) {
            const findtext::Folded folded = findtext::fold(line);
            const matching::Match match = matching::bestMatch(findtext::fold(query).chars, folded.chars);
            return match.edits == 0 && matching::matchesLatinWord(line, folded, match);
        };
        QVERIFY(word("rose", "A Rose."));
        QVERIFY(word("rose", "the roses"));
        QVERIFY(!word("rose", "arose"));
        QVERIFY(!word("rose", "rosebuds"));
        QVERIFY(word("l'aube", "dès l'aube"));
    }
};

QTEST_APPLESS_MAIN(tst_FindParts)
#include "tst_findparts.moc"
