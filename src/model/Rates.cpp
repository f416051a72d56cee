#include "Rates.h"

#include "AmountText.h"
#include "TextRules.h"

#include <QDate>
#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace tripvane {

namespace {

bool add(std::int64_t &sum, std::int64_t value)
{
    return !__builtin_add_overflow(sum, value, &sum);
}

std::optional<std::int64_t> times(std::int64_t a, std::int64_t b)
{
    std::int64_t product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        return std::nullopt;
    return product;
}

bool isDateKey(std::uint32_t key)
{
    return QDate(int(key / 10000), int(key / 100 % 100), int(key % 100)).isValid();
}

// The tier year a date falls in: the calendar year in which it began.
int tierYear(std::uint32_t dateKey, const Rate &rate)
{
    const int year = int(dateKey / 10000);
    const int monthDay = int(dateKey % 10000);
    return monthDay >= rate.yearStartMonth * 100 + rate.yearStartDay ? year : year - 1;
}

bool rateOrder(const Rate &a, const Rate &b)
{
    return std::tie(a.category, a.from) < std::tie(b.category, b.from);
}

} // namespace

void RateTable::set(const Rate &rate)
{
    const auto at = std::ranges::lower_bound(rates, rate, rateOrder);
    if (at != rates.end() && at->category == rate.category && at->from == rate.from)
        *at = rate;
    else
        rates.insert(at, rate);
}

bool RateTable::remove(const QString &category, std::optional<std::uint32_t> from)
{
    return std::erase_if(rates, [&](const Rate &rate) {
               return rate.category == category && (!from || rate.from == *from);
           }) > 0;
}

const Rate *RateTable::rateFor(const QString &category, std::uint32_t dateKey) const
{
    const auto latest = [&](const QString &name) -> const Rate * {
        const Rate *found = nullptr;
        for (const Rate &rate : rates) {
            if (rate.category == name && rate.from <= dateKey)
                found = &rate; // in date order: the last one wins
        }
        return found;
    };
    const Rate *own = latest(category);
    return own ? own : latest(QString());
}

QString rateTableText(const RateTable &table)
{
    // Joined, not put through arg(): a name holding "%1" must stay as it is.
    QString text = QStringLiteral("currency\t") + table.currency + u'\n';
    for (const Rate &rate : table.rates) {
        QStringList fields{QStringLiteral("rate"), rate.category, QString::number(rate.from),
                           rateText(rate.perUnit)};
        if (rate.tierAfter > 0)
            fields << QString::number(rate.tierAfter) << rateText(rate.thenPerUnit)
                   << yearStartText(rate);
        text += fields.join(u'\t') + u'\n';
    }
    return text;
}

std::optional<RateTable> parseRateTable(const QString &text)
{
    RateTable table;
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        if (f.size() == 2 && f[0] == QLatin1String("currency") &&
            (f[1].isEmpty() || isCurrencyText(f[1]))) {
            table.currency = f[1];
            continue;
        }
        if (f[0] != QLatin1String("rate") || (f.size() != 4 && f.size() != 7))
            return std::nullopt;
        Rate rate;
        rate.category = f[1];
        // A store from elsewhere may hold anything: only a name a category can have.
        const CheckedText name = checkName(rate.category, FieldLimit::CategoryName);
        if (!rate.category.isEmpty() &&
            (name.problem != TextProblem::None || name.text != rate.category))
            return std::nullopt;
        bool dateOk = false;
        rate.from = f[2].toUInt(&dateOk);
        const std::optional<MilliRate> perUnit = parseRate(f[3]);
        if (!dateOk || (rate.from != 0 && !isDateKey(rate.from)) || !perUnit)
            return std::nullopt;
        rate.perUnit = *perUnit;
        if (f.size() == 7) {
            bool afterOk = false;
            rate.tierAfter = f[4].toLongLong(&afterOk);
            const std::optional<MilliRate> then = parseRate(f[5]);
            const std::optional<std::pair<int, int>> start = parseYearStart(f[6]);
            if (!afterOk || rate.tierAfter <= 0 || rate.tierAfter > MaxComputedAmount || !then ||
                !start)
                return std::nullopt;
            rate.thenPerUnit = *then;
            std::tie(rate.yearStartMonth, rate.yearStartDay) = *start;
        }
        table.set(rate);
    }
    return table;
}

std::optional<MilliRate> parseRate(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,7})(?:\\.([0-9]{1,3}))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const MilliRate rate = match.captured(1).toLongLong() * 1000 +
                           match.captured(2).leftJustified(3, u'0').toLongLong();
    return rate <= MaxRate ? std::optional(rate) : std::nullopt;
}

std::optional<std::int64_t> parseTierDistance(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,8})(?:\\.([0-9]{1,2}))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const std::int64_t hundredths =
        match.captured(1).toLongLong() * 100 + match.captured(2).leftJustified(2, u'0').toInt();
    if (hundredths <= 0 || hundredths > MaxComputedAmount)
        return std::nullopt;
    return hundredths;
}

std::optional<std::pair<int, int>> parseYearStart(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{2})-([0-9]{2})$"));
    const QRegularExpressionMatch match = form.match(text);
    const int month = match.captured(1).toInt();
    const int day = match.captured(2).toInt();
    // A leap year: 02-29 is a day some years have.
    if (!match.hasMatch() || !QDate(2000, month, day).isValid())
        return std::nullopt;
    return std::pair(month, day);
}

QString yearStartText(const Rate &rate)
{
    return QStringLiteral("%1-%2")
        .arg(rate.yearStartMonth, 2, 10, QLatin1Char('0'))
        .arg(rate.yearStartDay, 2, 10, QLatin1Char('0'));
}

QString rateText(MilliRate rate)
{
    return QStringLiteral("%1.%2").arg(rate / 1000).arg(rate % 1000, 3, 10, QLatin1Char('0'));
}

bool isCurrencyText(const QString &text)
{
    constexpr qsizetype MaxCurrency = 8;
    if (text.isEmpty() || text.size() > MaxCurrency || text.trimmed() != text)
        return false;
    return std::ranges::none_of(text, [](QChar c) {
        return c.category() == QChar::Other_Control || c == u',' || c == u'"' || c == u'\t';
    });
}

QString moneyText(const QString &amount, const QString &currency)
{
    if (currency.isEmpty())
        return amount;
    return currency + (currency.size() > 1 ? QStringLiteral(" ") : QString()) + amount;
}

std::optional<Claim> computeClaim(const RateTable &table, std::vector<ClaimTrip> trips,
                                  std::uint32_t first, std::uint32_t last, const QStringList &names)
{
    std::ranges::stable_sort(trips, {}, &ClaimTrip::dateKey);
    Claim claim;
    std::map<QString, std::size_t> indexOf;
    const auto claimOf = [&](const QString &name) -> CategoryClaim & {
        const auto [at, added] = indexOf.emplace(name, claim.categories.size());
        if (added) {
            claim.categories.emplace_back();
            claim.categories.back().category = name;
        }
        return claim.categories[at->second];
    };
    for (const QString &name : names)
        claimOf(name);
    // Per category, the exact amount in hundred-thousandths (hundredths of a unit times
    // thousandths of the currency); per rate's category and tier year, the distance so far.
    std::vector<std::int64_t> exact(claim.categories.size());
    std::map<std::pair<QString, int>, std::int64_t> tierDistance;
    for (const ClaimTrip &trip : trips) {
        if (trip.dateKey > last)
            break;
        const bool inRange = trip.dateKey >= first;
        const Rate *rate = table.rateFor(trip.category, trip.dateKey);
        std::int64_t amount = 0;
        if (rate) {
            std::int64_t &before = tierDistance[{rate->category, tierYear(trip.dateKey, *rate)}];
            std::int64_t atFirstRate = trip.distance;
            if (rate->tierAfter > 0)
                atFirstRate = std::clamp<std::int64_t>(rate->tierAfter - before, 0, trip.distance);
            const auto low = times(atFirstRate, rate->perUnit);
            const auto high = times(trip.distance - atFirstRate, rate->thenPerUnit);
            if (!low || !high || !add(amount, *low) || !add(amount, *high) ||
                !add(before, trip.distance))
                return std::nullopt;
            if (inRange) {
                CategoryClaim &paid = claimOf(trip.category);
                const auto note = [&paid](MilliRate r) {
                    if (std::ranges::find(paid.ratesPaid, r) == paid.ratesPaid.end())
                        paid.ratesPaid.push_back(r);
                };
                if (atFirstRate > 0)
                    note(rate->perUnit);
                if (trip.distance > atFirstRate)
                    note(rate->thenPerUnit);
            }
        }
        if (!inRange)
            continue;
        CategoryClaim &category = claimOf(trip.category);
        exact.resize(claim.categories.size());
        const std::size_t index = indexOf[trip.category];
        category.unrated = category.unrated || !rate;
        ++category.trips;
        if (!add(category.distance, trip.distance) || !add(exact[index], amount))
            return std::nullopt;
    }
    for (std::size_t i = 0; i < claim.categories.size(); ++i) {
        CategoryClaim &category = claim.categories[i];
        std::int64_t halfUp = exact[i]; // never negative: half away from zero
        if (!add(halfUp, 500))
            return std::nullopt;
        category.cents = halfUp / 1000;
        claim.trips += category.trips;
        if (!add(claim.distance, category.distance) || !add(claim.cents, category.cents))
            return std::nullopt;
    }
    return claim;
}

} // namespace tripvane
