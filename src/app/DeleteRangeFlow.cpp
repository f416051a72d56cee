#include "DeleteRangeFlow.h"

#include "DeleteRangeDialog.h"
#include "ProgramState.h"
#include "Shell.h"
#include "TripLog.h"

namespace tripvane {

void deleteTripsByRange(Shell &shell, const DateRange &range)
{
    const int row = shell.rememberSelection();
    DeleteRangeDialog dialog(shell.services(), shell.state().settings, shell.log(), range);
    if (shell.runDialog(dialog) == DeleteRangeDialog::FindButton) {
        shell.log().deleteTripsInRange(dialog.firstDateKey(), dialog.lastDateKey());
        // The log was loaded again in store order: back to the order the user chose.
        shell.resortAndRefill();
        shell.recomputeStatus();
    }
    shell.restoreSelection(row);
}

} // namespace tripvane
