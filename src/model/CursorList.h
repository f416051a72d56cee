#pragma once

#include "NodePool.h"
#include "Records.h"

#include <QString>

#include <memory>
#include <new>
#include <vector>

namespace tripvane {

// A list with one cursor: append, find and remove leave it where the single-cursor chain of the
// original design would, and a replace searches forward from it. Nodes live in an indexed array
// so that append and find at position cost O(1) even for 100,000 trips; node addresses stay
// valid until the node is removed.
template<typename Node> class CursorList
{
public:
    using NodePtr = std::unique_ptr<Node, PooledNodeDeleter<Node>>;

    CursorList() = default;
    CursorList(const CursorList &) = delete;
    CursorList &operator=(const CursorList &) = delete;
    CursorList(CursorList &&other) noexcept = default;
    CursorList &operator=(CursorList &&other) noexcept
    {
        // The nodes go before the pool that holds them.
        m_nodes = std::move(other.m_nodes);
        m_pool = std::move(other.m_pool);
        m_cursor = other.m_cursor;
        return *this;
    }
    ~CursorList() { m_nodes.clear(); }

    Node *last() { return m_nodes.empty() ? nullptr : m_nodes.back().get(); }

    // Stores a deep copy; the caller keeps its own object. Null when memory runs out.
    Node *append(const Node &source)
    {
        try {
            NodePtr node = makeNode(Node());
            node->copyFrom(source);
            node->position = size();
            m_nodes.push_back(std::move(node));
        } catch (const std::bad_alloc &) {
            return nullptr;
        }
        m_cursor = size() - 1;
        return m_nodes.back().get();
    }

    Node *findAtPosition(ListPosition position)
    {
        if (m_nodes.empty())
            return nullptr;
        if (position >= size()) {
            m_cursor = 0;
            return nullptr;
        }
        m_cursor = position;
        return m_nodes[position].get();
    }

    void clear()
    {
        m_nodes.clear();
        m_cursor = 0;
    }

    // Read access by index without touching the cursor, for views, sums and writers.
    ListPosition size() const { return static_cast<ListPosition>(m_nodes.size()); }
    bool isEmpty() const { return m_nodes.empty(); }
    const Node &at(ListPosition index) const { return *m_nodes[index]; }
    Node &at(ListPosition index) { return *m_nodes[index]; }

    // Hands every node out in list order and leaves the list empty; adopt() takes them back
    // (only nodes that came from this list). Used by sorting, which must never lose or
    // duplicate a node.
    std::vector<NodePtr> takeAll()
    {
        m_cursor = 0;
        return std::exchange(m_nodes, {});
    }
    void adopt(std::vector<NodePtr> &&nodes)
    {
        m_nodes = std::move(nodes);
        renumberFrom(0);
        m_cursor = 0;
    }

protected:
    Node *appendNode(Node &&node)
    {
        try {
            node.position = size();
            NodePtr stored = makeNode(std::move(node));
            m_nodes.push_back(std::move(stored));
        } catch (const std::bad_alloc &) {
            return nullptr;
        }
        m_cursor = size() - 1;
        return m_nodes.back().get();
    }

    bool removeAt(ListPosition position, bool emptyListSucceeds)
    {
        if (m_nodes.empty())
            return emptyListSucceeds;
        if (position >= size()) {
            m_cursor = 0;
            return false;
        }
        m_nodes.erase(m_nodes.begin() + position);
        renumberFrom(position);
        m_cursor = 0;
        return true;
    }

    ListPosition cursorIndex() const { return m_cursor; }
    void setCursor(ListPosition index) { m_cursor = index; }

private:
    NodePtr makeNode(Node &&value)
    {
        if (!m_pool)
            m_pool = std::make_unique<NodePool<Node>>();
        void *slot = m_pool->allocate();
        try {
            return NodePtr(new (slot) Node(std::move(value)),
                           PooledNodeDeleter<Node>{m_pool.get()});
        } catch (...) {
            m_pool->release(slot);
            throw;
        }
    }

    void renumberFrom(ListPosition start)
    {
        for (ListPosition i = start; i < size(); ++i)
            m_nodes[i]->position = i;
    }

    std::unique_ptr<NodePool<Node>> m_pool; // declared first: destroyed after the nodes
    std::vector<NodePtr> m_nodes;
    ListPosition m_cursor = 0; // meaningful only while the list has nodes
};

class RecordList final : public CursorList<MileageRecord>
{
public:
    // Appends without a second copy, for loaders that build a record only to store it.
    MileageRecord *appendMoved(MileageRecord &&record) { return appendNode(std::move(record)); }
    // An empty list reports success, a missing position failure.
    bool removeAtPosition(ListPosition position) { return removeAt(position, true); }
    // Searches forward from the cursor only; the record keeps its place in the list.
    MileageRecord *replaceAtPosition(ListPosition position, const MileageRecord &source);
};

class CategoryList final : public CursorList<CategoryEntry>
{
public:
    // Refuses a name already present, compared code unit for code unit.
    CategoryEntry *append(const CategoryEntry &source);
    bool removeAtPosition(ListPosition position) { return removeAt(position, false); }
    CategoryEntry *findByName(const QString &name);
    bool removeByName(const QString &name);
};

class RouteList final : public CursorList<BookRoute>
{
public:
    bool removeAtPosition(ListPosition position) { return removeAt(position, true); }
};

} // namespace tripvane
