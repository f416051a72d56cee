#pragma once

namespace tripvane {

class Shell;

// Edit Categories: the hub, and New and Rename by its end code, until it is left with OK; then
// the list is sorted again when a change reached the trips.
void editCategories(Shell &shell);

} // namespace tripvane
