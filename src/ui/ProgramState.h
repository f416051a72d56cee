#pragma once

#include "AppSettings.h"
#include "OdometerArithmetic.h"

namespace tripvane {

class Databases;

// The objects that live for the whole run of the program, made before the main window and
// written back at exit.
struct ProgramState
{
    AppSettings settings;
    MileageRecord recordUnderEdit;
    RecordList records;
    RecordList undo;
    RecordList range;
    CategoryList categories;
    RouteList book;
    OdometerHolders holders;
    MileageRecord rangeStart;
    MileageRecord rangeEnd;

    SystemTime lastDate;
    SystemTime reportRangeStart;
    SystemTime reportRangeEnd;
    std::uint32_t mainSortColumn = 0;
    std::uint32_t mainSortOrder = 2;
    bool sortedOnce = false;
    bool categoriesChanged = false;
    bool recordsChanged = false; // a category change reached mileage records
    bool bookChanged = false;
    bool editMode = false;
};

} // namespace tripvane
