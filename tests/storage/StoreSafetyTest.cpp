#include "StorageFixture.h"

#include "DeviceLog.h"

#include "Sqlite.h"

#include <QCryptographicHash>
#include <QFile>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace tripvane;

namespace {

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class InjectedFailures : public StorageFixture
{
protected:
    void failWrites()
    {
        store->setWriteHook([] { return false; });
    }
};

// Each write that fails is kept once, naming its database, and the store keeps what it held.
TEST_F(InjectedFailures, eachFailedWriteNamesItsDatabaseAndKeepsTheStore)
{
    const std::int32_t key = addTrip(trip(2005, 10, 1, 100));
    ASSERT_TRUE(databases->rewriteCategories(categories));
    ASSERT_TRUE(databases->loadStatus(holders, kit.clock.localToday()));
    MileageRecord changed = trip(2005, 10, 9, 900);
    changed.key = key;
    CategoryList other;
    CategoryEntry only;
    only.setName(QStringLiteral("Other"));
    other.append(only);
    using Kind = StoreFailure::Kind;
    const std::tuple<Kind, QString, std::function<bool()>> writes[] = {
        {Kind::Add, DatabaseName::Mileage,
         [&] {
             std::int32_t added = 0;
             return databases->addRecord(trip(2005, 10, 2, 200), kit.clock.nowUtc(), added);
         }},
        {Kind::Edit, DatabaseName::Mileage, [&] { return databases->updateRecord(changed); }},
        {Kind::Delete, DatabaseName::Mileage, [&] { return databases->deleteRecord(key); }},
        {Kind::Edit, DatabaseName::Status, [&] { return databases->writeStatus(holders); }},
        {Kind::Edit, DatabaseName::Categories, [&] { return databases->rewriteCategories(other); }},
    };
    failWrites();
    for (const auto &[kind, name, write] : writes) {
        EXPECT_FALSE(write()) << qPrintable(name);
        EXPECT_EQ(takeFailures(), (std::vector{std::pair{kind, name}}));
    }
    store->setWriteHook({});
    EXPECT_EQ(storedKeys(), (std::vector<std::int32_t>{key}));
    ASSERT_EQ(databases->loadRecords(records, underEdit), 1);
    EXPECT_EQ(records.at(0).distance, 100);
    reopen();
    EXPECT_EQ(categories.size(), 3u);
}

TEST_F(InjectedFailures, rebuildFailingHalfWayLosesNothing)
{
    for (int i = 0; i < 10; ++i) {
        kit.clock.now.second = std::uint16_t(i);
        addTrip(trip(2005, 10, i + 1, 100 * (i + 1)));
    }
    ASSERT_EQ(databases->loadRecords(records, underEdit), 1);
    for (ListPosition i = 0; i < records.size(); ++i)
        records.at(i).setDistance(1);
    // The first change fails, so the exit writes every trip again; that fails after five.
    int writes = 0;
    store->setWriteHook([&] { return ++writes > 1 && writes <= 6; });
    ASSERT_FALSE(databases->updateRecord(records.at(0)));
    takeFailures();
    databases->writeBackAtExit(records, categories, book, false, false);
    EXPECT_EQ(takeFailures(),
              (std::vector{std::pair{StoreFailure::Kind::Edit, DatabaseName::Mileage}}));
    store->setWriteHook({});
    RecordList stored;
    ASSERT_EQ(databases->loadRecords(stored, underEdit), 1);
    ASSERT_EQ(stored.size(), 10u);
    for (ListPosition i = 0; i < stored.size(); ++i)
        EXPECT_EQ(stored.at(i).distance, 100 * std::int32_t(i + 1));
}

class PartialLoad : public StorageFixture
{
protected:
    // Damages the properties of one stored trip behind the program's back.
    void damageOneTrip(std::int32_t key)
    {
        SqliteConnection raw;
        ASSERT_TRUE(raw.open(device->storePath(), SqliteConnection::Mode::ReadWriteExisting));
        SqliteStatement damage =
            raw.prepare("UPDATE records SET properties = 'not properties' WHERE sort_key = ?");
        ASSERT_TRUE(damage.bind(1, std::int64_t(key)) && damage.run());
    }
};

TEST_F(PartialLoad, tripsThatDidNotLoadCompletelyAreNeverRebuilt)
{
    std::vector<std::int32_t> keys;
    for (int i = 0; i < 4; ++i) {
        kit.clock.now.second = std::uint16_t(10 + i);
        keys.push_back(addTrip(trip(2005, 10, i + 1, 100)));
    }
    damageOneTrip(keys[2]);
    reopen();
    EXPECT_EQ(databases->loadRecords(records, underEdit), 0);
    EXPECT_EQ(takeFailures(), (std::vector{std::pair{StoreFailure::Kind::Read, QString()}}));
    EXPECT_EQ(records.size(), 2u) << "the trips read before the failure stay";
    EXPECT_FALSE(databases->recordsLoadedCompletely());

    // Adding still works after the failed read, and is written through.
    kit.clock.now.second = 30;
    const std::int32_t added = addTrip(trip(2005, 10, 9, 900));
    databases->writeBackAtExit(records, categories, book, false, false);
    EXPECT_EQ(store->recordCount(databaseOid(DatabaseName::Mileage)), 5u);
    EXPECT_NE(store->seekFirstEqual(databaseOid(DatabaseName::Mileage), std::uint32_t(added)), 0u);
    EXPECT_NE(store->seekFirstEqual(databaseOid(DatabaseName::Mileage), std::uint32_t(keys[2])),
              0u);
}

class ForeignFiles : public ::testing::Test
{
protected:
    static void fillWithRecords(ObjectStore &store)
    {
        std::uint32_t next = 0;
        ASSERT_TRUE(store.replaceDatabase(
            QStringLiteral("Velmora OdometerRec"),
            [&](PropertyValues &values) {
                values = {PropertyValue::ofNumber(ObjectStore::SortProperty, next)};
                return ++next <= 2000;
            },
            nullptr));
    }
    void SetUp() override { path = dir.filePath(QStringLiteral("objectstore.db")); }
    void write(const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Opening names the file, gives up and leaves it byte for byte as it was.
    void expectRefusedUntouched()
    {
        const QByteArray before = fileHash(path);
        ObjectStore store;
        const std::optional<StoreFailure> failure =
            openDeviceStore(store, path, DeviceAccess::Write);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->kind, StoreFailure::Kind::Open);
        EXPECT_EQ(failure->name, path);
        EXPECT_EQ(fileHash(path), before);
        EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));
    }

    QTemporaryDir dir;
    QString path;
};

TEST_F(ForeignFiles, aTextFileAndAnotherProgramsDatabaseAreRefused)
{
    write("Shopping list: bread, milk\n");
    expectRefusedUntouched();
    ASSERT_TRUE(QFile::remove(path));
    {
        SqliteConnection other;
        ASSERT_TRUE(other.open(path, SqliteConnection::Mode::ReadWriteCreate));
        ASSERT_TRUE(other.exec("CREATE TABLE notes(text); INSERT INTO notes VALUES('mine');"));
    }
    expectRefusedUntouched();
}

TEST_F(ForeignFiles, damagedStoreIsRefused)
{
    {
        ObjectStore store;
        ASSERT_EQ(store.open(path), ObjectStore::OpenStatus::Ok);
        fillWithRecords(store);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 16384);
    for (int i = 8192; i < 12288; ++i)
        bytes[i] = char(0xA5);
    file.seek(0);
    file.write(bytes);
    file.close();
    expectRefusedUntouched();
}

TEST_F(ForeignFiles, truncatedStoreIsRefused)
{
    {
        ObjectStore store;
        ASSERT_EQ(store.open(path), ObjectStore::OpenStatus::Ok);
        fillWithRecords(store);
    }
    ASSERT_TRUE(QFile::resize(path, QFileInfo(path).size() / 2));
    expectRefusedUntouched();
}

// The exit rebuild is killed half way in a child process; the old trips must all be there.
TEST(CrashDuringRebuild, killedProcessLeavesEveryTrip)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("objectstore.db"));
    constexpr int TripCount = 10000;
    {
        DeviceSession session(path);
        ASSERT_TRUE(session.isOpen());
        for (int i = 0; i < TripCount; ++i) {
            MileageRecord r;
            r.key = 1000 + i;
            r.setDate(makeDate(2005, 1 + i % 12, 1 + i % 28));
            r.setDistance(i + 1);
            r.setCategory(QStringLiteral("Job"));
            session.records.append(r);
        }
        ASSERT_TRUE(session.databases->rebuildMileage(session.records));
    }

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        DeviceSession session(path);
        if (!session.isOpen() || session.loaded != 1)
            _exit(3);
        for (ListPosition i = 0; i < session.records.size(); ++i)
            session.records.at(i).setDistance(7);
        // A change that does not reach the file makes the exit write every trip again.
        int writes = 0;
        session.store.setWriteHook([&] {
            if (++writes == TripCount / 2)
                raise(SIGKILL);
            return writes > 1;
        });
        if (session.databases->updateRecord(session.records.at(0)))
            _exit(5);
        session.databases->writeBackAtExit(session.records, session.categories, session.book, false,
                                           false);
        _exit(4); // never reached: the hook kills the process half way
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child exit code " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGKILL);

    DeviceSession reopened(path);
    ASSERT_TRUE(reopened.isOpen());
    ASSERT_EQ(reopened.loaded, 1);
    ASSERT_EQ(reopened.records.size(), ListPosition(TripCount));
    for (ListPosition i = 0; i < reopened.records.size(); ++i) {
        ASSERT_EQ(reopened.records.at(i).key, std::int32_t(1000 + i));
        ASSERT_EQ(reopened.records.at(i).distance, std::int32_t(i + 1));
    }
}

} // namespace
