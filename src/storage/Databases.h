#pragma once

#include "ObjectStore.h"
#include "OdometerArithmetic.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace tripvane {

// A store operation that failed, for the program to tell: what was being done, the database or
// file the message names (none when the store as a whole could not be read), and SQLite's words.
struct StoreFailure
{
    enum class Kind { Open, Read, Add, Edit, Delete };
    Kind kind = Kind::Open;
    QString name;
    QString detail;
};

// The stored trips as one read found them. The read uses nothing but the store it is given, so
// that the start can make it on a connection of its own on a second thread.
struct TripsRead
{
    RecordList trips;        // those read before a failure stay
    MileageRecord underEdit; // a copy of the last trip
    Oid database = 0;        // 0 when the trips' database could not be found
    bool complete = false;
    std::size_t outOfPlace = 0; // trips whose record number is below the one read before them
};
TripsRead readStoredTrips(ObjectStore &store);

// The four databases of the program: opening them at start, the loaders and the writers. A
// failure is kept until the caller takes it, so that nothing is told while a transaction holds
// the file; the result of each call says only whether it did its work.
class Databases final
{
public:
    explicit Databases(ObjectStore &store);

    // Opens or creates the databases and loads the categories and the Mileage Book.
    bool openAll(CategoryList &categories, RouteList &book);

    // A store without a status gets empty readings dated today.
    bool loadStatus(OdometerHolders &holders, const SystemTime &today);
    // 1 when records were loaded, 0 when there are none or reading failed.
    int loadRecords(RecordList &records, MileageRecord &recordUnderEdit);
    // Takes a read made elsewhere as loadRecords takes its own, keeping no failure: -1 when
    // reading failed.
    int takeRead(TripsRead read, RecordList &records, MileageRecord &recordUnderEdit);
    QString storePath() const { return m_store.path(); }
    // False after a load that could not read every stored trip: such a list must never
    // replace the stored trips.
    bool recordsLoadedCompletely() const { return m_recordsComplete; }

    // The new key is made from the clock's time (UTC), moved on past keys in use.
    bool addRecord(const MileageRecord &record, const SystemTime &now, std::int32_t &newKey);
    // The keys of many new trips from one clock time, as addRecord gives them one after the
    // other: each the next free key. Made on the store's thread, used on any.
    class NewTripKeys
    {
    public:
        std::int32_t next();

    private:
        friend class Databases;
        std::int32_t m_key = 0;
        std::vector<std::uint32_t> m_taken; // from m_key on, in order
        std::size_t m_nextTaken = 0;
    };
    NewTripKeys newTripKeys(const SystemTime &now);
    // A new trip as the store keeps it, made on any thread.
    static ObjectStore::EncodedRecord encodeTrip(const MileageRecord &record, std::int32_t key);
    // A batch of new trips; false when one cannot be written (the caller's transaction then
    // undoes the batches before it).
    bool addEncodedTrips(std::span<const ObjectStore::EncodedRecord> batch);
    bool updateRecord(const MileageRecord &record);
    bool deleteRecord(std::int32_t key);
    // Many trips in one transaction; a trip that cannot be written is skipped and the rest go
    // on. A failure is kept once for the whole batch. Returns how many were written.
    std::size_t updateRecords(std::span<const MileageRecord *const> records);
    std::size_t deleteRecords(std::span<const std::int32_t> keys);
    bool writeStatus(const OdometerHolders &holders);
    bool rewriteCategories(const CategoryList &categories);
    bool rewriteMileageBook(const RouteList &book);
    bool rebuildMileage(const RecordList &records);

    // Changes that belong together (a category and its trips): all of them stay, or none does.
    bool inOneTransaction(const std::function<bool()> &work);

    // The database part of the exit, in its order.
    void writeBackAtExit(const RecordList &records, const CategoryList &categories,
                         const RouteList &book, bool categoriesChanged, bool bookChanged);

    // The failures since this was last asked, oldest first.
    std::vector<StoreFailure> takeFailures() { return std::exchange(m_failures, {}); }

private:
    enum class Opened { Loaded, Missing, Empty, Failed };
    Opened openOptional(const QString &name, Oid &oid,
                        const std::function<bool(PropertyValues &)> &loadRecord);
    bool openOrCreate(const QString &name, Oid &oid);
    void keepFailure(StoreFailure::Kind kind, const QString &name = {});
    // Replaces a database with the list in one transaction, numbering the records in order
    // (the list's, or the given order of its positions).
    template<typename List, typename ToValues>
    bool replaceWithList(const QString &name, const List &list, Oid &oid, ToValues toValues,
                         std::span<const ListPosition> order = {});
    std::int32_t freeKeyFromClock(const SystemTime &now);
    using Written = ObjectStore::KeyedChange;
    Written storeUpdate(const MileageRecord &record);
    Written storeDelete(std::int32_t key);
    Written noteDifference(Written written);
    // Runs write for each item in one transaction and keeps a failure once, after it ends.
    template<typename Item, typename Write>
    std::size_t writeEach(std::span<const Item> items, StoreFailure::Kind failure, Write write);

    ObjectStore &m_store;
    Oid m_categories = 0;
    Oid m_status = 0;
    Oid m_mileage = 0;
    Oid m_book = 0;
    bool m_recordsComplete = false;
    std::vector<StoreFailure> m_failures;
    // Trips found out of reading order by the last load, and added since.
    std::size_t m_mileageOutOfPlace = 0;
    // A change that failed to reach the stored trips since the last load.
    bool m_mileageDiffers = false;
};

// Key of a new trip: day, hour, minute and second of the UTC clock written one after the
// other without leading zeros ("%d%d%d%d"), read as a number.
std::int32_t keyFromClock(const SystemTime &now);

} // namespace tripvane
