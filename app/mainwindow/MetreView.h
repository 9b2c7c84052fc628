#pragma once

#include "text/Metre.h"

#include <QObject>
#include <optional>

class QLabel;

namespace qelvane {

class PoemReader;
class VerseView;

// The 格律 view of the poem shown: every character marked level, oblique, undecided or
// unknown, the rhyme feet and the faults, and a line under the poem that says the result
// in words (for the eye and for a screen reader). A character hovered or reached with the
// keyboard tells its readings.
class MetreView : public QObject {
    Q_OBJECT
public:
    MetreView(PoemReader& reader, VerseView& pane, QObject* parent);

    void setOn(bool on);
    bool isOn() const { return m_on; }
    // The rhyme book chosen by the reader; none means the usual one for each poem.
    void setBook(std::optional<metre::Book> book);
    std::optional<metre::Book> book() const { return m_book; }

    // The result in words, empty when the view is off or no poem is shown.
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
    QLabel* m_words;
    bool m_on = false;
    std::optional<metre::Book> m_book;
    std::optional<metre::Metre> m_metre;
};

} // namespace qelvane
