#include "Rates.h"

#include "AmountText.h"
#include "DataTable.h"

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

std::int64_t hundredths(const QString &text)
{
    return std::llround(text.toDouble() * 100);
}

} // namespace

TEST(Rates, claimsWhatWasWorkedOutByHand)
{
    for (const QStringList &row : dataTable("claims.txt")) {
        ASSERT_EQ(row.size(), 5);
        SCOPED_TRACE(qPrintable(row[0] + u' ' + row[1]));
        RateTable table;
        for (const QString &item : row[0].split(u'|')) {
            const QStringList f = item.split(u',');
            Rate rate{f[0], f[1].toUInt(), *parseRate(f[2])};
            if (f.size() == 6) {
                rate.tierAfter = hundredths(f[3]);
                rate.thenPerUnit = *parseRate(f[4]);
                rate.yearStartMonth = f[5].left(2).toInt();
                rate.yearStartDay = f[5].right(2).toInt();
            }
            table.set(rate);
        }
        // The table goes through its stored form, as the device keeps it.
        const std::optional<RateTable> stored = parseRateTable(rateTableText(table));
        ASSERT_TRUE(stored && stored->rates == table.rates);
        std::vector<ClaimTrip> trips;
        for (const QString &item : row[1].split(u'|')) {
            const QStringList f = item.split(u',');
            trips.push_back({f[0].toUInt(), f[1], std::int32_t(hundredths(f[2]))});
        }
        const std::optional<Claim> claim = computeClaim(
            *stored, trips, row[2].toUInt(), row[3].toUInt(),
            {QStringLiteral("Job"), QStringLiteral("Holiday"), QStringLiteral("Visits")});
        ASSERT_TRUE(claim);
        QStringList amounts;
        for (const CategoryClaim &category : claim->categories)
            amounts.append(plainAmount(category.cents));
        amounts.append(plainAmount(claim->cents));
        EXPECT_EQ(amounts.join(u' ').toStdString(), row[4].toStdString());
    }
}

TEST(Rates, takesOnlyWhatARateAndAStoredTableCanBe)
{
    for (const char *bad : {"", "-1", "1.2345", "1000.001", "1e3", " 1", "1,5", "0x10", "."})
        EXPECT_FALSE(parseRate(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(parseRate(QStringLiteral("0.725")), 725);
    EXPECT_EQ(parseRate(QStringLiteral("1000")), MaxRate);
    for (const char *bad : {"rate\tJob\t20240230\t0.450", "rate\tJob\t20240101\t-1",
                            "rate\tJob\t0\t0.4\t100\t0.2\t02-30", "currency\ta,b", "other"})
        EXPECT_FALSE(parseRateTable(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(moneyText(plainAmount(1234), QStringLiteral("£")), QStringLiteral("£12.34"));
    EXPECT_EQ(moneyText(plainAmount(5), QStringLiteral("CHF")), QStringLiteral("CHF 0.05"));
}
