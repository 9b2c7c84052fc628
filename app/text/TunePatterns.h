#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace qelvane::metre {

// The patterns of the 词 tunes (钦定词谱): each tune's names and its forms (格), each form
// one mark a character — 平, 仄, or 中 (either) — and the places that rhyme.
struct TuneForm {
    QString pattern;
    // Positions (0-based, in characters) that rhyme with each other; a tune that changes
    // rhyme has more than one class.
    QList<QList<int>> rhymeClasses;
};

struct Tune {
    QStringList names; // its own name first, then its other names
    QList<TuneForm> forms;
};

class TunePatterns {
public:
    static const TunePatterns& get();

    // The tune a poem's title names: the title itself or the part before "·" or a space
    // (浣溪沙·一曲新词酒一杯, 相见欢 一), by any of the tune's names; nullptr for none.
    const Tune* tuneOfTitle(QStringView title) const;
    int tuneCount() const { return int(m_tunes.size()); }

private:
    TunePatterns();

    QList<Tune> m_tunes;
    QHash<QString, int> m_byName;
};

} // namespace qelvane::metre
