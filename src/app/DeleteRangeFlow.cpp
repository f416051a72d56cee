#include "DeleteRangeFlow.h"

#include "DeleteRangeDialog.h"
#include "ProgramState.h"
#include "Shell.h"

namespace tripvane {

void deleteTripsByRange(Shell &shell)
{
    const int row = shell.rememberSelection();
    ProgramState &state = shell.state();
    DeleteRangeDialog dialog(shell.services(), state.settings, shell.log(), state.reportRangeStart,
                             state.reportRangeEnd);
    if (shell.runDialog(dialog) == DeleteRangeDialog::FindButton) {
        // The log was loaded again in store order: back to the order the user chose.
        shell.resortAndRefill();
        shell.recomputeStatus();
    }
    shell.restoreSelection(row);
}

} // namespace tripvane
