#pragma once

#include "Databases.h"
#include "DeviceRoot.h"
#include "NodeList.h"
#include "Testkit.h"

#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <unordered_set>

namespace tripvane::bench {

// A log like a driver's: trips over ten years, a handful of categories, real-looking places,
// and 1 to 500 km a trip. From about 86,000 trips on those would add up past the largest amount
// the program can sum (21,474,836.47) and the start would stop at the overflow notice, so the
// longest trip is made shorter to keep the total within: 408 km at 100,000 trips, 41 km at
// 1,000,000.
inline MileageRecord generatedTrip(std::mt19937 &random, int index, int count)
{
    const int longest =
        int(std::min<std::int64_t>(50000, std::int64_t(MaxComputedAmount) * 19 / 10 / count));
    static const char *categories[] = {"Holiday", "Job", "Shopping", "Family", "Sport"};
    static const char *places[] = {"Home", "Office", "Depot", "Airport", "Station", "Client"};
    std::uniform_int_distribution<int> day(1, 28), month(1, 12), year(2000, 2010);
    std::uniform_int_distribution<int> distance(100, longest), pick(0, 5);
    MileageRecord trip;
    // Keys as the clock makes them: day, hour, minute and second run together.
    std::uniform_int_distribution<int> keyDay(1, 31), hour(0, 23), minute(0, 59);
    trip.key = QStringLiteral("%1%2%3%4")
                   .arg(keyDay(random))
                   .arg(hour(random))
                   .arg(minute(random))
                   .arg(minute(random))
                   .toInt();
    trip.setDate(makeDate(year(random), month(random), day(random)));
    trip.setDistance(distance(random));
    trip.setCategory(QString::fromLatin1(categories[pick(random) % 5]));
    trip.setStartPlace(QString::fromLatin1(places[pick(random)]));
    trip.setDestination(QString::fromLatin1(places[pick(random)]));
    trip.setMemo(index % 3 ? QStringLiteral("visit %1").arg(index) : QString());
    return trip;
}

// Adds generated trips to a loaded record list, each with a key of its own.
inline void appendGeneratedTrips(RecordList &records, int count)
{
    std::mt19937 random(42);
    std::unordered_set<std::int32_t> used;
    for (int i = 0; i < count; ++i) {
        MileageRecord trip = generatedTrip(random, i, count);
        while (!used.insert(trip.key).second)
            ++trip.key; // as the program finds a free key when two trips share a second
        records.append(trip);
    }
}

// Writes a generated log to the test program's device as an exit would; adjust may change the
// session (trips, categories) first.
inline void seedGeneratedLog(TestApp &app, int count,
                             const std::function<void(DeviceSession &)> &adjust = {})
{
    const DeviceRoot device(app.devicePath());
    device.prepare();
    DeviceSession session(device.storePath());
    appendGeneratedTrips(session.records, count);
    if (adjust)
        adjust(session);
    session.databases->rebuildMileage(session.records);
}

// Best of several runs, in milliseconds.
template<typename Work> double bestOf(int runs, Work work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

inline void report(const char *what, double ours, double reference, const char *referenceName)
{
    std::printf("%-34s %9.1f ms   %-28s %9.1f ms   ratio %.2f\n", what, ours, referenceName,
                reference, ours / reference);
}

} // namespace tripvane::bench
