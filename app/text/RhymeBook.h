#pragma once

#include <QList>
#include <QStringList>
#include <QString>
#include <span>
#include <vector>

namespace qelvane::metre {

// The rhyme books a poem's tones and rhymes are read in.
enum class Book { Pingshui, Cilin, Xinyun };
QString bookName(Book book); // 平水韵, 词林正韵, 中华新韵

enum class Tone : unsigned char { Level, Oblique };

struct RhymeGroup {
    QString name;          // 上平十灰, 第三部平声, 一麻平
    Tone tone = Tone::Level;
    bool entering = false; // an 入声 group (oblique, and kept apart from 上 and 去 in 词)
    // The 部 or 韵 it belongs to with the groups of its other tones: a 词 rhymes within a
    // 部 whatever the tone (叶韵). In the 平水韵 every group is one of its own.
    int family = 0;
};

// One rhyme book: its groups and, for every character it holds, the groups it is read in
// (a polyphone is in more than one). A character the book does not hold is found through
// its variant forms (桮 → 杯, 隣 → 邻, 陽 → 阳) when one of them is held. Loaded once from
// the program's resources; read-only and safe to share between threads after that.
class RhymeBook {
public:
    static const RhymeBook& get(Book book);

    Book book() const { return m_book; }
    const RhymeGroup& group(int index) const { return m_groups[index]; }
    int groupCount() const { return int(m_groups.size()); }
    // The index of a group by its name, -1 for none.
    int groupNamed(QStringView name) const;

    // The groups a character is read in, empty when the book holds neither it nor a
    // variant of it.
    std::span<const unsigned short> readings(char32_t c) const
    {
        if (c >= Span)
            return {};
        const unsigned slot = m_slots[c];
        return {m_readings.data() + (slot >> 8), slot & 0x7f};
    }
    // The variant form through which a character is read, 0 when it is read as itself.
    char32_t variantOf(char32_t c) const;

private:
    explicit RhymeBook(Book book);
    void load(const QString& resource);
    void addVariants();

    // Characters up to the end of CJK Extension B are indexed directly; the rest are rare
    // enough to be unknown.
    static constexpr char32_t Span = 0x2B740;
    static constexpr unsigned ByVariant = 0x80;

    Book m_book;
    QList<RhymeGroup> m_groups;
    QStringList m_groupNames; // as the table names them, without the tone
    std::vector<unsigned> m_slots;            // per character: first reading << 8 | count
    std::vector<unsigned short> m_readings;   // group indexes
};

} // namespace qelvane::metre
