#pragma once

#include "Databases.h"
#include "NodeList.h"
#include "OdometerArithmetic.h"

#include <QObject>

#include <cstdint>
#include <future>
#include <memory>

namespace tripvane {

class Clock;
class WaitCursor;

// The trip log in memory and in the store together: the one place that changes trips, the undo
// list, categories, routes and the odometer status. A store failure comes out as storeFailed once
// the call that met it has let go of the file; every result also comes back to the caller. Views
// follow the signals; the about-to signals come before the list changes, as item models need.
class TripLog final : public QObject
{
    Q_OBJECT

public:
    static constexpr ListPosition UndoCapacity = 12;

    TripLog(Databases &databases, WaitCursor &waitCursor, const Clock &clock);
    ~TripLog() override;

    const RecordList &trips() const { return m_trips; }
    const RecordList &undoList() const { return m_undo; }
    const CategoryList &categories() const { return m_categories; }
    const RouteList &book() const { return m_book; }
    const OdometerHolders &status() const { return m_status; }

    // Start-up, in this order: the databases with the categories and the Mileage Book, the
    // odometer status, the trips. loadTrips is true when trips were loaded.
    bool openDatabases();
    bool loadStatus();
    bool loadTrips();
    // The start reads the trips on a second thread, through a connection of its own, while it
    // builds the window. The trips arrive (with the reset signals) and a failure is told when
    // the read is finished.
    void startLoadingTrips();
    bool finishLoadingTrips();

    // A new trip is stored with a key of its own (written into the trip) and listed last; it is
    // not sorted into place until the next sort.
    bool addTrip(MileageRecord &trip);
    // The trip keeps its place in the list.
    bool replaceTrip(ListPosition position, const MileageRecord &trip);
    bool hasTripAt(ListPosition position) const { return position < m_trips.size(); }
    bool undoIsFull() const { return m_undo.size() >= UndoCapacity; }
    // The trip as stored goes to the end of the undo list (whose oldest entry leaves when it is
    // full), then out of the list and the store.
    bool deleteTrip(ListPosition position);
    // The newest deletion comes back as a new trip, listed last; it leaves the undo list only
    // when it was stored.
    bool undoLastDeletion();
    void emptyUndo();
    ListPosition countTripsInRange(std::uint32_t firstDateKey, std::uint32_t lastDateKey) const;
    // One transaction for the whole range, then the trips are loaded again.
    void deleteTripsInRange(std::uint32_t firstDateKey, std::uint32_t lastDateKey);
    bool sortTripsByDate(std::uint32_t order);

    // Registered and Balance from the trips and the readings.
    StatusTexts computeStatus(std::uint32_t distanceView, const OverflowNotice &overflow);
    bool writeStatus(const MileageRecord &start, const MileageRecord &end);

    // Every category change rewrites the categories database. A duplicate name is refused by
    // the list without a word, and the database is rewritten all the same.
    bool addCategory(const QString &name);
    // The old name leaves and the new one is added last, so renaming onto an existing name
    // merges the two. Trips are renamed only when the categories were rewritten.
    bool renameCategory(const QString &oldName, const QString &newName, bool throughTrips);
    // Trips of the category are deleted even when the categories rewrite failed.
    bool deleteCategory(const QString &name, bool throughTrips);
    // Whether a category change reached stored trips since this was last asked.
    bool takeTripsChangedByCategories();
    // The report's totals of every category over the date keys (both included); 1 when some
    // trip fell into some category. An overflow is noticed and gives 0.
    int computeCategoryTotals(std::uint32_t firstDateKey, std::uint32_t lastDateKey,
                              const OverflowNotice &overflow);
    // The categories in the order of the report list: column 0 by name, 1 by total.
    bool sortCategories(int column, std::uint32_t order);

    // Every route change rewrites the Mileage Book database; the book keeps the change even
    // when the rewrite fails. An edited route moves to the end.
    bool addRoute(const BookRoute &route);
    bool replaceRoute(ListPosition position, const BookRoute &route);
    bool deleteRoute(ListPosition position);
    // The book in the order of a route list: column 0 by starting place, 1 by destination.
    bool sortBook(int column, std::uint32_t order);

    // The database part of the exit: the trips rebuilt, categories and book rewritten when they
    // were changed during the run (each change was written through; this writes them in their
    // last order, and again when a write failed).
    void writeBackAtExit();
    bool categoriesChangedThisRun() const { return m_categoriesChanged; }
    bool bookChangedThisRun() const { return m_bookChanged; }

signals:
    void tripsAboutToReset();
    void tripsReset();
    void tripAboutToAppend();
    void tripAppended();
    void tripChanged(int row);
    void tripAboutToRemove(int row);
    void tripRemoved(int row);
    void undoChanged(bool hasUndo);
    void categoriesAboutToChange();
    void categoriesChanged();
    void routesAboutToChange();
    void routesChanged();
    void statusChanged();
    void storeFailed(const StoreFailure &failure);

private:
    // Tells the store's failures when the outermost public call that met them returns, when
    // the file and the wait cursor have been let go.
    class FailuresToldAtEnd
    {
    public:
        explicit FailuresToldAtEnd(TripLog &log);
        FailuresToldAtEnd(const FailuresToldAtEnd &) = delete;
        FailuresToldAtEnd &operator=(const FailuresToldAtEnd &) = delete;
        ~FailuresToldAtEnd();

    private:
        TripLog &m_log;
    };
    FailuresToldAtEnd tellFailuresAtEnd() { return FailuresToldAtEnd(*this); }
    bool appendStored(const MileageRecord &trip, std::int32_t &key);
    void reloadTrips();
    bool rewriteCategories();
    // With throughTrips, trips (given whether the list was written) writes the trips the
    // change reaches, in the list's transaction, and says how many it wrote.
    bool rewriteCategories(bool throughTrips, const std::function<std::size_t(bool)> &trips);
    bool rewriteBook();

    Databases &m_databases;
    WaitCursor &m_waitCursor;
    const Clock &m_clock;
    int m_callsUnderWay = 0;
    RecordList m_trips;
    RecordList m_undo;
    CategoryList m_categories;
    RouteList m_book;
    OdometerHolders m_status;
    MileageRecord m_scratch;
    bool m_tripsChangedByCategories = false;
    bool m_categoriesChanged = false;
    bool m_bookChanged = false;
    std::future<TripsRead> m_loading;
};

} // namespace tripvane
