#pragma once

#include "Metre.h"

#include <QString>

namespace qelvane::metre {

// The metre of a poem in words, as the window's line under the poem and a screen reader
// say it: "七言律诗 · 仄起首句入韵 · 平水韵 上平十灰 · 失粘（第3句第2字）".
QString describe(const Metre& metre);
// "第3句第2字"
QString placeOf(const Fault& fault);
// A line's characters, without its punctuation.
QString lineText(const Metre& metre, const LineMetre& line);
// One mark a character of a line: 平, 仄, 中 (a polyphone left undecided), ？ (unknown).
QString toneMarks(const Metre& metre, const LineMetre& line);

} // namespace qelvane::metre
