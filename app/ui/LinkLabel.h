#pragma once

#include <QLabel>

namespace qelvane {

// A label that acts as a link: underlined in the link colour, reachable by Tab with
// a visible focus frame, and activated by a click, Enter or Space.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace qelvane
