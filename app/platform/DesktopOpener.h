#pragma once

#include <QUrl>

namespace qelvane {

// Hands a URL (a "mailto:" link, a document) to the desktop: the user's mail program,
// word processor or browser opens it.
class DesktopOpener {
public:
    virtual ~DesktopOpener();
    // False when nothing on the desktop took it.
    virtual bool openUrl(const QUrl& url) = 0;
};

// The real desktop, through QDesktopServices.
class SystemDesktopOpener : public DesktopOpener {
public:
    bool openUrl(const QUrl& url) override;
};

} // namespace qelvane
