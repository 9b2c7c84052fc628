#pragma once

#include <QString>
#include <functional>

namespace qelvane::mklib {

// Sweeps the tombstones of deleted and changed poems out of an existing library's find
// index and gives its free pages back to the file system, setting the library to give
// back the pages of later deletions in steps. Returns the file's size before and after,
// in bytes. Throws BuildError.
std::pair<qint64, qint64> compactLibrary(const QString& path, const std::function<void(int percent)>& progress);

} // namespace qelvane::mklib
