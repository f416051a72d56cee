#include "StatusFlow.h"

#include "ProgramState.h"
#include "Shell.h"
#include "StatusDialog.h"

namespace tripvane {

void changeOdometerStatus(Shell &shell)
{
    StatusDialog dialog(shell.services(), shell.state().settings, shell.log());
    if (shell.runDialog(dialog) != StatusDialog::CancelButton)
        shell.recomputeStatus();
}

} // namespace tripvane
