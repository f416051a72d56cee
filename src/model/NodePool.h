#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include <sys/mman.h>

namespace tripvane {

// Storage for the nodes of one list. A log of 100,000 trips needs tens of megabytes of nodes;
// taking them in large chunks (on huge pages where the system offers them) instead of one
// small block each saves most of the allocator's work and of the page faults of a load.
// Freed slots are reused.
template<typename Node> class NodePool
{
public:
    NodePool() = default;
    NodePool(const NodePool &) = delete;
    NodePool &operator=(const NodePool &) = delete;
    ~NodePool()
    {
        for (void *chunk : m_chunks)
            std::free(chunk);
    }

    // Raw storage for one node; throws std::bad_alloc when memory runs out.
    void *allocate()
    {
        if (!m_free.empty()) {
            void *slot = m_free.back();
            m_free.pop_back();
            return slot;
        }
        if (m_used == m_capacity)
            grow();
        return static_cast<char *>(m_chunks.back()) + sizeof(Node) * m_used++;
    }
    // Never throws: room for every slot was reserved when the slot was made.
    void release(void *slot) noexcept { m_free.push_back(slot); }

private:
    static constexpr std::size_t HugePage = 2 * 1024 * 1024;

    void grow()
    {
        // Chunks double from 64 nodes up to one huge page, then stay at one: a huge page is
        // resident as soon as one byte of it is touched, so a larger chunk would keep up to
        // several megabytes of unused slots in memory after the last node.
        const std::size_t pageNodes = HugePage / sizeof(Node);
        const std::size_t nodes = m_chunks.empty() ? 64 : std::min(m_capacity * 2, pageNodes);
        m_free.reserve(m_slots + nodes);
        m_chunks.reserve(m_chunks.size() + 1);
        void *chunk = nullptr;
        if (nodes == pageNodes) {
            chunk = std::aligned_alloc(HugePage, HugePage);
            if (chunk)
                ::madvise(chunk, HugePage, MADV_HUGEPAGE);
        } else {
            chunk = std::malloc(nodes * sizeof(Node));
        }
        if (!chunk)
            throw std::bad_alloc();
        m_chunks.push_back(chunk);
        m_slots += nodes;
        m_capacity = nodes;
        m_used = 0;
    }

    std::vector<void *> m_chunks;
    std::vector<void *> m_free;
    std::size_t m_slots = 0;    // in all chunks
    std::size_t m_capacity = 0; // of the last chunk
    std::size_t m_used = 0;     // of the last chunk
};

} // namespace tripvane
