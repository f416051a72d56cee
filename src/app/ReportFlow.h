#pragma once

#include "SystemTime.h"

namespace tripvane {

class ExportFlow;
class Shell;
class TripLog;
struct ReportActions;

// What the report dialog has the log do: totals over a range, the list's sort.
ReportActions reportActions(TripLog &log);

// "Mileage Report...": the report over a range of dates. The range starts as today's date and
// is replaced by each range a report is made for; Delete by Range opens with it too.
class ReportFlow final
{
public:
    ReportFlow(Shell &shell, ExportFlow &exports, const SystemTime &today)
        : m_shell(shell)
        , m_exports(exports)
        , m_range{today, today}
    {}

    void showReport();
    const DateRange &range() const { return m_range; }

private:
    Shell &m_shell;
    ExportFlow &m_exports;
    DateRange m_range;
};

} // namespace tripvane
