#include "Doubles.h"

#include "text/RhymeBook.h"

#include <QList>
#include <QRegularExpression>
#include <algorithm>

namespace qelvane::mklib::doubles {

namespace {
// How many characters two texts of one poem may differ by: three, or one in twenty in
// a long poem (variant forms such as 噫吁戏/噫吁嚱 add up).
int mostDifferences(qsizetype length)
{
    return std::max(3, int(length / 20));
}

bool hasCategory(const QString& title)
{
    static const QRegularExpression category(QStringLiteral("^\\S+(歌辞|曲辞) "));
    return category.match(title).hasMatch();
}

char32_t folded(char32_t c)
{
    static const qelvane::metre::RhymeBook& book = qelvane::metre::RhymeBook::get(qelvane::metre::Book::Pingshui);
    const char32_t variant = book.variantOf(c);
    return variant ? variant : c;
}

// A text's letters, each with the phrase it stands in and as it is written there.
struct Letter {
    char32_t folded;
    int phrase;
    QString written;
};
QList<Letter> lettersOf(const QString& text)
{
    QList<Letter> letters;
    int phrase = 0;
    bool inPhrase = false;
    for (const char32_t c : text.toUcs4()) {
        if (QChar::isLetterOrNumber(c)) {
            letters.append({folded(c), phrase, QString::fromUcs4(&c, 1)});
            inPhrase = true;
        } else if (inPhrase) {
            ++phrase;
            inPhrase = false;
        }
    }
    return letters;
}
} // namespace

QString letters(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (const char32_t c : text.toUcs4())
        if (QChar::isLetterOrNumber(c)) {
            const char32_t f = folded(c);
            kept += QString::fromUcs4(&f, 1);
        }
    return kept;
}

// Edit distance within a band: anything beyond MostDifferences counts as different.
bool nearlySame(const QString& a, const QString& b)
{
    const int n = int(a.size()), m = int(b.size());
    const int MostDifferences = mostDifferences(std::max(n, m));
    if (std::abs(n - m) > MostDifferences)
        return false;
    if (a == b)
        return true;
    const int far = MostDifferences + 1;
    QList<int> previous(m + 1), current(m + 1);
    for (int j = 0; j <= m; ++j)
        previous[j] = std::min(j, far);
    for (int i = 1; i <= n; ++i) {
        const int from = std::max(1, i - MostDifferences), to = std::min(m, i + MostDifferences);
        std::fill(current.begin(), current.end(), far);
        current[0] = std::min(i, far);
        int best = current[0];
        for (int j = from; j <= to; ++j) {
            const int change = previous[j - 1] + (a.at(i - 1) == b.at(j - 1) ? 0 : 1);
            current[j] = std::min({change, previous[j] + 1, current[j - 1] + 1, far});
            best = std::min(best, current[j]);
        }
        if (best >= far)
            return false;
        std::swap(previous, current);
    }
    return previous[m] <= MostDifferences;
}

bool prefersOver(const QString& candidate, const QString& kept)
{
    return hasCategory(kept) && !hasCategory(candidate);
}

QStringList collation(const QString& kept, const QString& other)
{
    const QList<Letter> a = lettersOf(kept), b = lettersOf(other);
    const qsizetype n = a.size(), m = b.size();
    // A whole alignment is affordable for the texts that come this far (one poem's
    // copies, a few characters apart); of a book-length pair the other text is kept whole.
    constexpr qsizetype Largest = 4'000'000;
    if ((n + 1) * (m + 1) > Largest) {
        QString otherLetters, keptLetters;
        for (const Letter& letter : b)
            otherLetters += letter.written;
        for (const Letter& letter : a)
            keptLetters += letter.written;
        return otherLetters == keptLetters ? QStringList() : QStringList{QStringLiteral("一本作：") + other};
    }
    QList<int> cost((n + 1) * (m + 1));
    const auto at = [&](qsizetype i, qsizetype j) -> int& { return cost[i * (m + 1) + j]; };
    for (qsizetype i = 0; i <= n; ++i)
        at(i, 0) = int(i);
    for (qsizetype j = 0; j <= m; ++j)
        at(0, j) = int(j);
    for (qsizetype i = 1; i <= n; ++i)
        for (qsizetype j = 1; j <= m; ++j)
            at(i, j) = std::min({at(i - 1, j - 1) + (a[i - 1].folded == b[j - 1].folded ? 0 : 1), at(i - 1, j) + 1,
                                 at(i, j - 1) + 1});
    if (at(n, m) == 0)
        return {};
    // Walking back: each phrase of the kept text gathers the other's letters aligned
    // with it (an added letter goes with the phrase before it) and whether any differs.
    const int phrases = n ? a.back().phrase + 1 : 1;
    QList<QStringList> otherReading(phrases);
    QList<bool> differs(phrases, false);
    qsizetype i = n, j = m;
    while (i > 0 || j > 0) {
        if (i > 0 && j > 0 && at(i, j) == at(i - 1, j - 1) + (a[i - 1].folded == b[j - 1].folded ? 0 : 1)) {
            const int p = a[i - 1].phrase;
            otherReading[p].prepend(b[j - 1].written);
            differs[p] = differs[p] || a[i - 1].folded != b[j - 1].folded;
            --i, --j;
        } else if (i > 0 && at(i, j) == at(i - 1, j) + 1) {
            differs[a[i - 1].phrase] = true;
            --i;
        } else {
            const int p = i > 0 ? a[i - 1].phrase : 0;
            otherReading[p].prepend(b[j - 1].written);
            differs[p] = true;
            --j;
        }
    }
    QList<QString> keptPhrase(phrases);
    for (const Letter& letter : a)
        keptPhrase[letter.phrase] += letter.written;
    QStringList lines;
    for (int p = 0; p < phrases; ++p) {
        if (!differs[p])
            continue;
        const QString reading = otherReading[p].join(QString());
        if (keptPhrase[p].isEmpty())
            lines << QStringLiteral("一本多“%1”。").arg(reading);
        else if (reading.isEmpty())
            lines << QStringLiteral("%1：一本无此句。").arg(keptPhrase[p]);
        else
            lines << QStringLiteral("%1：一作“%2”。").arg(keptPhrase[p], reading);
    }
    return lines;
}

} // namespace qelvane::mklib::doubles
