#include "CursorList.h"

#include <gtest/gtest.h>

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
        list.append(recordOn(i + 1, 1000 + i));
    return list;
}

std::vector<std::int32_t> keysInOrder(RecordList &list)
{
    std::vector<std::int32_t> keys;
    for (MileageRecord *r = list.first(); r; r = list.next())
        keys.push_back(r->key);
    return keys;
}

void expectPositionsInOrder(RecordList &list)
{
    ListPosition expected = 0;
    for (MileageRecord *r = list.first(); r; r = list.next())
        EXPECT_EQ(r->position, expected++);
}

TEST(CursorListEmpty, everyOperationFindsNothing)
{
    RecordList list;
    EXPECT_EQ(list.first(), nullptr);
    EXPECT_EQ(list.last(), nullptr);
    EXPECT_EQ(list.next(), nullptr);
    EXPECT_EQ(list.prev(), nullptr);
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(list.findAtPosition(0), nullptr);
    EXPECT_EQ(list.findByDateKey(20051001), nullptr);
    EXPECT_EQ(list.replaceAtPosition(0, recordOn(1)), nullptr);
    EXPECT_EQ(list.cursorNode(), nullptr);
}

TEST(CursorListEmpty, removeSucceedsForRecordsAndRoutesButNotCategories)
{
    RecordList records;
    RouteList routes;
    CategoryList categories;
    EXPECT_TRUE(records.removeAtPosition(0));
    EXPECT_TRUE(routes.removeAtPosition(3));
    EXPECT_FALSE(categories.removeAtPosition(0));
    EXPECT_FALSE(categories.removeByName(QStringLiteral("Job")));
}

TEST(CursorListOneNode, navigationStaysOnTheOnlyNode)
{
    RecordList list = listOf(1);
    MileageRecord *only = list.cursorNode() ? list.first() : nullptr;
    ASSERT_NE(only, nullptr);
    EXPECT_EQ(list.last(), only);
    EXPECT_EQ(list.next(), nullptr);
    EXPECT_EQ(list.prev(), nullptr);
    EXPECT_EQ(list.cursorNode(), only);
    EXPECT_EQ(list.count(), 1u);
}

TEST(CursorListOneNode, removingItLeavesAnEmptyList)
{
    RecordList list = listOf(1);
    EXPECT_TRUE(list.removeAtPosition(0));
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(list.first(), nullptr);
    EXPECT_EQ(list.cursorNode(), nullptr);
}

TEST(CursorListMany, appendNumbersAndMovesTheCursor)
{
    RecordList list;
    for (int i = 0; i < 3; ++i) {
        MileageRecord *added = list.append(recordOn(i + 1));
        ASSERT_NE(added, nullptr);
        EXPECT_EQ(added->position, ListPosition(i));
        EXPECT_EQ(list.cursorNode(), added);
    }
}

TEST(CursorListMany, appendStoresACopy)
{
    RecordList list;
    MileageRecord mine = recordOn(5);
    MileageRecord *stored = list.append(mine);
    mine.setCategory(QStringLiteral("Holiday"));
    EXPECT_EQ(stored->category, QStringLiteral("Job"));
    EXPECT_NE(stored, &mine);
}

TEST(CursorListMany, cursorMovesAsTheCallersExpect)
{
    RecordList list = listOf(5);
    MileageRecord *last = list.last();
    EXPECT_EQ(list.cursorNode()->position, 4u); // append left it on the new node
    list.first();
    EXPECT_EQ(list.last(), last);
    EXPECT_EQ(list.cursorNode()->position, 0u) << "last does not move the cursor";

    list.findAtPosition(4);
    EXPECT_EQ(list.next(), nullptr);
    EXPECT_EQ(list.cursorNode(), last) << "next at the end keeps the cursor";
    EXPECT_EQ(list.prev()->position, 3u);

    list.findAtPosition(2);
    EXPECT_EQ(list.count(), 5u);
    EXPECT_EQ(list.cursorNode()->position, 0u) << "count leaves the cursor on the first node";

    list.findAtPosition(3);
    EXPECT_EQ(list.findAtPosition(99), nullptr);
    EXPECT_EQ(list.cursorNode()->position, 0u) << "a failed find goes back to the first node";
}

TEST(CursorListMany, removeRenumbersAndReturnsToTheFirstNode)
{
    RecordList list = listOf(5);
    EXPECT_TRUE(list.removeAtPosition(1));
    EXPECT_EQ(list.cursorNode()->position, 0u);
    EXPECT_EQ(keysInOrder(list), (std::vector<std::int32_t>{1000, 1002, 1003, 1004}));
    expectPositionsInOrder(list);

    EXPECT_TRUE(list.removeAtPosition(3)); // the last node
    EXPECT_TRUE(list.removeAtPosition(0)); // the first node
    EXPECT_EQ(keysInOrder(list), (std::vector<std::int32_t>{1002, 1003}));
    expectPositionsInOrder(list);

    list.findAtPosition(1);
    EXPECT_FALSE(list.removeAtPosition(2));
    EXPECT_EQ(list.count(), 2u);
}

TEST(CursorListMany, findByDateKeyTakesTheFirstInListOrder)
{
    RecordList list;
    list.append(recordOn(3, 1));
    list.append(recordOn(4, 2));
    list.append(recordOn(4, 3));
    MileageRecord *found = list.findByDateKey(20051004);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->key, 2);
    EXPECT_EQ(list.cursorNode(), found);
    EXPECT_EQ(list.findByDateKey(20051005), nullptr);
    EXPECT_EQ(list.cursorNode()->position, 0u);
}

TEST(CursorListMany, replaceSearchesForwardFromTheCursorAndKeepsThePlace)
{
    RecordList list = listOf(4);
    list.findAtPosition(2);
    EXPECT_EQ(list.replaceAtPosition(1, recordOn(20, 55)), nullptr) << "behind the cursor";
    MileageRecord *replaced = list.replaceAtPosition(3, recordOn(20, 55));
    ASSERT_NE(replaced, nullptr);
    EXPECT_EQ(replaced->position, 3u);
    EXPECT_EQ(replaced->key, 55);
    EXPECT_EQ(list.cursorNode(), replaced);
    EXPECT_EQ(keysInOrder(list), (std::vector<std::int32_t>{1000, 1001, 1002, 55}));
}

TEST(CursorListMany, positionsDoNotWrapAt65536)
{
    RecordList list = listOf(70000);
    EXPECT_EQ(list.count(), 70000u);
    MileageRecord *far = list.findAtPosition(65537);
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(far->position, 65537u);
    EXPECT_EQ(far->key, 1000 + 65537);
    EXPECT_EQ(list.last()->position, 69999u);
    EXPECT_TRUE(list.removeAtPosition(0));
    EXPECT_EQ(list.findAtPosition(65536)->key, 1000 + 65537);
}

TEST(CursorListMany, takeAllAndAdoptKeepEveryNode)
{
    RecordList list = listOf(6);
    auto nodes = list.takeAll();
    EXPECT_EQ(list.count(), 0u);
    std::reverse(nodes.begin(), nodes.end());
    list.adopt(std::move(nodes));
    EXPECT_EQ(keysInOrder(list), (std::vector<std::int32_t>{1005, 1004, 1003, 1002, 1001, 1000}));
    expectPositionsInOrder(list);
}

CategoryEntry named(const char *name)
{
    CategoryEntry e;
    e.setName(QString::fromLatin1(name));
    return e;
}

TEST(CategoryListTest, refusesExactDuplicatesOnly)
{
    CategoryList list;
    ASSERT_NE(list.append(named("Job")), nullptr);
    ASSERT_NE(list.append(named("Holiday")), nullptr);
    EXPECT_EQ(list.append(named("Job")), nullptr);
    EXPECT_EQ(list.cursorNode()->name, QStringLiteral("Job")) << "the walk leaves the first entry";
    EXPECT_EQ(list.count(), 2u);
    CategoryEntry *other = list.append(named("job"));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->position, 2u);
}

TEST(CategoryListTest, findsAndRemovesByName)
{
    CategoryList list;
    for (const char *n : {"Holiday", "Job", "Shopping"})
        list.append(named(n));
    EXPECT_EQ(list.findByName(QStringLiteral("JOB")), nullptr);
    EXPECT_EQ(list.current()->position, 0u);
    list.findAtPosition(2);
    EXPECT_EQ(list.findByName(QString()), nullptr);
    EXPECT_EQ(list.current()->position, 2u) << "an empty name leaves the cursor alone";

    EXPECT_TRUE(list.removeByName(QStringLiteral("Job")));
    EXPECT_EQ(list.current()->name, QStringLiteral("Holiday"));
    EXPECT_EQ(list.findByName(QStringLiteral("Shopping"))->position, 1u);
    EXPECT_FALSE(list.removeByName(QStringLiteral("Job")));
}

TEST(CategoryListTest, findByTotalTakesTheFirstMatch)
{
    CategoryList list;
    for (const char *n : {"A", "B", "C"})
        list.append(named(n));
    list.at(1).total = 7;
    list.at(2).total = 7;
    EXPECT_EQ(list.findByTotal(7)->name, QStringLiteral("B"));
    EXPECT_EQ(list.findByTotal(8), nullptr);
    EXPECT_EQ(list.current()->name, QStringLiteral("A"));
}

TEST(RouteListTest, findsByEitherPlace)
{
    RouteList list;
    BookRoute route;
    route.setStartPlace(QStringLiteral("Home"));
    route.setDestination(QStringLiteral("Office"));
    list.append(route);
    route.setDestination(QStringLiteral("Depot"));
    list.append(route);
    EXPECT_EQ(list.findByStartPlace(QStringLiteral("Home"))->position, 0u);
    EXPECT_EQ(list.findByDestination(QStringLiteral("Depot"))->position, 1u);
    EXPECT_EQ(list.findByDestination(QStringLiteral("depot")), nullptr);
    EXPECT_EQ(list.cursorNode()->position, 0u);
    list.findAtPosition(1);
    EXPECT_EQ(list.findByStartPlace(QStringLiteral("")), nullptr);
    EXPECT_EQ(list.cursorNode()->position, 1u);
}

} // namespace

namespace {

TEST(CursorListStorage, movedListsKeepTheirNodesAndFreedSlotsAreReused)
{
    RecordList target = listOf(3);
    RecordList source = listOf(5000);
    MileageRecord *kept = source.findAtPosition(4321);
    target = std::move(source);
    EXPECT_EQ(target.size(), 5000u);
    EXPECT_EQ(target.findAtPosition(4321), kept) << "nodes stay where they were";
    EXPECT_EQ(kept->key, 1000 + 4321);

    for (int round = 0; round < 100; ++round) {
        ASSERT_TRUE(target.removeAtPosition(0));
        ASSERT_NE(target.append(recordOn(3, round)), nullptr);
    }
    EXPECT_EQ(target.size(), 5000u);
    EXPECT_EQ(target.last()->key, 99);

    RecordList moved(std::move(target));
    EXPECT_EQ(moved.count(), 5000u);
    moved.clear();
    EXPECT_NE(moved.append(recordOn(1, 7)), nullptr);
}

} // namespace
