#include "TripLog.h"

#include "StorageFixture.h"

#include <QSignalSpy>

#include <set>

#include <sqlite3.h>

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

// The log over the fixture's databases; what a later start would load is read through a
// connection of its own.
class TripLogTest : public StorageFixture
{
protected:
    void SetUp() override
    {
        StorageFixture::SetUp();
        log = std::make_unique<TripLog>(*databases, kit.services().waitCursor());
        ASSERT_TRUE(log->openDatabases());
        ASSERT_TRUE(log->loadStatus());
        log->loadTrips();
    }
    void add(std::initializer_list<MileageRecord> trips)
    {
        for (MileageRecord t : trips) {
            ++kit.clock.now.second; // keys from the clock, as trips added one by one
            ASSERT_TRUE(log->addTrip(t));
        }
    }
    static std::vector<std::int32_t> distances(const RecordList &list)
    {
        std::vector<std::int32_t> result;
        for (ListPosition i = 0; i < list.size(); ++i)
            result.push_back(list.at(i).distance);
        return result;
    }
    static std::vector<QString> names(const CategoryList &list)
    {
        std::vector<QString> result;
        for (ListPosition i = 0; i < list.size(); ++i)
            result.push_back(list.at(i).name);
        return result;
    }
    std::unique_ptr<DeviceSession> stored()
    {
        return std::make_unique<DeviceSession>(device->storePath(), kit.services());
    }

    std::unique_ptr<TripLog> log;
};

TEST_F(TripLogTest, addedTripIsStoredWithAKeyOfItsOwnAndListedLast)
{
    QSignalSpy appended(log.get(), &TripLog::tripAppended);
    add({trip(2005, 10, 9, 300), trip(2005, 10, 1, 100)});
    EXPECT_EQ(appended.count(), 2);
    EXPECT_EQ(distances(log->trips()), (std::vector<std::int32_t>{300, 100})) << "not sorted in";
    EXPECT_EQ(log->trips().at(1).key, 291459);
    ASSERT_EQ(stored()->records.size(), 2u);
    EXPECT_EQ(stored()->records.at(1).key, 291459);
}

TEST_F(TripLogTest, replacedTripKeepsItsPlaceAndReachesTheStore)
{
    add({trip(2005, 10, 1, 100), trip(2005, 10, 5, 200), trip(2005, 10, 9, 300)});
    QSignalSpy changed(log.get(), &TripLog::tripChanged);
    MileageRecord edited = log->trips().at(1);
    edited.setDate(makeDate(2005, 12, 31));
    edited.setCategory(QStringLiteral("Holiday"));
    EXPECT_TRUE(log->replaceTrip(1, edited));
    EXPECT_EQ(changed.takeFirst().at(0).toInt(), 1);
    EXPECT_EQ(log->trips().at(1).category, QStringLiteral("Holiday"));
    EXPECT_EQ(stored()->records.at(1).dateKey, 20051231u);
    EXPECT_FALSE(log->replaceTrip(3, edited)) << "no such row";
}

TEST_F(TripLogTest, undoHoldsTheTwelveNewestDeletionsAndRestoresNewestFirst)
{
    for (int day = 1; day <= 13; ++day)
        add({trip(2005, 10, day, day * 100)});
    QSignalSpy undoChanged(log.get(), &TripLog::undoChanged);
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(log->undoIsFull(), i >= 12);
        ASSERT_TRUE(log->deleteTrip(0));
    }
    EXPECT_TRUE(log->trips().isEmpty());
    EXPECT_TRUE(stored()->records.isEmpty());
    EXPECT_EQ(log->undoList().size(), 12u) << "the oldest deletion left";
    EXPECT_EQ(undoChanged.takeLast().at(0).toBool(), true);

    std::vector<std::int32_t> restored;
    while (log->undoLastDeletion())
        restored.push_back(log->trips().at(log->trips().size() - 1).distance);
    std::vector<std::int32_t> expected;
    for (int day = 13; day >= 2; --day)
        expected.push_back(day * 100);
    EXPECT_EQ(restored, expected);
    EXPECT_EQ(undoChanged.takeLast().at(0).toBool(), false);

    std::set<std::int32_t> keys;
    const auto session = stored();
    for (ListPosition i = 0; i < session->records.size(); ++i)
        keys.insert(session->records.at(i).key);
    EXPECT_EQ(keys.size(), 12u) << "each restored trip has a key of its own";
}

TEST_F(TripLogTest, undoRestoresTheTripAsStoredAndKeepsItWhenTheStoreRefuses)
{
    add({trip(2005, 10, 1, 100, "Job", "original")});
    ASSERT_TRUE(log->deleteTrip(0));
    store->setWriteHook([] { return false; });
    kit.messageBoxes.expect({MessageAnswer::Ok, MessageAnswer::Ok});
    EXPECT_FALSE(log->undoLastDeletion());
    EXPECT_EQ(log->undoList().size(), 1u);
    MileageRecord refused = trip(2005, 10, 2, 200);
    EXPECT_FALSE(log->addTrip(refused)) << "an add the store refuses";
    store->setWriteHook({});
    ASSERT_TRUE(log->undoLastDeletion());
    EXPECT_EQ(stored()->records.at(0).memo, QStringLiteral("original"));
}

TEST_F(TripLogTest, deleteByRangeTakesBothEndDaysInOneGoAndReloads)
{
    add({trip(2005, 10, 1, 100), trip(2005, 10, 5, 200), trip(2005, 10, 5, 300),
         trip(2005, 10, 9, 400)});
    ASSERT_TRUE(log->deleteTrip(3));
    EXPECT_EQ(log->countTripsInRange(20051005, 20051005), 2u);
    EXPECT_EQ(log->countTripsInRange(20051002, 20051004), 0u);
    QSignalSpy reset(log.get(), &TripLog::tripsReset);
    log->deleteTripsInRange(20051001, 20051005);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_TRUE(log->trips().isEmpty());
    EXPECT_TRUE(stored()->records.isEmpty());
    EXPECT_EQ(log->undoList().size(), 1u) << "the undo list is not touched";
}

TEST_F(TripLogTest, aFailedBatchIsReportedOnceAfterItsTransaction)
{
    add({trip(2005, 10, 1, 100), trip(2005, 10, 2, 200)});
    int writes = 0;
    store->setWriteHook([&] { return ++writes != 1; }); // the first delete fails
    bool storeWasFree = false;
    kit.messageBoxes.onShow = [&](const MessageBoxRequest &) {
        // Another connection can write only when no transaction holds the file.
        sqlite3 *other = nullptr;
        sqlite3_open(device->storePath().toUtf8().constData(), &other);
        storeWasFree = sqlite3_exec(other, "BEGIN IMMEDIATE; ROLLBACK", nullptr, nullptr,
                                    nullptr) == SQLITE_OK;
        sqlite3_close(other);
    };
    kit.messageBoxes.expect(MessageAnswer::Ok);
    log->deleteTripsInRange(20051001, 20051002);
    EXPECT_EQ(kit.messageBoxes.texts(),
              QStringList{"Error during deleting record in database: Velmora OdometerRec"});
    EXPECT_TRUE(storeWasFree);
    EXPECT_EQ(distances(log->trips()), (std::vector<std::int32_t>{100})) << "as the store holds";
}

TEST_F(TripLogTest, newCategoriesAreRewrittenAndDuplicatesRefusedSilently)
{
    EXPECT_TRUE(log->addCategory(QStringLiteral("Business trip")));
    EXPECT_TRUE(log->addCategory(QStringLiteral("Job")));
    EXPECT_EQ(names(log->categories()),
              (std::vector<QString>{"Holiday", "Job", "Shopping", "Business trip"}));
    EXPECT_EQ(names(stored()->categories), names(log->categories()));
}

TEST_F(TripLogTest, renameThroughTripsMergesAndMovesToTheEnd)
{
    add({trip(2005, 10, 1, 100, "Job"), trip(2005, 10, 2, 200, "Holiday"),
         trip(2005, 10, 3, 300, "Job")});
    // The file as a kill at the last write would leave it: the list and the trips as before.
    const QString atKill = device->path() + QStringLiteral("/at-kill.db");
    store->setWriteHook([&] {
        QFile::remove(atKill);
        return QFile::copy(device->storePath(), atKill);
    });
    ASSERT_TRUE(log->renameCategory(QStringLiteral("Job"), QStringLiteral("Holiday"), true));
    store->setWriteHook({});
    const DeviceSession killed(atKill, kit.services());
    EXPECT_EQ(names(killed.categories), (std::vector<QString>{"Holiday", "Job", "Shopping"}));
    EXPECT_EQ(killed.records.at(0).category, QStringLiteral("Job"));

    EXPECT_EQ(names(log->categories()), (std::vector<QString>{"Holiday", "Shopping"}));
    EXPECT_TRUE(log->takeTripsChangedByCategories());
    EXPECT_FALSE(log->takeTripsChangedByCategories());
    const auto session = stored();
    for (ListPosition i = 0; i < session->records.size(); ++i)
        EXPECT_EQ(session->records.at(i).category, QStringLiteral("Holiday"));

    ASSERT_TRUE(log->renameCategory(QStringLiteral("Holiday"), QStringLiteral("Holiday"), false));
    EXPECT_EQ(names(stored()->categories), (std::vector<QString>{"Shopping", "Holiday"}));
}

TEST_F(TripLogTest, renameWhoseRewriteFailsLeavesTheTrips)
{
    add({trip(2005, 10, 1, 100, "Job")});
    store->setWriteHook([] { return false; });
    kit.messageBoxes.expect(MessageAnswer::Ok);
    EXPECT_FALSE(log->renameCategory(QStringLiteral("Job"), QStringLiteral("Work"), true));
    store->setWriteHook({});
    EXPECT_EQ(kit.messageBoxes.shown.size(), 1u) << "told once";
    EXPECT_EQ(log->trips().at(0).category, QStringLiteral("Job"));
    EXPECT_EQ(stored()->records.at(0).category, QStringLiteral("Job"));
    EXPECT_FALSE(log->takeTripsChangedByCategories());
}

TEST_F(TripLogTest, deletingACategoryDeletesItsTripsOnlyThroughTrips)
{
    add({trip(2005, 10, 1, 100, "Job"), trip(2005, 10, 2, 200, "Holiday")});
    ASSERT_TRUE(log->deleteCategory(QStringLiteral("Holiday"), false));
    EXPECT_EQ(stored()->records.size(), 2u);
    EXPECT_FALSE(log->takeTripsChangedByCategories());
    ASSERT_TRUE(log->deleteCategory(QStringLiteral("Job"), true));
    EXPECT_EQ(distances(log->trips()), (std::vector<std::int32_t>{200}));
    EXPECT_EQ(stored()->records.size(), 1u);
    EXPECT_TRUE(log->takeTripsChangedByCategories());
    EXPECT_EQ(names(log->categories()), (std::vector<QString>{"Shopping"}));
}

TEST_F(TripLogTest, routesAreRewrittenAndAnEditedRouteMovesToTheEnd)
{
    BookRoute home;
    home.setStartPlace(QStringLiteral("Home"));
    home.setDestination(QStringLiteral("Office"));
    home.setDistance(1250);
    BookRoute shop = home;
    shop.setDestination(QStringLiteral("Shop"));
    ASSERT_TRUE(log->addRoute(home));
    ASSERT_TRUE(log->addRoute(home)) << "identical routes are both kept";
    ASSERT_TRUE(log->addRoute(shop));
    ASSERT_TRUE(log->replaceRoute(0, shop));
    EXPECT_FALSE(log->deleteRoute(3));
    ASSERT_TRUE(log->deleteRoute(0));
    const auto session = stored();
    ASSERT_EQ(session->book.size(), 2u);
    EXPECT_EQ(session->book.at(0).destination, QStringLiteral("Shop"));
    EXPECT_EQ(session->book.at(1).destination, QStringLiteral("Shop"));
}

} // namespace
