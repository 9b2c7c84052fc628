#pragma once

#include "FoundPoems.h"
#include "store/Library.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace qelvane {

class ReaderConnection;

namespace search {

// The matching rule: the column holds the text as one contiguous run, compared byte
// for byte (so letter case matters; UTF-8 makes this the same as character for
// character). An empty or Null column never matches; an empty text matches every
// other one.
bool matches(QByteArrayView column, QByteArrayView text);

// The column a search tests, as the query selects it.
enum class Tested { Title = 1, Content = 2 };

// What a search has to tell the window since it was last asked.
struct Progress {
    FoundPoems found;                // new since the last time
    int examined = 0;                // rows examined so far
    int total = -1;                  // rows it will examine; -1 until they are counted
    bool finished = false;           // it has ended: every row examined, stopped or failed
    std::optional<QString> failure;  // why it could not go on (for the error stream)
};

} // namespace search

// One search of the poem library, running on a thread of its own through a read-only
// connection of its own, so the window never waits for it. It hands over what it has
// found at most every 16 ms; the window takes it when told there is news.
class PoemSearch {
public:
    // Starts the search at once. `news` is called on the search's thread whenever
    // there is something to take, at most once between two calls of take().
    PoemSearch(const QString& libraryPath, library::SearchQuery query, search::Tested tested, const QString& text,
               std::function<void()> news);
    // Stops the search and waits for its thread.
    ~PoemSearch();
    PoemSearch(const PoemSearch&) = delete;
    PoemSearch& operator=(const PoemSearch&) = delete;

    // Ends the search after the row it is examining and waits for its thread; what it
    // found up to there is still to take, and the search is finished.
    void stop();
    // Everything new since the last call.
    search::Progress take();

    // For tests: when set, the scan calls it on the search's thread before it reads each
    // row, with the rows examined so far, so that a test can hold the search at a row of
    // its choosing (waitForStop() holds it there until stop() is called).
    static std::function<void(PoemSearch&, int examined)> beforeEachRow;
    void waitForStop();

private:
    void run();
    void count(ReaderConnection& reader);
    void scan(ReaderConnection& reader);
    // Changes what the window has still to take, and tells it unless it has not yet
    // taken the last news.
    template <typename Change>
    void handOver(Change change);

    const QString m_path;
    const library::SearchQuery m_query;
    const int m_column;
    const QByteArray m_text;
    const std::function<void()> m_news;

    std::atomic<bool> m_stopping = false;
    std::mutex m_lock;
    std::condition_variable m_stopCalled;
    // Guarded by m_lock: what the window has still to take, whether it has been told,
    // and the open reader (so that stop() can interrupt its statement).
    search::Progress m_pending;
    bool m_told = false;
    ReaderConnection* m_reader = nullptr;
    std::thread m_thread;
};

} // namespace qelvane
