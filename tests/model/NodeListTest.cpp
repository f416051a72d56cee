#include "NodeList.h"

#include <gtest/gtest.h>

#include <set>

using namespace tripvane;

namespace {

MileageRecord recordOn(int day, std::int32_t key = 0)
{
    MileageRecord r;
    r.key = key;
    r.setDate(makeDate(2005, 10, day));
    r.setCategory(QStringLiteral("Job"));
    r.setDistance(day * 100);
    return r;
}

RecordList listOf(int n)
{
    RecordList list;
    for (int i = 0; i < n; ++i)
        list.append(recordOn(i % 28 + 1, 1000 + i));
    return list;
}

// Keys in list order; every node knows its position.
std::vector<std::int32_t> keysInOrder(const RecordList &list)
{
    std::vector<std::int32_t> keys;
    for (ListPosition i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list.at(i).position, i);
        keys.push_back(list.at(i).key);
    }
    return keys;
}

TEST(NodeListTest, emptyListsFindNothingAndRemoveAsEachTypeSays)
{
    RecordList records;
    RouteList routes;
    CategoryList categories;
    EXPECT_EQ(records.last(), nullptr);
    EXPECT_EQ(records.replaceAtPosition(0, recordOn(1)), nullptr);
    EXPECT_TRUE(records.removeAtPosition(0));
    EXPECT_TRUE(routes.removeAtPosition(3));
    EXPECT_FALSE(categories.removeAtPosition(0));
    EXPECT_FALSE(categories.removeByName(QStringLiteral("Job")));
}

TEST(NodeListTest, appendStoresANumberedCopy)
{
    RecordList list;
    MileageRecord mine = recordOn(5);
    for (ListPosition i = 0; i < 3; ++i) {
        MileageRecord *added = list.append(mine);
        ASSERT_NE(added, nullptr);
        EXPECT_EQ(added->position, i);
        EXPECT_NE(added, &mine);
    }
    mine.setCategory(QStringLiteral("Holiday"));
    EXPECT_EQ(list.last()->category, QStringLiteral("Job"));
}

TEST(NodeListTest, removeRenumbersTheRest)
{
    RecordList list = listOf(5);
    EXPECT_TRUE(list.removeAtPosition(1));
    EXPECT_TRUE(list.removeAtPosition(3)); // the last node
    EXPECT_TRUE(list.removeAtPosition(0)); // the first node
    EXPECT_EQ(keysInOrder(list), (std::vector<std::int32_t>{1002, 1003}));
    EXPECT_FALSE(list.removeAtPosition(2));
    EXPECT_EQ(list.size(), 2u);
}

TEST(NodeListTest, replaceKeepsThePlace)
{
    RecordList list = listOf(4);
    MileageRecord *replaced = list.replaceAtPosition(3, recordOn(20, 55));
    ASSERT_NE(replaced, nullptr);
    EXPECT_EQ(replaced->key, 55);
    EXPECT_EQ(keysInOrder(list), (std::vector<std::int32_t>{1000, 1001, 1002, 55}));
    EXPECT_EQ(list.replaceAtPosition(4, recordOn(21, 56)), nullptr);
}

TEST(NodeListTest, positionsDoNotWrapAt65536)
{
    RecordList list = listOf(70000);
    const MileageRecord *far = &list.at(65537);
    EXPECT_EQ(far->position, 65537u);
    EXPECT_EQ(far->key, 1000 + 65537);
    EXPECT_EQ(list.last()->position, 69999u);
    EXPECT_TRUE(list.removeAtPosition(0));
    EXPECT_EQ(list.at(65536).key, 1000 + 65537);
}

TEST(NodeListTest, reorderKeepsEveryNodeAndRenumbers)
{
    RecordList list = listOf(6);
    list.reorder([](auto nodes) { std::reverse(nodes.begin(), nodes.end()); });
    EXPECT_EQ(keysInOrder(list), (std::vector<std::int32_t>{1005, 1004, 1003, 1002, 1001, 1000}));
    EXPECT_EQ(list.at(0).position, 0u);
    EXPECT_EQ(list.at(5).key, 1000);
}

TEST(NodeListTest, movedListsKeepTheirNodesAndFreedSlotsAreReused)
{
    RecordList target = listOf(3);
    RecordList source = listOf(5000);
    const MileageRecord *kept = &source.at(4321);
    target = std::move(source);
    EXPECT_EQ(target.size(), 5000u);
    EXPECT_EQ(&target.at(4321), kept) << "nodes stay where they were";
    EXPECT_EQ(kept->key, 1000 + 4321);
    for (int round = 0; round < 100; ++round) {
        ASSERT_TRUE(target.removeAtPosition(0));
        ASSERT_NE(target.append(recordOn(3, round)), nullptr);
    }
    EXPECT_EQ(target.last()->key, 99);
    RecordList moved(std::move(target));
    EXPECT_EQ(moved.size(), 5000u);
    moved.clear();
    EXPECT_NE(moved.append(recordOn(1, 7)), nullptr);
}

// Letting a list go visits its nodes through the pool: each slot in use exactly once, none that
// was handed back, across chunks of every size.
TEST(NodePoolTest, visitsEachSlotInUseOnceAfterReleasesAndReuse)
{
    struct Slot
    {
        std::int64_t filler[3];
    };
    NodePool<Slot> pool;
    std::vector<void *> taken;
    for (int i = 0; i < 1000; ++i)
        taken.push_back(pool.allocate());
    std::set<void *> inUse(taken.begin(), taken.end());
    for (std::size_t i = 0; i < taken.size(); i += 3) {
        pool.release(taken[i]);
        inUse.erase(taken[i]);
    }
    inUse.insert(pool.allocate()); // a released slot again
    std::vector<void *> visited;
    pool.forEachInUse([&](Slot *slot) { visited.push_back(slot); });
    EXPECT_EQ(visited.size(), inUse.size());
    EXPECT_EQ(std::set<void *>(visited.begin(), visited.end()), inUse);
}

CategoryEntry named(const char *name)
{
    CategoryEntry e;
    e.setName(QString::fromLatin1(name));
    return e;
}

TEST(CategoryListTest, refusesExactDuplicatesFindsAndRemovesByName)
{
    CategoryList list;
    for (const char *n : {"Holiday", "Job", "Shopping"})
        ASSERT_NE(list.append(named(n)), nullptr);
    EXPECT_EQ(list.append(named("Job")), nullptr);
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.findByName(QStringLiteral("JOB")), nullptr) << "exact comparison";
    EXPECT_EQ(list.findByName(QString()), nullptr);
    EXPECT_TRUE(list.removeByName(QStringLiteral("Job")));
    EXPECT_EQ(list.findByName(QStringLiteral("Shopping"))->position, 1u);
    EXPECT_FALSE(list.removeByName(QStringLiteral("Job")));
    EXPECT_NE(list.append(named("job")), nullptr);
}

} // namespace
