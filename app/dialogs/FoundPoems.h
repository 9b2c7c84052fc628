#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace qelvane {

// The poems a search found, in the order found: each one's ID and title kept as the
// UTF-8 bytes the library holds, one after another in a single buffer, and made into
// text only when read. Adding a poem is a copy of a few dozen bytes, so a search that
// finds every poem of the whole corpus costs its scan little time and little memory.
class FoundPoems {
public:
    void add(QByteArrayView id, QByteArrayView title);
    // Moves `more` onto the end of this list.
    void append(FoundPoems&& more);
    void clear();

    qsizetype size() const { return m_starts.size(); }
    bool isEmpty() const { return m_starts.isEmpty(); }
    QString id(qsizetype index) const;
    QString title(qsizetype index) const;

private:
    struct Start {
        qsizetype id;
        qsizetype title; // the ID ends here; the title ends where the next poem starts
    };
    qsizetype end(qsizetype index) const;

    QByteArray m_bytes;
    QList<Start> m_starts;
};

} // namespace qelvane
