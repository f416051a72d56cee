#include "Shell.h"

#include "CommandBar.h"
#include "Databases.h"
#include "ListView.h"
#include "ProgramState.h"
#include "Services.h"
#include "Sorting.h"
#include "StatusPane.h"
#include "StringTable.h"
#include "TripLog.h"

#include <QFile>

namespace tripvane {

namespace {

const QString HornSound = QStringLiteral(":/sounds/IDW_CAR_HORN.wav");

int messageOf(StoreFailure::Kind kind)
{
    switch (kind) {
    case StoreFailure::Kind::Open:
        return IDS_BUILD_ERROR;
    case StoreFailure::Kind::Read:
        return IDS_STATUS_PROBLEM;
    case StoreFailure::Kind::Add:
        return IDS_ADD_ERROR;
    case StoreFailure::Kind::Edit:
        return IDS_EDIT_ERROR;
    case StoreFailure::Kind::Delete:
        return IDS_DELETE_ERROR;
    }
    return IDS_BUILD_ERROR;
}

} // namespace

void tellStoreFailure(Services &services, const StoreFailure &failure)
{
    const int message = messageOf(failure.kind);
    if (failure.name.isEmpty()) {
        services.beeper().beep();
        services.message(message, MessageIcon::Stop);
    } else {
        services.message(loadString(message) + u' ' + failure.name, MessageIcon::Exclamation);
    }
}

Shell::Shell(Services &services, ProgramState &state, TripLog &log, StatusPane &pane,
             CommandBar &commands)
    : m_services(services)
    , m_state(state)
    , m_log(log)
    , m_pane(pane)
    , m_commands(commands)
{
    connect(&log, &TripLog::tripAppended, this, [this] { setNeedsTripsState(true); });
    connect(&log, &TripLog::tripRemoved, this,
            [this] { setNeedsTripsState(!m_log.trips().isEmpty()); });
    connect(&log, &TripLog::undoChanged, this, &Shell::setNeedsUndoState);
}

int Shell::runDialog(FramePage &page)
{
    return m_services.dialogRunner().run(page);
}

int Shell::rememberSelection() const
{
    return m_pane.listView().selectedRow();
}

void Shell::restoreSelection(int row)
{
    m_pane.listView().setFocus();
    if (row != -1)
        m_pane.listView().selectRow(row);
}

void Shell::selectLastRow()
{
    m_pane.listView().setFocus();
    m_pane.listView().selectRow(m_pane.listModel().rowCount() - 1);
}

bool Shell::resortAndRefill()
{
    WaitCursorGuard busy(m_services.waitCursor());
    if (!m_log.sortTripsByDate(m_state.mainSortOrder))
        return false;
    afterFill();
    return true;
}

void Shell::afterFill()
{
    const bool hasTrips = !m_log.trips().isEmpty();
    m_commands.setEnabled(CommandBar::EnabledByFill, hasTrips);
    if (!hasTrips)
        m_commands.setEnabled(CommandBar::NeedsTrips, false);
    if (hasTrips && m_state.mainSortOrder != SortDescending)
        m_pane.listView().scrollToBottom();
}

void Shell::recomputeStatus()
{
    m_pane.recomputeStatus();
}

void Shell::setNeedsTripsState(bool hasTrips)
{
    m_commands.setEnabled(CommandBar::NeedsTrips, hasTrips);
}

void Shell::setNeedsUndoState(bool hasUndo)
{
    m_commands.setEnabled(CommandBar::NeedsUndo, hasUndo);
}

void Shell::playHorn()
{
    // Without the sound in the resources nothing is played.
    if (QFile::exists(HornSound))
        m_services.sound().play(HornSound);
}

} // namespace tripvane
