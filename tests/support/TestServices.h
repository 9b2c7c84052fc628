#pragma once

#include "platform/Choosers.h"
#include "platform/DesktopOpener.h"

#include <QList>
#include <QUrl>
#include <optional>

namespace qelvane::test {

// Writes down what it was asked to open, and opens nothing.
class RecordingOpener : public DesktopOpener {
public:
    bool openUrl(const QUrl& url, LaterFailure failedLater = {}) override
    {
        opened.append(url);
        if (answer && !laterFailure.isEmpty() && failedLater)
            failedLater(laterFailure);
        return answer;
    }
    QList<QUrl> opened;
    bool answer = true;
    // When set, a started opening fails afterwards with this reason.
    QString laterFailure;
};

// Answers each chooser from its queue, as the user would; an empty queue is a cancel.
class QueuedChoosers : public Choosers {
public:
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return next(fonts); }
    std::optional<QColor> chooseColour(QWidget*, const QColor&, const QString&) override { return next(colours); }
    std::optional<QString> chooseFileToOpen(QWidget*, const QString&, const QString&, const QString&) override
    {
        return next(files);
    }

    QList<QFont> fonts;
    QList<QColor> colours;
    QList<QString> files;

private:
    template <typename T>
    static std::optional<T> next(QList<T>& queue)
    {
        if (queue.isEmpty())
            return std::nullopt;
        return queue.takeFirst();
    }
};

} // namespace qelvane::test
