// libFuzzer target: the rate table as a store keeps it, from a store that may come from anywhere.
// A table that is read writes back as a text that reads as the same table, and its claim over
// any trips never pays less than nothing.
#include "Rates.h"

#include <cstdint>
#include <cstdlib>

using namespace tripvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<RateTable> table = parseRateTable(text);
    if (!table)
        return 0;
    const std::optional<RateTable> again = parseRateTable(rateTableText(*table));
    if (!again || again->rates != table->rates || again->currency != table->currency)
        std::abort();
    std::vector<ClaimTrip> trips;
    for (std::size_t i = 0; i + 2 < size && trips.size() < 64; i += 3)
        trips.push_back({20240101u + data[i] % 28,
                         table->rates.empty()
                             ? QString()
                             : table->rates[data[i + 1] % table->rates.size()].category,
                         std::int32_t(data[i + 2]) * 1000});
    const std::optional<Claim> claim = computeClaim(*table, trips, 20240101, 20241231, {});
    if (claim && claim->cents < 0)
        std::abort();
    return 0;
}
