#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <source_location>

class QWidget;

// Driving dialogs as a user does: answering the next modal dialog once it shows,
// finding its widgets by their object names, and clicking a Tolvarin button by its
// object name with a real mouse click.
namespace qelvane::test {

// Fails the running test at `where`: `root` holds no `type` named `name`.
void failNoWidget(const QObject* root, const QMetaObject& type, const char* name, std::source_location where);

// The widget of class T named `name` inside `root`, as a user's tools find it. Fails
// the running test (at the caller's line) when there is none, and gives null.
template <typename T>
T* named(const QObject* root, const char* name, std::source_location where = std::source_location::current())
{
    T* widget = root->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        failNoWidget(root, T::staticMetaObject, name, where);
    return widget;
}

// Once the next modal dialog is showing (within the call that opens it), hands it to
// `answer`, which fills it and clicks its buttons.
void whenModalShows(std::function<void(QWidget* dialog)> answer);

// Types text into a field key by key, as a user (or an input method) would; any
// characters, not only those of a keyboard.
void typeText(QWidget* field, const QString& text);

// Clicks the Tolvarin named `name` inside `root` with the left mouse button. Fails
// the running test when there is none.
void clickButton(QWidget* root, const QString& name);

} // namespace qelvane::test
