#pragma once

#include "DeviceDialog.h"

#include <functional>
#include <memory>

namespace tripvane {

class HeaderSort;
class ListModel;
class ListView;
class TripLog;
struct AppSettings;

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
    // range, which the program takes back afterwards. Export shows the report export for the
    // categories as listed.
    ReportDialog(Services &services, AppSettings &settings, TripLog &log, DateRange range,
                 std::function<void()> exportReport);
    ~ReportDialog() override;

    void command(int id) override;
    int cancelCode() const override { return LeaveCode; }
    const DateRange &range() const { return m_range; }

protected:
    QString helpAnchor() const override { return QStringLiteral("Workwithrapport"); }
    void relayout() override;

private:
    void viewReport();
    void showTotal(std::uint32_t firstKey, std::uint32_t lastKey);
    bool showSpecified(std::uint32_t firstKey, std::uint32_t lastKey);
    enum class Built { List, NothingFound, SortFailed };
    Built buildList(std::uint32_t firstKey, std::uint32_t lastKey);
    void dropList();
    void reset();
    void setDefining(bool defining);
    void makeDefault(int button);
    std::uint32_t pickerKey(int id);

    AppSettings &m_settings;
    TripLog &m_log;
    DateRange m_range;
    std::function<void()> m_exportReport;
    ListModel *m_model = nullptr;
    ListView *m_view = nullptr;
    std::unique_ptr<HeaderSort> m_sort;
    std::uint32_t m_firstKey = 0; // the range of the report shown
    std::uint32_t m_lastKey = 0;
};

} // namespace tripvane
