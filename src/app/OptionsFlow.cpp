#include "OptionsFlow.h"

#include "AboutDialog.h"
#include "ProgramState.h"
#include "Services.h"
#include "Shell.h"
#include "ViewOptionsDialog.h"

namespace tripvane {

void changeViewOptions(Shell &shell)
{
    AppSettings &settings = shell.state().settings;
    ViewOptionsDialog dialog(shell.services(), {settings.DateTypeView, settings.DistanceTypeView});
    if (shell.runDialog(dialog) != ViewOptionsDialog::OkButton)
        return;
    settings.DateTypeView = dialog.chosen().dateView;
    settings.DistanceTypeView = dialog.chosen().distanceView;
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
