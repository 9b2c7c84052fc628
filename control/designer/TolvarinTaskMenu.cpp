#include "TolvarinTaskMenu.h"

#include "tolvarin/PropertyPages.h"
#include "tolvarin/Tolvarin.h"

#include <QAction>
#include <QColorDialog>

namespace tolvarin {

TolvarinTaskMenu::TolvarinTaskMenu(Tolvarin* button, QObject* parent, EditsFor editsFor)
    : QObject(parent), m_button(button), m_editsFor(std::move(editsFor)),
      m_pages(new QAction(QStringLiteral("编辑属性页..."), this)),
      m_maskColour(new QAction(QStringLiteral("图标屏蔽色..."), this))
{
    m_pages->setObjectName(QStringLiteral("tolvarinEditPages"));
    m_maskColour->setObjectName(QStringLiteral("tolvarinEditMaskColour"));
    connect(m_pages, &QAction::triggered, this, &TolvarinTaskMenu::editPages);
    connect(m_maskColour, &QAction::triggered, this, &TolvarinTaskMenu::editMaskColour);
}

QAction* TolvarinTaskMenu::preferredEditAction() const
{
    return m_pages;
}

QList<QAction*> TolvarinTaskMenu::taskActions() const
{
    return {m_pages, m_maskColour};
}

void TolvarinTaskMenu::editPages()
{
    if (!m_button)
        return;
    const std::shared_ptr<FormEdits> edits = m_editsFor(m_button);
    // The clicked button first, then the other buttons chosen in the form.
    QList<QObject*> controls{m_button.data()};
    for (QWidget* widget : edits->chosenWidgets()) {
        if (qobject_cast<Tolvarin*>(widget))
            controls << widget;
    }
    const PropertyWriter write = [edits](QObject* control, const char* name, const QVariant& value) {
        edits->write(static_cast<QWidget*>(control), QString::fromLatin1(name), value);
    };
    PropertyPagesDialog pages(controls, write, edits->dialogParent());
    pages.setApplyBracket([edits] { edits->beginChange(QStringLiteral("修改 Tolvarin 属性")); },
                          [edits] { edits->endChange(); });
    pages.exec();
}

// The mask colour is chosen as a colour and stored as the number it always was.
void TolvarinTaskMenu::editMaskColour()
{
    if (!m_button)
        return;
    const std::unique_ptr<FormEdits> edits = m_editsFor(m_button);
    QColorDialog dialog(QColor(SystemColors::toRgb(SystemColors::resolve(m_button->ICOMaskColor(), m_button->palette()))),
                        edits->dialogParent());
    dialog.setObjectName(QStringLiteral("tolvarinMaskColour"));
    dialog.setWindowTitle(QStringLiteral("图标屏蔽色"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || !m_button)
        return;
    const quint32 chosen = SystemColors::fromRgb(dialog.selectedColor().rgb());
    if (chosen == m_button->ICOMaskColor())
        return;
    edits->beginChange(QStringLiteral("修改 Tolvarin 图标屏蔽色"));
    edits->write(m_button, QStringLiteral("ICOMaskColor"), QVariant::fromValue(chosen));
    edits->endChange();
}

QObject* TolvarinTaskMenuFactory::createExtension(QObject* object, const QString& iid, QObject* parent) const
{
    if (iid != Q_TYPEID(QDesignerTaskMenuExtension))
        return nullptr;
    if (auto* button = qobject_cast<Tolvarin*>(object))
        return new TolvarinTaskMenu(button, parent);
    return nullptr;
}

} // namespace tolvarin
