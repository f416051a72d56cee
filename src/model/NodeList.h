#pragma once

#include "NodePool.h"
#include "Records.h"

#include <QString>

#include <memory>
#include <new>
#include <span>
#include <utility>
#include <vector>

namespace tripvane {

// A list whose nodes know their positions. Nodes live in an indexed array so that append and
// access by position cost O(1) even for 100,000 trips; node addresses stay valid until the node
// is removed.
template<typename Node> class NodeList
{
public:
    NodeList() = default;
    NodeList(const NodeList &) = delete;
    NodeList &operator=(const NodeList &) = delete;
    NodeList(NodeList &&other) noexcept
        : m_pool(std::move(other.m_pool))
        , m_nodes(std::exchange(other.m_nodes, {}))
    {}
    NodeList &operator=(NodeList &&other) noexcept
    {
        if (this != &other) {
            clear(); // the nodes go before the pool that holds them
            m_pool = std::move(other.m_pool);
            m_nodes = std::exchange(other.m_nodes, {});
        }
        return *this;
    }
    ~NodeList() { clear(); }

    Node *last() { return m_nodes.empty() ? nullptr : m_nodes.back(); }

    // Stores a deep copy; the caller keeps its own object. Null when memory runs out.
    Node *append(const Node &source)
    {
        Node copy;
        try {
            copy.copyFrom(source);
        } catch (const std::bad_alloc &) {
            return nullptr;
        }
        return appendNode(std::move(copy));
    }

    void clear()
    {
        // Every slot goes at once with the pool: handing each back first would only fill its
        // free list (8 MB for a million trips) on the way out.
        if (m_pool)
            m_pool->forEachInUse([](Node *node) { node->~Node(); });
        m_nodes.clear();
        m_pool.reset();
    }

    ListPosition size() const { return static_cast<ListPosition>(m_nodes.size()); }
    bool isEmpty() const { return m_nodes.empty(); }
    const Node &at(ListPosition index) const { return *m_nodes[index]; }
    Node &at(ListPosition index) { return *m_nodes[index]; }

    // Puts the nodes in a new order, for sorting: `permute` gets them in list order and can
    // only swap them around, so a node is never lost or duplicated.
    template<typename Permute> void reorder(Permute &&permute)
    {
        permute(std::span<Node *>(m_nodes));
        renumberFrom(0);
    }

protected:
    Node *appendNode(Node &&node)
    {
        node.position = size();
        Node *stored = nullptr;
        try {
            stored = makeNode(std::move(node));
            m_nodes.push_back(stored);
        } catch (const std::bad_alloc &) {
            if (stored)
                destroyNode(stored);
            return nullptr;
        }
        return stored;
    }

    bool removeAt(ListPosition position, bool emptyListSucceeds)
    {
        if (m_nodes.empty())
            return emptyListSucceeds;
        if (position >= size())
            return false;
        destroyNode(m_nodes[position]);
        m_nodes.erase(m_nodes.begin() + position);
        renumberFrom(position);
        return true;
    }

private:
    Node *makeNode(Node &&value)
    {
        if (!m_pool)
            m_pool = std::make_unique<NodePool<Node>>();
        void *slot = m_pool->allocate();
        try {
            return new (slot) Node(std::move(value));
        } catch (...) {
            m_pool->release(slot);
            throw;
        }
    }
    void destroyNode(Node *node) noexcept
    {
        node->~Node();
        m_pool->release(node);
    }

    void renumberFrom(ListPosition start)
    {
        for (ListPosition i = start; i < size(); ++i)
            m_nodes[i]->position = i;
    }

    std::unique_ptr<NodePool<Node>> m_pool;
    std::vector<Node *> m_nodes; // owned: each lives in a slot of the pool
};

class RecordList final : public NodeList<MileageRecord>
{
public:
    // Appends without a second copy, for loaders that build a record only to store it.
    MileageRecord *appendMoved(MileageRecord &&record) { return appendNode(std::move(record)); }
    // An empty list reports success, a missing position failure.
    bool removeAtPosition(ListPosition position) { return removeAt(position, true); }
    // The record keeps its place in the list.
    MileageRecord *replaceAtPosition(ListPosition position, const MileageRecord &source);
};

class CategoryList final : public NodeList<CategoryEntry>
{
public:
    // Refuses a name already present, compared code unit for code unit.
    CategoryEntry *append(const CategoryEntry &source);
    bool removeAtPosition(ListPosition position) { return removeAt(position, false); }
    CategoryEntry *findByName(const QString &name);
    bool removeByName(const QString &name);
};

class RouteList final : public NodeList<BookRoute>
{
public:
    bool removeAtPosition(ListPosition position) { return removeAt(position, true); }
};

} // namespace tripvane
