#include "Databases.h"

#include "DatabaseLayouts.h"

#include <algorithm>
#include <numeric>

namespace tripvane {

namespace {

QString storedText(const QString &text)
{
    return text.isNull() ? QStringLiteral(" ") : text;
}

// Day, month and year travel as three properties of their own; true when this was one.
bool readDatePart(const PropertyValue &value, SystemTime &date)
{
    const auto part = static_cast<std::uint16_t>(std::min<std::uint32_t>(value.number, 0xFFFF));
    switch (value.id) {
    case Prop::Day:
        date.day = part;
        return true;
    case Prop::Month:
        date.month = part;
        return true;
    case Prop::Year:
        date.year = part;
        return true;
    default:
        return false;
    }
}

PropertyValues tripProperties(const MileageRecord &record, std::int32_t key)
{
    PropertyValues values{
        PropertyValue::ofNumber(Prop::Key, std::uint32_t(key)),
        PropertyValue::ofNumber(Prop::Day, record.date.day),
        PropertyValue::ofNumber(Prop::Month, record.date.month),
        PropertyValue::ofNumber(Prop::Year, record.date.year),
        PropertyValue::ofNumber(Prop::TripDistance, std::uint32_t(record.distance)),
        PropertyValue::ofText(Prop::TripCategory,
                              record.category.isNull() ? QStringLiteral("") : record.category),
        PropertyValue::ofText(Prop::TripMemo, storedText(record.memo)),
        PropertyValue::ofText(Prop::TripStartPlace, storedText(record.startPlace)),
        PropertyValue::ofText(Prop::TripDestination, storedText(record.destination)),
    };
    PropertyValues unknown;
    const QByteArray &kept = record.unknownProperties.text();
    if (!kept.isEmpty() && decodeProperties(kept.constData(), int(kept.size()), unknown))
        values.insert(values.end(), unknown.begin(), unknown.end());
    return values;
}

// Takes the texts out of values: loading 100,000 trips should not copy each text twice.
MileageRecord tripFromProperties(PropertyValues &values)
{
    MileageRecord record;
    record.clear();
    SystemTime date;
    PropertyValues unknown;
    for (PropertyValue &value : values) {
        if (readDatePart(value, date))
            continue;
        switch (value.id) {
        case Prop::Key:
            record.key = std::int32_t(value.number);
            break;
        case Prop::TripDistance:
            record.setDistance(std::int32_t(value.number));
            break;
        case Prop::TripCategory:
            if (!value.text.isEmpty()) // as set category: an empty name keeps the old one
                record.category = std::move(value.text);
            break;
        case Prop::TripMemo:
            record.memo = std::move(value.text);
            break;
        case Prop::TripStartPlace:
            record.startPlace = std::move(value.text);
            break;
        case Prop::TripDestination:
            record.destination = std::move(value.text);
            break;
        default:
            unknown.push_back(std::move(value));
            break;
        }
    }
    record.setDate(date);
    if (!unknown.empty())
        record.unknownProperties.set(encodeProperties(unknown));
    return record;
}

} // namespace

std::int32_t keyFromClock(const SystemTime &now)
{
    const QString digits = QString::number(now.day) + QString::number(now.hour) +
                           QString::number(now.minute) + QString::number(now.second);
    return digits.toInt();
}

Databases::Databases(ObjectStore &store)
    : m_store(store)
{}

void Databases::keepFailure(StoreFailure::Kind kind, const QString &name)
{
    m_failures.push_back({kind, name, m_store.lastError()});
}

bool Databases::inOneTransaction(const std::function<bool()> &work)
{
    return m_store.inTransaction(work);
}

Databases::Opened Databases::openOptional(const QString &name, Oid &oid,
                                          const std::function<bool(PropertyValues &)> &loadRecord)
{
    const auto buildError = [this] {
        keepFailure(StoreFailure::Kind::Open);
        return Opened::Failed;
    };
    if (!m_store.findDatabase(name, oid))
        return buildError();
    if (oid == 0)
        return Opened::Missing;
    const auto count = m_store.recordCount(oid);
    if (!count)
        return buildError();
    if (*count == 0) {
        oid = 0;
        return Opened::Empty;
    }
    std::uint32_t read = 0;
    const bool complete = m_store.forEachRecord(oid, [&](Oid, PropertyValues &values) {
        ++read;
        return loadRecord(values);
    });
    // A read that fails part way keeps what was read, as a short list is still usable.
    if (!complete && read == 0) {
        keepFailure(StoreFailure::Kind::Open, name);
        return Opened::Failed;
    }
    return Opened::Loaded;
}

bool Databases::openOrCreate(const QString &name, Oid &oid)
{
    if (m_store.findDatabase(name, oid) && oid != 0)
        return true;
    oid = m_store.createDatabase(name);
    if (oid != 0)
        return true;
    keepFailure(StoreFailure::Kind::Open, name);
    return false;
}

bool Databases::openAll(CategoryList &categories, RouteList &book)
{
    const auto fail = [this] {
        m_categories = m_status = m_mileage = m_book = 0;
        return false;
    };

    CategoryEntry entry;
    const Opened categoriesOpened =
        openOptional(DatabaseName::Categories, m_categories, [&](PropertyValues &values) {
            for (const PropertyValue &value : values) {
                if (value.id == Prop::CategoryName && entry.setName(value.text))
                    categories.append(entry);
            }
            return true;
        });
    if (categoriesOpened == Opened::Failed)
        return fail();
    if (categoriesOpened != Opened::Loaded) {
        for (const char *name : {"Holiday", "Job", "Shopping"}) {
            entry.setName(QString::fromLatin1(name));
            categories.append(entry);
        }
    }

    if (!openOrCreate(DatabaseName::Status, m_status) ||
        !openOrCreate(DatabaseName::Mileage, m_mileage))
        return fail();

    BookRoute route; // not cleared between records: a missing property keeps the last value
    bool unusableRoute = false;
    const Opened bookOpened =
        openOptional(DatabaseName::MileageBook, m_book, [&](PropertyValues &values) {
            for (const PropertyValue &value : values) {
                if (value.id == Prop::RouteStartPlace)
                    route.setStartPlace(value.text);
                else if (value.id == Prop::RouteDestination)
                    route.setDestination(value.text);
                else if (value.id == Prop::RouteDistance)
                    route.setDistance(std::int32_t(value.number));
            }
            // A route without both places could be neither listed, sorted nor deleted: it is
            // left out, and stays stored until the book is next written.
            if (route.startPlace.isNull() || route.destination.isNull())
                unusableRoute = true;
            else
                book.append(route);
            return true;
        });
    if (bookOpened == Opened::Failed)
        return fail();
    if (unusableRoute)
        keepFailure(StoreFailure::Kind::Read);
    return true;
}

bool Databases::loadStatus(OdometerHolders &holders, const SystemTime &today)
{
    const auto problem = [this] {
        keepFailure(StoreFailure::Kind::Read);
        return false;
    };
    const auto count = m_store.recordCount(m_status);
    if (!count)
        return problem();
    if (*count == 0) {
        for (MileageRecord *holder : {&holders.start, &holders.end}) {
            holder->setDistance(0);
            holder->setDate(today);
        }
        return true;
    }

    holders.start = MileageRecord();
    holders.end = MileageRecord();
    holders.start.clear();
    holders.end.clear();
    bool found = false;
    SystemTime date;
    const bool read = m_store.forEachRecord(m_status, [&](Oid, PropertyValues &values) {
        found = true;
        for (const PropertyValue &value : values) {
            if (readDatePart(value, date))
                continue;
            switch (value.id) {
            case Prop::Key:
                holders.start.key = holders.end.key = std::int32_t(value.number);
                break;
            case Prop::StatusStarts:
                holders.start.setDistance(std::int32_t(value.number));
                break;
            case Prop::StatusEnds:
                holders.end.setDistance(std::int32_t(value.number));
                break;
            case Prop::StatusNotes:
                holders.start.setMemo(value.text);
                holders.end.setMemo(value.text);
                break;
            default:
                break;
            }
        }
        return false; // the status database holds one record
    });
    if (!read || !found)
        return problem();
    holders.start.setDate(date);
    holders.end.setDate(date);
    if (!(holders.end.distance > holders.start.distance)) {
        holders.start.setDistance(0);
        holders.end.setDistance(0);
    }
    return true;
}

TripsRead readStoredTrips(ObjectStore &store)
{
    TripsRead read;
    Oid database = 0;
    if (!store.findDatabase(DatabaseName::Mileage, database) || database == 0)
        return read;
    read.database = database;
    Oid previous = 0;
    read.complete = store.forEachRecordReadAhead(database, [&](Oid record, PropertyValues &values) {
        read.outOfPlace += record < previous ? 1 : 0;
        previous = record;
        read.trips.appendMoved(tripFromProperties(values));
        return true;
    });
    if (const MileageRecord *last = read.trips.last())
        read.underEdit.copyFrom(*last);
    return read;
}

int Databases::loadRecords(RecordList &records, MileageRecord &recordUnderEdit)
{
    const int read = takeRead(readStoredTrips(m_store), records, recordUnderEdit);
    if (read >= 0)
        return read;
    keepFailure(StoreFailure::Kind::Read);
    return 0;
}

int Databases::takeRead(TripsRead read, RecordList &records, MileageRecord &recordUnderEdit)
{
    m_recordsComplete = false;
    if (read.database == 0)
        return -1; // the list stays as it was
    m_mileage = read.database;
    m_mileageOutOfPlace = read.outOfPlace;
    records = std::move(read.trips);
    recordUnderEdit = read.underEdit;
    if (!read.complete)
        return -1;
    m_recordsComplete = true;
    m_mileageDiffers = false; // the list is the stored trips again
    return records.isEmpty() ? 0 : 1;
}

std::int32_t Databases::freeKeyFromClock(const SystemTime &now)
{
    // Two trips added in one second must not share a key: a later edit or delete finds
    // records by key alone.
    std::int32_t key = keyFromClock(now);
    while (m_store.seekFirstEqual(m_mileage, std::uint32_t(key)) != 0)
        ++key;
    return key;
}

bool Databases::addRecord(const MileageRecord &record, const SystemTime &now, std::int32_t &newKey)
{
    newKey = freeKeyFromClock(now);
    // A new record goes to the end of the file, wherever its key puts it in the reading order.
    if (m_store.writeRecord(m_mileage, 0, tripProperties(record, newKey)) != 0) {
        ++m_mileageOutOfPlace;
        return true;
    }
    m_mileageDiffers = true;
    keepFailure(StoreFailure::Kind::Add, DatabaseName::Mileage);
    return false;
}

Databases::NewTripKeys Databases::newTripKeys(const SystemTime &now)
{
    // The taken keys are read at once instead of a look-up per trip.
    NewTripKeys keys;
    keys.m_key = keyFromClock(now);
    keys.m_taken = m_store.sortKeysFrom(m_mileage, std::uint32_t(keys.m_key));
    return keys;
}

std::int32_t Databases::NewTripKeys::next()
{
    for (; m_nextTaken < m_taken.size() && m_taken[m_nextTaken] <= std::uint32_t(m_key);
         ++m_nextTaken) {
        if (m_taken[m_nextTaken] == std::uint32_t(m_key))
            ++m_key;
    }
    return m_key++;
}

ObjectStore::EncodedRecord Databases::encodeTrip(const MileageRecord &record, std::int32_t key)
{
    return ObjectStore::encodeRecord(tripProperties(record, key));
}

bool Databases::addEncodedTrips(std::span<const ObjectStore::EncodedRecord> batch)
{
    if (!m_store.insertEncoded(m_mileage, batch)) {
        keepFailure(StoreFailure::Kind::Add, DatabaseName::Mileage);
        return false;
    }
    m_mileageOutOfPlace += batch.size();
    return true;
}

Databases::Written Databases::storeUpdate(const MileageRecord &record)
{
    return noteDifference(m_store.writeFirstEqual(m_mileage, std::uint32_t(record.key),
                                                  tripProperties(record, record.key)));
}

Databases::Written Databases::storeDelete(std::int32_t key)
{
    return noteDifference(m_store.deleteFirstEqual(m_mileage, std::uint32_t(key)));
}

Databases::Written Databases::noteDifference(Written written)
{
    // A change that did not reach its record leaves the list and the stored trips apart.
    m_mileageDiffers = m_mileageDiffers || written != Written::Done;
    return written;
}

bool Databases::updateRecord(const MileageRecord &record)
{
    const Written written = storeUpdate(record);
    if (written == Written::Failed)
        keepFailure(StoreFailure::Kind::Edit, DatabaseName::Mileage);
    return written == Written::Done;
}

bool Databases::deleteRecord(std::int32_t key)
{
    const Written written = storeDelete(key);
    if (written == Written::Failed)
        keepFailure(StoreFailure::Kind::Delete, DatabaseName::Mileage);
    return written == Written::Done;
}

template<typename Item, typename Write>
std::size_t Databases::writeEach(std::span<const Item> items, StoreFailure::Kind failure,
                                 Write write)
{
    std::size_t done = 0;
    bool failed = false;
    const bool committed = m_store.inLargeTransaction([&] {
        for (const Item &item : items) {
            const Written written = write(item);
            done += written == Written::Done ? 1 : 0;
            failed = failed || written == Written::Failed;
        }
        return true;
    });
    if (!committed || failed)
        keepFailure(failure, DatabaseName::Mileage);
    return committed ? done : 0;
}

// The trips of a batch come in the order of the list, by date, which scatters them over a file
// laid out by key: taken in key order instead, each page is visited once, and a batch through a
// large log no longer slows down with every page that falls out of the cache. Equal keys keep
// their order, so the same record is changed as before.
template<typename Item, typename KeyOf>
std::vector<Item> inKeyOrder(std::span<const Item> items, KeyOf keyOf)
{
    std::vector<Item> sorted(items.begin(), items.end());
    std::ranges::stable_sort(sorted, {},
                             [&](const Item &item) { return std::uint32_t(keyOf(item)); });
    return sorted;
}

std::size_t Databases::updateRecords(std::span<const MileageRecord *const> records)
{
    const std::vector<const MileageRecord *> sorted =
        inKeyOrder(records, [](const MileageRecord *record) { return record->key; });
    return writeEach(std::span<const MileageRecord *const>(sorted), StoreFailure::Kind::Edit,
                     [this](const MileageRecord *record) { return storeUpdate(*record); });
}

std::size_t Databases::deleteRecords(std::span<const std::int32_t> keys)
{
    const std::vector<std::int32_t> sorted = inKeyOrder(keys, [](std::int32_t key) { return key; });
    return writeEach(std::span<const std::int32_t>(sorted), StoreFailure::Kind::Delete,
                     [this](std::int32_t key) { return storeDelete(key); });
}

bool Databases::writeStatus(const OdometerHolders &holders)
{
    Oid current = 0;
    const bool read = m_store.forEachRecord(m_status, [&current](Oid record, PropertyValues &) {
        current = record;
        return false;
    });
    const PropertyValues values{
        PropertyValue::ofNumber(Prop::Key, std::uint32_t(holders.end.key)),
        PropertyValue::ofNumber(Prop::Day, holders.end.date.day),
        PropertyValue::ofNumber(Prop::Month, holders.end.date.month),
        PropertyValue::ofNumber(Prop::Year, holders.end.date.year),
        PropertyValue::ofNumber(Prop::StatusStarts, std::uint32_t(holders.start.distance)),
        PropertyValue::ofNumber(Prop::StatusEnds, std::uint32_t(holders.end.distance)),
        PropertyValue::ofText(Prop::StatusNotes, storedText(holders.end.memo)),
    };
    if (read && m_store.writeRecord(m_status, current, values) != 0)
        return true;
    keepFailure(StoreFailure::Kind::Edit, DatabaseName::Status);
    return false;
}

template<typename List, typename ToValues>
bool Databases::replaceWithList(const QString &name, const List &list, Oid &oid, ToValues toValues,
                                std::span<const ListPosition> order)
{
    ListPosition next = 0;
    const bool written = m_store.replaceDatabase(
        name,
        [&](PropertyValues &values) {
            if (next >= list.size())
                return false;
            values = toValues(list.at(order.empty() ? next : order[next]), next);
            ++next;
            return true;
        },
        &oid);
    if (!written) {
        keepFailure(StoreFailure::Kind::Edit, name);
        return false;
    }
    // An empty list leaves an empty database, and counts as nothing written.
    return !list.isEmpty();
}

bool Databases::rewriteCategories(const CategoryList &categories)
{
    return replaceWithList(DatabaseName::Categories, categories, m_categories,
                           [](const CategoryEntry &entry, ListPosition sequence) {
                               return PropertyValues{
                                   PropertyValue::ofNumber(Prop::Sequence, sequence),
                                   PropertyValue::ofText(Prop::CategoryName, entry.name)};
                           });
}

bool Databases::rewriteMileageBook(const RouteList &book)
{
    return replaceWithList(
        DatabaseName::MileageBook, book, m_book, [](const BookRoute &route, ListPosition sequence) {
            return PropertyValues{
                PropertyValue::ofNumber(Prop::Sequence, sequence),
                PropertyValue::ofText(Prop::RouteStartPlace, route.startPlace),
                PropertyValue::ofText(Prop::RouteDestination, route.destination),
                PropertyValue::ofNumber(Prop::RouteDistance, std::uint32_t(route.distance))};
        });
}

bool Databases::rebuildMileage(const RecordList &records)
{
    // A list that did not load completely would replace the stored trips with a part of them;
    // every change of this run was already written through.
    if (!m_recordsComplete)
        return false;
    // Written in the order the load reads them, by key, so that the file reads front to back
    // run after run whatever order the list was in.
    std::vector<ListPosition> byKey(records.size());
    std::iota(byKey.begin(), byKey.end(), ListPosition(0));
    std::ranges::stable_sort(
        byKey, {}, [&records](ListPosition i) { return std::uint32_t(records.at(i).key); });
    return replaceWithList(
        DatabaseName::Mileage, records, m_mileage,
        [](const MileageRecord &record, ListPosition) {
            return tripProperties(record, record.key);
        },
        byKey);
}

void Databases::writeBackAtExit(const RecordList &records, const CategoryList &categories,
                                const RouteList &book, bool categoriesChanged, bool bookChanged)
{
    // Every change of the run was written through when it was made. The trips are written again
    // when a change did not reach the file, so that the list is kept, or when too many of them
    // lie out of the order the file is read in, so that the next start reads it front to back;
    // otherwise the rewrite would give the same trips and only make the user wait.
    constexpr std::size_t TolerableOutOfPlace = 50; // one trip in this many
    if (m_mileageDiffers || m_mileageOutOfPlace * TolerableOutOfPlace > records.size())
        rebuildMileage(records);
    if (categoriesChanged)
        rewriteCategories(categories);
    if (bookChanged)
        rewriteMileageBook(book);
}

} // namespace tripvane
