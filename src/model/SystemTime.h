#pragma once

#include <cstdint>

namespace tripvane {

// The calendar record of the handheld platform. Only year, month and day carry meaning;
// the other fields are kept so that a stored date round-trips whole.
struct SystemTime
{
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t dayOfWeek = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;

    friend bool operator==(const SystemTime &, const SystemTime &) = default;
};

// The two dates of a report or a deletion, both included.
struct DateRange
{
    SystemTime start;
    SystemTime end;
};

inline SystemTime makeDate(int year, int month, int day)
{
    SystemTime date;
    date.year = static_cast<std::uint16_t>(year);
    date.month = static_cast<std::uint16_t>(month);
    date.day = static_cast<std::uint16_t>(day);
    return date;
}

} // namespace tripvane
