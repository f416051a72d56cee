#pragma once

#include "CursorList.h"

#include <cstdint>

namespace tripvane {

// Sort orders of every list: 0 ascending, 1 descending, 2 none chosen yet (sorts ascending).
enum SortOrder : std::uint32_t { SortAscending = 0, SortDescending = 1, SortUnset = 2 };

// Stable ascending by date key, so records of one day keep their relative order; descending
// is the exact reverse of the ascending result. Nodes are moved, never copied, so none can be
// lost or duplicated.
bool SortRecordsByDate(RecordList &records, std::uint32_t order);

} // namespace tripvane
