#pragma once

namespace tripvane {

class Shell;

// "Export Mileage records...": every trip, in the order of the main list.
void exportTrips(Shell &shell);
// From the report's Export...: the categories as listed, with their totals.
void exportReport(Shell &shell);

} // namespace tripvane
