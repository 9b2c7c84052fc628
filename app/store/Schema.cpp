#include "Schema.h"

namespace qelvane::schema {

const QList<Table>& tables()
{
    using T = ColumnType;
    static const QList<Table> all = {
        {"ChinaEpoch", {{"EpochID", T::Text}, {"Epoch", T::Text}}},
        {"ForeignCountry", {{"CountryID", T::Text}, {"Country", T::Text}}},
        {"ChinaAuthor",
         {{"EpochID", T::Text}, {"Epoch", T::Text}, {"AuthorID", T::Text}, {"AuthorName", T::Text}}},
        {"ForeignAuthor",
         {{"CountryID", T::Text}, {"Country", T::Text}, {"AuthorID", T::Text}, {"AuthorName", T::Text}}},
        {"ChinaAuthorDetail", {{"AuthorID", T::Text}, {"AuthorDetail", T::LongText}}},
        {"ForeignAuthorDetail", {{"AuthorID", T::Text}, {"AuthorDetail", T::LongText}}},
        {"ChinaPoem",
         {{"PoemID", T::Text}, {"Name", T::Text}, {"Content", T::LongText}, {"Note", T::LongText},
          {"AuthorID", T::Text}, {"Author", T::Text}, {"EpochID", T::Text}, {"Epoch", T::Text},
          {"tf", T::Boolean}}},
        {"ForeignPoem",
         {{"PoemID", T::Text}, {"Name", T::Text}, {"Content", T::LongText}, {"Note", T::LongText},
          {"AuthorID", T::Text}, {"Author", T::Text}, {"CountryID", T::Text}, {"Country", T::Text},
          {"tf", T::Boolean}}},
        {"ForeignEpoch", {{"Country", T::Text}}},
        {"ChinaPoemFormat", {{"FormatName", T::Text}, {"Content", T::LongText}}},
        {"NewCount", {{"Name", T::Text}, {"Count", T::Integer}}},
    };
    return all;
}

const QList<Index>& indexes()
{
    static const QList<Index> all = {
        {"ChinaAuthor", "EpochID"},        {"ChinaAuthor", "Epoch"},
        {"ChinaAuthor", "AuthorID"},       {"ForeignAuthor", "CountryID"},
        {"ForeignAuthor", "Country"},      {"ForeignAuthor", "AuthorID"},
        {"ChinaAuthorDetail", "AuthorID"}, {"ForeignAuthorDetail", "AuthorID"},
        {"ChinaPoem", "PoemID"},           {"ChinaPoem", "AuthorID"},
        {"ChinaPoem", "Epoch"},            {"ChinaPoem", "tf"},
        {"ForeignPoem", "PoemID"},         {"ForeignPoem", "AuthorID"},
        {"ForeignPoem", "Country"},        {"ForeignPoem", "tf"},
    };
    return all;
}

} // namespace qelvane::schema
