#pragma once

#include <QString>

struct sqlite3;

// What SQLite's result codes mean to the reader, in the reader's words: every way into
// the library (the connection, the row scan, the find index, a reader of its own)
// reports a failure through here, so a lock reads the same everywhere and the engine's
// English goes to the error stream only.
namespace qelvane::sqlitereason {

// The reason for an SQLite result code (extended codes understood).
QString reasonFor(int code);

// The code of the last failure on a connection, extended.
int lastCode(sqlite3* db);

// Throws LibraryBusy (the one busy message) for a lock, otherwise a StoreError "what：
// reason". `detail` (the engine's message and the statement) is for the error stream.
[[noreturn]] void fail(const QString& what, int code, const QString& detail);

// The one message of a command refused because another program holds the library.
QString busyMessage();

} // namespace qelvane::sqlitereason
