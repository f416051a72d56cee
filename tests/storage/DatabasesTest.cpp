#include "Sorting.h"
#include "Sqlite.h"
#include "StorageFixture.h"

#include "StringTable.h"

#include <algorithm>

using namespace tripvane;

namespace {

class FirstStart : public StorageFixture
{
};

TEST_F(FirstStart, suppliesDefaultsAStatusOfTodayAndCreatesOnlyStatusAndMileage)
{
    ASSERT_EQ(categories.size(), 3u);
    EXPECT_EQ(categories.at(0).name, QStringLiteral("Holiday"));
    EXPECT_EQ(categories.at(1).name, QStringLiteral("Job"));
    EXPECT_EQ(categories.at(2).name, QStringLiteral("Shopping"));
    EXPECT_EQ(book.size(), 0u);
    EXPECT_NE(databaseOid(DatabaseName::Status), 0u);
    EXPECT_NE(databaseOid(DatabaseName::Mileage), 0u);
    EXPECT_EQ(databaseOid(DatabaseName::Categories), 0u);
    EXPECT_EQ(databaseOid(DatabaseName::MileageBook), 0u);
    EXPECT_EQ(store->recordCount(databaseOid(DatabaseName::Mileage)), 0u);

    // A status without a record is zero, dated today.
    kit.clock.now.hour = 23;
    ASSERT_TRUE(databases->loadStatus(holders, kit.clock.localToday()));
    EXPECT_EQ(holders.start.distance, 0);
    EXPECT_EQ(holders.end.distanceTextFor(0), QStringLiteral("0.00"));
    EXPECT_EQ(holders.end.dateKey, 20051029u);
    EXPECT_EQ(holders.end.date.hour, 0) << "a status date carries no time";
    EXPECT_EQ(databases->loadRecords(records, underEdit), 0);
    EXPECT_TRUE(takeFailures().empty());
}

class Categories : public StorageFixture
{
};

TEST_F(Categories, emptyDatabaseBehavesLikeAMissingOne)
{
    CategoryList none;
    EXPECT_FALSE(databases->rewriteCategories(none));
    EXPECT_NE(databaseOid(DatabaseName::Categories), 0u);
    reopen();
    EXPECT_EQ(categories.size(), 3u);
}

TEST_F(Categories, rewriteNumbersInListOrderAndComesBack)
{
    categories.at(1).setName(QStringLiteral("Work"));
    CategoryEntry extra;
    extra.setName(QStringLiteral("Aaa"));
    categories.append(extra);
    ASSERT_TRUE(databases->rewriteCategories(categories));

    std::vector<std::uint32_t> sequence;
    store->forEachRecord(databaseOid(DatabaseName::Categories), [&](Oid, PropertyValues &v) {
        for (const PropertyValue &p : v)
            if (p.id == Prop::Sequence)
                sequence.push_back(p.number);
        return true;
    });
    EXPECT_EQ(sequence, (std::vector<std::uint32_t>{0, 1, 2, 3}));
    reopen();
    ASSERT_EQ(categories.size(), 4u);
    EXPECT_EQ(categories.at(1).name, QStringLiteral("Work"));
    EXPECT_EQ(categories.at(3).name, QStringLiteral("Aaa"));
}

TEST_F(Categories, duplicateStoredNamesYieldOneEntry)
{
    Oid oid = store->createDatabase(DatabaseName::Categories);
    for (std::uint32_t i = 0; i < 3; ++i)
        store->writeRecord(
            oid, 0,
            {PropertyValue::ofNumber(Prop::Sequence, i),
             PropertyValue::ofText(Prop::CategoryName,
                                   i == 2 ? QStringLiteral("Car") : QStringLiteral("Job"))});
    reopen();
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_EQ(categories.at(0).name, QStringLiteral("Job"));
    EXPECT_EQ(categories.at(1).name, QStringLiteral("Car"));
}

class MileageBook : public StorageFixture
{
};

TEST_F(MileageBook, routesComeBackAndDeletingTheLastEmptiesTheBook)
{
    BookRoute route;
    route.setStartPlace(QStringLiteral("Home"));
    route.setDestination(QStringLiteral("Office"));
    route.setDistance(1250);
    book.append(route);
    ASSERT_TRUE(databases->rewriteMileageBook(book));
    reopen();
    ASSERT_EQ(book.size(), 1u);
    EXPECT_EQ(book.at(0).destination, QStringLiteral("Office"));
    EXPECT_EQ(book.at(0).distanceTextFor(0), QStringLiteral("12.50"));

    book.removeAtPosition(0);
    EXPECT_FALSE(databases->rewriteMileageBook(book));
    EXPECT_TRUE(takeFailures().empty());
    reopen();
    EXPECT_EQ(book.size(), 0u);
    EXPECT_NE(databaseOid(DatabaseName::MileageBook), 0u);
}

TEST_F(MileageBook, aRouteMissingAPlaceKeepsThePreviousOneAndAFirstIsLeftOut)
{
    Oid oid = store->createDatabase(DatabaseName::MileageBook);
    store->writeRecord(oid, 0, // with no place before it, it could be neither listed nor deleted
                       {PropertyValue::ofNumber(Prop::Sequence, 0),
                        PropertyValue::ofText(Prop::RouteStartPlace, QString()),
                        PropertyValue::ofText(Prop::RouteDestination, QStringLiteral("Depot"))});
    store->writeRecord(oid, 0,
                       {PropertyValue::ofNumber(Prop::Sequence, 0),
                        PropertyValue::ofText(Prop::RouteStartPlace, QStringLiteral("Home")),
                        PropertyValue::ofText(Prop::RouteDestination, QStringLiteral("Office")),
                        PropertyValue::ofNumber(Prop::RouteDistance, 100)});
    store->writeRecord(oid, 0,
                       {PropertyValue::ofNumber(Prop::Sequence, 1),
                        PropertyValue::ofText(Prop::RouteDestination, QStringLiteral("Depot")),
                        PropertyValue::ofNumber(Prop::RouteDistance, 200)});
    reopen();
    EXPECT_EQ(takeFailures(), (std::vector{std::pair{StoreFailure::Kind::Read, QString()}}));
    ASSERT_EQ(book.size(), 2u);
    EXPECT_EQ(book.at(1).startPlace, QStringLiteral("Home"));
    EXPECT_EQ(book.at(1).destination, QStringLiteral("Depot"));
}

class Status : public StorageFixture
{
};

TEST_F(Status, writtenStatusComesBackAndEqualReadingsAsZero)
{
    ASSERT_TRUE(databases->loadStatus(holders, kit.clock.localToday()));
    holders.start.setDistance(100000);
    holders.end.setDistance(125050);
    holders.end.setDate(makeDate(2006, 2, 3));
    holders.end.setMemo(QStringLiteral("new tyres"));
    ASSERT_TRUE(databases->writeStatus(holders));
    ASSERT_TRUE(databases->writeStatus(holders)); // rewrites the one record
    EXPECT_EQ(store->recordCount(databaseOid(DatabaseName::Status)), 1u);

    OdometerHolders loaded;
    reopen();
    ASSERT_TRUE(databases->loadStatus(loaded, kit.clock.localToday()));
    EXPECT_EQ(loaded.start.distance, 100000);
    EXPECT_EQ(loaded.end.distance, 125050);
    EXPECT_EQ(loaded.start.dateKey, 20060203u);
    EXPECT_EQ(loaded.end.dateKey, 20060203u);
    EXPECT_EQ(loaded.start.memo, QStringLiteral("new tyres"));
    EXPECT_EQ(loaded.end.key, 0);

    // Equal readings load as zero and an absent note as a blank.
    holders.start.memo.clear();
    holders.end.memo.clear();
    holders.start.setDistance(5000);
    holders.end.setDistance(5000);
    ASSERT_TRUE(databases->writeStatus(holders));
    ASSERT_TRUE(databases->loadStatus(holders, kit.clock.localToday()));
    EXPECT_EQ(holders.start.distance, 0);
    EXPECT_EQ(holders.end.distance, 0);
    EXPECT_EQ(holders.end.memo, QStringLiteral(" "));
}

class Trips : public StorageFixture
{
};

// A key is the clock's day, hour, minute and second without leading zeros; a key already taken
// in the same second takes the next free one.
TEST_F(Trips, keysComeFromTheClockAndDeleteHitsTheRightTrip)
{
    const std::int32_t first = addTrip(trip(2005, 10, 1, 100));
    const std::int32_t second = addTrip(trip(2005, 10, 2, 200));
    const std::int32_t third = addTrip(trip(2005, 10, 3, 300));
    EXPECT_EQ(first, 291457);
    EXPECT_EQ(second, 291458);
    EXPECT_EQ(third, 291459);
    kit.clock.now = makeDate(2005, 10, 3);
    kit.clock.now.second = 9;
    EXPECT_EQ(addTrip(trip(2005, 10, 2, 400)), 3009);

    ASSERT_TRUE(databases->deleteRecord(second));
    EXPECT_EQ(storedKeys(), (std::vector<std::int32_t>{3009, 291457, 291459}));
    ASSERT_EQ(databases->loadRecords(records, underEdit), 1);
    EXPECT_EQ(records.at(1).distance, 100);
    EXPECT_EQ(records.at(2).distance, 300);

    // A batch skips the taken keys as one addition after the other does.
    kit.clock.now = makeDate(2005, 10, 29);
    kit.clock.now.hour = 14;
    kit.clock.now.minute = 5;
    kit.clock.now.second = 6;
    Databases::NewTripKeys newKeys = databases->newTripKeys(kit.clock.nowUtc());
    std::vector<ObjectStore::EncodedRecord> batch;
    for (int i = 0; i < 3; ++i)
        batch.push_back(Databases::encodeTrip(trip(2005, 10, 4, 500), newKeys.next()));
    // The trips may come in more than one batch.
    ASSERT_TRUE(databases->addEncodedTrips(std::span(batch).first(1)));
    ASSERT_TRUE(databases->addEncodedTrips(std::span(batch).subspan(1)));
    std::vector<std::int32_t> keys = storedKeys();
    std::ranges::sort(keys);
    EXPECT_EQ(keys, (std::vector<std::int32_t>{3009, 291456, 291457, 291458, 291459, 291460}));

    SystemTime t = makeDate(2005, 10, 31);
    t.hour = 23;
    t.minute = 59;
    t.second = 59;
    EXPECT_EQ(keyFromClock(t), 31235959);
    t = makeDate(2005, 10, 1);
    t.hour = 12;
    EXPECT_EQ(keyFromClock(t), 11200);
}

TEST_F(Trips, updateReplacesTheTripAndAMissingKeyFailsSilently)
{
    const std::int32_t key = addTrip(trip(2005, 10, 1, 100));
    MileageRecord changed = trip(2005, 10, 5, 777, "Holiday");
    changed.key = key;
    changed.setMemo(QStringLiteral("changed"));
    ASSERT_TRUE(databases->updateRecord(changed));
    ASSERT_EQ(databases->loadRecords(records, underEdit), 1);
    EXPECT_EQ(records.at(0).category, QStringLiteral("Holiday"));
    EXPECT_EQ(records.at(0).memo, QStringLiteral("changed"));
    EXPECT_EQ(records.at(0).dateKey, 20051005u);

    changed.key = 4242;
    EXPECT_FALSE(databases->updateRecord(changed));
    EXPECT_FALSE(databases->deleteRecord(4242));
    EXPECT_TRUE(takeFailures().empty());
}

TEST_F(Trips, absentTextsAreStoredAsOneBlank)
{
    MileageRecord bare = trip(2005, 10, 1, 100);
    bare.setMemo(QStringLiteral("")); // present but empty stays empty
    addTrip(bare);
    ASSERT_EQ(databases->loadRecords(records, underEdit), 1);
    EXPECT_EQ(records.at(0).startPlace, QStringLiteral(" "));
    EXPECT_EQ(records.at(0).destination, QStringLiteral(" "));
    EXPECT_EQ(records.at(0).memo, QStringLiteral(""));
    EXPECT_EQ(records.at(0).distanceTextFor(1), QStringLiteral("1,00"));
}

// A newer program's properties of a trip survive an edit and the exit rebuild.
TEST_F(Trips, unknownPropertiesAreKeptThroughEveryRewrite)
{
    const std::int32_t key = addTrip(trip(2005, 10, 1, 100));
    const Oid mileage = databaseOid(DatabaseName::Mileage);
    const PropertyValues newer{PropertyValue::ofNumber(0x00200013, 7),
                               PropertyValue::ofText(0x0021001F, QStringLiteral("fuel card"))};
    const auto storedNewer = [&] {
        PropertyValues kept;
        store->forEachRecord(mileage, [&](Oid, PropertyValues &values) {
            for (const PropertyValue &value : values) {
                if (value.id >= 0x00200000)
                    kept.push_back(value);
            }
            return true;
        });
        return kept;
    };
    PropertyValues withNewer{PropertyValue::ofNumber(Prop::Key, std::uint32_t(key))};
    withNewer.insert(withNewer.end(), newer.begin(), newer.end());
    store->forEachRecord(mileage, [&](Oid, PropertyValues &values) {
        withNewer.insert(withNewer.end(), values.begin() + 1, values.end());
        return false;
    });
    ASSERT_NE(store->writeFirstEqual(mileage, std::uint32_t(key), withNewer),
              ObjectStore::KeyedChange::NotFound);

    ASSERT_EQ(databases->loadRecords(records, underEdit), 1);
    MileageRecord edited;
    edited.copyFrom(records.at(0));
    edited.setMemo(QStringLiteral("edited"));
    ASSERT_TRUE(databases->updateRecord(edited));
    ASSERT_EQ(storedNewer().size(), 2u) << "after an edit";
    ASSERT_EQ(databases->loadRecords(records, underEdit), 1);
    ASSERT_TRUE(databases->rebuildMileage(records));
    const PropertyValues kept = storedNewer();
    ASSERT_EQ(kept.size(), 2u) << "after the exit rebuild";
    EXPECT_EQ(kept[0].number, 7u);
    EXPECT_EQ(kept[1].text, QStringLiteral("fuel card"));
}

// The exit writes the trips in the order the load reads them (by key), whatever order the list
// shows, so that the file reads front to back run after run.
TEST_F(Trips, theExitWritesTripsInTheOrderTheLoadReadsThem)
{
    for (int day : {3, 1, 2})
        addTrip(trip(2005, 10, day, 100 * day));
    ASSERT_EQ(databases->loadRecords(records, underEdit), 1);
    SortRecordsByDate(records, SortDescending);
    for (ListPosition i = 0; i < records.size(); ++i) // keys against the list order
        records.at(i).key = std::int32_t(5000 + 1000 * (i % 2) - int(i));
    ASSERT_TRUE(databases->rebuildMileage(records));
    SqliteConnection file;
    ASSERT_TRUE(file.open(device->storePath(), SqliteConnection::Mode::ReadWriteExisting));
    SqliteStatement stored =
        file.prepare("SELECT sort_key FROM records WHERE database = ? ORDER BY oid");
    ASSERT_TRUE(stored.bind(1, std::int64_t(databaseOid(DatabaseName::Mileage))));
    std::vector<std::int64_t> keys;
    while (stored.step() == SqliteStatement::Step::Row)
        keys.push_back(stored.columnInt(0));
    EXPECT_EQ(keys, (std::vector<std::int64_t>{4998, 5000, 5999}));
}

// The exit writes the trips again only when a change of the run did not reach the file, or when
// too many of them lie out of the order the load reads: one in fifty.
class ExitRebuild;
struct ExitRun
{
    const char *name;
    int tripsBefore;
    bool scattered;
    void (*duringRun)(ExitRebuild &);
    bool rebuilt;
};

void PrintTo(const ExitRun &run, std::ostream *out)
{
    *out << run.name;
}

class ExitRebuild : public StorageFixture, public ::testing::WithParamInterface<ExitRun>
{
public:
    std::vector<std::int64_t> storedOids()
    {
        SqliteConnection file;
        EXPECT_TRUE(file.open(device->storePath(), SqliteConnection::Mode::ReadWriteExisting));
        SqliteStatement rows = file.prepare("SELECT oid FROM records ORDER BY sort_key");
        std::vector<std::int64_t> oids;
        while (rows.step() == SqliteStatement::Step::Row)
            oids.push_back(rows.columnInt(0));
        return oids;
    }
    // As the trip log does it: the store first, then the list.
    void editSecondTrip() { ASSERT_TRUE(databases->updateRecord(records.at(1))); }
    void deleteFirstTrip()
    {
        ASSERT_TRUE(databases->deleteRecord(records.at(0).key));
        records.removeAtPosition(0);
    }
    void addOneTrip() { addTrip(trip(2006, 1, 1, 100)); }
    void failOneEdit()
    {
        store->setWriteHook([] { return false; });
        ASSERT_FALSE(databases->updateRecord(records.at(1)));
        store->setWriteHook({});
    }
};

TEST_P(ExitRebuild, writesTheTripsAgainOnlyWhenNeeded)
{
    for (int i = 0; i < GetParam().tripsBefore; ++i)
        addTrip(trip(2005, 10, 1 + i % 28, 100 * (i + 1)));
    if (GetParam().scattered) {
        SqliteConnection file;
        ASSERT_TRUE(file.open(device->storePath(), SqliteConnection::Mode::ReadWriteExisting));
        ASSERT_TRUE(file.exec("UPDATE records SET oid = 1000 - oid"));
    }
    reopen();
    ASSERT_EQ(databases->loadRecords(records, underEdit), 1);
    GetParam().duringRun(*this);
    int writesAtExit = 0;
    store->setWriteHook([&] { return ++writesAtExit > 0; });
    databases->writeBackAtExit(records, categories, book, false, false);
    EXPECT_EQ(writesAtExit > 0, GetParam().rebuilt);
    const std::vector<std::int64_t> oids = storedOids();
    if (GetParam().rebuilt) {
        EXPECT_TRUE(std::is_sorted(oids.begin(), oids.end())) << "read front to back";
    }
    EXPECT_EQ(oids.size(), records.size());
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ExitRebuild,
    ::testing::Values(
        ExitRun{"NothingWritten", 3, false, [](ExitRebuild &) {}, false},
        ExitRun{"TripEditedInPlace", 3, false, [](ExitRebuild &run) { run.editSecondTrip(); },
                false},
        ExitRun{"TripDeleted", 3, false, [](ExitRebuild &run) { run.deleteFirstTrip(); }, false},
        ExitRun{"TripAddedToASmallLog", 3, false, [](ExitRebuild &run) { run.addOneTrip(); }, true},
        ExitRun{"TripAddedToALargerLog", 60, false, [](ExitRebuild &run) { run.addOneTrip(); },
                false},
        ExitRun{"AnEditThatFailed", 3, false, [](ExitRebuild &run) { run.failOneEdit(); }, true},
        ExitRun{"ScatteredFile", 3, true, [](ExitRebuild &) {}, true}),
    [](const auto &test) { return std::string(test.param.name); });

TEST_F(Trips, exitWithNoTripsLeavesAnEmptyDatabase)
{
    addTrip(trip(2005, 10, 1, 100));
    ASSERT_EQ(databases->loadRecords(records, underEdit), 1);
    // The delete does not reach the file, so the exit writes the list: now without trips.
    store->setWriteHook([] { return false; });
    ASSERT_FALSE(databases->deleteRecord(records.at(0).key));
    store->setWriteHook({});
    records.clear();
    databases->writeBackAtExit(records, categories, book, false, false);
    EXPECT_NE(databaseOid(DatabaseName::Mileage), 0u);
    EXPECT_EQ(store->recordCount(databaseOid(DatabaseName::Mileage)), 0u);
    EXPECT_FALSE(kit.waitCursor.isShown());
}

TEST_F(Trips, exitWritesCategoriesAndBookOnlyWhenChanged)
{
    databases->loadRecords(records, underEdit);
    databases->writeBackAtExit(records, categories, book, false, false);
    EXPECT_EQ(databaseOid(DatabaseName::Categories), 0u);
    EXPECT_EQ(databaseOid(DatabaseName::MileageBook), 0u);
    databases->writeBackAtExit(records, categories, book, true, true);
    EXPECT_EQ(store->recordCount(databaseOid(DatabaseName::Categories)), 3u);
    EXPECT_NE(databaseOid(DatabaseName::MileageBook), 0u);
}

} // namespace
