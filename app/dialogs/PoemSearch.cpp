#include "PoemSearch.h"

#include <QElapsedTimer>
#include <cstring>

namespace qelvane {

namespace search {

bool matches(QByteArrayView column, QByteArrayView text)
{
    if (column.isEmpty())
        return false;
    if (text.isEmpty())
        return true;
    return ::memmem(column.data(), size_t(column.size()), text.data(), size_t(text.size())) != nullptr;
}

} // namespace search

PoemSearch::PoemSearch(DbConnection& db, const library::SearchQuery& query, search::Tested tested, const QString& text)
    : m_scan(db, query.statement, query.values), m_column(int(tested)), m_text(text.toUtf8())
{
}

bool PoemSearch::examine(qint64 budgetMs, QList<search::Found>& found)
{
    QElapsedTimer clock;
    clock.start();
    // The clock is read every few dozen rows; a row costs well under a microsecond.
    constexpr int RowsBetweenClockReadings = 64;
    for (;;) {
        for (int i = 0; i < RowsBetweenClockReadings; ++i) {
            if (!m_scan.next())
                return false;
            ++m_examined;
            if (search::matches(m_scan.utf8(m_column), m_text))
                found.append({m_scan.text(0), m_scan.text(1)});
        }
        if (clock.elapsed() >= budgetMs)
            return true;
    }
}

} // namespace qelvane
