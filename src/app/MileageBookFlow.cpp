#include "MileageBookFlow.h"

#include "AppSettings.h"
#include "HubLoop.h"
#include "MileageBookDialog.h"
#include "ProgramState.h"
#include "RouteDialog.h"
#include "Shell.h"
#include "TripLog.h"

namespace tripvane {

BookActions bookActions(TripLog &log)
{
    return {.sort = [&log](int column, std::uint32_t order) { return log.sortBook(column, order); },
            .deleteRoute = [&log](std::uint32_t position) { log.deleteRoute(position); }};
}

void MileageBookFlow::keepSort(SortChoice choice)
{
    AppSettings &settings = m_shell.state().settings;
    settings.SortMileageBook = choice.column;
    settings.SortOrderMileageBook = choice.order;
}

void MileageBookFlow::editBook()
{
    Shell &shell = m_shell;
    const int row = shell.rememberSelection();
    AppSettings &settings = shell.state().settings;
    const HubLoop loop{
        .showHub =
            [&] {
                MileageBookDialog hub(shell.services(), settings, shell.log(),
                                      bookActions(shell.log()), m_chosenRoute);
                m_chosenRoute = hub.chosenRoute();
                if (!hub.listBuilt())
                    return MileageBookDialog::ListFailedCode;
                const int code = shell.runDialog(hub);
                m_chosenRoute = hub.chosenRoute();
                keepSort(hub.sortChoice());
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
    BookPickerDialog picker(m_shell.services(), m_shell.state().settings, m_shell.log(),
                            bookActions(m_shell.log()), record);
    if (picker.listBuilt())
        m_shell.runDialog(picker);
    m_chosenRoute = picker.chosenRoute();
    keepSort(picker.sortChoice());
}

} // namespace tripvane
