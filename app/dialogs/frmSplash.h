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

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qelvane
