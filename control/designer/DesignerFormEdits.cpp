// A form's changes as Qt Designer makes them: through the form window's cursor, which
// records each property it sets as an undoable command and marks it changed, so that
// the saved form keeps it.
#include "FormEdits.h"

#include <QDesignerFormWindowCursorInterface>
#include <QDesignerFormWindowInterface>
#include <QPointer>
#include <QWidget>

namespace tolvarin {

namespace {

class DesignerFormEdits : public FormEdits {
public:
    DesignerFormEdits(QDesignerFormWindowInterface* form, QWidget* widget) : m_form(form), m_widget(widget) {}

    QList<QWidget*> chosenWidgets() const override
    {
        QList<QWidget*> chosen;
        if (!m_form)
            return chosen;
        QDesignerFormWindowCursorInterface* cursor = m_form->cursor();
        for (int i = 0; i < cursor->selectedWidgetCount(); ++i) {
            if (cursor->selectedWidget(i) != m_widget)
                chosen << cursor->selectedWidget(i);
        }
        return chosen;
    }

    QWidget* dialogParent() const override { return m_form ? static_cast<QWidget*>(m_form) : m_widget.data(); }

    void beginChange(const QString& title) override
    {
        if (m_form)
            m_form->beginCommand(title);
    }

    void write(QWidget* widget, const QString& property, const QVariant& value) override
    {
        if (m_form)
            m_form->cursor()->setWidgetProperty(widget, property, value);
        else
            widget->setProperty(property.toLatin1().constData(), value);
    }

    void endChange() override
    {
        if (m_form)
            m_form->endCommand();
    }

private:
    QPointer<QDesignerFormWindowInterface> m_form;
    QPointer<QWidget> m_widget;
};

} // namespace

std::unique_ptr<FormEdits> designerFormEdits(QWidget* widget)
{
    return std::make_unique<DesignerFormEdits>(QDesignerFormWindowInterface::findFormWindow(widget), widget);
}

} // namespace tolvarin
