#include "Doubles.h"

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
} // namespace

QString letters(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text)
        if (c.isLetterOrNumber())
            kept += c;
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

} // namespace qelvane::mklib::doubles
