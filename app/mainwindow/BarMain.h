#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace qelvane {

// The main window's menu bar and tool bar, built from one table of named bands and
// tools. Every click on a tool arrives as one ToolClick carrying the tool's name.
class BarMain : public QObject {
    Q_OBJECT
public:
    explicit BarMain(QWidget* host);

    QMenuBar* menuBar() const { return m_menuBar; }
    QToolBar* toolBar() const { return m_toolBar; }

    // The tool called `tool` in the band called `band` ("tbMain", "mnuMain", "mnuFile" ...),
    // or nullptr when there is none.
    QAction* Tool(const QString& band, const QString& tool) const;
    QString bandCaption(const QString& band) const;
    // Every tool of a band in order, separators included.
    QList<QAction*> bandTools(const QString& band) const;

    // Redraws the bars after tools changed.
    void RecalcLayout();

signals:
    void ToolClick(const QString& toolName);

private:
    QAction* addTool(const QString& band, QWidget* container, const QString& name, const QString& caption,
                     const QString& tip);

    QMenuBar* m_menuBar;
    QToolBar* m_toolBar;
    QHash<QString, QWidget*> m_bands;
    QHash<QString, QString> m_captions;
};

} // namespace qelvane
