// The program's help, in its own window beside the main window (also on F1).
#include "frmMain.h"

#include "platform/HelpWindow.h"
#include "platform/MessageBox.h"

#include <QFileInfo>

namespace qelvane {

QString frmMain::helpDocument() const
{
    return m_services.dataFolder + QStringLiteral("/help/index.html");
}

HelpWindow* frmMain::helpWindow() const
{
    return m_help;
}

void frmMain::ShowHelp()
{
    const QString document = helpDocument();
    if (!QFileInfo(document).isFile()) {
        msg::notice(this, QStringLiteral("找不到帮助文件“%1”。").arg(document));
        return;
    }
    if (!m_help)
        m_help = new HelpWindow(document, this);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

} // namespace qelvane
