#pragma once

#include "AppSettings.h"
#include "Records.h"
#include "Sorting.h"

namespace tripvane {

// What the shell keeps for the whole run besides the trip log: the settings (written back at
// exit), the record the record dialog edits, and the remembered dates and list states.
struct ProgramState
{
    AppSettings settings;
    MileageRecord recordUnderEdit;

    QString devicePath;
    // The names last accepted by the two export dialogs, offered again during this run.
    QString tripsExportName;
    QString reportExportName;
    SystemTime lastDate;
    SystemTime reportRangeStart;
    SystemTime reportRangeEnd;
    int selectedRoute = -1; // the route chosen last in the book, for its Edit and Delete
    std::uint32_t mainSortColumn = 0;
    std::uint32_t mainSortOrder = SortUnset;
    bool sortedOnce = false;
    bool editMode = false;
};

} // namespace tripvane
