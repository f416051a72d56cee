#pragma once

#include "Rates.h"
#include "Records.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QPagedPaintDevice;

namespace tripvane {

class TripLog;

// One vehicle of a printed mileage log: its trips of the range in date order, as its device
// shows dates and amounts, and what they claim.
struct PrintedVehicle
{
    QString name;
    std::uint32_t dateView = 0;
    std::uint32_t distanceView = 0;
    // The trips of the range in date order, handed out one at a time while the pages are
    // painted, so that the log is never copied.
    std::int64_t tripCount = 0;
    std::function<const MileageRecord &(std::int64_t)> tripAt;
    RateTable rates;
    Claim claim;
};

struct MileageLogContent
{
    QString title;
    QString range;           // as the heading shows it
    std::uint32_t first = 0; // the range's date keys: the chart's months
    std::uint32_t last = 0;
    QString madeOn; // local
    std::vector<PrintedVehicle> vehicles;

    // The range of date keys, and now as the date made.
    void setRange(std::uint32_t firstKey, std::uint32_t lastKey);
};

// Paints the log page after page: the trips with a running total carried from page to page,
// then per vehicle a summary and a chart of the distance per month, then with several vehicles
// the fleet's summary. Every page has the heading and "page N of M". False when the device
// would not take a page.
bool printMileageLog(QPagedPaintDevice &target, const MileageLogContent &content);
// A vehicle of the log: the device's trips from first to last and their claim; nothing when a
// sum would not fit.
std::optional<PrintedVehicle> printedVehicle(const QString &name, const TripLog &log,
                                             std::uint32_t dateView, std::uint32_t distanceView,
                                             RateTable rates, std::uint32_t first,
                                             std::uint32_t last);

} // namespace tripvane
