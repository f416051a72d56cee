#pragma once

#include "DeviceDialog.h"
#include "HeaderSort.h"

#include <functional>
#include <memory>

namespace tripvane {

class ListModel;
class ListView;
class TripLog;
struct AppSettings;

// What the report's owner does on the dialog's word: the dialog asks, its owner writes.
struct ReportActions
{
    // Puts the totals over a range of date keys into the categories; how many have one.
    std::function<int(std::uint32_t firstKey, std::uint32_t lastKey,
                      const std::function<void()> &overflow)>
        computeTotals;
    HeaderSort::Sort sortCategories;
    // The report export for the categories as listed.
    std::function<void()> exportReport;
};

// "Statistics" (127): the distances of a range of dates, per category (Specified) or in total.
// The dialog is either defining the range or showing a report; Reset goes back.
class ReportDialog final : public DeviceDialog
{
    Q_OBJECT

public:
    enum Control {
        RangeGroup = 1060,
        StartsLabel = 1061,
        StartsPicker = 1062,
        EndsLabel = 1063,
        EndsPicker = 1064,
        ViewGroup = 1065,
        SpecifiedRadio = 1066,
        TotalRadio = 1067,
        ViewButton = 1068,
        ExportButton = 1069,
        ResetButton = 1070,
        BalanceGroup = 1071,
        TotalLabel = 1072,
        TotalValue = 1073,
        ReportList = 501,
    };
    static constexpr int LeaveCode = TitleBarOkCommand;
    static constexpr int ListFailedCode = 0;

    // The pickers open on the range the program keeps; each report made replaces the dialog's
    // range, which the program takes back afterwards, with the sort of the list.
    ReportDialog(Services &services, const AppSettings &settings, const TripLog &log,
                 DateRange range, ReportActions actions);
    ~ReportDialog() override;

    void command(int id) override;
    int cancelCode() const override { return LeaveCode; }
    const DateRange &range() const { return m_range; }
    SortChoice sortChoice() const { return m_sort ? m_sort->choice() : m_sortChoice; }

protected:
    void relayout() override;

private:
    void viewReport();
    void showTotal(std::uint32_t firstKey, std::uint32_t lastKey);
    void showSpecified(std::uint32_t firstKey, std::uint32_t lastKey);
    enum class Built { List, NothingFound, SortFailed };
    Built buildList(std::uint32_t firstKey, std::uint32_t lastKey);
    void dropList();
    void reset();
    void setDefining(bool defining);
    void makeDefault(int button);

    const AppSettings &m_settings;
    const TripLog &m_log;
    DateRange m_range;
    ReportActions m_actions;
    SortChoice m_sortChoice; // while no list is shown
    ListModel *m_model = nullptr;
    ListView *m_view = nullptr;
    std::unique_ptr<HeaderSort> m_sort;
    std::uint32_t m_firstKey = 0; // the range of the report shown
    std::uint32_t m_lastKey = 0;
};

} // namespace tripvane
