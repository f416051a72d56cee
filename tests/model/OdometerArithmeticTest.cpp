#include "OdometerArithmetic.h"
#include "AmountText.h"
#include "DataTable.h"

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

TEST_F(StatusValues, showAsTheTableSays)
{
    for (const QStringList &row : dataTable("status-values.txt")) {
        ASSERT_EQ(row.size(), 9) << row.join(u'|').toStdString();
        const std::string what = row.join(u'|').toStdString();
        setReadings(row[0].toInt(), row[1].toInt());
        records.clear();
        overflows = 0;
        for (const QString &trip : row[2].split(u' ', Qt::SkipEmptyParts)) {
            if (trip == u"-")
                continue;
            const QString distance = trip.section(u'@', 0, 0);
            const int date = trip.section(u'@', 1).toInt();
            const int times = distance.contains(u'x') ? distance.section(u'x', 0, 0).toInt() : 1;
            for (int i = 0; i < times; ++i)
                addTrip(distance.section(u'x', -1).toInt(),
                        makeDate(date / 10000, date / 100 % 100, date % 100));
        }
        const StatusTexts t = compute(row[3].toUInt());
        EXPECT_EQ((QStringList{t.starts, t.ends, t.registered, t.balance}), row.mid(4, 4)) << what;
        EXPECT_EQ(overflows, row[8].toInt()) << what;
        // The holders keep what the texts show: the reset Starts, the balance without its sign.
        const std::uint32_t view = row[3].toUInt();
        EXPECT_EQ(FormatAmount(holders.start.distance, view), t.starts) << what;
        if (t.balance != u"Error" && t.balance != u"0") {
            EXPECT_EQ(FormatAmount(holders.balance.distance, view),
                      QString(t.balance).remove(QStringLiteral("- ")))
                << what;
        }
    }
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

TEST(ReportTotal, textShowsZeroAndTheSign)
{
    EXPECT_EQ(RangeTotalText(0, 1), QStringLiteral("0.00"));
    EXPECT_EQ(RangeTotalText(100087, 0), QStringLiteral("1,000.87"));
    EXPECT_EQ(RangeTotalText(100087, 1), QStringLiteral("1.000,87"));
    EXPECT_EQ(RangeTotalText(-150, 0), QStringLiteral("- 1.50"));
}

} // namespace
