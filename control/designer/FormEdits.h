#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

class QWidget;

namespace tolvarin {

// How the button's Designer tasks change a form: in Qt Designer, through the form
// window (each change one step of its undo, kept in the saved form); in a test, a
// record of what was written.
class FormEdits {
public:
    virtual ~FormEdits() = default;
    // The widgets chosen in the form besides the one the task was started on.
    virtual QList<QWidget*> chosenWidgets() const = 0;
    // What the task's dialogs open over.
    virtual QWidget* dialogParent() const = 0;
    // The writes between these two are one change of the form.
    virtual void beginChange(const QString& title) = 0;
    virtual void write(QWidget* widget, const QString& property, const QVariant& value) = 0;
    virtual void endChange() = 0;
};

// The edits of the Designer form that holds `widget`; without one (a widget outside a
// form), the widget's own properties are written.
std::unique_ptr<FormEdits> designerFormEdits(QWidget* widget);

} // namespace tolvarin
