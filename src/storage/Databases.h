#pragma once

#include "ObjectStore.h"
#include "OdometerArithmetic.h"

#include <cstdint>
#include <span>

namespace tripvane {

class Services;

// The four databases of the program: opening them at start, the loaders and the writers.
// Every failure is reported here with the program's own message; callers only see the flag.
class Databases final
{
public:
    Databases(ObjectStore &store, Services &services);

    // Opens or creates the databases and loads the categories and the Mileage Book.
    bool openAll(CategoryList &categories, RouteList &book);

    bool loadStatus(OdometerHolders &holders);
    // 1 when records were loaded, 0 when there are none or reading failed.
    int loadRecords(RecordList &records, MileageRecord &recordUnderEdit);
    // The same without a word, so that it may run on a second thread while nothing else uses
    // the store: -1 when reading failed (the trips read before the failure stay in the list).
    int readRecords(RecordList &records, MileageRecord &recordUnderEdit);
    // What a failed read shows: a beep and the message.
    void reportReadProblem();
    // False after a load that could not read every stored trip: such a list must never
    // replace the stored trips.
    bool recordsLoadedCompletely() const { return m_recordsComplete; }

    bool addRecord(const MileageRecord &record, std::int32_t &newKey);
    bool updateRecord(const MileageRecord &record);
    bool deleteRecord(std::int32_t key);
    // Many trips in one transaction; a trip that cannot be written is skipped and the rest go
    // on. Failures are reported once, after the transaction. Returns how many were written.
    std::size_t updateRecords(std::span<const MileageRecord *const> records);
    std::size_t deleteRecords(std::span<const std::int32_t> keys);
    bool writeStatus(const OdometerHolders &holders);
    bool rewriteCategories(const CategoryList &categories);
    bool rewriteMileageBook(const RouteList &book);
    bool rebuildMileage(const RecordList &records);

    // Changes that belong together (a category and its trips): all of them stay, or none does.
    // Failures inside are reported once the transaction has ended.
    bool inOneTransaction(const std::function<bool()> &work);

    // The database part of the exit, in its order.
    void writeBackAtExit(const RecordList &records, const CategoryList &categories,
                         const RouteList &book, bool categoriesChanged, bool bookChanged);

private:
    enum class Opened { Loaded, Missing, Empty, Failed };
    Opened openOptional(const QString &name, Oid &oid,
                        const std::function<bool(PropertyValues &)> &loadRecord);
    bool openOrCreate(const QString &name, Oid &oid);
    void reportWithName(int stringId, const QString &databaseName);
    // Replaces a database with the list in one transaction, numbering the records in order
    // (the list's, or the given order of its positions).
    template<typename List, typename ToValues>
    bool replaceWithList(const QString &name, const List &list, Oid &oid, ToValues toValues,
                         std::span<const ListPosition> order = {});
    std::int32_t freeKeyFromClock();
    using Written = ObjectStore::KeyedChange;
    Written storeUpdate(const MileageRecord &record);
    Written storeDelete(std::int32_t key);
    Written noteDifference(Written written);
    // Runs write for each item in one transaction and reports a failure once, after it ends.
    template<typename Item, typename Write>
    std::size_t writeEach(std::span<const Item> items, int failureMessage, Write write);

    ObjectStore &m_store;
    Services &m_services;
    Oid m_categories = 0;
    Oid m_status = 0;
    Oid m_mileage = 0;
    Oid m_book = 0;
    bool m_recordsComplete = false;
    // Messages held back while a transaction holds the file.
    bool m_holdReports = false;
    QStringList m_heldReports;
    // Trips found out of reading order by the last load, and added since.
    std::size_t m_mileageOutOfPlace = 0;
    // A change that failed to reach the stored trips since the last load.
    bool m_mileageDiffers = false;
};

// Opens the device's store file at start. A file that cannot serve (damaged, another
// program's, or not creatable) gets message 40024 naming the file and is left untouched;
// the caller then ends the program as for any failed open.
bool openStore(ObjectStore &store, const QString &path, Services &services);

// Key of a new trip: day, hour, minute and second of the UTC clock written one after the
// other without leading zeros ("%d%d%d%d"), read as a number.
std::int32_t keyFromClock(const SystemTime &now);

} // namespace tripvane
