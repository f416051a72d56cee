#pragma once

#include "DeviceDialog.h"
#include "OdometerArithmetic.h"
#include "Records.h"

namespace tripvane {

struct AppSettings;

// The status change dialog (1167): the date, Starts and Ends readings and the notes. It asks;
// its flow writes the readings chosen.
class StatusDialog final : public DeviceDialog
{
    Q_OBJECT

public:
    enum Control {
        DateLabel = 1170,
        DatePicker = 1171,
        StartsLabel = 1172,
        StartsEdit = 1173,
        EndsLabel = 1174,
        EndsEdit = 1175,
        NotesLabel = 1176,
        NotesEdit = 1177,
        CancelButton = 1178,
        OkButton = 1179,
        Picture = 1169,
    };

    StatusDialog(Services &services, const AppSettings &settings, const OdometerHolders &status);

    int okCode() const override { return OkButton; }
    // The readings chosen, once the dialog ended with OK.
    const MileageRecord &chosenStart() const { return m_start; }
    const MileageRecord &chosenEnd() const { return m_end; }
    int cancelCode() const override { return CancelButton; }

private:
    void accept() override;
    // Reads a reading field into the holder; false after the refusal was shown.
    bool readReading(int field, MileageRecord &holder);

    const AppSettings &m_settings;
    MileageRecord m_start;
    MileageRecord m_end;
};

} // namespace tripvane
