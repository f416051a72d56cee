#include "TripsFlow.h"

#include "Images.h"
#include "ListView.h"
#include "MileageBookFlow.h"
#include "ProgramState.h"
#include "RecordDialog.h"
#include "Services.h"
#include "Shell.h"
#include "Sorting.h"
#include "StatusPane.h"
#include "TripLog.h"

namespace tripvane {

int TripsFlow::runRecordDialog(int selectedRow)
{
    ProgramState &state = m_shell.state();
    for (;;) {
        RecordDialog dialog(m_shell.services(), state.settings, m_shell.log(),
                            {state.recordUnderEdit, state.lastDate, state.editMode, selectedRow});
        const int code = m_shell.runDialog(dialog);
        if (code != RecordDialog::BookButton)
            return code;
        // The picker places the chosen route in the record under edit; then the dialog shows
        // again on the same record.
        pickRouteFromBook(m_shell);
    }
}

void TripsFlow::newTrip()
{
    ProgramState &state = m_shell.state();
    const int row = m_shell.rememberSelection();
    state.recordUnderEdit.clear();
    state.recordUnderEdit.setDate(state.lastDate);
    state.editMode = false;
    const int code = runRecordDialog(row);
    if (code == RecordDialog::OkButton)
        m_shell.log().addTrip(state.recordUnderEdit);
    m_shell.recomputeStatus();
    if (code == RecordDialog::OkButton) {
        m_shell.selectLastRow();
        m_shell.playHorn();
    } else if (code == RecordDialog::CancelButton) {
        m_shell.restoreSelection(row);
    }
}

void TripsFlow::editSelectedTrip()
{
    ProgramState &state = m_shell.state();
    const int row = m_shell.rememberSelection();
    state.recordUnderEdit.clear();
    if (row < 0 || !m_shell.log().hasTripAt(ListPosition(row)))
        return;
    state.recordUnderEdit.copyFrom(m_shell.log().trips().at(ListPosition(row)));
    state.editMode = true;
    if (runRecordDialog(row) == RecordDialog::OkButton)
        m_shell.log().replaceTrip(ListPosition(row), state.recordUnderEdit);
    m_shell.recomputeStatus();
    m_shell.restoreSelection(row);
    state.editMode = false;
}

void TripsFlow::undo()
{
    if (m_shell.log().undoList().isEmpty())
        return;
    if (m_shell.log().undoLastDeletion())
        m_shell.selectLastRow();
    m_shell.recomputeStatus();
}

void TripsFlow::emptyUndo()
{
    m_shell.log().emptyUndo();
}

void TripsFlow::dateHeaderTapped(int column)
{
    if (column != 0)
        return;
    ProgramState &state = m_shell.state();
    ListModel &model = m_shell.pane().listModel();
    int image = model.headerImage(0);
    if (image == ImageAscending) {
        image = ImageDescending;
        state.mainSortOrder = SortDescending;
    } else if (image == ImageDescending) {
        image = ImageAscending;
        state.mainSortOrder = SortAscending;
    } else if (state.sortedOnce) {
        image = int(state.mainSortOrder);
        state.mainSortColumn = 0;
    } else {
        image = ImageAscending;
        state.mainSortOrder = SortAscending;
        state.mainSortColumn = 0;
    }
    model.setHeaderImage(0, image);
    if (m_shell.log().trips().isEmpty())
        return;
    if (m_shell.resortAndRefill())
        state.sortedOnce = true;
}

} // namespace tripvane
