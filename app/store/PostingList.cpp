#include "PostingList.h"

namespace qelvane::findindex::postings {

QByteArray encode(const std::vector<Entry>& entries)
{
    QByteArray out;
    out.reserve(qsizetype(entries.size()) * 2);
    Entry previous = 0;
    for (Entry entry : entries) {
        auto delta = quint64(entry - previous);
        previous = entry;
        while (delta >= 0x80) {
            out.append(char((delta & 0x7f) | 0x80));
            delta >>= 7;
        }
        out.append(char(delta));
    }
    return out;
}

void decode(QByteArrayView bytes, std::vector<Entry>& entries)
{
    entries.clear();
    entries.reserve(size_t(bytes.size()));
    Entry previous = 0;
    quint64 delta = 0;
    int shift = 0;
    for (char byte : bytes) {
        delta |= quint64(quint8(byte) & 0x7f) << shift;
        if (quint8(byte) & 0x80) {
            shift += 7;
            continue;
        }
        previous += Entry(delta);
        entries.push_back(previous);
        delta = 0;
        shift = 0;
    }
}

} // namespace qelvane::findindex::postings
