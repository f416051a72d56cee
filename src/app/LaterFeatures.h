#pragma once

namespace tripvane {

class Shell;

// Features whose dialogs are still to come. Each command shows a page that ends at once with
// the code that leaves it without change, so the command around it behaves as designed. Each
// moves to a file of its own when its dialog lands.
void showMileageReport(Shell &shell);
void exportTrips(Shell &shell);
void changeViewOptions(Shell &shell);
void showAbout(Shell &shell);

} // namespace tripvane
