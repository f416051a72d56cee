#include "MileageBookDialog.h"

#include "AppSettings.h"
#include "ListView.h"
#include "Records.h"
#include "StringTable.h"
#include "TripLog.h"

#include <QItemSelectionModel>
#include <QPushButton>

namespace tripvane {

namespace {

using B = MileageBookDialog;

// clang-format off
constexpr ControlSpec bookControls[] = {
    {B::NewButton, ControlKind::DefaultButton, u"New", {6, 155, 70, 24}, {35, 155, 85, 24}},
    {B::EditButton, ControlKind::Button, u"Edit", {84, 155, 70, 24}, {130, 155, 85, 24}},
    {B::DeleteButton, ControlKind::Button, u"Delete", {162, 155, 70, 24}, {225, 155, 85, 24}},
};
constexpr ControlSpec pickerControls[] = {
    {BookPickerDialog::BackButton, ControlKind::Button, u"Back", {85, 165, 73, 24}, {225, 155, 85, 24}},
};
// clang-format on

} // namespace

MileageBookDialog::MileageBookDialog(Services &services, const AppSettings &settings,
                                     const TripLog &log, BookActions actions, int chosenRoute)
    : RouteListDialog(services, bookControls, settings, log, std::move(actions), chosenRoute)
{
    // Arrow keys move the choice as a tap does: the buttons act on the row the user sees.
    connect(list().selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (list().selectedRow() >= 0)
            chooseRow(list().selectedRow());
    });
    setHeading({IDS_BOOK_HEADING, {6, 3}, {1, 19, 236, 19}});
    relayout();
    const bool chosen = hasSelectedRoute();
    if (!chosen)
        selectedRoute() = NoRoute;
    controls().widget(EditButton)->setEnabled(chosen);
    controls().widget(DeleteButton)->setEnabled(chosen);
    controls().as<QPushButton>(EditButton)->setDefault(chosen);
    controls().as<QPushButton>(NewButton)->setDefault(!chosen);
    showSelectedRoute();
    services.inputPanel().hide();
}

void MileageBookDialog::showSelectedRoute()
{
    list().setFocus();
    if (hasSelectedRoute())
        list().selectRow(selectedRoute());
}

void MileageBookDialog::chooseRow(int row)
{
    selectedRoute() = row;
    controls().widget(EditButton)->setEnabled(true);
    controls().widget(DeleteButton)->setEnabled(true);
    controls().as<QPushButton>(NewButton)->setDefault(false);
    controls().as<QPushButton>(EditButton)->setDefault(true);
}

void MileageBookDialog::rowTapped()
{
    if (list().selectedRow() >= 0)
        chooseRow(list().selectedRow());
}

void MileageBookDialog::command(int id)
{
    switch (id) {
    case NewButton:
        selectedRoute() = NoRoute;
        done(NewButton);
        break;
    case EditButton:
        if (hasSelectedRoute())
            done(EditButton);
        break;
    case DeleteButton:
        deleteSelected();
        break;
    case LeaveCode:
        done(LeaveCode);
        break;
    default:
        break;
    }
}

void MileageBookDialog::deleteSelected()
{
    if (ask(IDS_DELETE_ITEM_QUESTION, MessageButtons::YesNo) != MessageAnswer::Yes ||
        !hasSelectedRoute()) {
        showSelectedRoute();
        return;
    }
    const int row = selectedRoute();
    actions().deleteRoute(ListPosition(row)); // a failed rewrite is reported; the book keeps it
    // The first row leaves nothing chosen, as does the last: the buttons never act on a
    // position the book no longer holds. Otherwise the row that moved up is chosen.
    if (row == 0 || !hasSelectedRoute()) {
        selectedRoute() = NoRoute;
        controls().widget(EditButton)->setEnabled(false);
        controls().widget(DeleteButton)->setEnabled(false);
        controls().as<QPushButton>(NewButton)->setDefault(true);
    }
    showSelectedRoute();
}

BookPickerDialog::BookPickerDialog(Services &services, const AppSettings &settings,
                                   const TripLog &log, BookActions actions, MileageRecord &record)
    : RouteListDialog(services, pickerControls, settings, log, std::move(actions), NoRoute)
    , m_record(record)
{
    setHeading({IDS_PICKER_HEADING});
    relayout();
    list().setFocus();
    services.inputPanel().hide();
}

void BookPickerDialog::rowTapped()
{
    const int row = list().selectedRow();
    if (row < 0)
        return;
    selectedRoute() = row;
    const BookRoute &route = log().book().at(ListPosition(row));
    m_record.setStartPlace(route.startPlace);
    m_record.setDestination(route.destination);
    SetAmountFromText(m_record, route.distanceTextFor(settings().DistanceTypeView),
                      settings().DistanceTypeView);
    done(BackButton);
}

} // namespace tripvane
