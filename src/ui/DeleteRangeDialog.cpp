#include "DeleteRangeDialog.h"

#include "AppSettings.h"
#include "StringTable.h"
#include "TextRules.h"
#include "TripLog.h"

namespace tripvane {

namespace {

using D = DeleteRangeDialog;

// clang-format off
constexpr ControlSpec rangeControls[] = {
    {D::RangeGroup, ControlKind::GroupBox, u"Define Date range", {6, 35, 228, 70}, {26, 35, 228, 70}},
    {D::StartsLabel, ControlKind::Label, u"Starts:", {17, 55, 40, 18}, {37, 55, 40, 18}},
    {D::StartsPicker, ControlKind::DatePicker, nullptr, {80, 53, 115, 20}, {100, 53, 115, 20}},
    {D::EndsLabel, ControlKind::Label, u"Ends:", {17, 78, 40, 18}, {37, 78, 40, 18}},
    {D::EndsPicker, ControlKind::DatePicker, nullptr, {80, 76, 115, 20}, {100, 76, 115, 20}},
    {D::FindButton, ControlKind::Button, u"Find Records", {8, 115, 100, 21}, {28, 115, 100, 21}},
    {D::CancelButton, ControlKind::Button, u"Cancel", {131, 115, 100, 21}, {151, 115, 100, 21}},
};
// clang-format on

} // namespace

DeleteRangeDialog::DeleteRangeDialog(Services &services, const AppSettings &settings,
                                     const TripLog &log, const DateRange &range)
    : DeviceDialog(services, QStringLiteral("Delete by Range"), rangeControls,
                   QStringLiteral("Mileagerecords"))
    , m_log(log)
{
    setDateOrder(settings.DateTypeView);
    setPickerDate(StartsPicker, range.start);
    setPickerDate(EndsPicker, range.end);
    setHeading({IDS_DELETE_RANGE_HEADING, {6, 4}, {1, 23, 235, 23}, 20});
    relayout();
    // This dialog keeps the input panel down: only dates are chosen here.
    setInputPanelAfterDropDown(false);
    services.inputPanel().hide();
    controls().widget(StartsPicker)->setFocus();
}

void DeleteRangeDialog::command(int id)
{
    if (id == FindButton)
        findRecords();
    else
        DeviceDialog::command(id);
}

void DeleteRangeDialog::findRecords()
{
    const std::optional<DateRange> range = pickedRange(StartsPicker, EndsPicker);
    if (!range)
        return;
    const std::uint32_t first = dateKeyOf(range->start);
    const std::uint32_t last = dateKeyOf(range->end);
    const ListPosition found = m_log.countTripsInRange(first, last);
    if (found == 0) {
        ask(IDS_NO_RECORDS_FOUND, MessageButtons::Ok);
        controls().widget(StartsPicker)->setFocus();
        return;
    }
    const QString question = stripBlanks(
        QStringLiteral("%1 %2").arg(found).arg(loadString(IDS_RECORDS_WILL_BE_DELETED)));
    if (ask(question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    m_first = first;
    m_last = last;
    done(FindButton);
}

} // namespace tripvane
