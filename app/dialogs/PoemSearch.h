#pragma once

#include "store/Library.h"
#include "store/RowScan.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVariantList>
#include <memory>

namespace qelvane {

class DbConnection;

namespace search {

// The matching rule: the column holds the text as one contiguous run, compared byte
// for byte (so letter case matters; UTF-8 makes this the same as character for
// character). An empty or Null column never matches; an empty text matches every
// other one.
bool matches(QByteArrayView column, QByteArrayView text);

// The column a search tests, as the query selects it.
enum class Tested { Title = 1, Content = 2 };

struct Found {
    QString id;
    QString title;
};

} // namespace search

// One search walking its query's rows a slice at a time, so that the event loop gets
// a turn between slices.
class PoemSearch {
public:
    // Opens the query; throws StoreError when it cannot be run.
    PoemSearch(DbConnection& db, const library::SearchQuery& query, search::Tested tested, const QString& text);

    // Examines rows for about `budgetMs` milliseconds, adding the matches to `found`;
    // false once every row has been examined.
    bool examine(qint64 budgetMs, QList<search::Found>& found);
    int examined() const { return m_examined; }

private:
    RowScan m_scan;
    int m_column;
    QByteArray m_text;
    int m_examined = 0;
};

} // namespace qelvane
