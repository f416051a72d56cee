#pragma once

#include "SystemTime.h"

namespace tripvane {

class MileageBookFlow;
class Shell;
struct MileageRecord;

// New trips, changing and deleting a trip from the list, undo, and the date order of the list.
// A new trip starts on the date of the trip last accepted, today's at first.
class TripsFlow final
{
public:
    TripsFlow(Shell &shell, MileageBookFlow &book, const SystemTime &today)
        : m_shell(shell)
        , m_book(book)
        , m_lastDate(today)
    {}

    void newTrip();
    void editSelectedTrip();
    void undo();
    void emptyUndo();
    void dateHeaderTapped(int column);
    const SystemTime &lastDate() const { return m_lastDate; }

private:
    // Shows the record dialog, and the Mileage Book picker whenever it ends with Book, until it
    // ends otherwise; returns that end code. A Delete of a listed trip deletes it.
    int runRecordDialog(MileageRecord &record, bool editMode, int selectedRow);

    Shell &m_shell;
    MileageBookFlow &m_book;
    SystemTime m_lastDate;
};

} // namespace tripvane
