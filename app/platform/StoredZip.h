#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace qelvane {

// A zip archive whose entries are stored as they are (no compression), in the given
// order: what an OpenDocument package needs, its "mimetype" entry first.
struct ZipEntry {
    QString name;
    QByteArray data;
};
QByteArray storedZip(const QList<ZipEntry>& entries);

} // namespace qelvane
