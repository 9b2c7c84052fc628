#include "FindIndex.h"

#include "FindText.h"
#include "SqliteReason.h"
#include "Simplified.h"

#include <QByteArray>
#include <QHash>
#include <algorithm>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <unordered_map>
#include <vector>

namespace qelvane::findindex {

namespace {

// A line's number: the poem's key in FindPoem, then the part of the poem in the low
// bits: its title, its whole text (a remembered line may run over a line break), or its
// author's name.
constexpr int PartBits = 2;
constexpr int TitlePart = 0;
constexpr int TextPart = 1;
constexpr int AuthorPart = 2;
constexpr int FormatVersion = 3;

using LineId = qint64;
// A gram: one character, or a pair of neighbours.
using Gram = quint64;
// A list's number, and an entry in it: a line with the gram's mark.
using ListId = qint64;
using Entry = qint64;
using Postings = std::unordered_map<ListId, std::vector<Entry>>;

LineId lineId(qint64 poemKey, int part)
{
    return (poemKey << PartBits) | part;
}
qint64 poemKeyOf(LineId line)
{
    return line >> PartBits;
}
int partOf(LineId line)
{
    return int(line & ((1 << PartBits) - 1));
}

// Grams share 2^19 lists by a hash: a list per gram would cost a row for each of the
// million rare pairs. Each entry carries five more bits of the gram (its mark), so a
// list read for one gram yields that gram's lines and hardly any other's; what is left
// the finder drops when it compares the line character by character.
constexpr int ListBits = 19;
constexpr int MarkBits = 5;
ListId listOf(Gram gram)
{
    return ListId((gram * 0x9E3779B97F4A7C15ull) >> (64 - ListBits));
}
int markOf(Gram gram)
{
    return int((gram * 0xC2B2AE3D27D4EB4Full) >> (64 - MarkBits));
}
Entry entryOf(LineId line, Gram gram)
{
    return (line << MarkBits) | markOf(gram);
}
Gram unigram(char32_t c)
{
    return Gram(c);
}
// A code point has 21 bits: a pair is never mistaken for a single character.
Gram bigram(char32_t first, char32_t second)
{
    return (Gram(first) << 21) | Gram(second) | (Gram(1) << 42);
}

// The grams of a line, each once.
std::vector<Gram> gramsOf(const std::u32string& chars, bool withSingles)
{
    std::vector<Gram> grams;
    grams.reserve(chars.size() * (withSingles ? 2 : 1));
    for (size_t i = 0; i + 1 < chars.size(); ++i)
        grams.push_back(bigram(chars[i], chars[i + 1]));
    if (withSingles)
        for (char32_t c : chars)
            grams.push_back(unigram(c));
    std::sort(grams.begin(), grams.end());
    grams.erase(std::unique(grams.begin(), grams.end()), grams.end());
    return grams;
}

// ---- Statements straight on the engine ----

[[noreturn]] void failed(sqlite3* db, const char* statement)
{
    sqlitereason::fail(QStringLiteral("诗词库无法读写"), sqlitereason::lastCode(db),
                       QStringLiteral("%1\n%2").arg(QString::fromUtf8(sqlite3_errmsg(db)), QString::fromUtf8(statement)));
}

class Statement {
public:
    Statement(sqlite3* db, const char* text) : m_db(db), m_text(text)
    {
        if (sqlite3_prepare_v2(db, text, -1, &m_stmt, nullptr) != SQLITE_OK)
            failed(db, text);
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, qint64 value)
    {
        check(sqlite3_bind_int64(m_stmt, index, value));
        return *this;
    }
    Statement& bind(int index, const QString& value)
    {
        const QByteArray bytes = value.toUtf8();
        check(sqlite3_bind_text(m_stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Statement& bind(int index, const QByteArray& value)
    {
        check(sqlite3_bind_blob(m_stmt, index, value.constData(), int(value.size()), SQLITE_TRANSIENT));
        return *this;
    }
    // True while there is a row; false once done (the statement is then reset).
    bool step()
    {
        const int result = sqlite3_step(m_stmt);
        if (result == SQLITE_ROW)
            return true;
        sqlite3_reset(m_stmt);
        if (result != SQLITE_DONE)
            failed(m_db, m_text);
        return false;
    }
    void run()
    {
        while (step()) {
        }
    }
    void reset()
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    qint64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    QString text(int column) const
    {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column)),
                                 sqlite3_column_bytes(m_stmt, column));
    }
    QByteArrayView blob(int column) const
    {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
        return QByteArrayView(bytes, sqlite3_column_bytes(m_stmt, column));
    }

private:
    void check(int result)
    {
        if (result != SQLITE_OK)
            failed(m_db, m_text);
    }
    sqlite3* m_db;
    const char* m_text;
    sqlite3_stmt* m_stmt = nullptr;
};

void execute(sqlite3* db, const char* text)
{
    if (sqlite3_exec(db, text, nullptr, nullptr, nullptr) != SQLITE_OK)
        failed(db, text);
}

// ---- Posting lists: line numbers in ascending order, each as the difference from
// the one before in 7-bit groups ----

QByteArray encode(const std::vector<Entry>& lines)
{
    QByteArray out;
    out.reserve(qsizetype(lines.size()) * 2);
    Entry previous = 0;
    for (Entry line : lines) {
        auto delta = quint64(line - previous);
        previous = line;
        while (delta >= 0x80) {
            out.append(char((delta & 0x7f) | 0x80));
            delta >>= 7;
        }
        out.append(char(delta));
    }
    return out;
}

void decode(QByteArrayView bytes, std::vector<Entry>& lines)
{
    lines.clear();
    Entry previous = 0;
    quint64 delta = 0;
    int shift = 0;
    for (char byte : bytes) {
        delta |= quint64(quint8(byte) & 0x7f) << shift;
        if (quint8(byte) & 0x80) {
            shift += 7;
            continue;
        }
        previous += Entry(delta);
        lines.push_back(previous);
        delta = 0;
        shift = 0;
    }
}

// ---- Poems as the index reads them ----

struct PoemRow {
    QString id;
    QString title;
    QString content;
    QString author;
    bool famous = false;
    QString place;
};

// Well-known poems are those of the anthologies their notes name (唐诗三百首, 宋词三百首).
const char* poemsOfSide(LibrarySide side, bool famous)
{
    if (side == LibrarySide::China)
        return famous ? "select PoemID,Name,Content,Author from ChinaPoem where coalesce(instr(Note,'三百首'),0)>0"
                      : "select PoemID,Name,Content,Author from ChinaPoem where coalesce(instr(Note,'三百首'),0)=0";
    return famous ? "select PoemID,Name,Content,Author from ForeignPoem where coalesce(instr(Note,'三百首'),0)>0"
                  : "select PoemID,Name,Content,Author from ForeignPoem where coalesce(instr(Note,'三百首'),0)=0";
}

const char* onePoem(LibrarySide side)
{
    return side == LibrarySide::China
               ? "select PoemID,Name,Content,Author,coalesce(instr(Note,'三百首'),0)>0,Epoch from ChinaPoem where PoemID=?"
               : "select PoemID,Name,Content,Author,coalesce(instr(Note,'三百首'),0)>0,Country from ForeignPoem "
                 "where PoemID=?";
}

// The finder reads a candidate's title and author first and its text only when the text
// is compared: a text runs over several pages of the file.
const char* poemHeading(LibrarySide side)
{
    return side == LibrarySide::China
               ? "select PoemID,Name,'',Author,coalesce(instr(Note,'三百首'),0)>0,Epoch from ChinaPoem where PoemID=?"
               : "select PoemID,Name,'',Author,coalesce(instr(Note,'三百首'),0)>0,Country from ForeignPoem "
                 "where PoemID=?";
}

const char* poemContent(LibrarySide side)
{
    return side == LibrarySide::China ? "select Content from ChinaPoem where PoemID=?"
                                      : "select Content from ForeignPoem where PoemID=?";
}

PoemRow poemFrom(const Statement& row)
{
    return {row.text(0), row.text(1), row.text(2), row.text(3), false, {}};
}

std::optional<PoemRow> readPoem(Statement& statement, const QString& poemId)
{
    statement.reset();
    statement.bind(1, poemId);
    if (!statement.step())
        return std::nullopt;
    PoemRow poem = poemFrom(statement);
    poem.famous = statement.integer(4) != 0;
    poem.place = statement.text(5);
    statement.reset();
    return poem;
}

// Each line of a poem with its part number: `visit(part, folded)`.
template <typename Visit>
void eachLine(const PoemRow& poem, Visit visit)
{
    visit(TitlePart, findtext::fold(poem.title));
    visit(TextPart, findtext::fold(poem.content));
    visit(AuthorPart, findtext::fold(poem.author));
}

// Adds a poem's lines under its key to the posting lists, each list in ascending order.
void collect(Postings& postings, const PoemRow& poem, qint64 key)
{
    std::vector<std::pair<ListId, Entry>> entries;
    eachLine(poem, [&](int part, const findtext::Folded& line) {
        const LineId id = lineId(key, part);
        entries.clear();
        for (Gram gram : gramsOf(line.chars, part == TitlePart || part == AuthorPart))
            entries.emplace_back(listOf(gram), entryOf(id, gram));
        std::sort(entries.begin(), entries.end());
        for (const auto& [list, entry] : entries) {
            std::vector<Entry>& lines = postings[list];
            if (lines.empty() || lines.back() != entry)
                lines.push_back(entry);
        }
    });
}

void createTables(sqlite3* db)
{
    execute(db, "drop table if exists FindGram; drop table if exists FindPoem; drop table if exists FindIndexInfo;"
                "create table FindPoem(PoemKey integer primary key, Side integer not null, PoemID text not null,"
                " Fame integer not null);"
                "create unique index idx_FindPoem_Poem on FindPoem(Side, PoemID);"
                "create table FindGram(Gram integer primary key, Lines blob not null);"
                "create table FindIndexInfo(Version integer not null);");
    Statement version(db, "insert into FindIndexInfo(Version) values(?)");
    version.bind(1, FormatVersion).run();
}

int countPoems(sqlite3* db)
{
    Statement count(db, "select (select count(*) from ChinaPoem)+(select count(*) from ForeignPoem)");
    const int total = count.step() ? int(count.integer(0)) : 0;
    count.reset();
    return total;
}

// Rewrites the posting lists of the grams given: `change(lines)` edits each list.
template <typename Change>
void rewrite(sqlite3* db, const Postings& grams, Change change)
{
    Statement read(db, "select Lines from FindGram where Gram=?");
    Statement write(db, "insert or replace into FindGram(Gram, Lines) values(?,?)");
    Statement erase(db, "delete from FindGram where Gram=?");
    std::vector<Entry> lines;
    for (const auto& [list, given] : grams) {
        read.reset();
        read.bind(1, list);
        lines.clear();
        if (read.step())
            decode(read.blob(0), lines);
        read.reset();
        change(lines, given);
        if (lines.empty()) {
            erase.reset();
            erase.bind(1, list).run();
        } else {
            write.reset();
            write.bind(1, list).bind(2, encode(lines)).run();
        }
    }
}

// ---- Matching a query against a line ----

struct Match {
    int edits = 0;
    int start = 0; // in the line's folded characters
    int end = 0;
};

// The least number of characters to change, drop or add for the query to appear in
// the line, and where (Sellers' approximate substring matching).
Match bestMatch(const std::u32string& query, const std::u32string& line)
{
    const size_t n = query.size();
    const size_t m = line.size();
    std::vector<int> previous(m + 1, 0), current(m + 1);
    std::vector<int> previousStart(m + 1), currentStart(m + 1);
    for (size_t j = 0; j <= m; ++j)
        previousStart[j] = int(j);
    for (size_t i = 1; i <= n; ++i) {
        current[0] = int(i);
        currentStart[0] = 0;
        for (size_t j = 1; j <= m; ++j) {
            int cost = previous[j - 1] + (query[i - 1] == line[j - 1] ? 0 : 1);
            int start = previousStart[j - 1];
            if (previous[j] + 1 < cost) {
                cost = previous[j] + 1;
                start = previousStart[j];
            }
            if (current[j - 1] + 1 < cost) {
                cost = current[j - 1] + 1;
                start = currentStart[j - 1];
            }
            current[j] = cost;
            currentStart[j] = start;
        }
        std::swap(previous, current);
        std::swap(previousStart, currentStart);
    }
    Match best{int(n) + 1, 0, 0};
    for (size_t j = 1; j <= m; ++j)
        if (previous[j] < best.edits)
            best = {previous[j], previousStart[j], int(j)};
    return best;
}

// How many characters a query of this length may be off: none for one or two, one up
// to five, two beyond.
int editsAllowed(size_t length)
{
    return length <= 2 ? 0 : length <= 5 ? 1 : 2;
}

// A query of Latin letters and digits only: it is read as words, not as characters.
bool isLatin(const std::u32string& query)
{
    return !query.empty() && std::all_of(query.begin(), query.end(), [](char32_t c) {
        return (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9');
    });
}

// Letters are only misspelt in a query of six or more: a shorter word one letter off
// is another word (rose, rise, hose).
int latinEditsAllowed(size_t length)
{
    return length >= 6 ? editsAllowed(length) : 0;
}

bool isWordLetter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('\'');
}

// The match begins where a word begins, and ends where it ends or at most two letters
// before (an ending such as -s or -ed).
bool matchesLatinWord(const QString& original, const findtext::Folded& folded, const Match& match)
{
    const int from = folded.from[match.start];
    if (from > 0 && isWordLetter(original[from - 1]))
        return false;
    const int last = folded.from[match.end - 1];
    int end = last + (original[last].isHighSurrogate() ? 2 : 1);
    int rest = 0;
    while (end < original.size() && isWordLetter(original[end]) && rest <= 2) {
        ++end;
        ++rest;
    }
    return rest <= 2;
}

// How many candidate lines are checked character by character.
constexpr size_t CandidatesChecked = 240;

struct Found {
    Hit hit;
    bool atVerseStart = false;
    qint64 poemKey = 0;
};

bool better(const Found& a, const Found& b)
{
    if (a.hit.edits != b.hit.edits)
        return a.hit.edits < b.hit.edits;
    if (a.atVerseStart != b.atVerseStart)
        return a.atVerseStart;
    if (a.hit.famous != b.hit.famous)
        return a.hit.famous;
    return a.poemKey < b.poemKey;
}

// A poem read once per query (its text when first needed); each part folded the first
// time it is compared.
struct CandidatePoem {
    LibrarySide side = LibrarySide::China;
    bool famous = false;
    bool hasContent = false;
    PoemRow row;
    std::optional<findtext::Folded> folded[3];

    const QString& original(int part) const
    {
        return part == TitlePart ? row.title : part == TextPart ? row.content : row.author;
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

class Finder {
public:
    explicit Finder(sqlite3* db)
        : m_postings(db, "select Lines from FindGram where Gram=?"),
          m_poem(db, "select Side, PoemID, Fame from FindPoem where PoemKey=?"),
          m_china(db, poemHeading(LibrarySide::China)), m_foreign(db, poemHeading(LibrarySide::Foreign)),
          m_chinaContent(db, poemContent(LibrarySide::China)), m_foreignContent(db, poemContent(LibrarySide::Foreign))
    {
    }

    void search(const std::u32string& query, QHash<QPair<int, QString>, Found>& best)
    {
        if (query.empty())
            return;
        const bool latin = isLatin(query);
        const int allowed = latin ? latinEditsAllowed(query.size()) : editsAllowed(query.size());
        const std::vector<Gram> grams =
            query.size() == 1 ? std::vector<Gram>{unigram(query[0])} : gramsOf(query, false);
        const int needed = std::max(1, int(grams.size()) - 2 * allowed);

        std::vector<std::pair<int, LineId>> candidates;
        std::vector<LineId> lines;
        if (grams.size() == 1) {
            // One list, already in the order the finder prefers among equals.
            readList(grams.front(), lines);
            for (size_t i = 0; i < lines.size() && i < CandidatesChecked; ++i)
                candidates.emplace_back(-1, lines[i]);
        } else {
            countShared(grams, needed, lines, candidates);
        }
        verify(query, allowed, latin, candidates, best);
    }

private:
    // The lines of a gram's list that carry its mark, in ascending order.
    void readList(Gram gram, std::vector<LineId>& lines)
    {
        m_postings.reset();
        m_postings.bind(1, listOf(gram));
        lines.clear();
        if (m_postings.step()) {
            decode(m_postings.blob(0), m_entries);
            const int mark = markOf(gram);
            for (Entry entry : m_entries)
                if ((entry & ((1 << MarkBits) - 1)) == mark)
                    lines.push_back(entry >> MarkBits);
        }
        m_postings.reset();
    }

    // The lines holding at least `needed` of the grams, most first, at most as many as
    // are compared.
    void countShared(const std::vector<Gram>& grams, int needed, std::vector<LineId>& lines,
                     std::vector<std::pair<int, LineId>>& candidates)
    {
        std::unordered_map<LineId, int> shared;
        for (Gram gram : grams) {
            readList(gram, lines);
            for (LineId line : lines)
                ++shared[line];
        }
        for (const auto& [line, count] : shared)
            if (count >= needed)
                candidates.emplace_back(-count, line);
        const size_t checked = std::min(candidates.size(), CandidatesChecked);
        std::partial_sort(candidates.begin(), candidates.begin() + qsizetype(checked), candidates.end());
        candidates.resize(checked);
    }

    // Each candidate compared character by character; the best line of each poem kept.
    void verify(const std::u32string& query, int allowed, bool latin,
                const std::vector<std::pair<int, LineId>>& candidates, QHash<QPair<int, QString>, Found>& best)
    {
        for (const auto& [negativeCount, line] : candidates) {
            CandidatePoem* poem = poemOf(poemKeyOf(line));
            if (!poem)
                continue;
            const int part = partOf(line);
            Found found;
            found.poemKey = poemKeyOf(line);
            found.hit.side = poem->side;
            found.hit.poemId = poem->row.id;
            found.hit.title = poem->row.title;
            found.hit.author = poem->row.author;
            found.hit.place = poem->row.place;
            found.hit.famous = poem->famous;
            const findtext::Folded& folded = foldedPart(*poem, part);
            const Match match = bestMatch(query, folded.chars);
            if (match.edits > allowed || match.end <= match.start)
                continue;
            if (latin && !matchesLatinWord(poem->original(part), folded, match))
                continue;
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

private:
    const findtext::Folded& foldedPart(CandidatePoem& poem, int part)
    {
        if (part == TextPart && !poem.hasContent) {
            Statement& content = poem.side == LibrarySide::China ? m_chinaContent : m_foreignContent;
            content.reset();
            content.bind(1, poem.row.id);
            if (content.step())
                poem.row.content = content.text(0);
            content.reset();
            poem.hasContent = true;
        }
        if (!poem.folded[part])
            poem.folded[part] = findtext::fold(poem.original(part));
        return *poem.folded[part];
    }

    CandidatePoem* poemOf(qint64 key)
    {
        auto cached = m_poems.find(key);
        if (cached != m_poems.end())
            return cached->second ? &*cached->second : nullptr;
        std::optional<CandidatePoem>& slot = m_poems[key];
        m_poem.reset();
        m_poem.bind(1, key);
        if (!m_poem.step())
            return nullptr;
        CandidatePoem poem;
        poem.side = m_poem.integer(0) == int(LibrarySide::Foreign) ? LibrarySide::Foreign : LibrarySide::China;
        const QString id = m_poem.text(1);
        poem.famous = m_poem.integer(2) != 0;
        m_poem.reset();
        std::optional<PoemRow> row = readPoem(poem.side == LibrarySide::China ? m_china : m_foreign, id);
        if (!row)
            return nullptr;
        poem.row = std::move(*row);
        slot = std::move(poem);
        return &*slot;
    }

    Statement m_postings;
    Statement m_poem;
    Statement m_china;
    Statement m_foreign;
    Statement m_chinaContent;
    Statement m_foreignContent;
    std::unordered_map<qint64, std::optional<CandidatePoem>> m_poems;
    std::vector<Entry> m_entries;
};

} // namespace

bool present(sqlite3* db)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "select Version from FindIndexInfo", -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return false;
    }
    const bool current = sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int(stmt, 0) == FormatVersion;
    sqlite3_finalize(stmt);
    return current;
}

void build(sqlite3* db, const std::function<bool(int done, int total)>& progress)
{
    // Everything is read first and written at the end, so that a build beside the
    // window (in a transaction of its own) holds the write lock only for the writing.
    const int total = countPoems(db);
    struct Entry {
        LibrarySide side;
        QString id;
        bool famous;
    };
    std::vector<Entry> poems;
    poems.reserve(size_t(total));
    if (progress && !progress(0, total))
        throw Cancelled(QStringLiteral("查找索引的建立已停止。"));
    Postings postings;
    // The well-known poems first: their lines have the lowest numbers, which the
    // finder prefers among equal matches.
    for (bool famous : {true, false}) {
        for (LibrarySide side : {LibrarySide::China, LibrarySide::Foreign}) {
            Statement rows(db, poemsOfSide(side, famous));
            while (rows.step()) {
                PoemRow poem = poemFrom(rows);
                poems.push_back({side, poem.id, famous});
                collect(postings, poem, qint64(poems.size()));
                if (poems.size() % 500 == 0 && progress && !progress(int(poems.size()), total))
                    throw Cancelled(QStringLiteral("查找索引的建立已停止。"));
            }
        }
    }
    createTables(db);
    Statement insertPoem(db, "insert into FindPoem(PoemKey, Side, PoemID, Fame) values(?,?,?,?)");
    for (size_t i = 0; i < poems.size(); ++i) {
        insertPoem.reset();
        insertPoem.bind(1, qint64(i + 1)).bind(2, int(poems[i].side)).bind(3, poems[i].id);
        insertPoem.bind(4, poems[i].famous ? 1 : 0).run();
    }
    Statement insertGram(db, "insert into FindGram(Gram, Lines) values(?,?)");
    for (const auto& [list, lines] : postings) {
        insertGram.reset();
        insertGram.bind(1, list).bind(2, encode(lines)).run();
    }
    if (progress)
        progress(total, total);
}

void removePoems(sqlite3* db, LibrarySide side, const QStringList& poemIds)
{
    if (poemIds.isEmpty() || !present(db))
        return;
    Statement keyOf(db, "select PoemKey from FindPoem where Side=? and PoemID=?");
    Statement forget(db, "delete from FindPoem where PoemKey=?");
    Statement poems(db, onePoem(side));
    Postings gone;
    for (const QString& id : poemIds) {
        keyOf.reset();
        keyOf.bind(1, int(side)).bind(2, id);
        if (!keyOf.step())
            continue;
        const qint64 key = keyOf.integer(0);
        keyOf.reset();
        if (const std::optional<PoemRow> poem = readPoem(poems, id))
            collect(gone, *poem, key);
        forget.reset();
        forget.bind(1, key).run();
    }
    for (auto& [list, lines] : gone)
        std::sort(lines.begin(), lines.end());
    rewrite(db, gone, [](std::vector<Entry>& lines, const std::vector<Entry>& removed) {
        std::vector<Entry> kept;
        kept.reserve(lines.size());
        std::set_difference(lines.begin(), lines.end(), removed.begin(), removed.end(), std::back_inserter(kept));
        lines = std::move(kept);
    });
}

void addPoems(sqlite3* db, LibrarySide side, const QStringList& poemIds)
{
    if (poemIds.isEmpty() || !present(db))
        return;
    Statement lastKey(db, "select coalesce(max(PoemKey),0) from FindPoem");
    qint64 key = lastKey.step() ? lastKey.integer(0) : 0;
    lastKey.reset();
    Statement insertPoem(db, "insert into FindPoem(PoemKey, Side, PoemID, Fame) values(?,?,?,?)");
    Statement poems(db, onePoem(side));
    Postings added;
    for (const QString& id : poemIds) {
        const std::optional<PoemRow> poem = readPoem(poems, id);
        if (!poem)
            continue;
        ++key;
        insertPoem.reset();
        insertPoem.bind(1, key).bind(2, int(side)).bind(3, id).bind(4, poem->famous ? 1 : 0).run();
        collect(added, *poem, key);
    }
    // The new keys are the largest: their lines go at the end of each list.
    rewrite(db, added, [](std::vector<Entry>& lines, const std::vector<Entry>& more) {
        lines.insert(lines.end(), more.begin(), more.end());
    });
}

namespace {
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

void prepare()
{
    simplified();
}

QList<Hit> find(sqlite3* db, const QString& query, int limit)
{
    QStringList queries{query};
    if (const Simplified* toSimplified = simplified())
        queries << (*toSimplified)(query);
    Finder finder(db);
    QHash<QPair<int, QString>, Found> best;
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
