#pragma once

#include "FindIndex.h"
#include "LibrarySide.h"

#include <QString>
#include <optional>

struct sqlite3;

// The poems of one form rhyming in one group: every Chinese poem's form, tune (词) and
// rhyme group stand in the find index (FindMetre, under the poem's key), written when the
// index is built and kept current with it by every change, so that all 七律 in 下平七阳
// are one indexed read on the whole corpus.
namespace qelvane::findmetre {

struct Metre {
    QString form;  // 七言律诗 … 古体诗, 词
    QString tune;  // a 词's tune, else empty
    QString rhyme; // the poem's own rhyme group (平水韵, or 词林正韵 for 词)
    bool operator==(const Metre&) const = default;
};

// A poem's entry; nullopt when it has none to be listed by (no rhyme found, 其他).
std::optional<Metre> of(const QString& title, const QString& text);

// What the find box reads as a query of the metre rather than of the words: a rhyme group,
// with or without a form or tune, written 韵:下平七阳, 七律 下平七阳, 体:七言律诗 韵:下平七阳,
// 浣溪沙 第三部平声 or 调:浣溪沙 韵:第三部平声. Without a rhyme group it is a query of the words.
std::optional<Metre> parseQuery(QStringView text);
// The query for the poems of a metre, as the find box shows it.
QString queryOf(const Metre& metre);
// "七言律诗 · 下平七阳", "词 · 浣溪沙 · 第三部平声"
QString wordsOf(const Metre& metre);

// The entry of a poem of the library, nullopt when it has none (or there is no index).
std::optional<Metre> ofPoem(sqlite3* db, LibrarySide side, const QString& poemId);
// The poems of a metre (an empty form or tune matches any), the well-known first, but for
// the poem given; at most `limit`. Throws StoreError when a statement fails.
QList<findindex::Hit> find(sqlite3* db, const Metre& metre, int limit, LibrarySide exceptSide = LibrarySide::China,
                           const QString& exceptId = {});

} // namespace qelvane::findmetre
