#include "PoemSearch.h"

#include "store/ReaderConnection.h"
#include "store/SqliteStatement.h"
#include "store/StoreError.h"

#include <QElapsedTimer>
#include <cstring>

namespace qelvane {

namespace search {

bool matches(QByteArrayView column, QByteArrayView text)
{
    if (column.isEmpty())
        return false;
    if (text.isEmpty())
        return true;
    return ::memmem(column.data(), size_t(column.size()), text.data(), size_t(text.size())) != nullptr;
}

} // namespace search

namespace {
// How often the window hears of the search: about once a frame.
constexpr qint64 HandOverMs = 16;
// The clock is read every few dozen rows; a row costs well under a microsecond.
constexpr int RowsBetweenClockReadings = 64;
} // namespace

std::function<void(PoemSearch&, int)> PoemSearch::beforeEachRow;

PoemSearch::PoemSearch(const QString& libraryPath, library::SearchQuery query, search::Tested tested,
                       const QString& text, std::function<void()> news)
    : m_path(libraryPath), m_query(std::move(query)), m_column(int(tested)), m_text(text.toUtf8()),
      m_news(std::move(news))
{
    m_thread = std::thread([this] { run(); });
}

PoemSearch::~PoemSearch()
{
    stop();
}

void PoemSearch::stop()
{
    m_stopping = true;
    {
        std::lock_guard guard(m_lock);
        if (m_reader)
            m_reader->interrupt();
        m_stopCalled.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
}

void PoemSearch::waitForStop()
{
    std::unique_lock guard(m_lock);
    m_stopCalled.wait(guard, [this] { return m_stopping.load(); });
}

search::Progress PoemSearch::take()
{
    std::lock_guard guard(m_lock);
    m_told = false;
    search::Progress taken = m_pending;
    taken.found = std::exchange(m_pending.found, {});
    return taken;
}

template <typename Change>
void PoemSearch::handOver(Change change)
{
    bool tell = false;
    {
        std::lock_guard guard(m_lock);
        change(m_pending);
        tell = !m_told;
        m_told = true;
    }
    if (tell && m_news)
        m_news();
}

void PoemSearch::run()
{
    std::optional<QString> failure;
    try {
        ReaderConnection reader(m_path);
        // While it is open, stop() may interrupt the reader's statement.
        struct Interruptible {
            PoemSearch& search;
            Interruptible(PoemSearch& owner, ReaderConnection& reader) : search(owner)
            {
                std::lock_guard guard(search.m_lock);
                search.m_reader = &reader;
            }
            ~Interruptible()
            {
                std::lock_guard guard(search.m_lock);
                search.m_reader = nullptr;
            }
        } interruptible(*this, reader);
        // The count is the progress bar's length; it reads the smallest index only.
        count(reader);
        scan(reader);
    } catch (const StoreError& error) {
        // A statement interrupted by stop() is no failure.
        if (!m_stopping)
            failure = error.description() + QLatin1Char('\n') + error.detail();
    } catch (const std::exception& error) {
        failure = QString::fromLocal8Bit(error.what());
    }
    handOver([&](search::Progress& pending) {
        if (failure && !pending.failure)
            pending.failure = std::move(failure);
        pending.finished = true;
    });
}

void PoemSearch::count(ReaderConnection& reader)
{
    SqliteStatement count(reader.handle(), m_query.counting, m_query.values);
    const int total = count.next() ? count.utf8(0).toInt() : 0;
    handOver([total](search::Progress& pending) { pending.total = total; });
}

void PoemSearch::scan(ReaderConnection& reader)
{
    FoundPoems found;
    int examined = 0;
    const auto handOverFound = [&] {
        handOver([&](search::Progress& pending) {
            pending.found.append(std::move(found));
            pending.examined = examined;
        });
    };
    SqliteStatement rows(reader.handle(), m_query.statement, m_query.values);
    QElapsedTimer sinceHandOver;
    sinceHandOver.start();
    try {
        while (!m_stopping.load(std::memory_order_relaxed)) {
            if (beforeEachRow)
                beforeEachRow(*this, examined);
            if (!rows.next())
                break;
            ++examined;
            if (search::matches(rows.utf8(m_column), m_text))
                found.add(rows.utf8(0), rows.utf8(1));
            if (examined % RowsBetweenClockReadings == 0 && sinceHandOver.elapsed() >= HandOverMs) {
                handOverFound();
                sinceHandOver.restart();
            }
        }
    } catch (...) {
        // A stop that comes while the next row is read interrupts the statement, as a
        // failure ends it: what was found before is listed all the same.
        handOverFound();
        throw;
    }
    handOverFound();
}

} // namespace qelvane
