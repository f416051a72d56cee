#include "StatusDialog.h"

#include "AppSettings.h"
#include "Images.h"
#include "Services.h"
#include "StringTable.h"
#include "TextRules.h"

#include <QLabel>
#include <QLineEdit>

namespace tripvane {

namespace {

// clang-format off
constexpr ControlSpec statusControls[] = {
    {StatusDialog::DateLabel, ControlKind::Label, u"Date:", {10, 30, 33, 20}, {10, 10, 33, 20}},
    {StatusDialog::DatePicker, ControlKind::DatePicker, nullptr, {55, 28, 95, 20}, {55, 8, 95, 20}},
    {StatusDialog::StartsLabel, ControlKind::Label, u"Starts:", {10, 54, 38, 20}, {10, 33, 38, 20}},
    {StatusDialog::StartsEdit, ControlKind::Edit, nullptr, {55, 53, 95, 20}, {55, 32, 95, 20}},
    {StatusDialog::EndsLabel, ControlKind::Label, u"Ends:", {10, 80, 32, 20}, {10, 59, 32, 20}},
    {StatusDialog::EndsEdit, ControlKind::Edit, nullptr, {55, 78, 95, 20}, {55, 57, 95, 20}},
    {StatusDialog::NotesLabel, ControlKind::Label, u"Notes:", {10, 105, 38, 20}, {10, 84, 38, 20}},
    {StatusDialog::NotesEdit, ControlKind::Edit, nullptr, {55, 103, 175, 20}, {55, 82, 175, 20}},
    {StatusDialog::CancelButton, ControlKind::Button, u"Cancel", {10, 140, 75, 24}, {240, 8, 70, 24}},
    {StatusDialog::OkButton, ControlKind::DefaultButton, u"OK", {155, 140, 75, 24}, {240, 50, 70, 24}},
    {StatusDialog::Picture, ControlKind::Picture, nullptr, {151, 39, 66, 52}, {151, 17, 66, 52}},
};
// clang-format on

} // namespace

StatusDialog::StatusDialog(Services &services, const AppSettings &settings,
                           const OdometerHolders &status)
    : DeviceDialog(services, QStringLiteral("Kilometers"), statusControls,
                   QStringLiteral("OdometerStatus"))
    , m_settings(settings)
    , m_start(status.start)
    , m_end(status.end)
{
    setDateOrder(m_settings.DateTypeView);
    controls().as<QLabel>(Picture)->setPixmap(odometerPicture());
    const std::uint32_t view = m_settings.DistanceTypeView;
    setPickerDate(DatePicker, m_end.date);
    auto *starts = controls().as<QLineEdit>(StartsEdit);
    auto *ends = controls().as<QLineEdit>(EndsEdit);
    auto *notes = controls().as<QLineEdit>(NotesEdit);
    starts->setMaxLength(FieldLimit::AmountText);
    ends->setMaxLength(FieldLimit::AmountText);
    notes->setMaxLength(FieldLimit::Memo);
    starts->setText(m_start.distanceTextFor(view));
    ends->setText(m_end.distanceTextFor(view));
    notes->setText(m_end.memo);
    setHeading({IDS_ODOMETER_STATUS, {6, 4}, {1, 20, 238, 20}, std::nullopt});
    relayout();
    focusField(EndsEdit);
}

bool StatusDialog::readReading(int field, MileageRecord &holder)
{
    const std::uint32_t view = m_settings.DistanceTypeView;
    const std::optional<QString> text = checkedAmount(field, view);
    if (!text)
        return false;
    SetAmountFromText(holder, *text, view);
    return true;
}

void StatusDialog::accept()
{
    services().inputPanel().hide();
    // Work on copies: a refused reading leaves the readings chosen as they were.
    MileageRecord start = m_start;
    MileageRecord end = m_end;

    end.setDate(pickerDate(DatePicker));
    if (!readReading(StartsEdit, start) || !readReading(EndsEdit, end))
        return;
    if (!(start.distance < end.distance)) {
        ask(IDS_STARTS_NOT_BELOW_ENDS, MessageButtons::Ok);
        refuseField(EndsEdit);
        return;
    }
    end.setMemo(checkMemo(controls().as<QLineEdit>(NotesEdit)->text().left(FieldLimit::Memo)).text);

    m_start = start;
    m_end = end;
    done(OkButton);
}

} // namespace tripvane
