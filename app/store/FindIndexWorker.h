#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <thread>

struct sqlite3;

namespace qelvane {

// Works on the find index beside the running program, on a thread of its own with a
// connection of its own. Building (for a library that has none): the poems are read
// from a snapshot and the index written in one transaction at the end; when the window
// changed the library in between, the build starts over, so the index never misses a
// change. Compacting: the tombstones of deleted and changed poems are swept out of the
// lists a share at a time (findindex::compact), each share a transaction of its own.
class FindIndexWorker {
public:
    enum class Job { Build, Compact };

    struct Callbacks {
        // Called on the worker's thread.
        std::function<void(int done, int total)> progress;
        // Called once on the worker's thread at the end: an empty text when the work is
        // done, else why not (for the reader).
        std::function<void(const QString& failure)> finished;
    };

    FindIndexWorker(const QString& libraryPath, Job job, Callbacks callbacks);
    // Stops the work (a build writes nothing; a compaction keeps the shares it finished)
    // and waits for its thread.
    ~FindIndexWorker();
    FindIndexWorker(const FindIndexWorker&) = delete;
    FindIndexWorker& operator=(const FindIndexWorker&) = delete;

    Job job() const { return m_job; }

private:
    void run();
    QString build(sqlite3* db);
    QString compact(sqlite3* db);
    bool report(int done, int total);

    const QString m_path;
    const Job m_job;
    const Callbacks m_callbacks;
    std::atomic<bool> m_stopping = false;
    std::thread m_thread;
};

} // namespace qelvane
