#pragma once

namespace tripvane {

class Shell;

// "Mileage Report...": the report over a range of dates, which the program keeps for the next
// report and for Delete by Range.
void showMileageReport(Shell &shell);

} // namespace tripvane
