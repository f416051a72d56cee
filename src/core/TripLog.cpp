#include "TripLog.h"

#include "Databases.h"
#include "Services.h"
#include "Sorting.h"

namespace tripvane {

TripLog::TripLog(Databases &databases, WaitCursor &waitCursor, const Clock &clock)
    : m_databases(databases)
    , m_waitCursor(waitCursor)
    , m_clock(clock)
{}

TripLog::~TripLog() = default;

TripLog::FailuresToldAtEnd::FailuresToldAtEnd(TripLog &log)
    : m_log(log)
{
    ++m_log.m_callsUnderWay;
}

TripLog::FailuresToldAtEnd::~FailuresToldAtEnd()
{
    if (--m_log.m_callsUnderWay > 0)
        return;
    for (const StoreFailure &failure : m_log.m_databases.takeFailures())
        emit m_log.storeFailed(failure);
}

bool TripLog::openDatabases()
{
    const auto told = tellFailuresAtEnd();
    emit categoriesAboutToChange();
    emit routesAboutToChange();
    const bool opened = m_databases.openAll(m_categories, m_book);
    emit categoriesChanged();
    emit routesChanged();
    return opened;
}

bool TripLog::loadStatus()
{
    const auto told = tellFailuresAtEnd();
    const bool loaded = m_databases.loadStatus(m_status, m_clock.localToday());
    emit statusChanged();
    return loaded;
}

bool TripLog::loadTrips()
{
    const auto told = tellFailuresAtEnd();
    emit tripsAboutToReset();
    const bool loaded = m_databases.loadRecords(m_trips, m_scratch) == 1;
    emit tripsReset();
    return loaded;
}

void TripLog::startLoadingTrips()
{
    m_loading = std::async(std::launch::async, [path = m_databases.storePath()] {
        ObjectStore reader;
        return reader.openForReading(path) ? readStoredTrips(reader) : TripsRead{};
    });
}

bool TripLog::finishLoadingTrips()
{
    emit tripsAboutToReset();
    const int read = m_databases.takeRead(m_loading.get(), m_trips, m_scratch);
    emit tripsReset();
    if (read < 0)
        emit storeFailed({StoreFailure::Kind::Read, {}, {}});
    return read == 1;
}

void TripLog::reloadTrips()
{
    WaitCursorGuard busy(m_waitCursor);
    loadTrips();
}

bool TripLog::appendStored(const MileageRecord &trip, std::int32_t &key)
{
    const auto told = tellFailuresAtEnd();
    if (!m_databases.addRecord(trip, m_clock.nowUtc(), key))
        return false;
    WaitCursorGuard busy(m_waitCursor);
    MileageRecord stored;
    stored.clear();
    stored.copyFrom(trip);
    stored.key = key;
    emit tripAboutToAppend();
    m_trips.appendMoved(std::move(stored));
    emit tripAppended();
    return true;
}

bool TripLog::addTrip(MileageRecord &trip)
{
    std::int32_t key = 0;
    if (!appendStored(trip, key))
        return false;
    trip.key = key;
    return true;
}

bool TripLog::replaceTrip(ListPosition position, const MileageRecord &trip)
{
    if (!hasTripAt(position))
        return false;
    {
        WaitCursorGuard busy(m_waitCursor);
        m_trips.replaceAtPosition(position, trip);
    }
    emit tripChanged(int(position));
    const auto told = tellFailuresAtEnd();
    return m_databases.updateRecord(m_trips.at(position));
}

bool TripLog::deleteTrip(ListPosition position)
{
    if (!hasTripAt(position))
        return false;
    if (undoIsFull())
        m_undo.removeAtPosition(0);
    // Undo restores the trip as stored, whatever the dialog showed of it.
    m_undo.append(m_trips.at(position));
    emit undoChanged(true);

    const std::int32_t key = m_trips.at(position).key;
    emit tripAboutToRemove(int(position));
    m_trips.removeAtPosition(position);
    emit tripRemoved(int(position));
    const auto told = tellFailuresAtEnd();
    return m_databases.deleteRecord(key);
}

bool TripLog::undoLastDeletion()
{
    const MileageRecord *last = m_undo.last();
    if (!last)
        return false;
    MileageRecord trip;
    trip.clear();
    trip.copyFrom(*last);
    std::int32_t key = 0;
    const bool restored = appendStored(trip, key);
    if (restored)
        m_undo.removeAtPosition(m_undo.size() - 1);
    emit undoChanged(!m_undo.isEmpty());
    return restored;
}

void TripLog::emptyUndo()
{
    m_undo.clear();
    emit undoChanged(false);
}

ListPosition TripLog::countTripsInRange(std::uint32_t firstDateKey, std::uint32_t lastDateKey) const
{
    ListPosition count = 0;
    for (ListPosition i = 0; i < m_trips.size(); ++i)
        count += dateKeyInRange(m_trips.at(i).dateKey, firstDateKey, lastDateKey) ? 1 : 0;
    return count;
}

void TripLog::deleteTripsInRange(std::uint32_t firstDateKey, std::uint32_t lastDateKey)
{
    std::vector<std::int32_t> keys;
    for (ListPosition i = 0; i < m_trips.size(); ++i) {
        const MileageRecord &trip = m_trips.at(i);
        if (dateKeyInRange(trip.dateKey, firstDateKey, lastDateKey))
            keys.push_back(trip.key);
    }
    const auto told = tellFailuresAtEnd();
    WaitCursorGuard busy(m_waitCursor);
    m_databases.deleteRecords(keys);
    loadTrips();
}

bool TripLog::sortTripsByDate(std::uint32_t order)
{
    emit tripsAboutToReset();
    const bool sorted = SortRecordsByDate(m_trips, order);
    emit tripsReset();
    return sorted;
}

StatusTexts TripLog::computeStatus(std::uint32_t distanceView, const OverflowNotice &overflow)
{
    return ComputeStatusValues(m_status, m_trips, distanceView, overflow);
}

bool TripLog::writeStatus(const MileageRecord &start, const MileageRecord &end)
{
    m_status.start = start;
    m_status.end = end;
    emit statusChanged();
    const auto told = tellFailuresAtEnd();
    return m_databases.writeStatus(m_status);
}

bool TripLog::rewriteCategories()
{
    const auto told = tellFailuresAtEnd();
    const bool written = m_databases.rewriteCategories(m_categories);
    emit categoriesChanged();
    return written;
}

bool TripLog::addCategory(const QString &name)
{
    m_categoriesChanged = true;
    emit categoriesAboutToChange();
    CategoryEntry entry;
    if (entry.setName(name))
        m_categories.append(entry);
    return rewriteCategories();
}

bool TripLog::renameCategory(const QString &oldName, const QString &newName, bool throughTrips)
{
    const QString old = oldName; // the name may belong to the entry that leaves
    m_categoriesChanged = true;
    emit categoriesAboutToChange();
    m_categories.removeByName(old);
    CategoryEntry entry;
    if (entry.setName(newName))
        m_categories.append(entry);
    return rewriteCategories(throughTrips, [&](bool listWritten) -> std::size_t {
        if (!listWritten)
            return 0;
        std::vector<const MileageRecord *> renamed;
        for (ListPosition i = 0; i < m_trips.size(); ++i) {
            MileageRecord &trip = m_trips.at(i);
            if (trip.category == old) {
                trip.setCategory(newName);
                renamed.push_back(&trip);
            }
        }
        return renamed.empty() ? 0 : m_databases.updateRecords(renamed);
    });
}

bool TripLog::deleteCategory(const QString &name, bool throughTrips)
{
    const QString deleted = name;
    m_categoriesChanged = true;
    emit categoriesAboutToChange();
    m_categories.removeByName(deleted);
    // An empty list counts as not written: the trips of the last category still go.
    return rewriteCategories(throughTrips, [&](bool) -> std::size_t {
        std::vector<std::int32_t> keys;
        for (ListPosition i = 0; i < m_trips.size(); ++i) {
            if (m_trips.at(i).category == deleted)
                keys.push_back(m_trips.at(i).key);
        }
        return keys.empty() ? 0 : m_databases.deleteRecords(keys);
    });
}

bool TripLog::rewriteCategories(bool throughTrips, const std::function<std::size_t(bool)> &trips)
{
    if (!throughTrips)
        return rewriteCategories();
    // The list and its trips change in one transaction: a kill between them leaves neither.
    const auto told = tellFailuresAtEnd();
    WaitCursorGuard busy(m_waitCursor);
    bool written = false;
    std::size_t tripsWritten = 0;
    m_databases.inOneTransaction([&] {
        written = m_databases.rewriteCategories(m_categories);
        tripsWritten = trips(written);
        return true;
    });
    emit categoriesChanged();
    if (tripsWritten > 0) {
        m_tripsChangedByCategories = true;
        reloadTrips();
    }
    return written;
}

bool TripLog::takeTripsChangedByCategories()
{
    return std::exchange(m_tripsChangedByCategories, false);
}

int TripLog::computeCategoryTotals(std::uint32_t firstDateKey, std::uint32_t lastDateKey,
                                   const OverflowNotice &overflow)
{
    emit categoriesAboutToChange();
    const int found =
        ComputeCategoryTotals(m_categories, m_trips, firstDateKey, lastDateKey, overflow);
    emit categoriesChanged();
    return found;
}

bool TripLog::sortCategories(int column, std::uint32_t order)
{
    emit categoriesAboutToChange();
    const bool sorted = SortCategoriesByColumn(m_categories, column, order);
    emit categoriesChanged();
    return sorted;
}

bool TripLog::rewriteBook()
{
    m_bookChanged = true;
    const auto told = tellFailuresAtEnd();
    const bool written = m_databases.rewriteMileageBook(m_book);
    emit routesChanged();
    return written;
}

bool TripLog::addRoute(const BookRoute &route)
{
    emit routesAboutToChange();
    m_book.append(route);
    return rewriteBook();
}

bool TripLog::replaceRoute(ListPosition position, const BookRoute &route)
{
    if (position >= m_book.size())
        return false;
    emit routesAboutToChange();
    m_book.removeAtPosition(position);
    m_book.append(route);
    return rewriteBook();
}

bool TripLog::deleteRoute(ListPosition position)
{
    if (position >= m_book.size())
        return false;
    emit routesAboutToChange();
    m_book.removeAtPosition(position);
    return rewriteBook();
}

bool TripLog::sortBook(int column, std::uint32_t order)
{
    emit routesAboutToChange();
    const bool sorted = column == 1 ? SortRoutesByDestination(m_book, order)
                                    : SortRoutesByStartPlace(m_book, order);
    emit routesChanged();
    return sorted;
}

void TripLog::writeBackAtExit()
{
    const auto told = tellFailuresAtEnd(); // after the wait cursor has gone
    WaitCursorGuard busy(m_waitCursor);
    m_databases.writeBackAtExit(m_trips, m_categories, m_book, m_categoriesChanged, m_bookChanged);
}

} // namespace tripvane
