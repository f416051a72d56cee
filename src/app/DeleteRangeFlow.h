#pragma once

namespace tripvane {

class Shell;

// Delete by Range of Dates: every trip within two dates, after one question, without undo.
void deleteTripsByRange(Shell &shell);

} // namespace tripvane
