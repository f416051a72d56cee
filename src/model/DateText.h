#pragma once

#include "SystemTime.h"

#include <QString>

#include <array>
#include <cstdint>

namespace tripvane {

// Index = DateTypeView: 0 dd-mm-yy, 1 dd/mm/yy, 2 mm-dd-yy, 3 mm/dd/yy.
using DateTexts = std::array<QString, 4>;

struct DateFields
{
    SystemTime date;
    DateTexts dateText;
    std::uint32_t dateKey = 0; // yyyymmdd; dates are compared by this key only
};

// Stores the date, then rebuilds texts and key. A day above 31, month above 12 or year above
// 9999 fails with the new date stored but the old texts and key kept.
bool BuildDateTexts(DateFields &holder, const SystemTime &date);

// 1, 2 and 3 select their own text; 0 and every other value text 0.
const QString &DateTextFor(const DateFields &holder, std::uint32_t dateView);

inline bool dateKeyInRange(std::uint32_t key, std::uint32_t first, std::uint32_t last)
{
    return first <= key && key <= last;
}

} // namespace tripvane
