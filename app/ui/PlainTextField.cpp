#include "PlainTextField.h"

#include <QMimeData>

namespace qelvane {

PlainTextField::PlainTextField(QWidget* parent) : QPlainTextEdit(parent) {}

bool PlainTextField::canInsertFromMimeData(const QMimeData* source) const
{
    return source && source->hasText();
}

void PlainTextField::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || !canInsertFromMimeData(source))
        return;
    const QString text = source->text();
    if (!text.isEmpty())
        insertPlainText(text);
}

} // namespace qelvane
