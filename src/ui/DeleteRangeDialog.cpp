#include "DeleteRangeDialog.h"

#include "Databases.h"
#include "Heading.h"
#include "ProgramState.h"
#include "StringTable.h"
#include "TextRules.h"

#include <QDateEdit>
#include <QPainter>

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

DeleteRangeDialog::DeleteRangeDialog(Services &services, ProgramState &state, Databases &databases)
    : DeviceDialog(services, QStringLiteral("Delete by Range"), rangeControls, true)
    , m_state(state)
    , m_databases(databases)
{
    setDateOrder(m_state.settings.DateTypeView);
    setPickerDate(StartsPicker, m_state.reportRangeStart);
    setPickerDate(EndsPicker, m_state.reportRangeEnd);
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
    else if (id == CancelButton || id == 1)
        done(CancelButton);
}

void DeleteRangeDialog::findRecords()
{
    m_state.rangeStart.clear();
    m_state.rangeEnd.clear();
    m_state.rangeStart.setDate(pickerDate(StartsPicker));
    m_state.rangeEnd.setDate(pickerDate(EndsPicker));
    const std::uint32_t first = m_state.rangeStart.dateKey;
    const std::uint32_t last = m_state.rangeEnd.dateKey;
    if (first > last) {
        ask(IDS_RANGE_START_AFTER_END, MessageButtons::Ok);
        controls().widget(StartsPicker)->setFocus();
        return;
    }

    m_state.range.clear();
    for (ListPosition i = 0; i < m_state.records.size(); ++i) {
        const MileageRecord &record = m_state.records.at(i);
        if (dateKeyInRange(record.dateKey, first, last))
            m_state.range.append(record);
    }
    if (m_state.range.isEmpty()) {
        ask(IDS_NO_RECORDS_FOUND, MessageButtons::Ok);
        controls().widget(StartsPicker)->setFocus();
        return;
    }
    const QString question = stripBlanks(QStringLiteral("%1 %2")
                                             .arg(m_state.range.size())
                                             .arg(loadString(IDS_RECORDS_WILL_BE_DELETED)));
    if (ask(question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;

    {
        WaitCursorGuard busy(services().waitCursor());
        m_databases.deleteRecords(m_state.range);
        m_databases.loadRecords(m_state.records, m_state.recordUnderEdit);
    }
    done(FindButton);
}

void DeleteRangeDialog::paintEvent(QPaintEvent *event)
{
    DeviceDialog::paintEvent(event);
    QPainter painter(this);
    const bool portrait = isPortrait();
    paintHeading(painter, {portrait ? 6 : 26, 4}, loadString(40010));
    paintRule(painter, {portrait ? 1 : 21, 23}, {portrait ? 235 : 255, 23});
}

} // namespace tripvane
