#include "AmountText.h"
#include "Records.h"

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

struct Case
{
    const char16_t *text;
    std::uint32_t view;
    AmountCheck check;
    std::int32_t amount; // checked only for AMOUNT_OK and AMOUNT_ZERO
};

// Names the case in the test list by its text and view.
void PrintTo(const Case &c, std::ostream *out)
{
    *out << "[" << QString::fromUtf16(c.text).toStdString() << "] view " << c.view;
}

class CheckAndRead : public ::testing::TestWithParam<Case>
{
};

TEST_P(CheckAndRead, givesCodeAndAmount)
{
    const Case c = GetParam();
    const QString text = QString::fromUtf16(c.text);
    EXPECT_EQ(CheckAmountText(text, c.view), c.check) << text.toStdString();
    if (c.check == AMOUNT_OK || (c.check == AMOUNT_ZERO && !text.isEmpty())) {
        EXPECT_EQ(ReadAmountText(text, c.view), c.amount) << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommaView, CheckAndRead,
    ::testing::Values(Case{u"1,000.87", 0, AMOUNT_OK, 100087},
                      Case{u"1000.87", 0, AMOUNT_OK, 100087}, Case{u"1,0,0", 0, AMOUNT_OK, 10000},
                      // '.' ends the integer part; only three fraction digits count.
                      Case{u"1.000,87", 0, AMOUNT_OK, 100}, Case{u".5", 0, AMOUNT_OK, 50},
                      Case{u"12.", 0, AMOUNT_OK, 1200}, Case{u"0.005", 0, AMOUNT_OK, 1},
                      Case{u"0.004", 0, AMOUNT_ZERO, 0}, Case{u"0.0049", 0, AMOUNT_ZERO, 0},
                      Case{u".995", 0, AMOUNT_OK, 100}, Case{u"1,,2", 0, AMOUNT_OK, 1200},
                      Case{u"1.2,5", 0, AMOUNT_OK, 125}, Case{u"1.2.3", 0, AMOUNT_INVALID, 0},
                      Case{u"", 0, AMOUNT_ZERO, 0}, Case{u"0", 0, AMOUNT_ZERO, 0},
                      Case{u"-5", 0, AMOUNT_INVALID, 0}, Case{u"1 000", 0, AMOUNT_INVALID, 0},
                      Case{u"5a", 0, AMOUNT_INVALID, 0}, Case{u",", 0, AMOUNT_INVALID, 0},
                      Case{u".", 0, AMOUNT_INVALID, 0}, Case{u"+5", 0, AMOUNT_INVALID, 0},
                      // Digits of other scripts are not decimal digits of an amount.
                      Case{u"\u0661\u0662", 0, AMOUNT_INVALID, 0}));

INSTANTIATE_TEST_SUITE_P(DotView, CheckAndRead,
                         ::testing::Values(Case{u"1.000,87", 1, AMOUNT_OK, 100087},
                                           Case{u"1000,87", 1, AMOUNT_OK, 100087},
                                           Case{u"12.5", 1, AMOUNT_OK, 12500},
                                           Case{u"0,0", 1, AMOUNT_ZERO, 0},
                                           Case{u"1,2,3", 1, AMOUNT_INVALID, 0},
                                           // Any view but 1 reads like view 0.
                                           Case{u"1,000.87", 7, AMOUNT_OK, 100087}));

INSTANTIATE_TEST_SUITE_P(Bounds, CheckAndRead,
                         ::testing::Values(Case{u"1000000", 0, AMOUNT_OK, 100000000},
                                           Case{u"1,000,000.00", 0, AMOUNT_OK, 100000000},
                                           Case{u"1000000.01", 0, AMOUNT_TOO_LARGE, 0},
                                           Case{u"999999.995", 0, AMOUNT_OK, 100000000},
                                           Case{u"1000000.005", 0, AMOUNT_TOO_LARGE, 0},
                                           Case{u"0.01", 0, AMOUNT_OK, 1},
                                           // The length guard counts leading zeros.
                                           Case{u"01000000", 0, AMOUNT_OK, 100000000},
                                           Case{u"001000000", 0, AMOUNT_TOO_LARGE, 0},
                                           Case{u"0000000001", 0, AMOUNT_TOO_LARGE, 0},
                                           Case{u"21474836.47", 0, AMOUNT_TOO_LARGE, 0},
                                           Case{u"21474836.46", 0, AMOUNT_TOO_LARGE, 0},
                                           Case{u"99999999999999999999", 0, AMOUNT_TOO_LARGE, 0},
                                           Case{u"0000000.001", 0, AMOUNT_ZERO, 0}));

TEST(FormatAmount, buildsCommaAndDotTexts)
{
    const std::pair<std::int32_t, std::pair<const char *, const char *>> cases[] = {
        {0, {"0.00", "0,00"}},
        {5, {"0.05", "0,05"}},
        {7, {"0.07", "0,07"}},
        {45, {"0.45", "0,45"}},
        {100, {"1.00", "1,00"}},
        {999, {"9.99", "9,99"}},
        {12345, {"123.45", "123,45"}},
        {99999, {"999.99", "999,99"}},
        {100000, {"1,000.00", "1.000,00"}},
        {123456, {"1,234.56", "1.234,56"}},
        {100000000, {"1,000,000.00", "1.000.000,00"}},
        {2147483647, {"21,474,836.47", "21.474.836,47"}},
    };
    for (const auto &[amount, expected] : cases) {
        EXPECT_EQ(FormatAmount(amount, 0), QString::fromLatin1(expected.first)) << amount;
        EXPECT_EQ(FormatAmount(amount, 1), QString::fromLatin1(expected.second)) << amount;
    }
    // Only view 1 writes the dot text, and no sign is written, even for the smallest integer.
    EXPECT_EQ(FormatAmount(100087, 2), QStringLiteral("1,000.87"));
    EXPECT_EQ(FormatAmount(100087, 0xFFFFFFFFu), QStringLiteral("1,000.87"));
    EXPECT_EQ(FormatAmount(-2147483647 - 1, 0), QStringLiteral("21,474,836.48"));
    EXPECT_EQ(FormatAmount(-5, 0), QStringLiteral("0.05"));
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
