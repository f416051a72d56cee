#pragma once

#include <QObject>

namespace tripvane {

class CommandBar;
class FramePage;
class Services;
class StatusPane;
class TripLog;
struct ProgramState;
struct StoreFailure;

// The design's message for a failed store operation: the database or file it names after the
// text, or a beep and a stop when it names none.
void tellStoreFailure(Services &services, const StoreFailure &failure);

// What every feature flow needs of the main window: the selection kept across a dialog, the
// list sorted and filled again, the status recomputed, the command states and the horn.
class Shell final : public QObject
{
    Q_OBJECT

public:
    Shell(Services &services, ProgramState &state, TripLog &log, StatusPane &pane,
          CommandBar &commands);

    Services &services() { return m_services; }
    ProgramState &state() { return m_state; }
    TripLog &log() { return m_log; }
    StatusPane &pane() { return m_pane; }

    int runDialog(FramePage &page);

    // -1 when no row is selected.
    int rememberSelection() const;
    // The focus goes back to the list, and the row (if any) is selected again.
    void restoreSelection(int row);
    void selectLastRow();

    // Sorts the trips by the main order, then fills the list; false when the sort failed.
    bool resortAndRefill();
    // After the list was filled: the commands that follow the fill, and the newest row in view.
    void afterFill();
    void recomputeStatus();
    void setNeedsTripsState(bool hasTrips);
    void setNeedsUndoState(bool hasUndo);
    void playHorn();

private:
    Services &m_services;
    ProgramState &m_state;
    TripLog &m_log;
    StatusPane &m_pane;
    CommandBar &m_commands;
};

} // namespace tripvane
