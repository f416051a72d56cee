#pragma once

#include "DeviceDialog.h"

#include "Records.h"
#include "SystemTime.h"

#include <optional>

namespace tripvane {

struct AppSettings;

// The mileage record dialog (108): a new trip, or an existing one to change or delete. It
// edits its copy of the record; the caller stores it, or deletes the trip when the dialog ends
// with Delete.
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

    // The record the dialog shows, and what it knows of the trip behind it.
    struct Edit
    {
        MileageRecord record;
        bool editMode;   // an existing trip: Delete is offered
        bool tripListed; // the trip Delete would remove is in the list
        bool undoIsFull; // a deletion would push the oldest one out of the undo list
    };

    RecordDialog(Services &services, const AppSettings &settings, const QStringList &categories,
                 Edit edit);

    void command(int id) override;
    int okCode() const override { return OkButton; }
    int cancelCode() const override { return CancelButton; }

    // The record as the dialog leaves it: read on OK and Book, cleared on Cancel.
    const MileageRecord &record() const { return m_edit.record; }
    // The date read by the last OK or Book, which the next new trip starts on; none when
    // neither was pressed.
    std::optional<SystemTime> dateTaken() const { return m_dateTaken; }

private:
    void accept() override;
    void saveForBook();
    void copyPlace(int from);
    void deleteRecord();
    void readDate();
    void setPlaces();

    const AppSettings &m_settings;
    Edit m_edit;
    std::optional<SystemTime> m_dateTaken;
};

} // namespace tripvane
