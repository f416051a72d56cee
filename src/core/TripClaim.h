#pragma once

#include "Rates.h"

#include <optional>

namespace tripvane {

class TripLog;

// What the log's trips from first to last claim under the rates, the categories in the order
// the log's list has them (the report's order once it is sorted).
std::optional<Claim> claimOf(const TripLog &log, const RateTable &rates, std::uint32_t first,
                             std::uint32_t last);

} // namespace tripvane
