#pragma once

#include <QString>
#include <atomic>

struct sqlite3;

namespace qelvane {

// A read-only connection of its own to the library, for work on another thread (the
// poem search). The library is kept in write-ahead-log mode (DbConnection), so this
// reader sees one consistent snapshot for each statement and never holds up the
// window's connection writing beside it, nor is held up by it.
class ReaderConnection {
public:
    // Opens the library at `path` for reading; throws StoreError naming the reason.
    explicit ReaderConnection(const QString& path);
    ~ReaderConnection();
    ReaderConnection(const ReaderConnection&) = delete;
    ReaderConnection& operator=(const ReaderConnection&) = delete;

    sqlite3* handle() const { return m_db; }

    // From any thread while the connection is open: the statement running on it fails
    // at once with SQLITE_INTERRUPT and a wait for a lock ends. The owner's thread
    // checks `interrupted()` to tell this from a failure, and before each statement.
    void interrupt();
    bool interrupted() const { return m_interrupted.load(std::memory_order_relaxed); }

private:
    static int waitForLock(void* self, int attempt);

    sqlite3* m_db = nullptr;
    std::atomic<bool> m_interrupted = false;
};

} // namespace qelvane
