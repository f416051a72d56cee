#include "ReportFlow.h"

#include "ExportFlow.h"
#include "ProgramState.h"
#include "ReportDialog.h"
#include "Shell.h"
#include "TripLog.h"

namespace tripvane {

ReportActions reportActions(TripLog &log)
{
    return {
        .computeTotals =
            [&log](std::uint32_t firstKey, std::uint32_t lastKey,
                   const std::function<void()> &overflow) {
                return log.computeCategoryTotals(firstKey, lastKey, overflow);
            },
        .sortCategories = [&log](int column,
                                 std::uint32_t order) { return log.sortCategories(column, order); },
        .exportReport = nullptr};
}

void ReportFlow::showReport()
{
    const int row = m_shell.rememberSelection();
    ReportActions actions = reportActions(m_shell.log());
    actions.exportReport = [this] { m_exports.exportReport(); };
    AppSettings &settings = m_shell.state().settings;
    ReportDialog dialog(m_shell.services(), settings, m_shell.log(), m_range, std::move(actions));
    m_shell.runDialog(dialog);
    m_range = dialog.range();
    settings.SortRapport = dialog.sortChoice().column;
    settings.SortOrderRapport = dialog.sortChoice().order;
    m_shell.restoreSelection(row);
}

} // namespace tripvane
