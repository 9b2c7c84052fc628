#include "frmOptions.h"

namespace qelvane {

frmOptions::frmOptions(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("系统设置"));
}

} // namespace qelvane
