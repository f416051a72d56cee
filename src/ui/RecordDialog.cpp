#include "RecordDialog.h"

#include "AppSettings.h"
#include "StringTable.h"
#include "TextRules.h"

#include <QComboBox>
#include <QLineEdit>

namespace tripvane {

namespace {

using R = RecordDialog;

// clang-format off
constexpr ControlSpec recordControls[] = {
    {R::DateLabel, ControlKind::Label, u"Date:", {3, 8, 33, 18}, {3, 6, 33, 18}},
    {R::DatePicker, ControlKind::DatePicker, nullptr, {65, 6, 90, 18}, {65, 4, 90, 18}},
    {R::DistanceLabel, ControlKind::Label, u"Km/Miles:", {3, 30, 53, 18}, {3, 26, 53, 18}},
    {R::DistanceEdit, ControlKind::Edit, nullptr, {65, 28, 90, 18}, {65, 24, 90, 18}},
    {R::CategoryLabel, ControlKind::Label, u"Category:", {3, 52, 55, 18}, {3, 86, 55, 18}},
    {R::CategoryCombo, ControlKind::ComboBox, nullptr, {65, 50, 168, 100}, {63, 84, 92, 100}},
    {R::StartLabel, ControlKind::Label, u"Start:", {3, 75, 33, 16}, {3, 46, 33, 18}},
    {R::StartEdit, ControlKind::Edit, nullptr, {40, 74, 123, 18}, {40, 44, 115, 18}},
    {R::DestinationLabel, ControlKind::Label, u"Dest:", {3, 97, 31, 18}, {3, 65, 31, 18}},
    {R::DestinationEdit, ControlKind::Edit, nullptr, {40, 96, 123, 18}, {40, 64, 115, 18}},
    {R::MemoLabel, ControlKind::Label, u"Memo:", {3, 119, 39, 18}, {161, 87, 39, 18}},
    {R::MemoEdit, ControlKind::Edit, nullptr, {65, 118, 168, 18}, {203, 86, 114, 18}},
    {R::CancelButton, ControlKind::Button, u"Cancel", {5, 147, 73, 24}, {244, 58, 73, 24}},
    {R::OkButton, ControlKind::DefaultButton, u"OK", {161, 147, 73, 24}, {244, 4, 73, 24}},
    {R::DeleteButton, ControlKind::Button, u"Delete", {83, 147, 73, 24}, {244, 31, 73, 24}},
    {R::BookButton, ControlKind::Button, u"Book", {163, 6, 70, 40}, {161, 4, 70, 37}},
    {R::ToDestinationButton, ControlKind::Button, u"->Dest", {170, 73, 63, 20}, {161, 44, 70, 18}},
    {R::ToStartButton, ControlKind::Button, u"->Start", {170, 95, 63, 20}, {161, 65, 70, 18}},
};
// clang-format on

} // namespace

RecordDialog::RecordDialog(Services &services, const AppSettings &settings,
                           const QStringList &categories, Edit edit)
    : DeviceDialog(services, QStringLiteral("Kilometers"), recordControls,
                   QStringLiteral("Mileagerecords"))
    , m_settings(settings)
    , m_edit(std::move(edit))
{
    setDateOrder(m_settings.DateTypeView);
    const MileageRecord &record = m_edit.record;
    setPickerDate(DatePicker, record.date);

    // The arrows of the copy buttons say nothing when read out.
    controls().widget(ToDestinationButton)->setAccessibleName(QStringLiteral("Start to Dest"));
    controls().widget(ToStartButton)->setAccessibleName(QStringLiteral("Dest to Start"));
    auto *distance = controls().as<QLineEdit>(DistanceEdit);
    distance->setMaxLength(FieldLimit::AmountText);
    // A cleared record has no distance text yet: show its zero distance in the current form.
    distance->setText(FormatAmount(record.distance, m_settings.DistanceTypeView));

    auto *combo = controls().as<QComboBox>(CategoryCombo);
    combo->addItems(categories);
    combo->setCurrentIndex(record.category.isEmpty() ? -1 : combo->findText(record.category));

    for (auto [id, limit, text] :
         {std::tuple{StartEdit, FieldLimit::Place, &record.startPlace},
          std::tuple{DestinationEdit, FieldLimit::Place, &record.destination},
          std::tuple{MemoEdit, FieldLimit::Memo, &record.memo}}) {
        auto *field = controls().as<QLineEdit>(id);
        field->setMaxLength(limit);
        field->setText(*text);
    }
    controls().widget(DeleteButton)->setVisible(m_edit.editMode);
    relayout();
    focusField(DistanceEdit);
}

void RecordDialog::command(int id)
{
    switch (id) {
    case CancelButton:
        m_edit.record.clear();
        done(CancelButton);
        break;
    case DeleteButton:
        if (m_edit.editMode)
            deleteRecord();
        break;
    case BookButton:
        saveForBook();
        done(BookButton);
        break;
    case ToDestinationButton:
        copyPlace(StartEdit);
        break;
    case ToStartButton:
        copyPlace(DestinationEdit);
        break;
    default:
        DeviceDialog::command(id);
    }
}

void RecordDialog::readDate()
{
    const SystemTime date = pickerDate(DatePicker);
    m_edit.record.setDate(date);
    m_dateTaken = date;
}

void RecordDialog::setPlaces()
{
    MileageRecord &record = m_edit.record;
    record.setStartPlace(checkTripPlace(controls().as<QLineEdit>(StartEdit)->text()).text);
    record.setDestination(checkTripPlace(controls().as<QLineEdit>(DestinationEdit)->text()).text);
    record.setMemo(checkMemo(controls().as<QLineEdit>(MemoEdit)->text()).text);
}

void RecordDialog::accept()
{
    MileageRecord &record = m_edit.record;
    readDate();

    const std::uint32_t view = m_settings.DistanceTypeView;
    const std::optional<QString> distance = checkedAmount(DistanceEdit, view);
    if (!distance)
        return;
    SetAmountFromText(record, *distance, view);

    const QString category =
        controls().as<QComboBox>(CategoryCombo)->currentText().left(FieldLimit::CategoryName);
    if (category.isEmpty()) {
        services().beeper().beep();
        controls().widget(CategoryCombo)->setFocus();
        return;
    }
    record.setCategory(stripBlanks(category));
    setPlaces();
    done(OkButton);
}

void RecordDialog::saveForBook()
{
    MileageRecord &record = m_edit.record;
    readDate();
    const QString distance = controls().as<QLineEdit>(DistanceEdit)->text();
    if (!distance.isEmpty())
        SetAmountFromText(record, stripBlanks(distance), m_settings.DistanceTypeView);
    const QString category = controls().as<QComboBox>(CategoryCombo)->currentText();
    if (!category.isEmpty())
        record.setCategory(stripBlanks(category));
    setPlaces();
}

void RecordDialog::copyPlace(int from)
{
    const QString place = normalisePlaceName(controls().as<QLineEdit>(from)->text());
    if (place.isEmpty())
        return;
    controls().as<QLineEdit>(StartEdit)->setText(place);
    controls().as<QLineEdit>(DestinationEdit)->setText(place);
}

void RecordDialog::deleteRecord()
{
    if (ask(IDS_DELETE_RECORD_QUESTION, MessageButtons::YesNo) != MessageAnswer::Yes) {
        focusField(DistanceEdit);
        return;
    }
    if (!m_edit.tripListed) {
        ask(IDS_REPEAT_DELETE, MessageButtons::Ok);
        done(DeleteButton);
        return;
    }
    if (m_edit.undoIsFull && ask(IDS_UNDO_FULL, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    done(DeleteButton);
}

} // namespace tripvane
