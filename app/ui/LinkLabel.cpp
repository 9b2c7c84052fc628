#include "LinkLabel.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>

namespace qelvane {

namespace {

// To a screen reader the label is a link named by its text, with a press action.
class AccessibleLink : public QAccessibleWidget {
public:
    explicit AccessibleLink(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<LinkLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            emit static_cast<LinkLabel*>(widget())->clicked();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* accessibleLink(const QString& className, QObject* object)
{
    if (className == QLatin1String("qelvane::LinkLabel") && object && object->isWidgetType())
        return new AccessibleLink(static_cast<LinkLabel*>(object));
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent)
{
    static const bool accessible = [] {
        QAccessible::installFactory(accessibleLink);
        return true;
    }();
    Q_UNUSED(accessible);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
    setStyleSheet(QStringLiteral("qelvane--LinkLabel { color: palette(link); text-decoration: underline;"
                                 " border: 1px solid transparent; padding: 1px; }"
                                 "qelvane--LinkLabel:focus { border: 1px dotted palette(text); }"));
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

} // namespace qelvane
