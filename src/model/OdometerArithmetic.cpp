#include "OdometerArithmetic.h"

#include <QHash>

#include <cmath>
#include <vector>

namespace tripvane {

namespace {

constexpr double maxSum = MaxComputedAmount;

void notify(const OverflowNotice &overflow)
{
    if (overflow)
        overflow();
}

} // namespace

StatusTexts ComputeStatusValues(OdometerHolders &holders, const RecordList &records,
                                std::uint32_t distanceView, const OverflowNotice &overflow)
{
    if (holders.start.distance > holders.end.distance) {
        holders.start.setDistance(0);
        holders.end.setDistance(0);
    }

    double registered = 0;
    bool summed = true;
    const std::uint32_t endKey = holders.end.dateKey;
    for (ListPosition i = 0; i < records.size(); ++i) {
        const MileageRecord &record = records.at(i);
        if (record.dateKey > endKey)
            continue;
        if (registered + record.distance > maxSum) {
            notify(overflow);
            holders.registered.setDistance(0);
            summed = false;
            break;
        }
        registered += record.distance;
    }
    if (summed)
        holders.registered.setDistance(static_cast<std::int32_t>(registered));

    const double balance =
        (double(holders.end.distance) - double(holders.start.distance)) - registered;
    bool balanceError = false;
    if (balance > -2147483648.0 && balance < maxSum) {
        holders.balance.setDistance(static_cast<std::int32_t>(std::fabs(balance)));
    } else {
        notify(overflow);
        holders.balance.setDistance(0);
        balanceError = true;
    }

    StatusTexts texts;
    texts.ends = holders.end.distanceTextFor(distanceView);
    texts.starts = holders.start.distanceTextFor(distanceView);
    texts.registered =
        balanceError ? QStringLiteral("Error") : holders.registered.distanceTextFor(distanceView);
    const QString &balanceText = holders.balance.distanceTextFor(distanceView);
    if (balance < 0)
        texts.balance =
            QStringLiteral("- ") + (balanceText.isNull() ? QStringLiteral("Error") : balanceText);
    else if (balance > 0)
        texts.balance = balanceText;
    else
        texts.balance = QStringLiteral("0");
    return texts;
}

std::optional<std::int32_t> SumDistancesInRange(const RecordList &records,
                                                std::uint32_t firstDateKey,
                                                std::uint32_t lastDateKey)
{
    double sum = 0;
    for (ListPosition i = 0; i < records.size(); ++i) {
        const MileageRecord &record = records.at(i);
        if (!dateKeyInRange(record.dateKey, firstDateKey, lastDateKey))
            continue;
        if (sum - record.distance < -2147483648.0 || sum + record.distance > maxSum)
            return std::nullopt;
        sum += record.distance;
    }
    return static_cast<std::int32_t>(sum);
}

QString RangeTotalText(std::int32_t total, std::uint32_t distanceView)
{
    if (total == 0)
        return QStringLiteral("0.00");
    const QString text = FormatAmount(total, distanceView);
    if (total > 0)
        return text;
    return text.isEmpty() ? QStringLiteral("Program error") : QStringLiteral("- ") + text;
}

int ComputeCategoryTotals(CategoryList &categories, const RecordList &records,
                          std::uint32_t firstDateKey, std::uint32_t lastDateKey,
                          const OverflowNotice &overflow)
{
    if (records.isEmpty() || categories.isEmpty())
        return 0;

    // One pass over the records instead of one per category; each category's running sum still
    // grows in record order, so an overflow is found exactly where a per-category walk finds it.
    struct Tally
    {
        double sum = 0;
        bool found = false;
        bool overflowed = false;
    };
    std::vector<Tally> tallies(categories.size());
    QHash<QString, ListPosition> indexOfName;
    indexOfName.reserve(categories.size());
    for (ListPosition i = 0; i < categories.size(); ++i)
        indexOfName.insert(categories.at(i).name, i);

    for (ListPosition r = 0; r < records.size(); ++r) {
        const MileageRecord &record = records.at(r);
        if (!dateKeyInRange(record.dateKey, firstDateKey, lastDateKey))
            continue;
        const auto match = indexOfName.constFind(record.category);
        if (match == indexOfName.cend())
            continue;
        Tally &tally = tallies[*match];
        if (tally.overflowed)
            continue;
        tally.sum += record.distance;
        tally.found = true;
        tally.overflowed = tally.sum > maxSum;
    }

    bool anyFound = false;
    for (ListPosition i = 0; i < categories.size(); ++i) {
        const Tally &tally = tallies[i];
        if (tally.overflowed) {
            notify(overflow);
            return 0;
        }
        categories.at(i).total = static_cast<std::int32_t>(tally.sum);
        anyFound = anyFound || tally.found;
    }
    return anyFound ? 1 : 0;
}

} // namespace tripvane
