#include "Sorting.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <random>

using namespace tripvane;

namespace {

MileageRecord dated(int day, std::int32_t key)
{
    MileageRecord r;
    r.key = key;
    r.setDate(makeDate(2005, 10, day));
    return r;
}

// Keys in list order; every node knows its position.
std::vector<std::int32_t> keys(const RecordList &list)
{
    std::vector<std::int32_t> result;
    for (ListPosition i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list.at(i).position, i);
        result.push_back(list.at(i).key);
    }
    return result;
}

// The design's algorithm as written: sort the bare keys, then take for each key the first
// remaining element that has it, and copy back forwards or backwards. Quadratic, but plain.
std::vector<std::int32_t> referenceDateSort(const RecordList &list, std::uint32_t order)
{
    std::vector<const MileageRecord *> remaining;
    std::vector<std::int32_t> sortedKeys;
    for (ListPosition i = 0; i < list.size(); ++i) {
        remaining.push_back(&list.at(i));
        sortedKeys.push_back(std::int32_t(list.at(i).dateKey));
    }
    std::sort(sortedKeys.begin(), sortedKeys.end());
    std::vector<std::int32_t> buffer;
    for (std::int32_t key : sortedKeys) {
        const auto found = std::find_if(remaining.begin(), remaining.end(),
                                        [key](auto *r) { return std::int32_t(r->dateKey) == key; });
        buffer.push_back((*found)->key);
        remaining.erase(found);
    }
    if (order == SortDescending)
        std::reverse(buffer.begin(), buffer.end());
    return buffer;
}

// Ties keep the order the previous sort left, and order 2 sorts ascending.
TEST(SortRecords, matchesTheDesignsAlgorithmOnRandomLogs)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        RecordList list;
        const int size = std::uniform_int_distribution<int>(0, 60)(random);
        std::uniform_int_distribution<int> day(1, 4); // many equal keys
        for (int i = 0; i < size; ++i)
            list.append(dated(day(random), i));
        // A few sorts in a row, so ties carry the order left by the previous one.
        for (int step = 0; step < 4; ++step) {
            const std::uint32_t order = std::uniform_int_distribution<std::uint32_t>(0, 2)(random);
            const auto expected = referenceDateSort(list, order);
            ASSERT_TRUE(SortRecordsByDate(list, order));
            ASSERT_EQ(keys(list), expected) << "round " << round << " step " << step;
        }
    }
}

TEST(TextKeys, compareByCodeUnitsCaseSensitively)
{
    EXPECT_TRUE(textKeyLess(QStringLiteral("Zeeland"), QStringLiteral("amsterdam")));
    EXPECT_TRUE(textKeyLess(QStringLiteral("9 Lives"), QStringLiteral("Art")));
    EXPECT_TRUE(textKeyLess(QStringLiteral("Job"), QStringLiteral("Jobs")));
    EXPECT_FALSE(textKeyLess(QStringLiteral("Job"), QStringLiteral("Job")));
    // Code units, not code points: U+FFFD sorts after the surrogates of U+1F600.
    EXPECT_TRUE(textKeyLess(QStringLiteral("\U0001F600"), QStringLiteral("\uFFFD")));
}

CategoryList categoriesOf(std::initializer_list<std::pair<const char *, std::int32_t>> entries)
{
    CategoryList list;
    for (const auto &[name, total] : entries) {
        CategoryEntry e;
        e.setName(QString::fromLatin1(name));
        e.total = total;
        list.append(e);
    }
    return list;
}

QStringList names(const CategoryList &list)
{
    QStringList result;
    for (ListPosition i = 0; i < list.size(); ++i)
        result.append(list.at(i).name);
    return result;
}

TEST(SortCategories, byNameInCodeUnitOrder)
{
    CategoryList list = categoriesOf({{"job", 0}, {"Holiday", 0}, {"2nd car", 0}, {"Shopping", 0}});
    ASSERT_TRUE(SortCategoriesByName(list, SortAscending));
    EXPECT_EQ(names(list), (QStringList{"2nd car", "Holiday", "Shopping", "job"}));
    ASSERT_TRUE(SortCategoriesByName(list, SortDescending));
    EXPECT_EQ(names(list), (QStringList{"job", "Shopping", "Holiday", "2nd car"}));
}

TEST(SortCategories, byTotalKeepsEqualTotalsInTheirOrder)
{
    CategoryList list = categoriesOf({{"A", 500}, {"B", 100}, {"C", 500}, {"D", -5}});
    ASSERT_TRUE(SortCategoriesByTotal(list, SortAscending));
    EXPECT_EQ(names(list), (QStringList{"D", "B", "A", "C"}));
    ASSERT_TRUE(SortCategoriesByTotal(list, SortDescending));
    EXPECT_EQ(names(list), (QStringList{"C", "A", "B", "D"}));
}

TEST(SortCategories, aCategoryWithoutNameFailsAndChangesNothing)
{
    CategoryList list = categoriesOf({{"B", 0}, {"A", 0}});
    list.append(CategoryEntry{}); // no name
    EXPECT_FALSE(SortCategoriesByName(list, SortAscending));
    EXPECT_EQ(names(list), (QStringList{"B", "A", QString()}));
}

TEST(SortRoutes, equalPlacesBehaveLikeEqualKeys)
{
    RouteList list;
    const char *routes[][2] = {{"Home", "Office"}, {"Depot", "Home"}, {"Home", "Airport"}};
    for (const auto &route : routes) {
        BookRoute r;
        r.setStartPlace(QString::fromLatin1(route[0]));
        r.setDestination(QString::fromLatin1(route[1]));
        list.append(r);
    }
    ASSERT_TRUE(SortRoutesByStartPlace(list, SortAscending));
    EXPECT_EQ(list.at(0).startPlace, QStringLiteral("Depot"));
    EXPECT_EQ(list.at(1).destination, QStringLiteral("Office"));
    EXPECT_EQ(list.at(2).destination, QStringLiteral("Airport"));
    ASSERT_TRUE(SortRoutesByDestination(list, SortDescending));
    EXPECT_EQ(list.at(0).destination, QStringLiteral("Office"));
    EXPECT_EQ(list.at(2).destination, QStringLiteral("Airport"));
    RouteList empty;
    EXPECT_TRUE(SortRoutesByDestination(empty, SortAscending));
}

} // namespace
