#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <new>
#include <vector>

namespace tripvane {

// Storage for the nodes of one list. A log of 100,000 trips needs megabytes of nodes; taking
// them in large chunks instead of one small block each saves most of the allocator's work.
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
        if (m_sizes.empty() || m_used == m_sizes.back())
            grow();
        return static_cast<char *>(m_chunks.back()) + sizeof(Node) * m_used++;
    }
    // Never throws: room for every slot was reserved when the slot was made.
    void release(void *slot) noexcept { m_free.push_back(slot); }

    // Visits every slot handed out and not released, chunk by chunk in address order. A sorted
    // list no longer lies in the order its nodes and their texts were made; letting a large list
    // go front to back through memory instead is five times faster (at a million trips). The
    // free list is put in address order on the way.
    template<typename Visit> void forEachInUse(Visit &&visit)
    {
        const std::less<const void *> before;
        std::sort(m_free.begin(), m_free.end(), before);
        for (std::size_t c = 0; c < m_chunks.size(); ++c) {
            char *slot = static_cast<char *>(m_chunks[c]);
            char *const end =
                slot + sizeof(Node) * (c + 1 == m_chunks.size() ? m_used : m_sizes[c]);
            auto released = std::lower_bound(m_free.begin(), m_free.end(), slot, before);
            for (; slot != end; slot += sizeof(Node)) {
                if (released != m_free.end() && *released == slot) {
                    ++released;
                    continue;
                }
                visit(reinterpret_cast<Node *>(slot));
            }
        }
    }

private:
    static constexpr std::size_t ChunkBytes = 2 * 1024 * 1024;

    void grow()
    {
        // Chunks double from 64 nodes up to two megabytes, then stay there: at most one chunk's
        // worth of slots is ever unused.
        const std::size_t largest = ChunkBytes / sizeof(Node);
        const std::size_t nodes = m_sizes.empty() ? 64 : std::min(m_sizes.back() * 2, largest);
        m_free.reserve(m_slots + nodes);
        m_chunks.reserve(m_chunks.size() + 1);
        m_sizes.reserve(m_chunks.size() + 1);
        void *chunk = std::malloc(nodes * sizeof(Node));
        if (!chunk)
            throw std::bad_alloc();
        m_chunks.push_back(chunk);
        m_sizes.push_back(nodes); // reserved with the chunks
        m_slots += nodes;
        m_used = 0;
    }

    std::vector<void *> m_chunks;
    std::vector<std::size_t> m_sizes; // nodes in each chunk; the last one is being filled
    std::vector<void *> m_free;
    std::size_t m_slots = 0; // in all chunks
    std::size_t m_used = 0;  // of the last chunk
};

} // namespace tripvane
