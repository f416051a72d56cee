#include "Sorting.h"

#include <algorithm>

namespace tripvane {

bool SortRecordsByDate(RecordList &records, std::uint32_t order)
{
    auto nodes = records.takeAll();
    std::stable_sort(nodes.begin(), nodes.end(), [](const auto &a, const auto &b) {
        return std::int32_t(a->dateKey) < std::int32_t(b->dateKey);
    });
    if (order == SortDescending)
        std::reverse(nodes.begin(), nodes.end());
    records.adopt(std::move(nodes));
    return true;
}

} // namespace tripvane
