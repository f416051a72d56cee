#include "ReportFlow.h"

#include "ExportFlow.h"
#include "ProgramState.h"
#include "ReportDialog.h"
#include "Shell.h"

namespace tripvane {

void showMileageReport(Shell &shell)
{
    const int row = shell.rememberSelection();
    ProgramState &state = shell.state();
    ReportDialog dialog(shell.services(), state.settings, shell.log(), state.reportRangeStart,
                        state.reportRangeEnd, [&shell] { exportReport(shell); });
    shell.runDialog(dialog);
    shell.restoreSelection(row);
}

} // namespace tripvane
