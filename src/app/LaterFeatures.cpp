#include "LaterFeatures.h"

#include "PlaceholderDialog.h"
#include "Shell.h"

namespace tripvane {

void exportTrips(Shell &shell)
{
    const int row = shell.rememberSelection();
    PlaceholderDialog dialog(shell.services(), QStringLiteral("Export Mileage records"), 1095,
                             QStringLiteral("Export"));
    shell.runDialog(dialog);
    shell.restoreSelection(row);
}

void exportReport(Shell &shell)
{
    PlaceholderDialog dialog(shell.services(), QStringLiteral("Export report"), 1115,
                             QStringLiteral("Exportrapport"));
    shell.runDialog(dialog);
}

} // namespace tripvane
