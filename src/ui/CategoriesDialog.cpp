#include "CategoriesDialog.h"

#include "StringTable.h"
#include "TripLog.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

namespace tripvane {

namespace {

using C = CategoriesDialog;

// clang-format off
constexpr ControlSpec hubControls[] = {
    {C::ListBox, ControlKind::ListBox, nullptr, {6, 26, 228, 150}, {6, 26, 200, 150}},
    {C::NewButton, ControlKind::DefaultButton, u"New", {6, 182, 70, 24}, {214, 26, 100, 24}},
    {C::RenameButton, ControlKind::Button, u"Rename", {84, 182, 70, 24}, {214, 56, 100, 24}},
    {C::DeleteButton, ControlKind::Button, u"Delete", {162, 182, 70, 24}, {214, 86, 100, 24}},
    {C::ThroughTripsBox, ControlKind::CheckBox, u"Apply Rename and Delete to records", {6, 212, 228, 20}, {6, 182, 308, 20}},
};
// clang-format on

} // namespace

CategoriesDialog::CategoriesDialog(Services &services, bool throughTrips, const TripLog &log)
    : DeviceDialog(services, QStringLiteral("Edit Categories..."), hubControls,
                   QStringLiteral("Categories"))
    , m_log(log)
    , m_throughTrips(throughTrips)
{
    fillList();
    // The list is read by the heading over it, as a list view is by its column.
    controls().widget(ListBox)->setAccessibleName(loadString(IDS_CATEGORY_HEADING));
    controls().as<QCheckBox>(ThroughTripsBox)->setChecked(throughTrips);
    connect(controls().as<QListWidget>(ListBox), &QListWidget::itemSelectionChanged, this,
            &CategoriesDialog::selectionChanged);
    selectionChanged();
    setHeading({IDS_CATEGORY_HEADING});
    relayout();
    // Only names are chosen here: the input panel stays down.
    setInputPanelAfterDropDown(false);
    services.inputPanel().hide();
    controls().widget(ListBox)->setFocus();
}

void CategoriesDialog::fillList()
{
    auto *list = controls().as<QListWidget>(ListBox);
    list->addItems(sortedNames(m_log.categories()));
    // Nothing is selected, but the keys start from the first name.
    if (list->count() > 0)
        list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void CategoriesDialog::selectionChanged()
{
    services().inputPanel().hide();
    const bool selected = !currentName().isEmpty();
    controls().widget(RenameButton)->setEnabled(selected);
    controls().widget(DeleteButton)->setEnabled(selected);
    controls().as<QPushButton>(NewButton)->setDefault(!selected);
    controls().as<QPushButton>(RenameButton)->setDefault(selected);
}

QString CategoriesDialog::currentName() const
{
    const QList<QListWidgetItem *> items = controls().as<QListWidget>(ListBox)->selectedItems();
    return items.isEmpty() ? QString() : items.front()->text();
}

void CategoriesDialog::keepThroughTripsSetting()
{
    m_throughTrips = controls().as<QCheckBox>(ThroughTripsBox)->isChecked();
}

void CategoriesDialog::command(int id)
{
    switch (id) {
    case NewButton:
        keepThroughTripsSetting();
        done(NewButton);
        break;
    case RenameButton:
        keepThroughTripsSetting();
        m_selected = currentName();
        if (m_selected.isEmpty())
            selectionChanged();
        else
            done(RenameButton);
        break;
    case DeleteButton:
        deleteSelected();
        break;
    case TitleBarOkCommand:
    case LeaveCode:
        keepThroughTripsSetting();
        done(LeaveCode);
        break;
    default:
        break;
    }
}

void CategoriesDialog::deleteSelected()
{
    if (ask(IDS_DELETE_ITEM_QUESTION, MessageButtons::YesNo) != MessageAnswer::Yes) {
        controls().widget(ListBox)->setFocus();
        return;
    }
    keepThroughTripsSetting();
    const QString name = currentName();
    if (name.isEmpty()) {
        selectionChanged();
        return;
    }
    m_selected = name;
    done(DeleteButton);
}

} // namespace tripvane
