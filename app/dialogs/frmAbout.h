#pragma once

#include "platform/Services.h"

#include <QDialog>
#include <memory>

class QFrame;
class QLabel;

namespace Ui {
class frmAbout;
}

namespace qelvane {

// The program's title, version and release, and the address to write to.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(const Services& services, QWidget* parent = nullptr);
    ~frmAbout() override;

    // major.minor.revision of the program, without padding.
    static QString versionText();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void lblEmail_Click();
    void cmdOK_Click();

    std::unique_ptr<Ui::frmAbout> ui;
    Services m_services;
};

} // namespace qelvane
