#pragma once

namespace tripvane {

class Shell;
class TripLog;
struct BookActions;
struct MileageRecord;
struct SortChoice;

// What the book's dialogs have the log do: sort the book, delete a route.
BookActions bookActions(TripLog &log);

// "Mileage Book...", and the picker behind the record dialog's Book. Both share the route
// chosen last, which the book's Edit and Delete act on.
class MileageBookFlow final
{
public:
    explicit MileageBookFlow(Shell &shell)
        : m_shell(shell)
    {}

    // The book with New, Edit and Delete until the user leaves it.
    void editBook();
    // A tapped route fills in the record's places and distance.
    void pickInto(MileageRecord &record);
    int chosenRoute() const { return m_chosenRoute; }

private:
    void keepSort(SortChoice choice);

    Shell &m_shell;
    int m_chosenRoute = -1;
};

} // namespace tripvane
