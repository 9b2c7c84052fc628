#include "FindIndex.h"

#include "ApproximateMatch.h"
#include "FindGrams.h"
#include "FindRanking.h"
#include "FindText.h"
#include "FindTombstones.h"
#include "PostingList.h"
#include "Simplified.h"
#include "SqliteStatement.h"
#include "Statements.h"
#include "StoreError.h"

#include <QHash>
#include <QScopeGuard>
#include <algorithm>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <unordered_map>

namespace qelvane::findindex {

namespace {

using matching::Match;

// How many candidate lines are checked character by character.
constexpr size_t CandidatesChecked = 240;

// A poem read once per query (its text when first needed); each part folded the first
// time it is compared.
struct CandidatePoem {
    LibrarySide side = LibrarySide::China;
    bool famous = false;
    bool hasContent = false;
    QString id, title, content, author, place;
    std::optional<findtext::Folded> folded[3];

    const QString& original(int part) const
    {
        return part == TitlePart ? title : part == TextPart ? content : author;
    }
};

// The line of the text (between line breaks) where the match begins, and the match in it.
void placeInText(const QString& text, const findtext::Folded& folded, const Match& match, Hit& hit)
{
    const int from = folded.from[match.start];
    const int last = folded.from[match.end - 1];
    const int to = last + (text[last].isHighSurrogate() ? 2 : 1);
    const qsizetype lineStart = text.lastIndexOf(QLatin1Char('\n'), from) + 1;
    qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), from);
    if (lineEnd < 0)
        lineEnd = text.size();
    hit.line = text.mid(lineStart, lineEnd - lineStart);
    if (hit.line.endsWith(QLatin1Char('\r')))
        hit.line.chop(1);
    hit.matchStart = int(from - lineStart);
    hit.matchLength = std::min(int(to - from), int(hit.line.size()) - hit.matchStart);
}

using Best = QHash<QPair<int, QString>, Found>;

class Finder {
public:
    Finder(sqlite3* db, std::shared_ptr<const Tombstones> gone)
        : m_gone(std::move(gone)), m_lists(db, sql::ReadFindList), m_poem(db, sql::FindPoemOfKey),
          m_chinaContent(db, sql::ChinaPoemContentFound), m_foreignContent(db, sql::ForeignPoemContentFound)
    {
    }

    void search(const std::u32string& query, Best& best)
    {
        if (query.empty())
            return;
        const bool latin = matching::isLatin(query);
        const int allowed = matching::editsAllowed(query);
        const std::vector<Gram> grams =
            query.size() == 1 ? std::vector<Gram>{unigram(query[0])} : gramsOf(query, false);
        const int needed = std::max(1, int(grams.size()) - 2 * allowed);

        std::vector<LineId> candidates;
        if (grams.size() == 1) {
            // One list, already in the order the finder prefers among equals.
            readList(grams.front(), candidates, CandidatesChecked);
        } else {
            countShared(grams, needed, candidates);
        }
        verify(query, allowed, latin, candidates, best);
    }

private:
    bool live(LineId line) const { return !m_gone || !m_gone->holds(poemKeyOf(line)); }

    // The live lines of a gram's list that carry its mark, in ascending order; at most
    // `most` of them.
    void readList(Gram gram, std::vector<LineId>& lines, size_t most = SIZE_MAX)
    {
        m_lists.reset();
        m_lists.bind(1, listOf(gram));
        lines.clear();
        if (m_lists.next()) {
            postings::decode(m_lists.blob(0), m_entries);
            const int mark = markOf(gram);
            for (Entry entry : m_entries) {
                if (markOfEntry(entry) == mark && live(lineOfEntry(entry))) {
                    lines.push_back(lineOfEntry(entry));
                    if (lines.size() >= most)
                        break;
                }
            }
        }
        m_lists.reset();
    }

    // The lines holding at least `needed` of the grams, most first, at most as many as
    // are compared.
    void countShared(const std::vector<Gram>& grams, int needed, std::vector<LineId>& candidates)
    {
        std::unordered_map<LineId, int> shared;
        std::vector<LineId> lines;
        for (Gram gram : grams) {
            readList(gram, lines);
            for (LineId line : lines)
                ++shared[line];
        }
        std::vector<std::pair<int, LineId>> counted;
        for (const auto& [line, count] : shared)
            if (count >= needed)
                counted.emplace_back(-count, line);
        const size_t checked = std::min(counted.size(), CandidatesChecked);
        std::partial_sort(counted.begin(), counted.begin() + qsizetype(checked), counted.end());
        for (size_t i = 0; i < checked; ++i)
            candidates.push_back(counted[i].second);
    }

    // Each candidate compared character by character; the best line of each poem kept.
    void verify(const std::u32string& query, int allowed, bool latin, const std::vector<LineId>& candidates,
                Best& best)
    {
        for (LineId line : candidates) {
            CandidatePoem* poem = poemOf(poemKeyOf(line));
            if (!poem)
                continue;
            const int part = partOf(line);
            const findtext::Folded& folded = foldedPart(*poem, part);
            const Match match = matching::bestMatch(query, folded.chars);
            if (match.edits > allowed || match.end <= match.start)
                continue;
            if (latin && !matching::matchesLatinWord(poem->original(part), folded, match))
                continue;
            Found found;
            found.poemKey = poemKeyOf(line);
            found.hit.side = poem->side;
            found.hit.poemId = poem->id;
            found.hit.title = poem->title;
            found.hit.author = poem->author;
            found.hit.place = poem->place;
            found.hit.famous = poem->famous;
            found.hit.part = part == TitlePart ? Part::Title : part == TextPart ? Part::Text : Part::Author;
            found.hit.edits = match.edits;
            found.atVerseStart = folded.startsVerse(match.start);
            placeInText(poem->original(part), folded, match, found.hit);
            const QPair<int, QString> key(int(found.hit.side), found.hit.poemId);
            auto known = best.find(key);
            if (known == best.end())
                best.insert(key, found);
            else if (better(found, *known))
                *known = found;
        }
    }

    const findtext::Folded& foldedPart(CandidatePoem& poem, int part)
    {
        if (part == TextPart && !poem.hasContent) {
            SqliteStatement& content = poem.side == LibrarySide::China ? m_chinaContent : m_foreignContent;
            content.reset();
            content.bind(1, poem.id);
            if (content.next())
                poem.content = content.text(0);
            content.reset();
            poem.hasContent = true;
        }
        if (!poem.folded[part])
            poem.folded[part] = findtext::fold(poem.original(part));
        return *poem.folded[part];
    }

    // The poem under a key, or none: a key no more in FindPoem is a poem taken out.
    CandidatePoem* poemOf(PoemKey key)
    {
        auto cached = m_poems.find(key);
        if (cached != m_poems.end())
            return cached->second ? &*cached->second : nullptr;
        std::optional<CandidatePoem>& slot = m_poems[key];
        m_poem.reset();
        m_poem.bind(1, key);
        if (!m_poem.next())
            return nullptr;
        CandidatePoem poem;
        poem.side = m_poem.integer(0) == int(LibrarySide::Foreign) ? LibrarySide::Foreign : LibrarySide::China;
        poem.id = m_poem.text(1);
        poem.famous = m_poem.integer(2) != 0;
        poem.title = m_poem.text(3);
        poem.author = m_poem.text(4);
        poem.place = m_poem.text(5);
        m_poem.reset();
        slot = std::move(poem);
        return &*slot;
    }

    std::shared_ptr<const Tombstones> m_gone;
    SqliteStatement m_lists;
    SqliteStatement m_poem;
    SqliteStatement m_chinaContent;
    SqliteStatement m_foreignContent;
    std::unordered_map<PoemKey, std::optional<CandidatePoem>> m_poems;
    std::vector<Entry> m_entries;
};

// Loaded once; without OpenCC a query is taken as typed.
const Simplified* simplified()
{
    static const std::unique_ptr<Simplified> converter = []() -> std::unique_ptr<Simplified> {
        try {
            return std::make_unique<Simplified>();
        } catch (const StoreError&) {
            return nullptr;
        }
    }();
    return converter.get();
}

} // namespace

bool present(sqlite3* db)
{
    sqlite3_stmt* stmt = nullptr;
    int version = 0;
    if (sqlite3_prepare_v2(db, sql::FindIndexVersion, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        version = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    return version == FormatVersion;
}

void prepare()
{
    simplified();
}

QList<Hit> find(sqlite3* db, const QString& query, int limit)
{
    QStringList queries{query};
    if (const Simplified* toSimplified = simplified())
        queries << (*toSimplified)(query);
    // One read for the whole query: the library's lock is taken once, not for each of
    // the few hundred statements.
    const bool ownRead = sqlite3_get_autocommit(db) != 0;
    if (ownRead)
        SqliteStatement::execute(db, "begin");
    const auto endRead = qScopeGuard([&] {
        if (ownRead)
            sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    });
    Finder finder(db, Tombstones::current(db));
    Best best;
    QList<std::u32string> seen;
    for (const QString& query : queries) {
        const std::u32string folded = findtext::fold(query).chars;
        if (seen.contains(folded))
            continue;
        seen.append(folded);
        finder.search(folded, best);
    }
    QList<Found> ranked = best.values();
    std::sort(ranked.begin(), ranked.end(), better);
    QList<Hit> hits;
    for (qsizetype i = 0; i < ranked.size() && i < limit; ++i)
        hits.append(std::move(ranked[i].hit));
    return hits;
}

} // namespace qelvane::findindex
