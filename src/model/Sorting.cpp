#include "Sorting.h"

#include <algorithm>

namespace tripvane {

namespace {

template<typename List, typename Less> bool stableSort(List &list, std::uint32_t order, Less less)
{
    auto nodes = list.takeAll();
    std::stable_sort(nodes.begin(), nodes.end(),
                     [&less](const auto &a, const auto &b) { return less(*a, *b); });
    if (order == SortDescending)
        std::reverse(nodes.begin(), nodes.end());
    list.adopt(std::move(nodes));
    return true;
}

// Integer keys are sorted beside the node indices, so the comparisons never leave the cache;
// the nodes are then put in that order.
template<typename List, typename KeyOf>
bool stableSortByInteger(List &list, std::uint32_t order, KeyOf keyOf)
{
    auto nodes = list.takeAll();
    std::vector<std::pair<std::int32_t, std::uint32_t>> keyed;
    try {
        keyed.reserve(nodes.size());
    } catch (const std::bad_alloc &) {
        list.adopt(std::move(nodes)); // unchanged, and nothing lost
        return false;
    }
    for (std::uint32_t i = 0; i < nodes.size(); ++i)
        keyed.emplace_back(keyOf(*nodes[i]), i);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    if (order == SortDescending)
        std::reverse(keyed.begin(), keyed.end());
    // Permute in place along the cycles of the order, so no second array of nodes is needed.
    for (std::uint32_t start = 0; start < keyed.size(); ++start) {
        if (keyed[start].second == start)
            continue;
        auto held = std::move(nodes[start]);
        std::uint32_t hole = start;
        for (;;) {
            const std::uint32_t from = keyed[hole].second;
            keyed[hole].second = hole;
            if (from == start) {
                nodes[hole] = std::move(held);
                break;
            }
            nodes[hole] = std::move(nodes[from]);
            hole = from;
        }
    }
    list.adopt(std::move(nodes));
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
