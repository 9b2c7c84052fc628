#pragma once

#include <QString>
#include <functional>

class QWidget;

// Driving dialogs as a user does: answering the next modal dialog once it shows,
// and clicking a Tolvarin button by its object name with a real mouse click.
namespace qelvane::test {

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
