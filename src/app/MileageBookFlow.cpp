#include "MileageBookFlow.h"

#include "HubLoop.h"
#include "MileageBookDialog.h"
#include "ProgramState.h"
#include "RouteDialog.h"
#include "Shell.h"
#include "TripLog.h"

namespace tripvane {

void MileageBookFlow::editBook()
{
    Shell &shell = m_shell;
    const int row = shell.rememberSelection();
    AppSettings &settings = shell.state().settings;
    const HubLoop loop{
        .showHub =
            [&] {
                MileageBookDialog hub(shell.services(), settings, shell.log(), m_chosenRoute);
                m_chosenRoute = hub.chosenRoute();
                if (!hub.listBuilt())
                    return MileageBookDialog::ListFailedCode;
                const int code = shell.runDialog(hub);
                m_chosenRoute = hub.chosenRoute();
                return code;
            },
        .subDialogs =
            {
                {MileageBookDialog::NewButton,
                 [&] {
                     RouteDialog dialog(shell.services(), settings, shell.log());
                     if (shell.runDialog(dialog) == dialog.id(RouteDialog::OkButton))
                         shell.log().addRoute(dialog.chosenRoute());
                 }},
                {MileageBookDialog::EditButton,
                 [&] {
                     RouteDialog dialog(shell.services(), settings, shell.log(), m_chosenRoute);
                     if (shell.runDialog(dialog) != dialog.id(RouteDialog::OkButton))
                         return;
                     if (const auto replaced = dialog.replacedPosition())
                         shell.log().replaceRoute(*replaced, dialog.chosenRoute());
                     else
                         shell.log().addRoute(dialog.chosenRoute());
                     // The edited route moved to the end; the choice goes with it.
                     m_chosenRoute = int(shell.log().book().size()) - 1;
                 }},
            },
        // A list that could not be built would fail again: back to the main window.
        .leaveCodes = {MileageBookDialog::LeaveCode, MileageBookDialog::ListFailedCode},
    };
    runHubLoop(loop);
    shell.restoreSelection(row);
}

void MileageBookFlow::pickInto(MileageRecord &record)
{
    BookPickerDialog picker(m_shell.services(), m_shell.state().settings, m_shell.log(), record);
    if (picker.listBuilt())
        m_shell.runDialog(picker);
    m_chosenRoute = picker.chosenRoute();
}

} // namespace tripvane
