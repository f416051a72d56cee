#include "ReportFlow.h"

#include "ExportFlow.h"
#include "ProgramState.h"
#include "ReportDialog.h"
#include "Shell.h"

namespace tripvane {

void ReportFlow::showReport()
{
    const int row = m_shell.rememberSelection();
    ReportDialog dialog(m_shell.services(), m_shell.state().settings, m_shell.log(), m_range,
                        [this] { m_exports.exportReport(); });
    m_shell.runDialog(dialog);
    m_range = dialog.range();
    m_shell.restoreSelection(row);
}

} // namespace tripvane
