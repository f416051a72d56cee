#include "TripLog.h"

#include "StorageFixture.h"

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
        log = std::make_unique<TripLog>(*databases, kit.waitCursor, kit.clock);
        QObject::connect(log.get(), &TripLog::storeFailed, [this](const StoreFailure &failure) {
            told.emplace_back(failure.kind, failure.name);
            // Another connection can write only when no transaction holds the file.
            sqlite3 *other = nullptr;
            sqlite3_open(device->storePath().toUtf8().constData(), &other);
            toldWhileStoreFree = sqlite3_exec(other, "BEGIN IMMEDIATE; ROLLBACK", nullptr, nullptr,
                                              nullptr) == SQLITE_OK &&
                                 !kit.waitCursor.isShown();
            sqlite3_close(other);
        });
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
        return std::make_unique<DeviceSession>(device->storePath());
    }

    std::unique_ptr<TripLog> log;
    std::vector<std::pair<StoreFailure::Kind, QString>> told;
    bool toldWhileStoreFree = false;
};

TEST_F(TripLogTest, undoRestoresTheTripAsStoredAndKeepsItWhenTheStoreRefuses)
{
    add({trip(2005, 10, 1, 100, "Job", "original")});
    ASSERT_TRUE(log->deleteTrip(0));
    store->setWriteHook([] { return false; });
    EXPECT_FALSE(log->undoLastDeletion());
    EXPECT_EQ(log->undoList().size(), 1u);
    MileageRecord refused = trip(2005, 10, 2, 200);
    EXPECT_FALSE(log->addTrip(refused)) << "an add the store refuses";
    store->setWriteHook({});
    EXPECT_EQ(told, (std::vector{std::pair{StoreFailure::Kind::Add, DatabaseName::Mileage},
                                 std::pair{StoreFailure::Kind::Add, DatabaseName::Mileage}}));
    ASSERT_TRUE(log->undoLastDeletion());
    EXPECT_EQ(stored()->records.at(0).memo, QStringLiteral("original"));
    // Positions the lists do not hold change nothing.
    EXPECT_FALSE(log->replaceTrip(1, refused));
    EXPECT_FALSE(log->deleteRoute(0));
}

TEST_F(TripLogTest, aFailedBatchIsToldOnceAfterItsTransaction)
{
    add({trip(2005, 10, 1, 100), trip(2005, 10, 2, 200)});
    int writes = 0;
    store->setWriteHook([&] { return ++writes != 1; }); // the first delete fails
    log->deleteTripsInRange(20051001, 20051002);
    EXPECT_EQ(told, (std::vector{std::pair{StoreFailure::Kind::Delete, DatabaseName::Mileage}}));
    EXPECT_TRUE(toldWhileStoreFree);
    EXPECT_EQ(distances(log->trips()), (std::vector<std::int32_t>{100})) << "as the store holds";
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
    const DeviceSession killed(atKill);
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
    EXPECT_FALSE(log->renameCategory(QStringLiteral("Job"), QStringLiteral("Work"), true));
    store->setWriteHook({});
    EXPECT_EQ(told, (std::vector{std::pair{StoreFailure::Kind::Edit, DatabaseName::Categories}}));
    EXPECT_TRUE(toldWhileStoreFree);
    EXPECT_EQ(log->trips().at(0).category, QStringLiteral("Job"));
    EXPECT_EQ(stored()->records.at(0).category, QStringLiteral("Job"));
    EXPECT_FALSE(log->takeTripsChangedByCategories());
}

} // namespace
