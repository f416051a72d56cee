#include "TripClaim.h"

#include "TripLog.h"

namespace tripvane {

std::optional<Claim> claimOf(const TripLog &log, const RateTable &rates, std::uint32_t first,
                             std::uint32_t last)
{
    std::vector<ClaimTrip> trips;
    trips.reserve(log.trips().size());
    for (ListPosition i = 0; i < log.trips().size(); ++i) {
        const MileageRecord &trip = log.trips().at(i);
        if (trip.dateKey <= last)
            trips.push_back({trip.dateKey, trip.category, trip.distance});
    }
    QStringList names;
    for (ListPosition i = 0; i < log.categories().size(); ++i)
        names.append(log.categories().at(i).name);
    return computeClaim(rates, std::move(trips), first, last, names);
}

} // namespace tripvane
