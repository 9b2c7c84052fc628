#pragma once

#include <QString>
#include <QStringList>

// The same poem twice: the data set's complete files and its selections (and the
// selections themselves) hold some poems under two titles, with a character or two
// different. One entry is kept, under the title readers know.
namespace qelvane::mklib::doubles {

// The text's letters alone, variant forms as their common form (悤 as 匆): punctuation,
// spaces, line breaks and a variant spelling do not tell poems apart.
QString letters(const QString& text);

// Whether two texts (as letters) are the same poem: equal, or apart by at most a few
// characters added, dropped or changed (three, or one in twenty in a long poem).
bool nearlySame(const QString& a, const QString& b);

// Of two titles of one poem, the one readers know: not the one behind a 乐府 category
// ("杂曲歌辞 清平调 一" gives way to "清平调 一"), and otherwise the first.
bool prefersOver(const QString& candidate, const QString& kept);

// How `other` reads where it differs from `kept`, as a collation: a line for each phrase
// of the kept text that reads otherwise there ("留人醉：一作“相留醉”。", "…：一本无此句。");
// of texts too long to align, the other whole ("一本作：…"). Empty when the two agree
// letter for letter.
QStringList collation(const QString& kept, const QString& other);

} // namespace qelvane::mklib::doubles
