#pragma once

#include "NodeList.h"

#include <cstdint>

namespace tripvane {

// Sort orders of every list: 0 ascending, 1 descending, 2 none chosen yet (sorts ascending).
enum SortOrder : std::uint32_t { SortAscending = 0, SortDescending = 1, SortUnset = 2 };

// Each sort is stable ascending, so elements with equal keys keep their relative order, and
// descending is the exact reverse of the ascending result. Integer keys compare as signed
// 32-bit numbers, text keys by UTF-16 code units (case-sensitive). Nodes are moved, never
// copied, so none can be lost or duplicated; a sort whose key is missing from an element
// fails and leaves the list as it was.
bool SortRecordsByDate(RecordList &records, std::uint32_t order);
bool SortCategoriesByName(CategoryList &categories, std::uint32_t order);
bool SortCategoriesByTotal(CategoryList &categories, std::uint32_t order);
bool SortRoutesByStartPlace(RouteList &routes, std::uint32_t order);
bool SortRoutesByDestination(RouteList &routes, std::uint32_t order);

// How a two-column list is shown from its stored sort setting: by one column, with its arrow,
// or (when the stored column is neither header) in the stored order.
struct StoredOrder
{
    int column = 0;
    std::uint32_t order = SortAscending;
    bool sorted = true;
};
// Whether the main list shows the trips by date, in the stored order: while its Date column is
// chosen, and until any order was chosen; otherwise it keeps the order the store gives.
inline bool showsTripsByDate(std::uint32_t column, std::uint32_t order)
{
    return (column == 0 && order <= SortDescending) || order == SortUnset;
}

// The report's list by a column: 0 by name, 1 by total.
bool SortCategoriesByColumn(CategoryList &categories, int column, std::uint32_t order);

inline StoredOrder storedOrder(std::uint32_t columnSetting, std::uint32_t orderSetting)
{
    return {columnSetting == 1 && orderSetting != SortUnset ? 1 : 0,
            orderSetting == SortUnset ? SortAscending : orderSetting,
            columnSetting <= 1 || orderSetting == SortUnset};
}

// Code-unit order of two texts: the first unequal unit decides, a text that ends first sorts
// first.
bool textKeyLess(const QString &a, const QString &b);

} // namespace tripvane
