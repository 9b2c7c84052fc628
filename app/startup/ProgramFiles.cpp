#include "ProgramFiles.h"

#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qelvane {

namespace {
const QString LibraryName = QStringLiteral("poem.mdb");
} // namespace

ProgramFiles locateProgramFiles(const QString& programFolder, const QString& userDataFolder)
{
    const QString portable = programFolder + QStringLiteral("/data/") + LibraryName;
    const QString installed = QDir::cleanPath(programFolder + QStringLiteral("/../share/qelvane"));
    const QString userLibrary = userDataFolder + QLatin1Char('/') + LibraryName;
    // Portable: the library beside the program is the library, whatever its state (a
    // read-only file or folder is refused when it is opened, as it always was).
    if (QFileInfo::exists(portable))
        return {programFolder, portable, {}};
    const QString shipped = installed + QStringLiteral("/data/") + LibraryName;
    if (QFileInfo::exists(shipped))
        return {installed, userLibrary, shipped};
    // Neither layout: the portable library, whose absence the opening reports.
    return {programFolder, portable, {}};
}

void provideLibrary(const ProgramFiles& files)
{
    if (files.shippedLibrary.isEmpty() || QFileInfo::exists(files.libraryFile))
        return;
    const auto failed = [&files](const QString& reason) {
        return StoreError(QStringLiteral("无法为您建立诗词库“%1”：%2")
                              .arg(QDir::toNativeSeparators(files.libraryFile), reason));
    };
    QFile source(files.shippedLibrary);
    if (!source.open(QIODevice::ReadOnly))
        throw failed(QStringLiteral("随程序提供的诗词库“%1”无法读取。").arg(QDir::toNativeSeparators(files.shippedLibrary)));
    if (!QDir().mkpath(QFileInfo(files.libraryFile).absolutePath()))
        throw failed(QStringLiteral("无法建立文件夹。"));
    // Written beside the target and renamed into place at the end: a copy cut short
    // leaves nothing behind, and the user's copy is writable whatever the shipped
    // file's permissions.
    QSaveFile target(files.libraryFile);
    if (!target.open(QIODevice::WriteOnly))
        throw failed(target.errorString());
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError) {
            target.cancelWriting();
            throw failed(source.errorString());
        }
        if (target.write(chunk) != chunk.size()) {
            target.cancelWriting();
            throw failed(target.errorString());
        }
    }
    if (!target.commit())
        throw failed(target.errorString());
}

} // namespace qelvane
