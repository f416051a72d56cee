#pragma once

namespace tripvane {

class Shell;

// Features whose dialogs are still to come. Each command shows a page that ends at once with
// the code that leaves it without change, so the command around it behaves as designed. Each
// moves to a file of its own when its dialog lands.
void exportTrips(Shell &shell);
// From the report's Export...: the categories as listed, with their totals.
void exportReport(Shell &shell);

} // namespace tripvane
