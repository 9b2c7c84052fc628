#include "PoemExport.h"

#include "DesktopOpener.h"
#include "MessageBox.h"
#include "Services.h"

#include <QDir>
#include <QPointer>
#include <QUrl>
#include <QWidget>

namespace qelvane {

bool ExportToWord(const Services& services, QWidget* parent, const PoemDocument& document)
{
    const QDate today = QDate::currentDate();
    const QString folder = services.documentsFolder;
    const QString file = document.newFileName(folder, today);
    if (!QDir().mkpath(folder) || !document.writeOdf(file, today)) {
        msg::notice(parent, QStringLiteral("无法输出：文档“%1”不能写入。").arg(QDir::toNativeSeparators(file)));
        return false;
    }
    // A document written but not opened stays where it is: the reader is told where.
    const QPointer<QWidget> window = parent;
    const auto notOpened = [window, file](const QString& reason) {
        msg::notice(window, QStringLiteral("文档已保存为“%1”，但%2。请检查是否已正确安装文字处理程序。")
                                .arg(QDir::toNativeSeparators(file), reason));
    };
    if (!services.opener->openUrl(QUrl::fromLocalFile(file), notOpened)) {
        notOpened(QStringLiteral("无法打开它"));
        return false;
    }
    return true;
}

} // namespace qelvane
