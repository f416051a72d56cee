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

int TripsFlow::runRecordDialog(MileageRecord &record, bool editMode, int selectedRow)
{
    TripLog &log = m_shell.log();
    for (;;) {
        const bool listed = selectedRow >= 0 && log.hasTripAt(ListPosition(selectedRow));
        RecordDialog dialog(m_shell.services(), m_shell.state().settings,
                            sortedNames(log.categories()),
                            {record, editMode, listed, log.undoIsFull()});
        const int code = m_shell.runDialog(dialog);
        record = dialog.record();
        if (const std::optional<SystemTime> date = dialog.dateTaken())
            m_lastDate = *date;
        if (code == RecordDialog::DeleteButton && listed)
            log.deleteTrip(ListPosition(selectedRow)); // a failure is told; the trip is gone
        if (code != RecordDialog::BookButton)
            return code;
        // The picker places the chosen route in the record; then the dialog shows again on it.
        m_book.pickInto(record);
    }
}

void TripsFlow::newTrip()
{
    const int row = m_shell.rememberSelection();
    MileageRecord record;
    record.clear();
    record.setDate(m_lastDate);
    const int code = runRecordDialog(record, false, row);
    if (code == RecordDialog::OkButton)
        m_shell.log().addTrip(record);
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
    const int row = m_shell.rememberSelection();
    if (row < 0 || !m_shell.log().hasTripAt(ListPosition(row)))
        return;
    MileageRecord record;
    record.clear();
    record.copyFrom(m_shell.log().trips().at(ListPosition(row)));
    if (runRecordDialog(record, true, row) == RecordDialog::OkButton)
        m_shell.log().replaceTrip(ListPosition(row), record);
    m_shell.recomputeStatus();
    m_shell.restoreSelection(row);
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
