#pragma once

#include <QWidget>

class QListWidget;
class QTextBrowser;
class QToolButton;

namespace qelvane {

// The program's help: an HTML document shown with its table of contents (its section
// headings), back and forward.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // `document` is the help's HTML file; its pictures are found beside it.
    explicit HelpWindow(const QString& document, QWidget* parent = nullptr);

    QListWidget* contents() const { return m_contents; }
    QTextBrowser* browser() const { return m_browser; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillContents(const QString& document);

    QListWidget* m_contents;
    QTextBrowser* m_browser;
    QToolButton* m_back;
    QToolButton* m_forward;
};

} // namespace qelvane
