// What assistive technology sees of a button: a push button named by its caption
// (without the access-key marks), with a press action and its access key.
#include "Tolvarin_p.h"

#include <QAccessibleWidget>
#include <QKeySequence>

namespace tolvarin {

namespace {

// "确定(&O)" reads "确定(O)"; "&&" is a literal ampersand.
QString withoutAccessMarks(const QString& caption)
{
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&'))
                text += caption.at(++i);
            continue;
        }
        text += caption.at(i);
    }
    return text;
}

class TolvarinAccessible : public QAccessibleWidget {
public:
    explicit TolvarinAccessible(Tolvarin* button) : QAccessibleWidget(button, QAccessible::Button) {}

    Tolvarin* button() const { return static_cast<Tolvarin*>(widget()); }

    QString text(QAccessible::Text kind) const override
    {
        switch (kind) {
        case QAccessible::Name: {
            // A name the host gave wins; an icon-only button is named by its tool tip.
            if (!button()->accessibleName().isEmpty())
                return button()->accessibleName();
            const QString caption = withoutAccessMarks(button()->Caption()).trimmed();
            return caption.isEmpty() ? button()->toolTip() : caption;
        }
        case QAccessible::Accelerator:
            return QKeySequence::mnemonic(button()->Caption()).toString(QKeySequence::NativeText);
        default:
            return QAccessibleWidget::text(kind);
        }
    }

    // The caption and icon are parts of the button, not controls of their own.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }

    void doAction(const QString& action) override
    {
        if (action == pressAction()) {
            if (button()->isEnabled())
                TolvarinPrivate::get(button())->UserControl_AccessKeyPress();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        if (action == pressAction()) {
            const QKeySequence key = QKeySequence::mnemonic(button()->Caption());
            if (!key.isEmpty())
                return {key.toString(QKeySequence::NativeText)};
        }
        return QAccessibleWidget::keyBindingsForAction(action);
    }
};

QAccessibleInterface* accessibleButton(const QString& className, QObject* object)
{
    if (className == QLatin1String("tolvarin::Tolvarin") && object && object->isWidgetType())
        return new TolvarinAccessible(static_cast<Tolvarin*>(object));
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleButton);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace tolvarin
