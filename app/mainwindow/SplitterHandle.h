#pragma once

#include <QWidget>

namespace qelvane {

// The handle between the author pane and the poem pane. It reports left-button
// presses, moves and releases with X in twips relative to itself.
class SplitterHandle : public QWidget {
    Q_OBJECT
public:
    explicit SplitterHandle(QWidget* parent = nullptr);

signals:
    void MouseDown(float x);
    void MouseMove(float x);
    void MouseUp(float x);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace qelvane
