#pragma once

#include "NodeKind.h"
#include "store/Library.h"
#include "store/LibrarySide.h"

#include <QHash>
#include <QObject>
#include <QPair>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace qelvane {

class DbConnection;

// The library tree (tvwPoem): the two roots, the epochs and countries, the authors,
// one node per key and side. It tells the window which node the reader chose.
class LibraryTreePane : public QObject {
    Q_OBJECT
public:
    explicit LibraryTreePane(QWidget* parent);

    // The view, for the window's layout and display settings.
    QWidget* widget() const;

    // Builds the whole tree anew: every epoch and country with its authors, or only the
    // authors with favourites. The second node is made current for the keyboard.
    void load(DbConnection& db, bool favoritesOnly);

    QTreeWidgetItem* current() const;
    // Makes a node current and shows it, without the effects of a click.
    void setCurrentQuietly(QTreeWidgetItem* node);
    // The author node of a side by its key; roots are never found by key. An author of
    // a place not yet opened gets his node now.
    QTreeWidgetItem* nodeByKey(LibrarySide side, const QString& key);
    // The epoch or country node of that name; nullptr when the tree has none.
    QTreeWidgetItem* placeNode(LibrarySide side, const QString& name) const;
    // Takes a node and everything under it out of the tree.
    void removeNode(QTreeWidgetItem* node);
    static QString keyOf(const QTreeWidgetItem* node);
    // The authors a place holds, whether their nodes are made yet or not.
    int authorCount(const QTreeWidgetItem* node) const;

    // A place with more authors than this gets their nodes when it is first opened,
    // chosen or asked for by key: a library of 20,000 authors starts as quickly as a
    // small one.
    static constexpr int EagerAuthorsDefault = 400;
    void setEagerAuthors(int most) { m_eagerAuthors = most; }

signals:
    // A click, a collapse or the keyboard reached a node.
    void nodeChosen(QTreeWidgetItem* node);
    void nodeDoubleClicked();

private:
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, LibrarySide side, const QString& key, const QString& text,
                             const QString& imageKey, NodeKind kind);
    void forgetNodes(QTreeWidgetItem* node);
    // Makes the nodes of a place's authors held back at load.
    void fillPlace(QTreeWidgetItem* place);
    void addAuthors(QTreeWidgetItem* parent, LibrarySide side, const QList<library::Author>& authors);

    QTreeWidget* m_tree;
    // Keyed by side and key: a Chinese ID that happens to equal "F" + a foreign ID
    // names another author.
    QHash<QPair<LibrarySide, QString>, QTreeWidgetItem*> m_nodesByKey;
    // The places whose authors' nodes are not made yet: the place's ID and how many
    // authors it holds; and each such place by its side and ID.
    struct HeldPlace {
        LibrarySide side;
        QString id;
        int authors = 0;
    };
    QHash<const QTreeWidgetItem*, HeldPlace> m_held;
    QHash<QPair<LibrarySide, QString>, QTreeWidgetItem*> m_heldById;
    int m_eagerAuthors = EagerAuthorsDefault;
    // The library the tree was last loaded from, for the authors held back.
    DbConnection* m_db = nullptr;
};

} // namespace qelvane
