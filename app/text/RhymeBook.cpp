#include "RhymeBook.h"

#include <QFile>
#include <QHash>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <stdexcept>

namespace qelvane::metre {

QString bookName(Book book)
{
    switch (book) {
    case Book::Pingshui: return QStringLiteral("平水韵");
    case Book::Cilin: return QStringLiteral("词林正韵");
    case Book::Xinyun: return QStringLiteral("中华新韵");
    }
    return {};
}

namespace {

// A table of the metre resources: comment lines start with '#', fields are tab-separated.
QList<QStringList> readTable(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("metre table missing: " + resource.toStdString());
    QList<QStringList> rows;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            rows.append(line.split(u'\t'));
    }
    return rows;
}

const QHash<char32_t, std::u32string>& variantTable()
{
    static const QHash<char32_t, std::u32string> table = [] {
        QHash<char32_t, std::u32string> variants;
        for (const QStringList& row : readTable(QStringLiteral(":/metre/variants.txt")))
            if (row.size() == 2)
                variants.insert(row[0].toStdU32String().front(), row[1].toStdU32String());
        return variants;
    }();
    return table;
}

} // namespace

const RhymeBook& RhymeBook::get(Book book)
{
    static const RhymeBook pingshui(Book::Pingshui);
    static const RhymeBook cilin(Book::Cilin);
    static const RhymeBook xinyun(Book::Xinyun);
    switch (book) {
    case Book::Cilin: return cilin;
    case Book::Xinyun: return xinyun;
    case Book::Pingshui: break;
    }
    return pingshui;
}

RhymeBook::RhymeBook(Book book) : m_book(book), m_slots(Span, 0)
{
    static const char* files[] = {":/metre/pingshui.txt", ":/metre/cilin.txt", ":/metre/xinyun.txt"};
    load(QString::fromLatin1(files[int(book)]));
    addVariants();
}

void RhymeBook::load(const QString& resource)
{
    // Gather each character's groups first, then lay them out one run per character.
    std::vector<std::vector<unsigned short>> of(Span);
    for (const QStringList& row : readTable(resource)) {
        if (row.size() != 3)
            continue;
        RhymeGroup group;
        // The 词林正韵 and 中华新韵 name a 部 for both its tones: the tone makes the name whole.
        group.name = m_book == Book::Pingshui ? row[0] : row[0] + row[1] + (m_book == Book::Cilin ? QStringLiteral("声") : QString());
        group.tone = row[1] == u"平" ? Tone::Level : Tone::Oblique;
        group.entering = row[1] == u"入";
        const bool sameFamily = m_book != Book::Pingshui && !m_groups.isEmpty() && m_groupNames.last() == row[0];
        group.family = sameFamily ? m_groups.last().family : int(m_groups.size());
        m_groupNames.append(row[0]);
        const auto index = static_cast<unsigned short>(m_groups.size());
        m_groups.append(group);
        for (char32_t c : row[2].toStdU32String())
            if (c < Span && std::find(of[c].begin(), of[c].end(), index) == of[c].end())
                of[c].push_back(index);
    }
    for (char32_t c = 0; c < Span; ++c) {
        if (of[c].empty())
            continue;
        m_slots[c] = unsigned(m_readings.size()) << 8 | unsigned(std::min<size_t>(of[c].size(), 0x7f));
        m_readings.insert(m_readings.end(), of[c].begin(), of[c].end());
    }
}

void RhymeBook::addVariants()
{
    const auto& variants = variantTable();
    for (auto it = variants.begin(); it != variants.end(); ++it) {
        const char32_t c = it.key();
        if (c >= Span || m_slots[c] != 0)
            continue;
        for (char32_t v : it.value())
            if (v < Span && m_slots[v] != 0 && !(m_slots[v] & ByVariant)) {
                m_slots[c] = m_slots[v] | ByVariant;
                break;
            }
    }
}

char32_t RhymeBook::variantOf(char32_t c) const
{
    if (c >= Span || !(m_slots[c] & ByVariant))
        return 0;
    for (char32_t v : variantTable().value(c))
        if (v < Span && m_slots[v] != 0 && !(m_slots[v] & ByVariant))
            return v;
    return 0;
}

int RhymeBook::groupNamed(QStringView name) const
{
    for (int i = 0; i < m_groups.size(); ++i)
        if (m_groups[i].name == name)
            return i;
    return -1;
}

} // namespace qelvane::metre
