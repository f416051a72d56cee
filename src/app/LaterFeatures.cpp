#include "LaterFeatures.h"

#include "PlaceholderDialog.h"
#include "ProgramState.h"
#include "Shell.h"

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
constexpr Page Export{"Export Mileage records", 1095, "Export"};
constexpr Page ViewOptions{"View Options", 1160, "Settings"};

enum : int {
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

} // namespace

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
