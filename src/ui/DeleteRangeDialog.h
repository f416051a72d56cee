#pragma once

#include "DeviceDialog.h"

namespace tripvane {

struct AppSettings;
class TripLog;

// "Delete by Range" (133): every trip dated within the range is deleted after one question,
// without undo.
class DeleteRangeDialog final : public DeviceDialog
{
    Q_OBJECT

public:
    enum Control {
        RangeGroup = 1220,
        StartsLabel = 1221,
        StartsPicker = 1222,
        EndsLabel = 1223,
        EndsPicker = 1224,
        FindButton = 1225,
        CancelButton = 1226,
    };

    // The pickers start on the range of the last report.
    DeleteRangeDialog(Services &services, const AppSettings &settings, TripLog &log,
                      const DateRange &range);

    void command(int id) override;
    int cancelCode() const override { return CancelButton; }

protected:
    QString helpAnchor() const override { return QStringLiteral("Mileagerecords"); }
    void paintEvent(QPaintEvent *event) override;

private:
    void findRecords();

    TripLog &m_log;
};

} // namespace tripvane
