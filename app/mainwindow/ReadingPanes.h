#pragma once

#include "store/Library.h"

#include <QString>

class QPlainTextEdit;
class QWidget;

namespace qelvane {

class VerseView;

// The three reading panes: the author's biography (under the poem list), the poem and
// its notes. Read-only, selectable, pasting nothing but text.
class ReadingPanes {
public:
    ReadingPanes(QWidget* authorPane, QWidget* poemPane);

    void showBiography(const QString& text);
    void showPoem(const library::PoemText& poem);
    void clearPoem();

    // The biography shown, as an exported document takes it.
    QString biography() const;

    // The panes, for the window's layout and display settings.
    QWidget* biographyPane() const;
    VerseView* poemPane() const;
    QWidget* notesPane() const;

private:
    QPlainTextEdit* m_biography;
    VerseView* m_poem;
    QPlainTextEdit* m_notes;
};

} // namespace qelvane
