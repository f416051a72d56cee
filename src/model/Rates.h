#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace tripvane {

// Money per distance unit in thousandths of the currency (0.725 is 725): integers throughout,
// so that a claim adds up to the cent the way it is worked out by hand.
using MilliRate = std::int64_t;
inline constexpr MilliRate MaxRate = 1000000; // 1000 a kilometre or mile: anything above is a typo

// A rate of one category, or of every category without a rate of its own (an empty category),
// from a date until the next rate of the same category. A tier pays the second rate once the
// distance within one tier year (starting on a month and day) has passed a bound.
struct Rate
{
    QString category;
    std::uint32_t from = 0; // date key
    MilliRate perUnit = 0;
    std::int64_t tierAfter = 0; // hundredths of the unit; 0: no tier
    MilliRate thenPerUnit = 0;
    int yearStartMonth = 1;
    int yearStartDay = 1;

    friend bool operator==(const Rate &, const Rate &) = default;
};

struct RateTable
{
    QString currency;
    std::vector<Rate> rates; // by category (the default first), then date

    // Adds the rate, or replaces the one of its category from the same date.
    void set(const Rate &rate);
    // The rates of the category, or its one from the date; false when there was none.
    bool remove(const QString &category, std::optional<std::uint32_t> from);
    // The rate that pays a trip of the category on the date: its own, else the default.
    const Rate *rateFor(const QString &category, std::uint32_t dateKey) const;
};

// The table as one text (the store keeps it as one value, so a change is whole or not at all).
QString rateTableText(const RateTable &table);
std::optional<RateTable> parseRateTable(const QString &text);

// "0.725": no sign, at most three decimals, at most MaxRate.
std::optional<MilliRate> parseRate(const QString &text);
QString rateText(MilliRate rate);
// "04-06": the day a rate's tier year starts.
QString yearStartText(const Rate &rate);
// A tier's distance: whole units or up to two decimals, more than 0, at most the largest amount;
// hundredths.
std::optional<std::int64_t> parseTierDistance(const QString &text);
// The day a tier year starts, "MM-DD" (02-29 too); month and day.
std::optional<std::pair<int, int>> parseYearStart(const QString &text);
// A currency is a short text of no blanks at its ends, no comma, quote or control character.
bool isCurrencyText(const QString &text);
// "£12.35", "CHF 1.234,50": an amount of money with the currency before it.
QString moneyText(const QString &amount, const QString &currency);

// One trip as the claim sees it.
struct ClaimTrip
{
    std::uint32_t dateKey = 0;
    QString category;
    std::int32_t distance = 0; // hundredths
};

struct CategoryClaim
{
    QString category;
    std::int64_t trips = 0;
    std::int64_t distance = 0; // hundredths
    std::int64_t cents = 0;
    std::vector<MilliRate> ratesPaid; // in the order first paid
    bool unrated = false;             // a trip of the range had no rate
};

struct Claim
{
    std::vector<CategoryClaim> categories; // in the order asked for
    std::int64_t trips = 0;
    std::int64_t distance = 0;
    std::int64_t cents = 0;
};

// The amounts of the trips from first to last, per category in the order of names. Trips before
// the range count toward their tier year but are not paid. Each category's amount is rounded to
// cents once (half away from zero); nothing, when a sum would not fit.
std::optional<Claim> computeClaim(const RateTable &table, std::vector<ClaimTrip> trips,
                                  std::uint32_t first, std::uint32_t last,
                                  const QStringList &names);

} // namespace tripvane
