#include "ExportFlow.h"

#include "CsvExport.h"
#include "DeviceRoot.h"
#include "ExportDialog.h"
#include "ProgramState.h"
#include "Shell.h"
#include "TripLog.h"

namespace tripvane {

void exportTrips(Shell &shell)
{
    const int row = shell.rememberSelection();
    ProgramState &state = shell.state();
    ExportDialog dialog(
        shell.services(), state.settings, ExportDialog::Kind::Trips, state.tripsExportName,
        [&shell](const QString &name, const ExportOptions &options) {
            return ExportMileageRecords(shell.services(), DeviceRoot(shell.state().devicePath),
                                        shell.log().trips(), name, options);
        });
    shell.runDialog(dialog);
    shell.restoreSelection(row);
}

void exportReport(Shell &shell)
{
    ProgramState &state = shell.state();
    ExportDialog dialog(
        shell.services(), state.settings, ExportDialog::Kind::Report, state.reportExportName,
        [&shell](const QString &name, const ExportOptions &options) {
            return ExportReport(shell.services(), DeviceRoot(shell.state().devicePath),
                                shell.log().categories(), name, options);
        });
    shell.runDialog(dialog);
}

} // namespace tripvane
