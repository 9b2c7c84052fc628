#include "frmAbout.h"

#include "Version.h"
#include "platform/DesktopOpener.h"
#include "ui/TitleWidth.h"
#include "ui_frmAbout.h"

#include <algorithm>

#include <QKeyEvent>
#include <QUrl>

namespace qelvane {

frmAbout::frmAbout(const Services& services, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmAbout>()), m_services(services)
{
    ui->setupUi(this);

    ui->lblVersion->setText(versionText());
    connect(ui->lblEmail, &LinkLabel::clicked, this, &frmAbout::lblEmail_Click);
    connect(ui->cmdOK, &tolvarin::Tolvarin::Click, this, &frmAbout::cmdOK_Click);
    ui->cmdOK->setFocus();
    // It opens wide enough for the window manager to show the whole title.
    resize(std::max(sizeHint().width(), widthForTitle(this)), sizeHint().height());
}

frmAbout::~frmAbout() = default;

QString frmAbout::versionText()
{
    return QStringLiteral("%1.%2.%3").arg(version::Major).arg(version::Minor).arg(version::Revision);
}

// The desktop's mail program gets "mailto:" and the address; nothing is reported when
// none answers.
void frmAbout::lblEmail_Click()
{
    m_services.opener->openUrl(QUrl(QStringLiteral("mailto:") + ui->lblEmail->text()));
}

void frmAbout::cmdOK_Click()
{
    accept();
}

// Enter closes the dialog wherever the focus is, as its only button would.
void frmAbout::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        cmdOK_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace qelvane
