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
    EXPECT_TRUE(MileageRecord().dateTextFor(0).isNull()) << "no date, no text";
}

} // namespace
