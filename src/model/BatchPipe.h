#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tripvane {

// Batches filled on a second thread while the caller's thread takes them: on two cores the two
// halves of a long job run side by side. The queue is bounded, so the filling never runs far
// ahead, and each batch taken is handed back to be filled again, keeping its room.
template<typename Batch> class BatchPipe
{
public:
    // Empties a batch handed back, fills it, and says whether more follow; the batch it filled
    // last is taken too. Runs on the second thread.
    using Fill = std::function<bool(Batch &batch)>;

    explicit BatchPipe(Fill fill)
        : m_fill(std::move(fill))
        , m_filler([this] { run(); })
    {}
    // Stops the filling after the batch in hand and waits for it.
    ~BatchPipe()
    {
        {
            const std::lock_guard guard(m_lock);
            m_stop = true;
        }
        m_changed.notify_all();
        m_filler.join();
    }
    BatchPipe(const BatchPipe &) = delete;
    BatchPipe &operator=(const BatchPipe &) = delete;

    // The next batch, handing the last one back; false once every batch was taken. What the
    // filling thread wrote is seen once this returned false.
    bool next(Batch &batch)
    {
        std::unique_lock guard(m_lock);
        m_spare.push_back(std::move(batch));
        m_changed.notify_all();
        m_changed.wait(guard, [this] { return !m_full.empty() || m_done; });
        if (m_full.empty())
            return false;
        batch = std::move(m_full.front());
        m_full.pop_front();
        m_changed.notify_all();
        return true;
    }

private:
    static constexpr std::size_t QueuedBatches = 4;

    void run()
    {
        Batch batch;
        for (;;) {
            const bool more = m_fill(batch);
            std::unique_lock guard(m_lock);
            m_full.push_back(std::move(batch));
            m_changed.notify_all();
            if (more)
                m_changed.wait(guard, [this] { return m_stop || m_full.size() < QueuedBatches; });
            if (!more || m_stop) {
                m_done = true;
                m_changed.notify_all();
                return;
            }
            batch = Batch();
            if (!m_spare.empty()) {
                batch = std::move(m_spare.back());
                m_spare.pop_back();
            }
        }
    }

    Fill m_fill;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<Batch> m_full;
    std::vector<Batch> m_spare;
    bool m_done = false;
    bool m_stop = false;
    std::thread m_filler; // last: it starts once everything it uses exists
};

} // namespace tripvane
