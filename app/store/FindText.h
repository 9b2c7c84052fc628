#pragma once

#include <QList>
#include <QStringView>
#include <string>

// Texts as the find box compares them: a reader remembers the words of a line, not its
// punctuation, its spacing, its line breaks or its letter case.
namespace qelvane::findtext {

// A text with everything but letters and digits dropped and letters in lower case, as
// code points, each with the position (UTF-16) in the text it came from; and where in
// it each verse begins (after a line break or a mark that ends a phrase: ，。？！；：、
// and their ASCII kin).
struct Folded {
    std::u32string chars;
    QList<int> from;
    QList<int> verseStarts;

    bool startsVerse(int index) const { return verseStarts.contains(index); }
};

Folded fold(QStringView text);

} // namespace qelvane::findtext
