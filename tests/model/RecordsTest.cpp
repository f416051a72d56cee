#include "Records.h"

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

MileageRecord trip()
{
    MileageRecord r;
    r.key = 291457;
    r.setDate(makeDate(2005, 10, 29));
    r.setCategory(QStringLiteral("Job"));
    r.setStartPlace(QStringLiteral("Home"));
    r.setDestination(QStringLiteral("Office"));
    r.setMemo(QStringLiteral("client"));
    r.setDistance(1250);
    return r;
}

TEST(MileageRecord, clearKeepsDateAndPosition)
{
    MileageRecord r = trip();
    r.position = 4;
    r.clear();
    EXPECT_EQ(r.key, -1);
    EXPECT_EQ(r.dateKey, 0u);
    EXPECT_EQ(r.distance, 0);
    EXPECT_EQ(r.position, 4u);
    EXPECT_EQ(r.date, makeDate(2005, 10, 29));
    for (const QString &text : {r.category, r.startPlace, r.destination, r.memo, r.dateTextFor(0),
                                r.distanceTextFor(0), r.distanceTextFor(1)})
        EXPECT_TRUE(text.isNull());
}

TEST(MileageRecord, settersRefuseAbsentAndCategoryRefusesEmpty)
{
    MileageRecord r = trip();
    EXPECT_FALSE(r.setCategory(QString()));
    EXPECT_FALSE(r.setCategory(QStringLiteral("")));
    EXPECT_EQ(r.category, QStringLiteral("Job"));

    EXPECT_FALSE(r.setMemo(QString()));
    EXPECT_EQ(r.memo, QStringLiteral("client"));
    EXPECT_TRUE(r.setMemo(QStringLiteral("")));
    EXPECT_TRUE(r.memo.isEmpty());
    EXPECT_FALSE(r.memo.isNull());

    EXPECT_TRUE(r.setStartPlace(QStringLiteral("")));
    EXPECT_TRUE(r.startPlace.isEmpty());
    EXPECT_FALSE(r.setDestination(QString()));
    EXPECT_EQ(r.destination, QStringLiteral("Office"));
}

TEST(MileageRecord, copyFromKeepsTargetTextsWhereSourceHasNone)
{
    MileageRecord target = trip();
    target.position = 9;
    MileageRecord source;
    source.key = 77;
    source.setDate(makeDate(2006, 1, 2));
    source.setDistance(500);
    source.setStartPlace(QStringLiteral("Depot"));

    target.copyFrom(source);
    EXPECT_EQ(target.position, 0u);
    EXPECT_EQ(target.key, 77);
    EXPECT_EQ(target.dateKey, 20060102u);
    EXPECT_EQ(target.distance, 500);
    EXPECT_EQ(target.distanceTextFor(0), QStringLiteral("5.00"));
    EXPECT_EQ(target.startPlace, QStringLiteral("Depot"));
    EXPECT_EQ(target.memo, QStringLiteral("client"));
    EXPECT_EQ(target.category, QStringLiteral("Job"));
    EXPECT_EQ(target.destination, QStringLiteral("Office"));
}

TEST(BookRoute, placesRefuseEmptyAndCopyKeepsThem)
{
    BookRoute route;
    EXPECT_TRUE(route.setStartPlace(QStringLiteral("Home")));
    EXPECT_FALSE(route.setStartPlace(QStringLiteral("")));
    EXPECT_FALSE(route.setDestination(QString()));
    EXPECT_EQ(route.startPlace, QStringLiteral("Home"));
    route.setDistance(100000);

    BookRoute copy;
    copy.setDestination(QStringLiteral("Old"));
    copy.copyFrom(route);
    EXPECT_EQ(copy.startPlace, QStringLiteral("Home"));
    EXPECT_EQ(copy.destination, QStringLiteral("Old"));
    EXPECT_EQ(copy.distanceTextFor(1), QStringLiteral("1.000,00"));
}

TEST(CategoryEntry, nameNeverBecomesEmpty)
{
    CategoryEntry entry;
    EXPECT_FALSE(entry.setName(QStringLiteral("")));
    EXPECT_TRUE(entry.setName(QStringLiteral("Job")));
    EXPECT_FALSE(entry.setName(QString()));
    EXPECT_EQ(entry.name, QStringLiteral("Job"));
    entry.total = 42;
    CategoryEntry copy;
    copy.copyFrom(entry);
    EXPECT_EQ(copy.name, QStringLiteral("Job"));
    EXPECT_EQ(copy.total, 42);
}

} // namespace
