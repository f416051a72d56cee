#include "ObjectStore.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <thread>

using namespace tripvane;

namespace {

class ObjectStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("objectstore.db"));
        ASSERT_EQ(store.open(path), ObjectStore::OpenStatus::Ok);
        db = store.createDatabase(QStringLiteral("Velmora OdometerRec"));
        ASSERT_NE(db, 0u);
    }

    static PropertyValues keyed(std::uint32_t key, const char *text = "x")
    {
        return {PropertyValue::ofNumber(ObjectStore::SortProperty, key),
                PropertyValue::ofText(0x0005001F, QString::fromLatin1(text))};
    }

    std::vector<QString> textsInOrder()
    {
        std::vector<QString> texts;
        store.forEachRecord(db, [&](Oid, PropertyValues &values) {
            texts.push_back(values.at(1).text);
            return true;
        });
        return texts;
    }

    QTemporaryDir dir;
    QString path;
    ObjectStore store;
    Oid db = 0;
};

TEST_F(ObjectStoreTest, openByNameReportsMissingDatabases)
{
    Oid oid = 123;
    ASSERT_TRUE(store.findDatabase(QStringLiteral("Velmora OdometerMBook"), oid));
    EXPECT_EQ(oid, 0u);
    ASSERT_TRUE(store.findDatabase(QStringLiteral("Velmora OdometerRec"), oid));
    EXPECT_EQ(oid, db);
    EXPECT_EQ(store.createDatabase(QStringLiteral("Velmora OdometerRec")), 0u)
        << "names are unique";
    EXPECT_EQ(QFileInfo(path).permissions() &
                  (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
              QFile::Permissions())
        << "a new file is private";
}

TEST_F(ObjectStoreTest, recordsComeInAscendingSortKeyThenWrittenOrder)
{
    store.writeRecord(db, 0, keyed(291457, "c"));
    store.writeRecord(db, 0, keyed(11030, "a"));
    store.writeRecord(db, 0, keyed(150912, "b1"));
    store.writeRecord(db, 0, keyed(150912, "b2"));
    store.writeRecord(db, 0, keyed(4000000000u, "d"));
    EXPECT_EQ(textsInOrder(), (std::vector<QString>{"a", "b1", "b2", "c", "d"}));
    EXPECT_EQ(store.recordCount(db), 5u);
}

// The read-ahead walk of a large database visits exactly what the plain walk visits, in the same
// order, however early the visitor stops and wherever an unreadable record lies.
TEST_F(ObjectStoreTest, readAheadVisitsWhatThePlainWalkVisits)
{
    constexpr int Records = 6000;
    ASSERT_TRUE(store.inTransaction([&] {
        for (int i = 0; i < Records; ++i) {
            const std::uint32_t key = std::uint32_t(i * 7919 % 1500); // out of order, repeated
            if (store.writeRecord(db, 0, keyed(key, QByteArray::number(i).constData())) == 0)
                return false;
        }
        return true;
    }));
    const auto walk = [this](bool readAhead, std::size_t stopAfter, std::vector<Oid> &visited) {
        visited.clear();
        const ObjectStore::RecordVisitor visit = [&](Oid record, PropertyValues &values) {
            EXPECT_EQ(values.size(), 2u);
            visited.push_back(record);
            return visited.size() < stopAfter;
        };
        return readAhead ? store.forEachRecordReadAhead(db, visit) : store.forEachRecord(db, visit);
    };
    const auto expectSameWalks = [&](std::size_t stopAfter, bool expectedResult) {
        SCOPED_TRACE(stopAfter);
        std::vector<Oid> plain;
        std::vector<Oid> ahead;
        EXPECT_EQ(walk(false, stopAfter, plain), expectedResult);
        EXPECT_EQ(walk(true, stopAfter, ahead), expectedResult);
        EXPECT_EQ(ahead, plain);
        return plain.size();
    };
    for (std::size_t stopAfter : {std::size_t(1), std::size_t(512), std::size_t(513),
                                  std::size_t(4100), std::size_t(Records + 1)})
        EXPECT_EQ(expectSameWalks(stopAfter, true), std::min<std::size_t>(stopAfter, Records));

    SqliteConnection raw;
    ASSERT_TRUE(raw.open(path, SqliteConnection::Mode::ReadWriteExisting));
    ASSERT_TRUE(raw.exec("UPDATE records SET properties = '{' WHERE properties LIKE '%\"4321\"%'"));
    EXPECT_LT(expectSameWalks(Records + 1, false), std::size_t(Records)) << "stops at the damage";
}

TEST_F(ObjectStoreTest, writeWithIdentifierReplacesAndMayMoveTheRecord)
{
    const Oid a = store.writeRecord(db, 0, keyed(1, "a"));
    store.writeRecord(db, 0, keyed(2, "b"));
    EXPECT_EQ(store.writeRecord(db, a, keyed(3, "a2")), a);
    EXPECT_EQ(textsInOrder(), (std::vector<QString>{"b", "a2"}));
    EXPECT_EQ(store.writeRecord(db, 9999, keyed(3)), 0u) << "no such record";
}

// Changes by key reach the first record with that key, in that database only.
TEST_F(ObjectStoreTest, keyedChangesHitTheFirstEqualRecordOfTheirDatabase)
{
    using Change = ObjectStore::KeyedChange;
    const Oid other = store.createDatabase(QStringLiteral("Other"));
    store.writeRecord(other, 0, keyed(5, "elsewhere"));
    const Oid first = store.writeRecord(db, 0, keyed(5, "first"));
    store.writeRecord(db, 0, keyed(5, "second"));
    EXPECT_EQ(store.seekFirstEqual(db, 5), first);
    EXPECT_EQ(store.seekFirstEqual(db, 8), 0u);
    EXPECT_EQ(store.writeFirstEqual(db, 5, keyed(5, "first2")), Change::Done);
    EXPECT_EQ(textsInOrder(), (std::vector<QString>{"first2", "second"}));
    EXPECT_EQ(store.writeFirstEqual(db, 5, keyed(1, "moved")), Change::Done);
    EXPECT_EQ(textsInOrder(), (std::vector<QString>{"moved", "second"})) << "a new key sorts anew";
    EXPECT_EQ(store.deleteFirstEqual(db, 5), Change::Done);
    EXPECT_EQ(textsInOrder(), (std::vector<QString>{"moved"}));
    EXPECT_EQ(store.writeFirstEqual(db, 7, keyed(7)), Change::NotFound);
    EXPECT_EQ(store.deleteFirstEqual(db, 5), Change::NotFound);
    EXPECT_EQ(store.recordCount(other), 1u);
}

TEST_F(ObjectStoreTest, deleteRecord)
{
    const Oid a = store.writeRecord(db, 0, keyed(1));
    EXPECT_TRUE(store.deleteRecord(db, a));
    EXPECT_FALSE(store.deleteRecord(db, a));
}

TEST_F(ObjectStoreTest, replaceDatabaseKeepsOldRecordsWhenAWriteFails)
{
    for (std::uint32_t k = 1; k <= 3; ++k)
        store.writeRecord(db, 0, keyed(k, "old"));
    int writes = 0;
    store.setWriteHook([&] { return ++writes < 3; });
    std::uint32_t next = 0;
    const bool replaced = store.replaceDatabase(
        QStringLiteral("Velmora OdometerRec"),
        [&](PropertyValues &values) {
            if (next == 5)
                return false;
            values = keyed(++next, "new");
            return true;
        },
        nullptr);
    EXPECT_FALSE(replaced);
    store.setWriteHook({});
    EXPECT_EQ(textsInOrder(), (std::vector<QString>{"old", "old", "old"}));
}

TEST_F(ObjectStoreTest, registryKeepsValueTypes)
{
    const QString key = QStringLiteral("Software\\Velmora\\Tripvane\\Settings");
    EXPECT_FALSE(store.keyExists(key));
    ASSERT_TRUE(store.createKey(key));
    EXPECT_TRUE(store.keyExists(QStringLiteral("software\\velmora\\tripvane\\settings")));
    ASSERT_TRUE(store.setValue(key, QStringLiteral("DateTypeView"), {REG_DWORD, 3, {}}));
    ASSERT_TRUE(store.setValue(key, QStringLiteral("Name"), {REG_SZ, 0, QStringLiteral("3")}));
    const auto dword = store.queryValue(key, QStringLiteral("datetypeview"));
    ASSERT_TRUE(dword);
    EXPECT_EQ(dword->type, REG_DWORD);
    EXPECT_EQ(dword->dword, 3u);
    const auto text = store.queryValue(key, QStringLiteral("Name"));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->type, REG_SZ);
    EXPECT_EQ(text->text, QStringLiteral("3"));
    ASSERT_TRUE(store.setValue(key, QStringLiteral("Name"), {REG_DWORD, 7, {}}));
    EXPECT_EQ(store.queryValue(key, QStringLiteral("Name"))->type, REG_DWORD);
    EXPECT_FALSE(store.queryValue(key, QStringLiteral("Missing")));
}

std::int64_t sqliteNumber(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *statement = nullptr;
    std::int64_t result = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        result = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

TEST(SchemaUpgrade, aVersionOneFileGetsTheViewsOfTheLayoutTable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("objectstore.db"));
    {
        ObjectStore store;
        ASSERT_EQ(store.open(path), ObjectStore::OpenStatus::Ok);
        const Oid trips = store.createDatabase(QStringLiteral("Velmora OdometerRec"));
        ASSERT_NE(store.writeRecord(trips, 0,
                                    {PropertyValue::ofNumber(0x00000013, 7),
                                     PropertyValue::ofNumber(0x00040013, 1250)}),
                  0u);
    }
    // As version 1 left a file: its own views (here one is gone) and its version number.
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db, "DROP VIEW trips; PRAGMA user_version = 1", nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);

    ObjectStore store;
    ASSERT_EQ(store.open(path), ObjectStore::OpenStatus::Ok);
    EXPECT_EQ(sqliteNumber(path, "PRAGMA user_version"), ObjectStore::schemaVersion());
    EXPECT_GT(ObjectStore::schemaVersion(), 1);
    EXPECT_EQ(sqliteNumber(path, "SELECT distance_hundredths FROM trips WHERE key = 7"), 1250);
    EXPECT_EQ(sqliteNumber(path, "SELECT count(*) FROM mileage_book"), 0);
}

// A second thread reads through a connection of its own; using the first one from there stops a
// checked build before SQLite is entered.
TEST_F(ObjectStoreTest, eachThreadReadsThroughItsOwnConnection)
{
    ASSERT_NE(store.writeRecord(db, 0, keyed(5, "five")), 0u);
    std::vector<QString> read;
    std::thread([&] {
        ObjectStore reader;
        ASSERT_TRUE(reader.openForReading(path));
        reader.forEachRecord(db, [&](Oid, PropertyValues &values) {
            read.push_back(values.at(1).text);
            return true;
        });
        EXPECT_EQ(reader.writeRecord(db, 0, keyed(6)), 0u) << "a reading connection writes nothing";
    }).join();
    EXPECT_EQ(read, std::vector<QString>{"five"});
#ifdef TRIPVANE_CHECK_THREADS
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(std::thread([&] { textsInOrder(); }).join(), "off the thread");
#endif
}

} // namespace
