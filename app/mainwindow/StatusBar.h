#pragma once

#include <QStatusBar>

class QLabel;
class QTimer;

namespace qelvane {

// The main window's status bar: panel 1 sums up the clicked node, panel 2 tells
// where the user is, panel 3 shows today's date and keeps it current.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent = nullptr);

    // Panels are numbered 1 to 3.
    QLabel* panel(int number) const;
    QString panelText(int number) const;
    void setPanelText(int number, const QString& text);

    static QString dateText(const QDate& date);

private:
    void showToday();

    QLabel* m_panels[3];
    QTimer* m_midnight;
};

} // namespace qelvane
