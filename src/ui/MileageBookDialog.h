#pragma once

#include "RouteListDialog.h"

namespace tripvane {

struct MileageRecord;

// "Mileage Book" (130): the routes, and New, Edit and Delete. Delete is asked here and carried
// out by the owner while the dialog stays open; New and Edit end the dialog so that the caller
// shows the route dialog.
class MileageBookDialog final : public RouteListDialog
{
    Q_OBJECT

public:
    enum Control {
        NewButton = 1186,
        EditButton = 1187,
        DeleteButton = 1185,
    };
    static constexpr int LeaveCode = TitleBarOkCommand;

    MileageBookDialog(Services &services, const AppSettings &settings, const TripLog &log,
                      BookActions actions, int selectedRoute);

    void command(int id) override;
    int cancelCode() const override { return LeaveCode; }

protected:
    void rowTapped() override;

private:
    void chooseRow(int row);
    void showSelectedRoute();
    void deleteSelected();
};

// The picker "Mileage Book" (1210) from the record dialog's Book: a tap on a route puts its
// places and distance into the record under edit.
class BookPickerDialog final : public RouteListDialog
{
    Q_OBJECT

public:
    static constexpr int BackButton = 1211;

    // The record is the record dialog's, which the chosen route fills in.
    BookPickerDialog(Services &services, const AppSettings &settings, const TripLog &log,
                     BookActions actions, MileageRecord &record);

    int cancelCode() const override { return BackButton; }

protected:
    void rowTapped() override;

private:
    MileageRecord &m_record;
};

} // namespace tripvane
