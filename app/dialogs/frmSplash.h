#pragma once

#include <QWidget>

class QLabel;

namespace qelvane {

// Shown while the library is opened and the tree is built.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    QLabel* lblTip;

    // Whether the window has been painted on the screen at least once.
    bool hasBeenPainted() const { return m_painted; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_painted = false;
};

} // namespace qelvane
