#pragma once

#include "Records.h"

namespace tripvane::gui {

inline MileageRecord trip(int year, int month, int day, std::int32_t distance,
                          const char *category = "Job", const char *memo = nullptr)
{
    MileageRecord r;
    r.setDate(makeDate(year, month, day));
    r.setDistance(distance);
    r.setCategory(QString::fromLatin1(category));
    if (memo)
        r.setMemo(QString::fromLatin1(memo));
    return r;
}

} // namespace tripvane::gui
