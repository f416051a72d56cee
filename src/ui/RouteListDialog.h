#pragma once

#include "DeviceDialog.h"
#include "HeaderSort.h"

#include <cstdint>
#include <functional>

namespace tripvane {

class ListModel;
class ListView;
class TripLog;
struct AppSettings;

// What the book's owner does on the dialog's word: the dialog asks, its owner writes.
struct BookActions
{
    HeaderSort::Sort sort;                          // reorders the book
    std::function<void(std::uint32_t)> deleteRoute; // a confirmed Delete of a position
};

// The route list (control 502) shared by the Mileage Book and its picker: sorted by starting
// place or destination in the order the user chose last, re-sorted by a header tap, rebuilt
// for a new screen. The selected route index names a row of it, and follows its route through
// every sort, so that a button acts on the route the user chose.
class RouteListDialog : public DeviceDialog
{
    Q_OBJECT

public:
    static constexpr int ListControl = 502;
    // The end code of a dialog whose list could not be built.
    static constexpr int ListFailedCode = 0;
    static constexpr int NoRoute = -1;

    // False when the list could not be built: the dialog ends at once with ListFailedCode.
    bool listBuilt() const { return m_built; }
    // The route chosen when the dialog ended, which the program keeps for the next one.
    int chosenRoute() const { return m_selectedRoute; }
    // The sort the user chose, which the program keeps in its settings.
    SortChoice sortChoice() const { return m_sort.choice(); }

protected:
    RouteListDialog(Services &services, std::span<const ControlSpec> controls,
                    const AppSettings &settings, const TripLog &log, BookActions actions,
                    int selectedRoute);

    ListView &list() { return *m_view; }
    const TripLog &log() const { return m_log; }
    const BookActions &actions() const { return m_actions; }
    const AppSettings &settings() const { return m_settings; }
    int &selectedRoute() { return m_selectedRoute; }
    bool hasSelectedRoute() const;

    void relayout() override;
    // A tap on a row, or Enter in the list.
    virtual void rowTapped() = 0;

private:
    bool buildList();
    void placeList();
    bool sortKeepingSelection(int column, std::uint32_t order);
    void columnTapped(int column);

    const AppSettings &m_settings;
    const TripLog &m_log;
    BookActions m_actions;
    int m_selectedRoute;
    ListModel *m_model;
    ListView *m_view;
    HeaderSort m_sort;
    bool m_built = false;
    bool m_builtPortrait = true;
};

} // namespace tripvane
