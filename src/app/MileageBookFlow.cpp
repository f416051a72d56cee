#include "MileageBookFlow.h"

#include "HubLoop.h"
#include "MileageBookDialog.h"
#include "ProgramState.h"
#include "RouteDialog.h"
#include "Shell.h"
#include "TripLog.h"

namespace tripvane {

void editMileageBook(Shell &shell)
{
    const int row = shell.rememberSelection();
    ProgramState &state = shell.state();
    const HubLoop loop{
        .showHub =
            [&] {
                MileageBookDialog hub(shell.services(), state.settings, shell.log(),
                                      state.selectedRoute);
                if (!hub.listBuilt())
                    return MileageBookDialog::ListFailedCode;
                const int code = shell.runDialog(hub);
                return code;
            },
        .subDialogs =
            {
                {MileageBookDialog::NewButton,
                 [&] {
                     RouteDialog dialog(shell.services(), state.settings, shell.log());
                     shell.runDialog(dialog);
                 }},
                {MileageBookDialog::EditButton,
                 [&] {
                     RouteDialog dialog(shell.services(), state.settings, shell.log(),
                                        state.selectedRoute);
                     // The edited route moved to the end; the choice goes with it.
                     if (shell.runDialog(dialog) == dialog.id(RouteDialog::OkButton))
                         state.selectedRoute = int(shell.log().book().size()) - 1;
                 }},
            },
        // A list that could not be built would fail again: back to the main window.
        .leaveCodes = {MileageBookDialog::LeaveCode, MileageBookDialog::ListFailedCode},
    };
    runHubLoop(loop);
    shell.restoreSelection(row);
}

void pickRouteFromBook(Shell &shell)
{
    ProgramState &state = shell.state();
    BookPickerDialog picker(shell.services(), state.settings, shell.log(), state.selectedRoute,
                            state.recordUnderEdit);
    if (picker.listBuilt())
        shell.runDialog(picker);
}

} // namespace tripvane
