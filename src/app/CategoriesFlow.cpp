#include "CategoriesFlow.h"

#include "CategoriesDialog.h"
#include "CategoryNameDialog.h"
#include "HubLoop.h"
#include "ProgramState.h"
#include "SettingValues.h"
#include "Shell.h"
#include "TripLog.h"

namespace tripvane {

void editCategories(Shell &shell)
{
    const int row = shell.rememberSelection();
    ProgramState &state = shell.state();
    QString selected;
    const HubLoop loop{
        .showHub =
            [&] {
                CategoriesDialog hub(shell.services(), state.settings.CatRecsApply == ThroughTrips,
                                     shell.log());
                const int code = shell.runDialog(hub);
                state.settings.CatRecsApply = hub.throughTrips() ? ThroughTrips : ListOnly;
                selected = hub.selectedName();
                return code;
            },
        .subDialogs =
            {
                {CategoriesDialog::NewButton,
                 [&] {
                     CategoryNameDialog dialog(shell.services());
                     if (shell.runDialog(dialog) == dialog.okCode())
                         shell.log().addCategory(dialog.chosenName());
                 }},
                {CategoriesDialog::DeleteButton,
                 [&] {
                     shell.log().deleteCategory(selected,
                                                state.settings.CatRecsApply == ThroughTrips);
                 }},
                {CategoriesDialog::RenameButton,
                 [&] {
                     CategoryNameDialog dialog(shell.services(), selected);
                     if (shell.runDialog(dialog) == dialog.okCode())
                         shell.log().renameCategory(selected, dialog.chosenName(),
                                                    state.settings.CatRecsApply == ThroughTrips);
                 }},
            },
        .leaveCodes = {CategoriesDialog::LeaveCode},
    };
    runHubLoop(loop);
    if (shell.log().takeTripsChangedByCategories()) {
        shell.resortAndRefill();
        shell.recomputeStatus(); // trips deleted with their category leave Registered
    }
    shell.restoreSelection(row);
}

} // namespace tripvane
