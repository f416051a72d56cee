#include "RecordDialog.h"

#include "Databases.h"
#include "ProgramState.h"
#include "StringTable.h"
#include "TextRules.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

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
    {R::CategoryCombo, ControlKind::ComboBox, nullptr, {65, 50, 120, 100}, {63, 84, 92, 100}},
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

constexpr int UndoCapacity = 12;

} // namespace

RecordDialog::RecordDialog(Services &services, ProgramState &state, Databases &databases,
                           Shell shell)
    : DeviceDialog(services, QStringLiteral("Kilometers"), recordControls, true)
    , m_state(state)
    , m_databases(databases)
    , m_shell(std::move(shell))
{
    setDateOrder(m_state.settings.DateTypeView);
    const MileageRecord &record = m_state.recordUnderEdit;
    setPickerDate(DatePicker, record.date);

    auto *distance = controls().as<QLineEdit>(DistanceEdit);
    distance->setMaxLength(13);
    // A cleared record has no distance text yet: show its zero distance in the current form.
    AmountTexts shown = record.distanceText;
    if (shown[0].isNull())
        FormatAmount(shown, record.distance);
    distance->setText(AmountTextFor(shown, m_state.settings.DistanceTypeView));

    // The list is sorted by the control, as the handheld's sorted combo box does.
    QStringList names;
    for (ListPosition i = 0; i < m_state.categories.size(); ++i)
        names.append(m_state.categories.at(i).name);
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    auto *combo = controls().as<QComboBox>(CategoryCombo);
    combo->addItems(names);
    combo->setCurrentIndex(record.category.isEmpty() ? -1 : combo->findText(record.category));

    for (auto [id, limit, text] : {std::tuple{StartEdit, 32, &record.startPlace},
                                   std::tuple{DestinationEdit, 32, &record.destination},
                                   std::tuple{MemoEdit, 20, &record.memo}}) {
        auto *edit = controls().as<QLineEdit>(id);
        edit->setMaxLength(limit);
        edit->setText(*text);
    }
    controls().widget(DeleteButton)->setVisible(m_state.editMode);
    relayout();
    focusField(DistanceEdit);
}

void RecordDialog::command(int id)
{
    switch (id) {
    case 1:
    case OkButton:
        accept();
        break;
    case CancelButton:
        m_state.recordUnderEdit.clear();
        done(CancelButton);
        break;
    case DeleteButton:
        if (m_state.editMode)
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
        break;
    }
}

void RecordDialog::readDate()
{
    const SystemTime date = pickerDate(DatePicker);
    m_state.recordUnderEdit.setDate(date);
    // The next new trip starts on the date of the one last accepted.
    m_state.lastDate = date;
}

void RecordDialog::setPlaces()
{
    MileageRecord &record = m_state.recordUnderEdit;
    record.setStartPlace(normalisePlaceName(controls().as<QLineEdit>(StartEdit)->text()));
    record.setDestination(normalisePlaceName(controls().as<QLineEdit>(DestinationEdit)->text()));
    record.setMemo(stripBlanks(controls().as<QLineEdit>(MemoEdit)->text()));
}

void RecordDialog::accept()
{
    MileageRecord &record = m_state.recordUnderEdit;
    readDate();

    const std::uint32_t view = m_state.settings.DistanceTypeView;
    const std::optional<QString> distance = checkedAmount(DistanceEdit, view);
    if (!distance)
        return;
    SetAmountFromText(record, *distance, view);

    const QString category = controls().as<QComboBox>(CategoryCombo)->currentText().left(20);
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
    MileageRecord &record = m_state.recordUnderEdit;
    readDate();
    const QString distance = controls().as<QLineEdit>(DistanceEdit)->text();
    if (!distance.isEmpty())
        SetAmountFromText(record, stripBlanks(distance), m_state.settings.DistanceTypeView);
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
    const int row = m_shell.selectedRow;
    MileageRecord *stored = row < 0 ? nullptr : m_state.records.findAtPosition(ListPosition(row));
    if (!stored) {
        ask(IDS_REPEAT_DELETE, MessageButtons::Ok);
        done(DeleteButton);
        return;
    }
    // Undo restores the trip as stored, not as it was edited in this showing.
    m_state.recordUnderEdit.clear();
    m_state.recordUnderEdit.copyFrom(*stored);
    if (m_state.undo.size() >= UndoCapacity) {
        if (ask(IDS_UNDO_FULL, MessageButtons::YesNo) != MessageAnswer::Yes)
            return;
        m_state.undo.removeAtPosition(0);
    }
    m_state.undo.append(m_state.recordUnderEdit);
    if (m_shell.undoChanged)
        m_shell.undoChanged();

    const std::int32_t key = stored->key;
    m_state.records.removeAtPosition(ListPosition(row));
    m_databases.deleteRecord(key);
    if (m_shell.rowRemoved)
        m_shell.rowRemoved(row);
    done(DeleteButton);
}

} // namespace tripvane
