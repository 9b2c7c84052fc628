#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <thread>

namespace qelvane {

// Builds the find index of a library that has none (one made before it), on a thread
// of its own with a connection of its own, while the program goes on: the poems are
// read from a snapshot and the index written in one transaction at the end. When the
// window changed the library in between, the build starts over, so the index never
// misses a change.
class FindIndexBuilder {
public:
    struct Callbacks {
        // Called on the builder's thread.
        std::function<void(int done, int total)> progress;
        // Called once on the builder's thread at the end: an empty text when the index
        // is in place, else why not (for the reader).
        std::function<void(const QString& failure)> finished;
    };

    FindIndexBuilder(const QString& libraryPath, Callbacks callbacks);
    // Stops the build (nothing is written) and waits for its thread.
    ~FindIndexBuilder();
    FindIndexBuilder(const FindIndexBuilder&) = delete;
    FindIndexBuilder& operator=(const FindIndexBuilder&) = delete;

private:
    void run();

    const QString m_path;
    const Callbacks m_callbacks;
    std::atomic<bool> m_stopping = false;
    std::thread m_thread;
};

} // namespace qelvane
