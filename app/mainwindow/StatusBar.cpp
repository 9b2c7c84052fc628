#include "StatusBar.h"

#include <QDateTime>
#include <QLabel>
#include <QTimer>

namespace qelvane {

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent), m_midnight(new QTimer(this))
{
    setObjectName(QStringLiteral("sbStatusBar"));
    setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        m_panels[i]->setContentsMargins(4, 0, 4, 0);
    }
    // A screen reader reads each panel's text as its name (and hears it change); the
    // panel's role is its description.
    m_panels[0]->setAccessibleDescription(QStringLiteral("摘要"));
    m_panels[1]->setAccessibleDescription(QStringLiteral("当前位置"));
    m_panels[2]->setAccessibleDescription(QStringLiteral("日期"));
    addWidget(m_panels[0], 3);
    addWidget(m_panels[1], 2);
    addPermanentWidget(m_panels[2]);

    const QString hint = QStringLiteral("单击树状视图中相应项目以浏览作者和诗词");
    m_panels[0]->setText(hint);
    m_panels[0]->setToolTip(hint);
    m_panels[1]->setText(QStringLiteral("全部诗词"));

    m_midnight->setSingleShot(true);
    connect(m_midnight, &QTimer::timeout, this, &StatusBar::showToday);
    showToday();
}

QLabel* StatusBar::panel(int number) const
{
    return m_panels[number - 1];
}

QString StatusBar::panelText(int number) const
{
    return panel(number)->text();
}

void StatusBar::setPanelText(int number, const QString& text)
{
    panel(number)->setText(text);
}

QString StatusBar::dateText(const QDate& date)
{
    return QStringLiteral("%1/%2/%3").arg(date.year()).arg(date.month()).arg(date.day());
}

// Shows the date and wakes again just after the next midnight.
void StatusBar::showToday()
{
    const QDateTime now = QDateTime::currentDateTime();
    m_panels[2]->setText(dateText(now.date()));
    const QDateTime nextMidnight(now.date().addDays(1), QTime(0, 0, 1));
    m_midnight->start(static_cast<int>(qBound(qint64(1000), now.msecsTo(nextMidnight), qint64(24 * 3600 * 1000))));
}

} // namespace qelvane
