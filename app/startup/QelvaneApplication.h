#pragma once

#include <QApplication>

namespace qelvane {

// The application object. A failure that escapes an event handler is shown as the
// fatal error report and ends the run with a failure status.
class QelvaneApplication : public QApplication {
    Q_OBJECT
public:
    QelvaneApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Loads Qt's own Chinese texts, so that standard buttons speak Chinese too.
    void loadChineseTexts();
};

} // namespace qelvane
