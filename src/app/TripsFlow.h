#pragma once

namespace tripvane {

class Shell;

// New trips, changing and deleting a trip from the list, undo, and the date order of the list.
class TripsFlow final
{
public:
    explicit TripsFlow(Shell &shell)
        : m_shell(shell)
    {}

    void newTrip();
    void editSelectedTrip();
    void undo();
    void emptyUndo();
    void dateHeaderTapped(int column);

private:
    // Shows the record dialog, and the Mileage Book picker whenever it ends with Book, until it
    // ends otherwise; returns that end code.
    int runRecordDialog(int selectedRow);

    Shell &m_shell;
};

} // namespace tripvane
