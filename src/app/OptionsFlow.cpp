#include "OptionsFlow.h"

#include "AboutDialog.h"
#include "ProgramState.h"
#include "Services.h"
#include "Shell.h"
#include "ViewOptionsDialog.h"

namespace tripvane {

void changeViewOptions(Shell &shell)
{
    ViewOptionsDialog dialog(shell.services(), shell.state().settings);
    if (shell.runDialog(dialog) != ViewOptionsDialog::OkButton)
        return;
    WaitCursorGuard busy(shell.services().waitCursor());
    shell.resortAndRefill();
    shell.recomputeStatus();
}

void showAbout(Shell &shell)
{
    const int row = shell.rememberSelection();
    AboutDialog dialog(shell.services(), shell.state().settings);
    shell.runDialog(dialog);
    shell.restoreSelection(row);
}

} // namespace tripvane
