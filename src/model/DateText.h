#pragma once

#include "SystemTime.h"

#include <QString>

#include <array>
#include <cstdint>

namespace tripvane {

// The four texts of one date. Index = DateTypeView: 0 dd-mm-yy, 1 dd/mm/yy, 2 mm-dd-yy,
// 3 mm/dd/yy. Texts are built once per calendar date and looked up by holders through their
// date key, so a log of 100,000 trips keeps a few thousand texts instead of 400,000.
class DateTexts
{
public:
    using Texts = std::array<QString, 4>;

    DateTexts() = default;
    // Texts of the date; null when absent (never built, or cleared).
    const QString &operator[](std::size_t index) const
    {
        static const QString absent;
        return m_texts ? (*m_texts)[index] : absent;
    }

    static DateTexts forDate(std::uint16_t year, std::uint16_t month, std::uint16_t day);

private:
    explicit DateTexts(const Texts *texts)
        : m_texts(texts)
    {}
    const Texts *m_texts = nullptr; // owned by the table of built dates, which lives on
};

struct DateFields
{
    SystemTime date;
    std::uint32_t dateKey = 0; // yyyymmdd; dates are compared by this key only
    bool hasDateTexts = false; // the texts are those of dateKey; none before a date is built
};

// Stores the date, then rebuilds texts and key. A day above 31, month above 12 or year above
// 9999 fails with the new date stored but the old texts and key kept.
bool BuildDateTexts(DateFields &holder, const SystemTime &date);

// 1, 2 and 3 select their own text; 0 and every other value text 0.
const QString &DateTextFor(const DateFields &holder, std::uint32_t dateView);

// yyyymmdd: the key dates are compared by.
inline std::uint32_t dateKeyOf(const SystemTime &date)
{
    return std::uint32_t(date.year) * 10000u + date.month * 100u + date.day;
}

// A date key as yyyy-mm-dd.
QString isoDateText(std::uint32_t dateKey);

inline bool dateKeyInRange(std::uint32_t key, std::uint32_t first, std::uint32_t last)
{
    return first <= key && key <= last;
}

} // namespace tripvane
