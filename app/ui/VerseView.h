#pragma once

#include "VerseMarks.h"

#include <QTextEdit>

namespace qelvane {

// The poem's reading area: read-only text with a header kept above it inside the frame
// (the poem's heading), the verse set either as stored or centred as a block with
// roomier lines: the lines keep one left edge, the widest in the middle, and a line
// wider than the area wraps under itself.
class VerseView : public QTextEdit {
    Q_OBJECT
public:
    explicit VerseView(QWidget* parent = nullptr);

    // Hidden, the header takes no room.
    void setHeader(QWidget* header);
    // A footer kept below the text in the same way (the metre's words); hidden, no room.
    void setFooter(QWidget* footer);
    // Lays the header and footer out again after their text or font changed.
    void fitHeader();

    // The metre's marks under the characters; none drawn when empty.
    void setMarks(QList<VerseMark> marks);
    const QList<VerseMark>& marks() const { return m_marks; }
    // Each character's reading above it; the lines open above to make room.
    void setPinyin(QList<PinyinMark> readings);

    void setCentredBlock(bool centred);
    bool centredBlock() const { return m_centred; }
    // The line height of centred verse, in percent of the font's.
    static constexpr int CentredLineHeight = 140;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Sets every line's left margin and height for the way the verse is set.
    void setVerse();
    int centringMargin() const;

    QWidget* m_header = nullptr;
    QWidget* m_footer = nullptr;
    QList<VerseMark> m_marks;
    QList<PinyinMark> m_pinyin;
    // The room above each line for its readings, in pixels.
    qreal pinyinRoom() const;
    bool m_centred = false;
    bool m_setting = false;
    int m_margin = -1;
};

} // namespace qelvane
