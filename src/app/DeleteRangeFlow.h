#pragma once

namespace tripvane {

class Shell;
struct DateRange;

// Delete by Range of Dates: every trip within two dates, after one question, without undo. The
// dialog opens with the report's range.
void deleteTripsByRange(Shell &shell, const DateRange &range);

} // namespace tripvane
