#pragma once

#include <QHashFunctions>

namespace qelvane {

// The two halves of the library: Chinese poems by epoch, foreign poems by country.
// Each has its own tables and its own statement of every family.
enum class LibrarySide { China, Foreign };

inline size_t qHash(LibrarySide side, size_t seed = 0) noexcept
{
    return ::qHash(int(side), seed);
}

// The statement (or anything else) of a family for one side.
template <typename T>
constexpr const T& forSide(LibrarySide side, const T& china, const T& foreign)
{
    return side == LibrarySide::China ? china : foreign;
}

} // namespace qelvane
