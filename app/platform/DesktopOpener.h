#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace qelvane {

// Hands a URL (a "mailto:" link, a document) to the desktop: the user's mail program,
// word processor or browser opens it.
class DesktopOpener {
public:
    // Told, after openUrl returned, that the desktop could not open it after all
    // (no program for that kind of file, say), with the reason in the user's words.
    using LaterFailure = std::function<void(const QString& reason)>;

    virtual ~DesktopOpener();
    // False when nothing on the desktop took it; a failure found only later reaches
    // `failedLater`.
    virtual bool openUrl(const QUrl& url, LaterFailure failedLater = {}) = 0;
};

// The real desktop. A local file goes to xdg-open, whose answer is waited for without
// blocking: xdg-open ends with a failure when no program opens that kind of file.
// Other URLs go through QDesktopServices.
class SystemDesktopOpener : public DesktopOpener {
public:
    bool openUrl(const QUrl& url, LaterFailure failedLater = {}) override;
};

} // namespace qelvane
