#include "Sorting.h"

#include <algorithm>

namespace tripvane {

namespace {

template<typename List, typename Less>
bool stableSort(List &list, std::uint32_t order, Less less)
{
    auto nodes = list.takeAll();
    std::stable_sort(nodes.begin(), nodes.end(),
                     [&less](const auto &a, const auto &b) { return less(*a, *b); });
    if (order == SortDescending)
        std::reverse(nodes.begin(), nodes.end());
    list.adopt(std::move(nodes));
    return true;
}

template<typename List, typename Key>
bool sortByText(List &list, std::uint32_t order, Key key)
{
    // Every element needs its text before anything moves.
    for (ListPosition i = 0; i < list.size(); ++i) {
        if (key(list.at(i)).isNull())
            return false;
    }
    return stableSort(list, order, [&key](const auto &a, const auto &b) {
        return textKeyLess(key(a), key(b));
    });
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
    return stableSort(records, order, [](const MileageRecord &a, const MileageRecord &b) {
        return std::int32_t(a.dateKey) < std::int32_t(b.dateKey);
    });
}

bool SortCategoriesByName(CategoryList &categories, std::uint32_t order)
{
    return sortByText(categories, order, [](const CategoryEntry &e) -> const QString & {
        return e.name;
    });
}

bool SortCategoriesByTotal(CategoryList &categories, std::uint32_t order)
{
    return stableSort(categories, order, [](const CategoryEntry &a, const CategoryEntry &b) {
        return a.total < b.total;
    });
}

bool SortRoutesByStartPlace(RouteList &routes, std::uint32_t order)
{
    return sortByText(routes, order, [](const BookRoute &r) -> const QString & {
        return r.startPlace;
    });
}

bool SortRoutesByDestination(RouteList &routes, std::uint32_t order)
{
    return sortByText(routes, order, [](const BookRoute &r) -> const QString & {
        return r.destination;
    });
}

} // namespace tripvane
