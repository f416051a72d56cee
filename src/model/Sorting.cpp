#include "Sorting.h"

#include <algorithm>

namespace tripvane {

namespace {

template<typename List, typename Less> bool stableSort(List &list, std::uint32_t order, Less less)
{
    list.reorder([&](auto nodes) {
        std::stable_sort(nodes.begin(), nodes.end(),
                         [&less](const auto *a, const auto *b) { return less(*a, *b); });
        if (order == SortDescending)
            std::reverse(nodes.begin(), nodes.end());
    });
    return true;
}

// Each integer key is sorted together with its node's index in one 64-bit word, so the
// comparisons never leave the cache and need no buffer: the index keeps equal keys in their
// order, which makes the plain sort stable. The nodes are then put in that order.
template<typename List, typename KeyOf>
bool stableSortByInteger(List &list, std::uint32_t order, KeyOf keyOf)
{
    std::vector<std::uint64_t> keyed;
    try {
        keyed.reserve(list.size());
    } catch (const std::bad_alloc &) {
        return false; // unchanged
    }
    for (ListPosition i = 0; i < list.size(); ++i) {
        // Flipping the sign bit orders signed keys as unsigned words.
        const std::uint32_t key = std::uint32_t(std::int32_t(keyOf(list.at(i)))) ^ 0x80000000u;
        keyed.push_back(std::uint64_t(key) << 32 | i);
    }
    std::sort(keyed.begin(), keyed.end());
    if (order == SortDescending)
        std::reverse(keyed.begin(), keyed.end());
    list.reorder([&](auto nodes) {
        // Permute in place along the cycles of the order, so no second array of nodes is
        // needed; a visited place is marked by its own index.
        const auto from = [&](std::size_t place) { return std::uint32_t(keyed[place]); };
        for (std::uint32_t start = 0; start < keyed.size(); ++start) {
            if (from(start) == start)
                continue;
            auto *held = nodes[start];
            std::uint32_t hole = start;
            for (;;) {
                const std::uint32_t next = from(hole);
                keyed[hole] = hole;
                if (next == start) {
                    nodes[hole] = held;
                    break;
                }
                nodes[hole] = nodes[next];
                hole = next;
            }
        }
    });
    return true;
}

template<typename List, typename Key> bool sortByText(List &list, std::uint32_t order, Key key)
{
    // Every element needs its text before anything moves.
    for (ListPosition i = 0; i < list.size(); ++i) {
        if (key(list.at(i)).isNull())
            return false;
    }
    return stableSort(list, order,
                      [&key](const auto &a, const auto &b) { return textKeyLess(key(a), key(b)); });
}

} // namespace

bool textKeyLess(const QString &a, const QString &b)
{
    const auto *left = reinterpret_cast<const char16_t *>(a.utf16());
    const auto *right = reinterpret_cast<const char16_t *>(b.utf16());
    return std::lexicographical_compare(left, left + a.size(), right, right + b.size());
}

bool SortRecordsByDate(RecordList &records, std::uint32_t order)
{
    return stableSortByInteger(records, order,
                               [](const MileageRecord &r) { return std::int32_t(r.dateKey); });
}

bool SortCategoriesByName(CategoryList &categories, std::uint32_t order)
{
    return sortByText(categories, order,
                      [](const CategoryEntry &e) -> const QString & { return e.name; });
}

bool SortCategoriesByTotal(CategoryList &categories, std::uint32_t order)
{
    return stableSortByInteger(categories, order, [](const CategoryEntry &e) { return e.total; });
}

bool SortCategoriesByColumn(CategoryList &categories, int column, std::uint32_t order)
{
    return column == 1 ? SortCategoriesByTotal(categories, order)
                       : SortCategoriesByName(categories, order);
}

bool SortRoutesByStartPlace(RouteList &routes, std::uint32_t order)
{
    return sortByText(routes, order,
                      [](const BookRoute &r) -> const QString & { return r.startPlace; });
}

bool SortRoutesByDestination(RouteList &routes, std::uint32_t order)
{
    return sortByText(routes, order,
                      [](const BookRoute &r) -> const QString & { return r.destination; });
}

} // namespace tripvane
