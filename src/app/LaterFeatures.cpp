#include "LaterFeatures.h"

#include "HubLoop.h"
#include "PlaceholderDialog.h"
#include "ProgramState.h"
#include "Shell.h"
#include "TripLog.h"

namespace tripvane {

namespace {

struct Page
{
    const char *caption;
    int endCode;
    const char *helpAnchor;
};

constexpr Page About{"About", 1, "Navigating"};
constexpr Page Report{"Mileage Report", 1, "Workwithrapport"};
constexpr Page MileageBook{"Mileage Book", 1, "Rittenboek"};
constexpr Page Export{"Export Mileage records", 1095, "Export"};
constexpr Page ViewOptions{"View Options", 1160, "Settings"};
constexpr Page BookPicker{"Mileage Book", 1211, "Rittenboek"};

enum : int {
    BookNew = 1186,
    BookEdit = 1187,
    BookDelete = 1185,
    ViewOptionsOk = 1161,
};

int show(Shell &shell, const Page &page)
{
    PlaceholderDialog dialog(shell.services(), QString::fromLatin1(page.caption), page.endCode,
                             QString::fromLatin1(page.helpAnchor));
    return shell.runDialog(dialog);
}

void showKeepingSelection(Shell &shell, const Page &page)
{
    const int row = shell.rememberSelection();
    show(shell, page);
    shell.restoreSelection(row);
}

// The hub ends at once with its leave code; the list changed if it ever ended otherwise.
bool runHub(Shell &shell, const Page &hub, std::vector<int> changeCodes)
{
    return runHubLoop({
        .showHub = [&] { return show(shell, hub); },
        .subDialogs = {},
        .changeCodes = std::move(changeCodes),
        .leaveCode = hub.endCode,
    });
}

} // namespace

void editMileageBook(Shell &shell)
{
    const int row = shell.rememberSelection();
    if (runHub(shell, MileageBook, {BookNew, BookEdit, BookDelete}))
        shell.state().bookChanged = true;
    shell.restoreSelection(row);
}

void pickRouteFromBook(Shell &shell)
{
    show(shell, BookPicker);
}

void showMileageReport(Shell &shell)
{
    showKeepingSelection(shell, Report);
}

void exportTrips(Shell &shell)
{
    showKeepingSelection(shell, Export);
}

void changeViewOptions(Shell &shell)
{
    const int code = show(shell, ViewOptions);
    if (code != ViewOptionsOk && code != TitleBarOkCommand)
        return;
    shell.resortAndRefill();
    shell.recomputeStatus();
}

void showAbout(Shell &shell)
{
    showKeepingSelection(shell, About);
}

} // namespace tripvane
