#pragma once

#include <QDialog>

namespace qelvane {

// The program's version and contact line.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
};

} // namespace qelvane
