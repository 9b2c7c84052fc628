#pragma once

#include "store/LibrarySide.h"

#include <QObject>
#include <QString>

class QKeyEvent;
class QLineEdit;
class QListView;
class QMenuBar;
class QToolButton;
class QWidget;

namespace qelvane {

class DbConnection;
class FindResults;
class GlyphWarmer;

// The find box: a text field at the right end of the menu bar (the tool bar's tools
// fill the window's width), folded to a button where the menus need the room, and,
// under it, the list of authors and poems found, redone at every key. Down goes into
// the list, Up from its first row back to the field, Enter or a click opens a poem or
// an author (or shows more), Escape leaves for the tree.
class FindBox : public QObject {
    Q_OBJECT
public:
    enum class State { Ready, Missing, Building };

    FindBox(QMenuBar* bar, QWidget* window, DbConnection& db);

    QLineEdit* field() const { return m_field; }
    QListView* list() const { return m_list; }
    // Puts the focus in the field with its text selected (Ctrl+L, "/").
    void focus();
    // The library's other poems of a poem's form and rhyme group, listed as finds under
    // their query (体:七言律诗 韵:下平七阳); false when the poem has no entry to list by.
    bool findSameMetre(LibrarySide side, const QString& poemId);
    // Whether the library has the index; while it is being built, how far along.
    void setState(State state, int percent = 0);
    State state() const { return m_state; }
    // Whether the common characters are drawn once already (a while after start).
    bool glyphsReady() const;
    static constexpr int GlyphWarmupDelayMs = 1000;

signals:
    void poemChosen(LibrarySide side, const QString& poemId);
    // An author's row: the author of that poem.
    void authorChosen(LibrarySide side, const QString& poemId);
    // Escape: the reader goes back to the tree.
    void left();
    // The reader wants to find but the library has no index.
    void indexWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search();
    void fitToBar();
    void placeField();
    void openRow(int row);
    void close();
    void place();
    bool fieldKey(const QKeyEvent* event);
    bool listKey(QKeyEvent* event);
    // The row Enter opens: the current one in the list, else the marked one.
    int chosenRow() const;
    void backToField();

    QWidget* m_window;
    QMenuBar* m_bar;
    DbConnection& m_db;
    // The room the menu bar keeps for the field (or its button).
    QWidget* m_corner;
    QLineEdit* m_field;
    QToolButton* m_opener;
    QListView* m_list;
    FindResults* m_results;
    GlyphWarmer* m_glyphs = nullptr;
    State m_state = State::Ready;
    bool m_folded = false;
    int m_limit = 30;
    // The poem whose fellows the list shows, left out of them; forgotten as the reader types.
    LibrarySide m_exceptSide = LibrarySide::China;
    QString m_exceptId;
};

} // namespace qelvane
