#include "OdometerArithmetic.h"

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

class StatusValues : public ::testing::Test
{
protected:
    void setReadings(std::int32_t starts, std::int32_t ends,
                     SystemTime date = makeDate(2005, 10, 29))
    {
        holders.start.setDistance(starts);
        holders.end.setDistance(ends);
        holders.start.setDate(date);
        holders.end.setDate(date);
    }
    void addTrip(std::int32_t distance, SystemTime date = makeDate(2005, 10, 1),
                 const char *category = "Job")
    {
        MileageRecord r;
        r.setDate(date);
        r.setDistance(distance);
        r.setCategory(QString::fromLatin1(category));
        records.append(r);
    }
    StatusTexts compute(std::uint32_t view = 0)
    {
        return ComputeStatusValues(holders, records, view, [this] { ++overflows; });
    }

    OdometerHolders holders;
    RecordList records;
    int overflows = 0;
};

TEST_F(StatusValues, positiveNegativeAndZeroBalance)
{
    setReadings(100000, 125050);
    StatusTexts t = compute(); // no trips: the whole difference
    EXPECT_EQ(t.starts, QStringLiteral("1,000.00"));
    EXPECT_EQ(t.ends, QStringLiteral("1,250.50"));
    EXPECT_EQ(t.registered, QStringLiteral("0.00"));
    EXPECT_EQ(t.balance, QStringLiteral("250.50"));

    addTrip(10000);
    addTrip(5025);
    t = compute();
    EXPECT_EQ(t.registered, QStringLiteral("150.25"));
    EXPECT_EQ(t.balance, QStringLiteral("100.25"));

    addTrip(14975); // now 300.00 in all
    t = compute(1);
    EXPECT_EQ(t.registered, QStringLiteral("300,00"));
    EXPECT_EQ(t.balance, QStringLiteral("- 49,50"));
    EXPECT_EQ(holders.balance.distance, 4950);

    records.clear();
    addTrip(25050);
    EXPECT_EQ(compute().balance, QStringLiteral("0"));
    EXPECT_EQ(overflows, 0);
}

TEST_F(StatusValues, onlyTripsUpToTheEndsDateCount)
{
    setReadings(0, 100000, makeDate(2005, 10, 29));
    addTrip(1000, makeDate(2005, 10, 29));
    addTrip(2000, makeDate(2005, 10, 30));
    addTrip(4000, makeDate(1999, 1, 1)); // before any Starts date still counts
    EXPECT_EQ(compute().registered, QStringLiteral("50.00"));
}

TEST_F(StatusValues, startsAboveEndsResetsBothReadings)
{
    setReadings(5000, 1000);
    addTrip(300);
    const StatusTexts t = compute();
    EXPECT_EQ(t.starts, QStringLiteral("0.00"));
    EXPECT_EQ(t.ends, QStringLiteral("0.00"));
    EXPECT_EQ(holders.start.distance, 0);
    EXPECT_EQ(t.balance, QStringLiteral("- 3.00"));
}

TEST_F(StatusValues, registeredOverflowWarnsOnceAndUsesThePartialSum)
{
    setReadings(0, 100000000);
    for (int i = 0; i < 22; ++i)
        addTrip(100000000);
    const StatusTexts t = compute();
    EXPECT_EQ(overflows, 1);
    EXPECT_EQ(t.registered, QStringLiteral("0.00"));
    // Balance = 1,000,000.00 - 21 x 1,000,000.00.
    EXPECT_EQ(t.balance, QStringLiteral("- 20,000,000.00"));
}

TEST_F(StatusValues, balanceOutOfRangeShowsError)
{
    // Stored readings bigger than any the dialogs allow reach the balance error.
    setReadings(0, 2147483647);
    addTrip(-100, makeDate(2005, 10, 1)); // a damaged record pushes B past the bound
    StatusTexts t = compute();
    EXPECT_EQ(overflows, 1);
    EXPECT_EQ(t.registered, QStringLiteral("Error"));
    EXPECT_EQ(t.balance, QStringLiteral("0.00"));
}

class CategoryTotals : public StatusValues
{
protected:
    void SetUp() override
    {
        for (const char *name : {"Holiday", "Job", "Shopping"}) {
            CategoryEntry e;
            e.setName(QString::fromLatin1(name));
            e.total = -1;
            categories.append(e);
        }
    }
    int totals(std::uint32_t first, std::uint32_t last)
    {
        return ComputeCategoryTotals(categories, records, first, last, [this] { ++overflows; });
    }
    CategoryList categories;
};

TEST_F(CategoryTotals, emptyListsChangeNothing)
{
    EXPECT_EQ(totals(0, 99999999), 0);
    EXPECT_EQ(categories.at(0).total, -1);
    addTrip(100);
    CategoryList none;
    EXPECT_EQ(ComputeCategoryTotals(none, records, 0, 99999999, {}), 0);
}

TEST_F(CategoryTotals, sumsPerCategoryInsideTheRange)
{
    addTrip(100, makeDate(2005, 10, 1), "Job");
    addTrip(250, makeDate(2005, 10, 2), "Job");
    addTrip(999, makeDate(2005, 10, 3), "Job");
    addTrip(40, makeDate(2005, 10, 2), "Shopping");
    addTrip(7, makeDate(2005, 10, 2), "job"); // differs in case only: no category
    addTrip(9, makeDate(2005, 10, 2), "Unknown");
    EXPECT_EQ(totals(20051001, 20051002), 1);
    EXPECT_EQ(categories.at(0).total, 0);
    EXPECT_EQ(categories.at(1).total, 350);
    EXPECT_EQ(categories.at(2).total, 40);

    EXPECT_EQ(totals(20051002, 20051002), 1) << "a one-day range includes that day";
    EXPECT_EQ(categories.at(1).total, 250);

    EXPECT_EQ(totals(20051101, 20051130), 0);
    EXPECT_EQ(categories.at(1).total, 0);
}

TEST_F(CategoryTotals, overflowStopsAtTheOverflowingCategory)
{
    addTrip(500, makeDate(2005, 10, 1), "Holiday");
    for (int i = 0; i < 22; ++i)
        addTrip(100000000, makeDate(2005, 10, 1), "Job");
    addTrip(600, makeDate(2005, 10, 1), "Shopping");
    EXPECT_EQ(totals(0, 99999999), 0);
    EXPECT_EQ(overflows, 1);
    EXPECT_EQ(categories.at(0).total, 500) << "categories before keep their new totals";
    EXPECT_EQ(categories.at(1).total, -1);
    EXPECT_EQ(categories.at(2).total, -1);
}

} // namespace
