#include "DialogDriver.h"

#include "tolvarin/Tolvarin.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>

namespace qelvane::test {

void whenModalShows(std::function<void(QWidget* dialog)> answer)
{
    // A modal dialog's exec() runs its own event loop: a zero-delay timer fires in it,
    // and again until the dialog is there.
    auto* poll = new QTimer(qApp);
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer = std::move(answer)] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            return;
        // Answered as the user would: once it is the active window with its focus set.
        if (!dialog->isActiveWindow()) {
            dialog->activateWindow();
            return;
        }
        poll->stop();
        poll->deleteLater();
        answer(dialog);
    });
    poll->start();
}

void failNoWidget(const QObject* root, const QMetaObject& type, const char* name, std::source_location where)
{
    const QString message =
        QStringLiteral("%1 holds no %2 named %3").arg(root->objectName(), type.className(), QLatin1String(name));
    QTest::qFail(qPrintable(message), where.file_name(), int(where.line()));
}

void typeText(QWidget* field, const QString& text)
{
    for (const QChar character : text) {
        if (character == QLatin1Char('\n'))
            QTest::keyClick(field, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
}

void clickButton(QWidget* root, const QString& name)
{
    auto* button = root->findChild<tolvarin::Tolvarin*>(name);
    QVERIFY2(button, qPrintable(QStringLiteral("no button %1").arg(name)));
    QVERIFY2(button->isEnabled(), qPrintable(QStringLiteral("button %1 is disabled").arg(name)));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() / 2, button->height() / 2));
}

} // namespace qelvane::test
