#pragma once

#include "NodeList.h"

#include <QString>

#include <functional>
#include <optional>

namespace tripvane {

// The odometer status and its derived values, each held in the distance of a record so that
// its display texts come for free. The end holder's date is the status date, its memo the notes.
struct OdometerHolders
{
    MileageRecord start;
    MileageRecord end;
    MileageRecord registered;
    MileageRecord balance; // magnitude only; the sign chooses the display
};

// The four value fields of the status pane.
struct StatusTexts
{
    QString ends;
    QString starts;
    QString registered;
    QString balance;
};

// Called each time a sum leaves the 32-bit range; the caller shows message 40062.
using OverflowNotice = std::function<void()>;

StatusTexts ComputeStatusValues(OdometerHolders &holders, const RecordList &records,
                                std::uint32_t distanceView, const OverflowNotice &overflow);

// Gives every category its total over the date keys first..last (both included).
// Returns 1 when some record fell into some category, else 0.
int ComputeCategoryTotals(CategoryList &categories, const RecordList &records,
                          std::uint32_t firstDateKey, std::uint32_t lastDateKey,
                          const OverflowNotice &overflow);

// The sum of the distances of the records dated within first..last (both included), added in
// list order; nothing when a running sum leaves the 32-bit range.
std::optional<std::int32_t> SumDistancesInRange(const RecordList &records,
                                                std::uint32_t firstDateKey,
                                                std::uint32_t lastDateKey);

// That sum as the report's Total view shows it: "0.00" for none in either view, a negative sum
// after "- " ("Program error" when it has no text).
QString RangeTotalText(std::int32_t total, std::uint32_t distanceView);

} // namespace tripvane
