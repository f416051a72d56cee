#include "DateText.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

DateFields built(int year, int month, int day)
{
    DateFields holder;
    EXPECT_TRUE(BuildDateTexts(holder, makeDate(year, month, day)));
    return holder;
}

TEST(BuildDateTexts, writesFourOrdersPaddedAndTheKey)
{
    struct Case
    {
        int year, month, day;
        QStringList texts;
        std::uint32_t key;
    };
    for (const Case &c :
         {Case{2005, 10, 29, {"29-10-05", "29/10/05", "10-29-05", "10/29/05"}, 20051029u},
          Case{2000, 1, 1, {"01-01-00", "01/01/00", "01-01-00", "01/01/00"}, 20000101u}}) {
        const DateFields d = built(c.year, c.month, c.day);
        for (int order = 0; order < 4; ++order)
            EXPECT_EQ(DateTextFor(d, std::size_t(order)), c.texts[order]) << c.key << " " << order;
        EXPECT_EQ(d.dateKey, c.key);
        // Orders above three give the text of order zero.
        EXPECT_EQ(DateTextFor(d, 4), c.texts[0]);
        EXPECT_EQ(DateTextFor(d, 0xFFFFFFFFu), c.texts[0]);
    }
}

TEST(BuildDateTexts, swappedDayAndMonthShareTextsButNotKeys)
{
    const DateFields december9 = built(2010, 12, 9);
    const DateFields september12 = built(2010, 9, 12);
    EXPECT_EQ(DateTextFor(december9, 0), DateTextFor(september12, 2));
    EXPECT_EQ(DateTextFor(december9, 2), DateTextFor(september12, 0));
    EXPECT_EQ(december9.dateKey, 20101209u);
    EXPECT_EQ(september12.dateKey, 20100912u);
    EXPECT_GT(december9.dateKey, september12.dateKey);
}

TEST(BuildDateTexts, threeDigitYearSortsBeforeEveryFourDigitYear)
{
    const DateFields d = built(999, 3, 1);
    EXPECT_EQ(DateTextFor(d, 0), QStringLiteral("01-03-99"));
    EXPECT_EQ(d.dateKey, 9990301u);
    EXPECT_LT(d.dateKey, built(1000, 1, 1).dateKey);
    EXPECT_EQ(DateTextFor(built(5, 6, 7), 0), QStringLiteral("07-06-05"));
    EXPECT_EQ(built(9999, 12, 31).dateKey, 99991231u);
}

TEST(BuildDateTexts, noCalendarCheckBelowTheBounds)
{
    const DateFields d = built(2005, 2, 31);
    EXPECT_EQ(DateTextFor(d, 0), QStringLiteral("31-02-05"));
    EXPECT_EQ(DateTextFor(built(2005, 0, 0), 0), QStringLiteral("00-00-05"));
}

TEST(BuildDateTexts, outOfBoundsFailsKeepingTextsButStoringTheDate)
{
    for (const SystemTime bad :
         {makeDate(2005, 10, 32), makeDate(2005, 13, 1), makeDate(10000, 1, 1)}) {
        DateFields d = built(2005, 10, 29);
        EXPECT_FALSE(BuildDateTexts(d, bad));
        EXPECT_EQ(d.date, bad);
        EXPECT_EQ(DateTextFor(d, 0), QStringLiteral("29-10-05"));
        EXPECT_EQ(DateTextFor(d, 3), QStringLiteral("10/29/05"));
        EXPECT_EQ(d.dateKey, 20051029u);
    }
}

} // namespace
