#pragma once

#include <QHash>
#include <QString>

namespace qelvane::mklib {

// Where a collection files a poet otherwise than literary history (tools/mklib/poets.txt,
// with the source of every line): the epoch and name the poet's poems go under.
class PoetTable {
public:
    struct Shelf {
        QString epoch;
        QString name;
    };

    // The table the builder carries; a malformed line is a BuildError naming it.
    static const PoetTable& builtIn();
    // A table in the same format, for tests.
    static PoetTable fromText(const QString& text, const QString& where);

    // The shelf for a poet as the collection names him, or none when the table is silent.
    const Shelf* shelf(const QString& collection, const QString& name) const;

private:
    QHash<QString, Shelf> m_shelves; // collection + separator + name
};

} // namespace qelvane::mklib
