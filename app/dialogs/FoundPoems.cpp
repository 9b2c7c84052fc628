#include "FoundPoems.h"

namespace qelvane {

void FoundPoems::add(QByteArrayView id, QByteArrayView title)
{
    const qsizetype start = m_bytes.size();
    m_bytes.append(id);
    m_bytes.append(title);
    m_starts.append({start, start + id.size()});
}

void FoundPoems::append(FoundPoems&& more)
{
    if (isEmpty()) {
        *this = std::move(more);
        return;
    }
    const qsizetype shift = m_bytes.size();
    m_bytes.append(more.m_bytes);
    m_starts.reserve(m_starts.size() + more.m_starts.size());
    for (const Start& start : std::as_const(more.m_starts))
        m_starts.append({start.id + shift, start.title + shift});
    more.clear();
}

void FoundPoems::clear()
{
    m_bytes.clear();
    m_starts.clear();
}

qsizetype FoundPoems::end(qsizetype index) const
{
    return index + 1 < m_starts.size() ? m_starts[index + 1].id : m_bytes.size();
}

QString FoundPoems::id(qsizetype index) const
{
    const Start& start = m_starts.at(index);
    return QString::fromUtf8(m_bytes.constData() + start.id, start.title - start.id);
}

QString FoundPoems::title(qsizetype index) const
{
    const Start& start = m_starts.at(index);
    return QString::fromUtf8(m_bytes.constData() + start.title, end(index) - start.title);
}

} // namespace qelvane
