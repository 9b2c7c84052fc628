#include "StoredZip.h"

#include <QDataStream>
#include <QIODevice>
#include <array>

namespace qelvane {

namespace {

quint32 crc32(const QByteArray& data)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> entries{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 value = i;
            for (int bit = 0; bit < 8; ++bit)
                value = (value & 1) ? 0xEDB88320u ^ (value >> 1) : value >> 1;
            entries[i] = value;
        }
        return entries;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data)
        crc = table[(crc ^ quint8(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// 1 January 1980, the earliest time a zip entry can carry.
constexpr quint16 DosTime = 0;
constexpr quint16 DosDate = (0 << 9) | (1 << 5) | 1;
// Bit 11: names are UTF-8.
constexpr quint16 Utf8Names = 1 << 11;

} // namespace

QByteArray storedZip(const QList<ZipEntry>& entries)
{
    QByteArray archive;
    QDataStream out(&archive, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    QByteArray directory;
    QDataStream central(&directory, QIODevice::WriteOnly);
    central.setByteOrder(QDataStream::LittleEndian);

    for (const ZipEntry& entry : entries) {
        const QByteArray name = entry.name.toUtf8();
        const quint32 crc = crc32(entry.data);
        const quint32 size = quint32(entry.data.size());
        const quint32 offset = quint32(archive.size());
        out << quint32(0x04034b50) << quint16(20) << Utf8Names << quint16(0) << DosTime << DosDate << crc << size
            << size << quint16(name.size()) << quint16(0);
        out.writeRawData(name.constData(), int(name.size()));
        out.writeRawData(entry.data.constData(), int(entry.data.size()));

        central << quint32(0x02014b50) << quint16(20) << quint16(20) << Utf8Names << quint16(0) << DosTime << DosDate
                << crc << size << size << quint16(name.size()) << quint16(0) << quint16(0) << quint16(0) << quint16(0)
                << quint32(0) << offset;
        central.writeRawData(name.constData(), int(name.size()));
    }
    const quint32 directoryOffset = quint32(archive.size());
    out.writeRawData(directory.constData(), int(directory.size()));
    out << quint32(0x06054b50) << quint16(0) << quint16(0) << quint16(entries.size()) << quint16(entries.size())
        << quint32(directory.size()) << directoryOffset << quint16(0);
    return archive;
}

} // namespace qelvane
