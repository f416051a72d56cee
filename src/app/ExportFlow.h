#pragma once

#include <QString>

namespace tripvane {

class Shell;

// The two exports, each offering again the last name that passed its rule during this run.
class ExportFlow final
{
public:
    explicit ExportFlow(Shell &shell)
        : m_shell(shell)
    {}

    // "Export Mileage records...": every trip, in the order of the main list.
    void exportTrips();
    // From the report's Export...: the categories as listed, with their totals.
    void exportReport();
    const QString &tripsName() const { return m_tripsName; }

private:
    Shell &m_shell;
    QString m_tripsName;
    QString m_reportName;
};

} // namespace tripvane
