#pragma once

#include <QString>

// Every statement the program sends to its poem library. Values are never written
// into the text: each ? is bound by the caller, in order, so a title or a name with a
// single quote in it is stored and found like any other.
namespace qelvane::sql {

// ---- Library tree -----------------------------------------------------------------
inline constexpr auto ChinaEpochTable = "select * from ChinaEpoch";
inline constexpr auto ForeignCountryTable = "select * from ForeignCountry";
inline constexpr auto ChinaAuthorsOfEpoch = "select AuthorID,AuthorName from ChinaAuthor where EpochID=?";
// How many authors each place holds, for the whole tree at once (read off the index).
inline constexpr auto ChinaAuthorCountsByEpoch = "select EpochID,count(*) from ChinaAuthor group by EpochID";
inline constexpr auto ForeignAuthorCountsByCountry = "select CountryID,count(*) from ForeignAuthor group by CountryID";
inline constexpr auto ForeignAuthorsOfCountry = "select AuthorName,AuthorID from ForeignAuthor where CountryID=?";
inline constexpr auto ChinaFavoriteAuthors = "select distinct AuthorID,Author from ChinaPoem where tf=true";
inline constexpr auto ForeignFavoriteAuthors = "select distinct AuthorID,Author from ForeignPoem where tf=true";
inline constexpr auto ChinaPoemsOfAuthor = "Select PoemID,Name from ChinaPoem where AuthorID=?";
inline constexpr auto ChinaFavoritePoemsOfAuthor = "Select PoemID,Name from ChinaPoem where AuthorID=? and tf=true";
inline constexpr auto ForeignPoemsOfAuthor = "Select PoemID,Name from ForeignPoem where AuthorID=?";
inline constexpr auto ForeignFavoritePoemsOfAuthor =
    "Select PoemID,Name from ForeignPoem where AuthorID=? and tf=true";
inline constexpr auto ChinaAuthorDetail = "select AuthorDetail from ChinaAuthorDetail where AuthorID=?";
inline constexpr auto ForeignAuthorDetail = "select AuthorDetail from ForeignAuthorDetail where AuthorID=?";

// How many poems a deletion takes: an author's, or an epoch's or country's by name (the
// deletion goes by the poems' own copy of the place, and so does the count).
inline constexpr auto ChinaPoemCountOfAuthor = "select count(*) as Poems from ChinaPoem where AuthorID=?";
inline constexpr auto ForeignPoemCountOfAuthor = "select count(*) as Poems from ForeignPoem where AuthorID=?";
inline constexpr auto ChinaFavoriteCountOfAuthor =
    "select count(*) as Poems from ChinaPoem where AuthorID=? and tf=true";
inline constexpr auto ForeignFavoriteCountOfAuthor =
    "select count(*) as Poems from ForeignPoem where AuthorID=? and tf=true";
inline constexpr auto ChinaPoemCountOfEpoch = "select count(*) as Poems from ChinaPoem where Epoch=?";
inline constexpr auto ForeignPoemCountOfCountry = "select count(*) as Poems from ForeignPoem where Country=?";

// ---- Poem view and search result -------------------------------------------------
// A poem as the reader sees it: its heading (title, author, epoch or country) above
// its text and notes.
inline constexpr auto ChinaPoemText =
    "select Name,Author,AuthorID,Epoch as Place,Content,Note from ChinaPoem where PoemID=?";
inline constexpr auto ForeignPoemText =
    "select Name,Author,AuthorID,Country as Place,Content,Note from ForeignPoem where PoemID=?";
inline constexpr auto ChinaPoemAuthorID = "select AuthorID from ChinaPoem where PoemID=?";
inline constexpr auto ForeignPoemAuthorID = "select AuthorID from ForeignPoem where PoemID=?";

// ---- Favourites ---------------------------------------------------------------------
inline constexpr auto ChinaFavoritePoem = "select * from ChinaPoem where tf=true and poemID=?";
inline constexpr auto ForeignFavoritePoem = "select * from ForeignPoem where tf=true and PoemID=?";
inline constexpr auto MarkChinaFavorite = "update ChinaPoem set tf=true where poemID=?";
inline constexpr auto MarkForeignFavorite = "update ForeignPoem set tf=true where PoemID=?";
inline constexpr auto ChinaFavoritePoems = "select PoemID,Name,Author from ChinaPoem where tf=true";
inline constexpr auto ForeignFavoritePoems = "select PoemID,Name,Author from ForeignPoem where tf=true";
inline constexpr auto UnmarkChinaFavorite = "update chinapoem set tf=false where poemid=?";
inline constexpr auto UnmarkForeignFavorite = "update ForeignPoem set tf=false where PoemID=?";

// ---- Export -------------------------------------------------------------------------
inline constexpr auto ChinaPoemAuthor = "select Author from ChinaPoem where PoemID=?";
inline constexpr auto ForeignPoemAuthor = "select Author from ForeignPoem where PoemID=?";

// ---- Editors ------------------------------------------------------------------------
inline constexpr auto ChinaAuthorEpochID = "select EpochID from ChinaAuthor where AuthorID=?";
inline constexpr auto ForeignAuthorCountryID = "select CountryID from ForeignAuthor where AuthorID=?";
inline constexpr auto EpochNames = "select Epoch from ChinaEpoch";
inline constexpr auto CountryNames = "select Country from ForeignCountry";
inline constexpr auto ForeignCountryChoices = "select Country from ForeignEpoch";
inline constexpr auto EpochIDOfName = "select EpochID from ChinaEpoch where Epoch=?";
inline constexpr auto CountryIDOfName = "select CountryID from ForeignCountry where Country=?";
inline constexpr auto EpochNameOfID = "select Epoch from ChinaEpoch where EpochID=?";
inline constexpr auto CountryNameOfID = "select Country from ForeignCountry where CountryID=?";
inline constexpr auto ChinaPoemForEditor = "select Name,Content,Note from ChinaPoem where PoemID=?";
inline constexpr auto ForeignPoemForEditor = "select Name,Content,Note from ForeignPoem where PoemID=?";
inline constexpr auto ChinaAuthorName = "select AuthorName from ChinaAuthor where AuthorID=?";
inline constexpr auto ForeignAuthorName = "Select AuthorName from ForeignAuthor where AuthorID=?";

inline constexpr auto InsertChinaAuthor = "insert into ChinaAuthor(EpochID,Epoch,AuthorID,AuthorName) values(?,?,?,?)";
inline constexpr auto InsertChinaAuthorDetail = "insert into ChinaAuthorDetail(AuthorID,AuthorDetail) values(?,?)";
inline constexpr auto InsertForeignAuthor =
    "insert into ForeignAuthor(CountryID,Country,AuthorID,AuthorName) values(?,?,?,?)";
inline constexpr auto InsertForeignAuthorDetail = "insert into ForeignAuthorDetail(AuthorID,AuthorDetail) values(?,?)";
inline constexpr auto UpdateChinaAuthor = "update ChinaAuthor set EpochID=?,Epoch=?,AuthorName=? where AuthorID=?";
// An author's poems carry the author's place and name: they move and are renamed with
// the author.
inline constexpr auto MoveChinaAuthorPoems = "update ChinaPoem set EpochID=?,Epoch=?,Author=? where AuthorID=?";
inline constexpr auto MoveForeignAuthorPoems =
    "update ForeignPoem set CountryID=?,Country=?,Author=? where AuthorID=?";
// Whether an author's poems carry a name other than the one given (a renamed author).
inline constexpr auto ChinaPoemsNamedOtherwise =
    "select count(*) as Rows from ChinaPoem where AuthorID=? and coalesce(Author,'')<>?";
inline constexpr auto ForeignPoemsNamedOtherwise =
    "select count(*) as Rows from ForeignPoem where AuthorID=? and coalesce(Author,'')<>?";
inline constexpr auto UpdateChinaAuthorDetail = "update ChinaAuthorDetail set AuthorDetail=? where AuthorID=?";
inline constexpr auto UpdateForeignAuthor =
    "update ForeignAuthor set CountryID=?,Country=?,AuthorName=? where AuthorID=?";
inline constexpr auto UpdateForeignAuthorDetail = "update ForeignAuthorDetail set AuthorDetail=? where AuthorID=?";

// A table's definition, to tell a table that has no rowid (one made WITHOUT ROWID).
inline constexpr auto TableDefinition = "select sql from sqlite_master where type='table' and name=? collate nocase";

// Rows changed through an editable recordset: the table and the condition that picks them.
struct EditTarget {
    const char* table;
    const char* condition;
};
inline constexpr EditTarget AuthorCounter{"NewCount", "Name='Author'"};
inline constexpr EditTarget PoemCounter{"NewCount", "Name='Poem'"};
inline constexpr EditTarget ChinaPoemRow{"ChinaPoem", "PoemID=?"};
inline constexpr EditTarget ForeignPoemRow{"ForeignPoem", "PoemID=?"};
// Whether a new ID is already taken, and the highest number behind the IDs the program
// gave; each ? is the same ID.
inline constexpr auto PoemIdInUse =
    "select 1 from ChinaPoem where PoemID=? union all select 1 from ForeignPoem where PoemID=?";
inline constexpr auto AuthorIdInUse =
    "select 1 from ChinaAuthor where AuthorID=? union all select 1 from ForeignAuthor where AuthorID=? "
    "union all select 1 from ChinaAuthorDetail where AuthorID=? "
    "union all select 1 from ForeignAuthorDetail where AuthorID=?";
inline constexpr auto HighestNewPoemNumber =
    "select max(n) as Highest from (select cast(substr(PoemID,8) as integer) as n from ChinaPoem where PoemID like 'NewPoem%' "
    "union all select cast(substr(PoemID,8) as integer) from ForeignPoem where PoemID like 'NewPoem%')";
inline constexpr auto HighestNewAuthorNumber =
    "select max(n) as Highest from (select cast(substr(AuthorID,10) as integer) as n from ChinaAuthor "
    "where AuthorID like 'NewAuthor%' union all select cast(substr(AuthorID,10) as integer) from ForeignAuthor "
    "where AuthorID like 'NewAuthor%')";
inline constexpr auto ChinaPoemTable = "ChinaPoem";
inline constexpr auto ForeignPoemTable = "ForeignPoem";

// ---- Format lookup ------------------------------------------------------------------
inline constexpr auto FormatNames = "select FormatName from ChinaPoemFormat";
inline constexpr auto FormatContent = "select Content from ChinaPoemFormat where FormatName=?";
inline constexpr auto FormatContentOfNullName = "select Content from ChinaPoemFormat where FormatName is null";

// ---- Search -------------------------------------------------------------------------
// "select PoemID,Name,content from <table>", optionally limited to one epoch or country
// (the condition's value is bound).
QString SearchPoems(bool foreign, bool limited);
// How many rows that statement reads; the count runs on the table's smallest index.
QString CountSearchPoems(bool foreign, bool limited);

// ---- Deletions (each list runs in this order, in one transaction) -------------------
inline constexpr const char* DeleteChinaAuthor[] = {
    "delete * from ChinaAuthor where AuthorID=?",
    "delete * from ChinaAuthorDetail where AuthorID=?",
    "delete * from ChinaPoem where AuthorID=?",
};
inline constexpr const char* DeleteForeignAuthor[] = {
    "delete * from ForeignAuthor where AuthorID=?",
    "delete * from ForeignAuthorDetail where AuthorID=?",
    "delete * from ForeignPoem where AuthorID=?",
};
// The biographies go before the authors: their statement finds them through ChinaAuthor.
inline constexpr const char* DeleteEpoch[] = {
    "delete * from ChinaEpoch where Epoch=?",
    "delete * from ChinaAuthorDetail where AuthorID in (select AuthorID from ChinaAuthor where Epoch=?)",
    "delete * from ChinaAuthor where Epoch=?",
    "delete * from ChinaPoem where Epoch=?",
};
inline constexpr const char* DeleteCountry[] = {
    "delete * from ForeignCountry where Country=?",
    "delete * from ForeignAuthorDetail where AuthorID in (select AuthorID from ForeignAuthor where Country=?)",
    "delete * from ForeignAuthor where Country=?",
    "delete * from ForeignPoem where Country=?",
    // The author editor offers the countries of ForeignEpoch: a deleted one goes too.
    "delete * from ForeignEpoch where Country=?",
};
inline constexpr auto DeleteChinaPoem = "delete * from ChinaPoem where PoemID=?";
// The poems a change touches, for the find index.
inline constexpr auto ChinaPoemIdsOfAuthor = "select PoemID from ChinaPoem where AuthorID=?";
inline constexpr auto ForeignPoemIdsOfAuthor = "select PoemID from ForeignPoem where AuthorID=?";
inline constexpr auto PoemIdsOfEpoch = "select PoemID from ChinaPoem where Epoch=?";
inline constexpr auto PoemIdsOfCountry = "select PoemID from ForeignPoem where Country=?";
inline constexpr auto DeleteForeignPoem = "delete * from ForeignPoem where PoemID=?";
// How many rows carry an ID: a library from elsewhere may hold one ID twice, and a
// change by that ID would touch rows the reader did not choose.
inline constexpr auto ChinaPoemsWithId = "select count(*) as Rows from ChinaPoem where PoemID=?";
inline constexpr auto ForeignPoemsWithId = "select count(*) as Rows from ForeignPoem where PoemID=?";
inline constexpr auto ChinaAuthorsWithId = "select count(*) as Rows from ChinaAuthor where AuthorID=?";
inline constexpr auto ForeignAuthorsWithId = "select count(*) as Rows from ForeignAuthor where AuthorID=?";

// ---- Find index ---------------------------------------------------------------------
// A poem's key is never given twice while its lines may still be in a list: a poem
// taken out leaves its key in FindGone (its entries are tombstones the finder skips)
// until the lists are compacted. Stamp changes with every poem taken out or compacted,
// so that a reader may keep the tombstones it read until it changes. FindPoem holds
// what a found poem's row shows (title, author, epoch or country): the poem's own row
// has them behind its text and notes, pages away.
inline constexpr auto CreateFindIndex =
    "drop table if exists FindGram; drop table if exists FindPoem; drop table if exists FindGone;"
    "drop table if exists FindIndexInfo;"
    "create table FindPoem(PoemKey integer primary key, Side integer not null, PoemID text not null,"
    " Fame integer not null, Title text not null, Author text not null, Place text not null);"
    "create unique index idx_FindPoem_Poem on FindPoem(Side, PoemID);"
    "create table FindGram(Gram integer primary key, Lines blob not null);"
    "create table FindGone(Seq integer primary key autoincrement, PoemKey integer not null);"
    "create table FindIndexInfo(Version integer not null, Stamp integer not null);"
    "drop table if exists FindMetre;"
    "create table FindMetre(PoemKey integer primary key, Form text not null, Tune text not null,"
    " Rhyme text not null, Fame integer not null);"
    "create index idx_FindMetre on FindMetre(Rhyme, Form, Tune, Fame desc, PoemKey);";
inline constexpr auto FindIndexVersion = "select Version from FindIndexInfo";
inline constexpr auto InsertFindIndexInfo = "insert into FindIndexInfo(Version, Stamp) values(?, random())";
inline constexpr auto FindIndexStamp = "select Stamp from FindIndexInfo";
inline constexpr auto NewFindIndexStamp = "update FindIndexInfo set Stamp=random()";
inline constexpr auto PoemsToIndex = "select (select count(*) from ChinaPoem)+(select count(*) from ForeignPoem)";
// Well-known poems are those of the anthologies their notes name (唐诗三百首, 宋词三百首).
// Each row: ID, title, text, author, well-known, place.
inline constexpr auto FamousChinaPoemsToIndex =
    "select PoemID,Name,Content,Author,1,Epoch from ChinaPoem where coalesce(instr(Note,'三百首'),0)>0";
inline constexpr auto OtherChinaPoemsToIndex =
    "select PoemID,Name,Content,Author,0,Epoch from ChinaPoem where coalesce(instr(Note,'三百首'),0)=0";
inline constexpr auto FamousForeignPoemsToIndex =
    "select PoemID,Name,Content,Author,1,Country from ForeignPoem where coalesce(instr(Note,'三百首'),0)>0";
inline constexpr auto OtherForeignPoemsToIndex =
    "select PoemID,Name,Content,Author,0,Country from ForeignPoem where coalesce(instr(Note,'三百首'),0)=0";
inline constexpr auto ChinaPoemToIndex =
    "select PoemID,Name,Content,Author,coalesce(instr(Note,'三百首'),0)>0,Epoch from ChinaPoem where PoemID=?";
inline constexpr auto ForeignPoemToIndex =
    "select PoemID,Name,Content,Author,coalesce(instr(Note,'三百首'),0)>0,Country from ForeignPoem where PoemID=?";
// The text is read only for a candidate whose text is compared: it runs over pages.
inline constexpr auto ChinaPoemContentFound = "select Content from ChinaPoem where PoemID=?";
inline constexpr auto ForeignPoemContentFound = "select Content from ForeignPoem where PoemID=?";
inline constexpr auto InsertFindPoem =
    "insert into FindPoem(PoemKey, Side, PoemID, Fame, Title, Author, Place) values(?,?,?,?,?,?,?)";
inline constexpr auto FindPoemOfKey = "select Side, PoemID, Fame, Title, Author, Place from FindPoem where PoemKey=?";
inline constexpr auto LastFindPoemKey =
    "select max(coalesce((select max(PoemKey) from FindPoem),0), coalesce((select max(PoemKey) from FindGone),0))";
// Each Chinese poem's form, tune (词) and rhyme group under its key, for the poems of one
// form and rhyme (FindMetre.h); written and dropped with the poem's FindPoem row.
inline constexpr auto InsertFindMetre = "insert into FindMetre(PoemKey, Form, Tune, Rhyme, Fame) values(?,?,?,?,?)";
inline constexpr auto ForgetFindMetre =
    "delete from FindMetre where PoemKey in (select PoemKey from FindPoem where Side=? and PoemID=?)";
QString ForgetFindMetresOf(const char* poemIds);
inline constexpr auto MetreOfFindPoem = "select m.PoemKey, m.Form, m.Tune, m.Rhyme from FindMetre m"
                                       " join FindPoem p on p.PoemKey=m.PoemKey where p.Side=? and p.PoemID=?";
// The poems of a rhyme group (and of a form, and a tune), but for one key; the well-known
// first, then in the index's order. The first reads them in order straight off the index.
#define QELVANE_POEMS_OF_METRE(condition)                                                                             \
    "select p.Side, p.PoemID, p.Title, p.Author, p.Place, p.Fame, m.Form, m.Tune, m.Rhyme from FindMetre m"            \
    " join FindPoem p on p.PoemKey=m.PoemKey where m.Rhyme=? " condition                                             \
    " and m.PoemKey<>? order by m.Fame desc, m.PoemKey limit ?"
inline constexpr auto FindPoemsOfFormTuneRhyme = QELVANE_POEMS_OF_METRE("and m.Form=? and m.Tune=?");
inline constexpr auto FindPoemsOfFormRhyme = QELVANE_POEMS_OF_METRE("and m.Form=?");
inline constexpr auto FindPoemsOfRhyme = QELVANE_POEMS_OF_METRE("");
#undef QELVANE_POEMS_OF_METRE
inline constexpr auto BuryFindPoem =
    "insert into FindGone(PoemKey) select PoemKey from FindPoem where Side=? and PoemID=?";
inline constexpr auto ForgetFindPoem = "delete from FindPoem where Side=? and PoemID=?";
// The same for every poem a statement of the change selects (its PoemIDs, one value bound
// after the side).
QString BuryFindPoemsOf(const char* poemIds);
QString ForgetFindPoemsOf(const char* poemIds);
// The place the poems a statement selects now carry (an author moved): place, side, value.
QString PlaceFindPoemsOf(const char* poemIds);
inline constexpr auto ReadFindList = "select Lines from FindGram where Gram=?";
inline constexpr auto WriteFindList = "insert or replace into FindGram(Gram, Lines) values(?,?)";
inline constexpr auto EraseFindList = "delete from FindGram where Gram=?";
inline constexpr auto FindListsBetween = "select Gram, Lines from FindGram where Gram>=? and Gram<?";
inline constexpr auto GoneFindPoems = "select PoemKey from FindGone where Seq<=?";
inline constexpr auto LastGoneFindPoem = "select coalesce(max(Seq),0) from FindGone";
inline constexpr auto TombstoneCount = "select count(*) from FindGone";
inline constexpr auto ForgetGoneFindPoems = "delete from FindGone where Seq<=?";

} // namespace qelvane::sql
