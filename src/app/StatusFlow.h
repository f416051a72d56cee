#pragma once

namespace tripvane {

class Shell;

// "Change Status": the odometer readings, then the status pane's figures.
void changeOdometerStatus(Shell &shell);

} // namespace tripvane
