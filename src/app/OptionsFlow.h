#pragma once

namespace tripvane {

class Shell;

// "View Options...": after OK every list shows its dates and amounts in the new forms.
void changeViewOptions(Shell &shell);
// "About": the product and its version.
void showAbout(Shell &shell);

} // namespace tripvane
