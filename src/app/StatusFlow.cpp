#include "StatusFlow.h"

#include "ProgramState.h"
#include "Shell.h"
#include "StatusDialog.h"
#include "TripLog.h"

namespace tripvane {

void changeOdometerStatus(Shell &shell)
{
    StatusDialog dialog(shell.services(), shell.state().settings, shell.log().status());
    if (shell.runDialog(dialog) == StatusDialog::CancelButton)
        return;
    // A failure shows its own message; the status is shown as it now is all the same.
    shell.log().writeStatus(dialog.chosenStart(), dialog.chosenEnd());
    shell.recomputeStatus();
}

} // namespace tripvane
