#pragma once

#include "DeviceDialog.h"

#include <functional>

namespace tripvane {

class Databases;
struct ProgramState;

// The mileage record dialog (108): a new trip, or an existing one to change or delete. It
// edits the record under edit; the caller stores it.
class RecordDialog final : public DeviceDialog
{
    Q_OBJECT

public:
    enum Control {
        DateLabel = 1020,
        DatePicker = 1021,
        DistanceLabel = 1022,
        DistanceEdit = 1023,
        CategoryLabel = 1024,
        CategoryCombo = 1025,
        StartLabel = 1026,
        StartEdit = 1027,
        DestinationLabel = 1028,
        DestinationEdit = 1029,
        MemoLabel = 1030,
        MemoEdit = 1031,
        CancelButton = 1032,
        OkButton = 1033,
        DeleteButton = 1034,
        BookButton = 1035,
        ToDestinationButton = 1036,
        ToStartButton = 1037,
    };

    // What Delete needs of the shell besides the lists: the selected row, and word of the
    // row that left the list and of the new undo state.
    struct Shell
    {
        int selectedRow = -1;
        std::function<void(int row)> rowRemoved;
        std::function<void()> undoChanged;
    };

    RecordDialog(Services &services, ProgramState &state, Databases &databases, Shell shell);

    void command(int id) override;
    int cancelCode() const override { return CancelButton; }

protected:
    QString helpAnchor() const override { return QStringLiteral("Mileagerecords"); }

private:
    void accept() override;
    void saveForBook();
    void copyPlace(int from);
    void deleteRecord();
    void readDate();
    void setPlaces();

    ProgramState &m_state;
    Databases &m_databases;
    Shell m_shell;
};

} // namespace tripvane
