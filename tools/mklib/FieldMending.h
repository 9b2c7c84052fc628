#pragma once

#include <QString>

namespace qelvane::mklib {

class BuildReport;

// The data sets' fields as they should read in a library: an author field holds a name,
// a title a title, a text the poem. What is mended is counted in the report under the
// rule's name, with the case as an example.
namespace mending {

// An author field and what it held besides the name, which belongs to the poem's notes.
struct Author {
    QString name;
    QString note;
};
// "吴淑姬2" (the data set numbers people sharing a name) → "吴淑姬（二）"; "张彦修〖1〗" (an
// editor's footnote mark) → "张彦修"; "高明《蔡伯喈琵琶记》" → "高明", the play to the notes;
// "冯氏（文明太后" → "冯氏（文明太后）", the remark that tells her apart closed.
Author author(const QString& field, BuildReport& report);

struct Title {
    QString title;
    QString note;
};
// An editor's note in a title's brackets — one with 〖〗 marks or a《》reference, or longer
// than a subtitle — goes to the notes; a short subtitle such as （并序） stays.
Title title(const QString& field, BuildReport& report);

// The text without lines a web page left behind ("中国诗歌库…{Connection=…}").
QString withoutWebResidue(const QString& text, const QString& where, BuildReport& report);

// The second data set wrote every character beyond the Basic Multilingual Plane as an
// ASCII "?": written as □, so a reader sees a character is missing.
QString withLostCharacters(const QString& text, const QString& where, BuildReport& report);

// A biography that stands twice in a row, parted by spaces, once.
QString withoutRepeat(const QString& biography, const QString& name, BuildReport& report);

} // namespace mending

} // namespace qelvane::mklib
