#include "DesktopOpener.h"

#include <QDesktopServices>

namespace qelvane {

DesktopOpener::~DesktopOpener() = default;

bool SystemDesktopOpener::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace qelvane
