#include "AmountText.h"
#include "DataTable.h"
#include "Records.h"

#include <map>

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

TEST(AmountTexts, checkReadAndFormatAsTheTableSays)
{
    const std::map<QString, AmountCheck> results{{QStringLiteral("ok"), AMOUNT_OK},
                                                 {QStringLiteral("zero"), AMOUNT_ZERO},
                                                 {QStringLiteral("invalid"), AMOUNT_INVALID},
                                                 {QStringLiteral("too-large"), AMOUNT_TOO_LARGE}};
    for (const QStringList &row : dataTable("amount-texts.txt")) {
        ASSERT_GE(row.size(), 4) << row.join(u'|').toStdString();
        const std::string what = row.join(u'|').toStdString();
        if (row[0] == u"format") {
            const std::int64_t amount = row[1].toLongLong();
            EXPECT_EQ(FormatAmount(amount, 0), row[2]) << what;
            EXPECT_EQ(FormatAmount(amount, 1), row[3]) << what;
            // Only view 1 writes the dot text.
            EXPECT_EQ(FormatAmount(amount, 0xFFFFFFFFu), row[2]) << what;
            continue;
        }
        const QString &text = row[1];
        const std::uint32_t view = row[2].toUInt();
        const AmountCheck expected = results.at(row[3]);
        EXPECT_EQ(CheckAmountText(text, view), expected) << what;
        if (expected == AMOUNT_OK || (expected == AMOUNT_ZERO && !text.isEmpty())) {
            EXPECT_EQ(ReadAmountText(text, view), row.value(4).toInt()) << what;
        }
    }
}

TEST(SetAmountFromText, storesAmountAndBothTexts)
{
    MileageRecord record;
    SetAmountFromText(record, QStringLiteral("1.000,87"), 1);
    EXPECT_EQ(record.distance, 100087);
    EXPECT_EQ(record.distanceTextFor(0), QStringLiteral("1,000.87"));
    EXPECT_EQ(record.distanceTextFor(1), QStringLiteral("1.000,87"));
}

TEST(SetAmountFromText, uncheckedTextSkipsStrangersAndSaturates)
{
    BookRoute route;
    SetAmountFromText(route, QStringLiteral("12 km"), 0);
    EXPECT_EQ(route.distance, 1200);
    SetAmountFromText(route, QStringLiteral("abc"), 0);
    EXPECT_EQ(route.distance, 0);
    EXPECT_EQ(route.distanceTextFor(0), QStringLiteral("0.00"));
    // Beyond 32 bits an unchecked text must not wrap into a small or negative distance.
    SetAmountFromText(route, QStringLiteral("99999999999999"), 0);
    EXPECT_EQ(route.distance, MaxComputedAmount);
    SetAmountFromText(route, QStringLiteral("21474836.4799"), 0);
    EXPECT_EQ(route.distance, MaxComputedAmount);
}

} // namespace
