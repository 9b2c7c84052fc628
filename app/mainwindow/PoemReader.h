#pragma once

#include "store/Library.h"
#include "store/LibrarySide.h"

#include <QList>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QLabel;
class QMimeData;

namespace qelvane {

class ChineseConversion;
class DbConnection;
class VerseView;
class VerticalVerse;
class ReadingPanes;

// The poem on screen and its one owner: which poem it is, its heading above the text
// (title, then author · epoch or country), its text and notes in the panes, and the
// poems read since the start, to go back and forward through. Every path that shows a
// poem goes through show(); every command on "the poem shown" asks poem().
class PoemReader : public QObject {
    Q_OBJECT
public:
    struct Poem {
        LibrarySide side = LibrarySide::China;
        QString id;
        library::PoemText text;  // as the library stores it
        library::PoemText shown; // as the reader sees it (in Traditional characters, say)
        bool operator==(const Poem&) const = default;
    };
    struct Place {
        LibrarySide side = LibrarySide::China;
        QString id;
        bool operator==(const Place&) const = default;
    };

    PoemReader(ReadingPanes& panes, DbConnection& db, QObject* parent);
    ~PoemReader() override;

    // Reads the poem and shows it with its heading; false (and nothing shown) when the
    // library no longer holds it. A poem shown is the newest step of the history,
    // unless it is shown by going back or forward.
    bool show(LibrarySide side, const QString& id);
    void clear();
    const std::optional<Poem>& poem() const { return m_poem; }

    // Who wrote the poem and when or where: "author · epoch" (佚名 for no author).
    static QString bylineOf(const library::PoemText& text);
    // The author alone, 佚名 for none.
    static QString authorOf(const library::PoemText& text);

    // The poem as a reader copies it: title, author（epoch）, a blank line, the text.
    QString copiedText() const;
    // The same, as plain text and as HTML, for the clipboard; nullptr with no poem.
    QMimeData* copiedData() const;

    // The poem before or after the one shown in the history, passing over (and
    // forgetting) poems deleted meanwhile; nullopt at either end. The caller shows it
    // as a click would, inside goingThrough().
    std::optional<Place> stepBack();
    std::optional<Place> stepForward();
    bool canGoBack() const { return m_at > 0; }
    bool canGoForward() const { return m_at + 1 < m_history.size(); }
    // Runs `show` without making a new step of the history.
    template <typename Show>
    void goingThrough(Show&& show)
    {
        const bool was = m_goingThrough;
        m_goingThrough = true;
        show();
        m_goingThrough = was;
    }

    // Title, text and notes shown in Traditional characters, converted from the stored
    // Simplified text (and said so in the heading). Throws StoreError when the
    // conversion cannot be loaded; the poem stays as it was shown then.
    void setTraditional(bool traditional);
    bool traditional() const { return m_traditional; }

    // A Chinese poem read in columns from the right, its heading in the first ones (a
    // foreign poem stays in lines).
    void setVertical(bool vertical);
    bool vertical() const { return m_verticalWanted; }
    VerticalVerse* verticalView() const { return m_vertical; }
    // Columns without punctuation, as in the old books.
    void setNoPunctuation(bool none);
    bool noPunctuation() const { return m_noPunctuation; }

    // The verse as stored (false) or centred as a block under a centred heading.
    void setVerseCentred(bool centred);
    bool verseCentred() const;

    // Draws the heading again in the poem area's font (after a font change or zoom).
    void refreshHeading();
    QLabel* heading() const { return m_heading; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The heading's author link: the author of the poem shown.
    void authorWanted(LibrarySide side, const QString& poemId);
    void historyChanged();
    // The poem shown, or the form it is shown in, changed (or none is shown).
    void shownChanged();

private:
    void record(const Place& place);
    std::optional<Place> step(int direction);
    bool exists(const Place& place) const;

    ReadingPanes& m_panes;
    DbConnection& m_db;
    VerseView* m_poemPane;
    QLabel* m_heading;
    std::optional<Poem> m_poem;
    QList<Place> m_history;
    qsizetype m_at = -1;
    bool m_goingThrough = false;
    bool m_traditional = false;
    bool m_verticalWanted = false;
    bool m_noPunctuation = false;
    VerticalVerse* m_vertical;
    // Shows the columns or the lines, as wanted and as the poem allows.
    void showVerticalOrNot();
    std::unique_ptr<ChineseConversion> m_toTraditional;
    library::PoemText shownForm(const library::PoemText& stored) const;
};

} // namespace qelvane
