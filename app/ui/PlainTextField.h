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

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace qelvane
