#pragma once

namespace tripvane {

class Shell;

// "Mileage Book...": the book with New, Edit and Delete until the user leaves it.
void editMileageBook(Shell &shell);
// From the record dialog's Book: a route fills the record under edit.
void pickRouteFromBook(Shell &shell);

} // namespace tripvane
