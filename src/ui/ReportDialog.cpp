#include "ReportDialog.h"

#include "AppSettings.h"
#include "ListView.h"
#include "LogLists.h"
#include "OdometerArithmetic.h"
#include "StringTable.h"
#include "TripLog.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace tripvane {

namespace {

using P = ReportDialog;

// clang-format off
constexpr ControlSpec reportControls[] = {
    {P::RangeGroup, ControlKind::GroupBox, u"Define Date range", {6, 5, 226, 70}, {6, 5, 157, 70}},
    {P::StartsLabel, ControlKind::Label, u"Starts:", {12, 25, 40, 16}, {12, 25, 40, 16}},
    {P::StartsPicker, ControlKind::DatePicker, nullptr, {59, 25, 95, 18}, {59, 25, 95, 18}},
    {P::EndsLabel, ControlKind::Label, u"Ends:", {12, 50, 35, 16}, {12, 50, 35, 16}},
    {P::EndsPicker, ControlKind::DatePicker, nullptr, {59, 50, 95, 18}, {59, 50, 95, 18}},
    {P::ViewGroup, ControlKind::GroupBox, u"Report View", {6, 79, 226, 45}, {6, 79, 157, 45}},
    {P::SpecifiedRadio, ControlKind::RadioButton, u"Specified", {40, 97, 80, 18}, {20, 97, 75, 18}},
    {P::TotalRadio, ControlKind::RadioButton, u"Total", {145, 97, 65, 18}, {105, 97, 55, 18}},
    {P::ViewButton, ControlKind::DefaultButton, u"View report", {7, 132, 90, 21}, {7, 132, 85, 21}},
    {P::ExportButton, ControlKind::Button, u"Export...", {7, 132, 90, 21}, {7, 132, 85, 21}},
    {P::ResetButton, ControlKind::Button, u"Reset", {140, 133, 90, 21}, {100, 133, 85, 21}},
    {P::BalanceGroup, ControlKind::GroupBox, u"Balance", {6, 165, 226, 45}, {194, 5, 120, 80}},
    {P::TotalLabel, ControlKind::Label, u"Total:", {40, 185, 50, 16}, {208, 28, 100, 16}},
    {P::TotalValue, ControlKind::ValueLabel, nullptr, {105, 183, 110, 18}, {211, 50, 80, 18}},
};
// clang-format on

const QRect listPortrait(7, 160, 223, 92);
const QRect listWide(164, 13, 150, 110);

} // namespace

ReportDialog::ReportDialog(Services &services, const AppSettings &settings, const TripLog &log,
                           DateRange range, ReportActions actions)
    : DeviceDialog(services, QStringLiteral("Statistics"), reportControls,
                   QStringLiteral("Workwithrapport"))
    , m_settings(settings)
    , m_log(log)
    , m_range(range)
    , m_actions(std::move(actions))
    , m_sortChoice{settings.SortRapport, settings.SortOrderRapport}
{
    setDateOrder(settings.DateTypeView);
    setPickerDate(StartsPicker, m_range.start);
    setPickerDate(EndsPicker, m_range.end);
    controls().as<QRadioButton>(SpecifiedRadio)->setChecked(true);
    for (int radio : {SpecifiedRadio, TotalRadio}) {
        connect(controls().as<QRadioButton>(radio), &QRadioButton::clicked, this, [this, radio] {
            this->services().inputPanel().hide();
            if (controls().as<QRadioButton>(radio)->isChecked())
                makeDefault(ViewButton);
        });
    }
    setDefining(true);
    relayout();
    setInputPanelAfterDropDown(false);
    services.inputPanel().hide();
    controls().widget(StartsPicker)->setFocus();
}

ReportDialog::~ReportDialog() = default;

void ReportDialog::command(int id)
{
    switch (id) {
    case ViewButton:
        viewReport();
        break;
    case ResetButton:
        reset();
        break;
    case ExportButton:
        if (m_view && m_actions.exportReport)
            m_actions.exportReport();
        makeDefault(ResetButton);
        break;
    case LeaveCode:
        dropList();
        done(LeaveCode);
        break;
    default:
        break;
    }
}

void ReportDialog::viewReport()
{
    const std::optional<DateRange> range = pickedRange(StartsPicker, EndsPicker);
    if (!range)
        return;
    m_range = *range;
    m_firstKey = dateKeyOf(range->start);
    m_lastKey = dateKeyOf(range->end);
    if (controls().as<QRadioButton>(SpecifiedRadio)->isChecked())
        showSpecified(m_firstKey, m_lastKey);
    else
        showTotal(m_firstKey, m_lastKey);
}

void ReportDialog::showTotal(std::uint32_t firstKey, std::uint32_t lastKey)
{
    std::optional<std::int32_t> sum;
    {
        WaitCursorGuard busy(services().waitCursor());
        sum = SumDistancesInRange(m_log.trips(), firstKey, lastKey);
    }
    if (!sum) {
        ask(IDS_BALANCE_OVERFLOW, MessageButtons::Ok);
        reset();
        return;
    }
    controls().as<QLabel>(TotalValue)->setText(RangeTotalText(*sum, m_settings.DistanceTypeView));
    for (int id : {ResetButton, TotalLabel, TotalValue, BalanceGroup})
        controls().widget(id)->show();
    setDefining(false);
    makeDefault(ResetButton);
}

void ReportDialog::showSpecified(std::uint32_t firstKey, std::uint32_t lastKey)
{
    const Built built = buildList(firstKey, lastKey);
    if (built == Built::SortFailed) {
        done(ListFailedCode);
        return;
    }
    if (built == Built::NothingFound) {
        ask(IDS_NO_RECORDS_FOUND, MessageButtons::Ok);
        controls().widget(StartsPicker)->setFocus();
        return;
    }
    controls().widget(ResetButton)->show();
    controls().widget(ExportButton)->show();
    controls().widget(ViewButton)->hide();
    setDefining(false);
    makeDefault(ResetButton);
}

// The totals over the range, then the list sorted as the user chose last.
ReportDialog::Built ReportDialog::buildList(std::uint32_t firstKey, std::uint32_t lastKey)
{
    const int found = m_actions.computeTotals(firstKey, lastKey, [this] {
        services().message(IDS_BALANCE_OVERFLOW, MessageIcon::Exclamation);
    });
    if (found == 0)
        return Built::NothingFound;
    m_model = makeReportListModel(m_log, m_settings, this);
    m_view = new ListView(ReportList, *m_model, this);
    const bool portrait = isPortrait();
    m_view->setGeometry(portrait ? listPortrait : listWide);
    m_view->setColumnWidths(portrait);
    connect(m_view, &ListView::columnTapped, this, [this](int column) {
        services().inputPanel().hide();
        m_sort->tapped(column, !m_log.categories().isEmpty());
    });
    connect(m_view, &ListView::rowTapped, this, [this] { services().inputPanel().hide(); });
    m_sort = std::make_unique<HeaderSort>(*m_model, services().waitCursor(), m_sortChoice,
                                          m_actions.sortCategories);
    if (!m_sort->sortByChoice())
        return Built::SortFailed;
    m_view->show();
    return Built::List;
}

void ReportDialog::dropList()
{
    if (!m_view)
        return;
    m_sortChoice = m_sort->choice();
    m_sort.reset();
    delete m_view;
    delete m_model;
    m_view = nullptr;
    m_model = nullptr;
}

void ReportDialog::reset()
{
    dropList();
    setDefining(true);
    makeDefault(ViewButton);
}

void ReportDialog::setDefining(bool defining)
{
    for (int id : {StartsPicker, EndsPicker, SpecifiedRadio, TotalRadio})
        controls().widget(id)->setEnabled(defining);
    controls().widget(ViewButton)->setEnabled(defining);
    controls().widget(ResetButton)->setEnabled(!defining);
    if (defining) {
        for (int id : {ExportButton, ResetButton, BalanceGroup, TotalLabel, TotalValue})
            controls().widget(id)->hide();
        controls().widget(ViewButton)->show();
    }
    // The field that had the focus was just disabled or hidden: the keys go on where the user
    // goes on.
    if (defining)
        controls().widget(StartsPicker)->setFocus();
    else if (m_view)
        m_view->setFocus();
    else
        controls().widget(ResetButton)->setFocus();
}

void ReportDialog::makeDefault(int button)
{
    for (int id : {ViewButton, ExportButton, ResetButton})
        controls().as<QPushButton>(id)->setDefault(id == button);
}

void ReportDialog::relayout()
{
    DeviceDialog::relayout();
    if (!m_view || !controls().as<QRadioButton>(SpecifiedRadio)->isChecked())
        return;
    // The list is made again for the new screen, over the range of the report shown.
    dropList();
    if (buildList(m_firstKey, m_lastKey) == Built::SortFailed)
        done(ListFailedCode);
}

} // namespace tripvane
