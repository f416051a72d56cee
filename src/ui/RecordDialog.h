#pragma once

#include "DeviceDialog.h"

#include "SystemTime.h"

namespace tripvane {

struct AppSettings;
struct MileageRecord;
class TripLog;

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

    // The record the dialog edits, and what it leaves behind for the shell.
    struct Edit
    {
        MileageRecord &record;
        SystemTime &lastDate; // the date of the last accepted trip, for the next new one
        bool editMode;        // an existing trip: Delete is offered
        int selectedRow;      // the trip that Delete removes; -1 for none
    };

    RecordDialog(Services &services, const AppSettings &settings, TripLog &log, Edit edit);

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

    const AppSettings &m_settings;
    TripLog &m_log;
    Edit m_edit;
};

} // namespace tripvane
