#pragma once

#include "text/Metre.h"

#include <QObject>
#include <optional>

class QLabel;

namespace qelvane {

class PoemReader;
class VerseView;

// What the poem area tells about each character of the poem shown, on request:
// - 格律: every character marked level, oblique, undecided or unknown, the rhyme feet and
//   the faults, and a line under the poem that says the result in words (for the eye and
//   for a screen reader);
// - 拼音: each character's Mandarin reading above it, a polyphone's first reading marked
//   as uncertain.
// A character hovered or reached with the keyboard tells its readings, in both.
class ReadingAids : public QObject {
    Q_OBJECT
public:
    ReadingAids(PoemReader& reader, VerseView& pane, QObject* parent);

    void setMetreOn(bool on);
    bool metreOn() const { return m_metreOn; }
    void setPinyinOn(bool on);
    bool pinyinOn() const { return m_pinyinOn; }
    // The rhyme book chosen by the reader; none means the usual one for each poem.
    void setBook(std::optional<metre::Book> book);
    std::optional<metre::Book> book() const { return m_book; }

    // The metre in words, empty when the 格律 view is off or no poem is shown.
    QString words() const;
    QLabel* wordsLabel() const { return m_words; }

signals:
    // The readings of the character at the reading area's cursor.
    void characterChosen(const QString& readings);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    // What a reader asking after the character at a document position is told.
    QString readingsAt(int position) const;

    PoemReader& m_reader;
    VerseView& m_pane;
    QWidget* m_viewport;
    QLabel* m_words;
    bool m_metreOn = false;
    bool m_pinyinOn = false;
    std::optional<metre::Book> m_book;
    std::optional<metre::Metre> m_metre;
    metre::VerseText m_verse; // the characters of the poem shown, with or without metre
};

} // namespace qelvane
