#pragma once

#include "DeviceDialog.h"

namespace tripvane {

struct AppSettings;
class TripLog;

// "Delete by Range" (133): every trip dated within the range is deleted after one question,
// without undo. It asks; its flow deletes the range chosen.
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
    DeleteRangeDialog(Services &services, const AppSettings &settings, const TripLog &log,
                      const DateRange &range);

    void command(int id) override;
    // The date keys of the range whose deletion was confirmed (FindButton).
    std::uint32_t firstDateKey() const { return m_first; }
    std::uint32_t lastDateKey() const { return m_last; }
    int cancelCode() const override { return CancelButton; }

private:
    void findRecords();

    const TripLog &m_log;
    std::uint32_t m_first = 0;
    std::uint32_t m_last = 0;
};

} // namespace tripvane
