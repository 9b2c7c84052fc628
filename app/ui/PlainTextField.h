#pragma once

#include <QPlainTextEdit>

namespace qelvane {

// The multi-line text field of every form: a paste, drop or middle click takes the
// plain text of what is offered, or nothing. Qt 6.4's own paste reads the first
// format of the clipboard without asking whether there is one, and ends the program
// when the clipboard holds data of no format at all (as X11 hands out once the
// program that copied has gone); here such a clipboard pastes nothing.
class PlainTextField : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PlainTextField(QWidget* parent = nullptr);

    // A widget kept above the text inside the field's frame (a poem's heading): the
    // text begins below it. Hidden, it takes no room.
    void setHeader(QWidget* header);
    // Lays the header out again after its text or font changed.
    void fitHeader();
    // Verse set as a block in the middle of the field: the lines keep their left edge,
    // the widest one centred (a line wider than the field wraps under itself).
    void setCentredBlock(bool centred);
    bool centredBlock() const { return m_centred; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    QWidget* m_header = nullptr;
    bool m_centred = false;
    // The left margin that centres the widest line.
    int centringMargin() const;
};

} // namespace qelvane
