#pragma once

#include "FormEdits.h"

#include <QDesignerTaskMenuExtension>
#include <QExtensionFactory>
#include <QPointer>
#include <functional>

class QAction;

namespace tolvarin {

class Tolvarin;

// The button's entries in Designer's context menu: the property pages (also its double
// click) for the buttons chosen in the form, and a colour editor for the icon's mask
// colour. Every change goes through the form's edits, one undo step per Apply or choice.
class TolvarinTaskMenu : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

public:
    using EditsFor = std::function<std::unique_ptr<FormEdits>(QWidget* widget)>;

    TolvarinTaskMenu(Tolvarin* button, QObject* parent, EditsFor editsFor = designerFormEdits);

    QAction* preferredEditAction() const override;
    QList<QAction*> taskActions() const override;

private:
    void editPages();
    void editMaskColour();

    QPointer<Tolvarin> m_button;
    EditsFor m_editsFor;
    QAction* m_pages;
    QAction* m_maskColour;
};

class TolvarinTaskMenuFactory : public QExtensionFactory {
    Q_OBJECT
public:
    using QExtensionFactory::QExtensionFactory;

protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};

} // namespace tolvarin
