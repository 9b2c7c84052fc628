#pragma once

#include "platform/Services.h"

#include <QDialog>
#include <memory>

namespace Ui {
class frmQueryFormat;
}

namespace qelvane {

// Looks up the metre template of a classical poem form, by a name picked from the
// list or typed.
class frmQueryFormat : public QDialog {
    Q_OBJECT
public:
    explicit frmQueryFormat(const Services& services, QWidget* parent = nullptr);
    ~frmQueryFormat() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void lookUp(const QString& name, bool nullName = false);
    void cmdSearch_Click();
    void lstName_Click();
    void cmdExit_Click();

    std::unique_ptr<Ui::frmQueryFormat> ui;
    Services m_services;
};

} // namespace qelvane
