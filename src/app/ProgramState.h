#pragma once

#include "AppSettings.h"
#include "Sorting.h"
#include <QString>

namespace tripvane {

// What the shell keeps for the whole run besides the trip log and what each feature keeps: the
// settings (written back at exit), the device, and the order of the main list.
struct ProgramState
{
    AppSettings settings;
    QString devicePath;
    std::uint32_t mainSortColumn = 0;
    std::uint32_t mainSortOrder = SortUnset;
    bool sortedOnce = false;
};

} // namespace tripvane
