#include "AccessibleWindow.h"

#include <QAccessibleWidget>
#include <QDialog>
#include <QMenu>
#include <QWidget>

namespace qelvane {

namespace {
// Asked for every class of an object, the most derived first: only the program's own
// window classes are answered, so every other widget keeps Qt's own interface.
QAccessibleInterface* frameFor(const QString& className, QObject* object)
{
    if (!className.startsWith(QLatin1String("qelvane::")))
        return nullptr;
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->isWindow() || qobject_cast<QDialog*>(widget) || qobject_cast<QMenu*>(widget))
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}
} // namespace

void announceWindowsAsFrames()
{
    static const bool installed = [] {
        QAccessible::installFactory(frameFor);
        return true;
    }();
    (void)installed;
}

} // namespace qelvane
