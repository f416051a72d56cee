#pragma once

#include "DeviceDialog.h"

namespace tripvane {

class TripLog;

// "Edit Categories..." (124): the categories, and New, Rename and Delete. Delete is carried out
// here; New and Rename end the dialog so that the caller shows the name dialog. The check box
// carries a rename or a deletion through every trip of the category.
class CategoriesDialog final : public DeviceDialog
{
    Q_OBJECT

public:
    enum Control {
        NewButton = 1040,
        RenameButton = 1041,
        DeleteButton = 1042,
        ListBox = 1051,
        ThroughTripsBox = 1212,
    };
    static constexpr int LeaveCode = 1052;

    // throughTrips: whether Rename and Delete go through the trips (CatRecsApply).
    CategoriesDialog(Services &services, bool throughTrips, const TripLog &log);

    void command(int id) override;
    int cancelCode() const override { return LeaveCode; }
    // The category that Rename or a confirmed Delete was pressed on.
    QString selectedName() const { return m_selected; }
    // The check box as the dialog left it, for the setting.
    bool throughTrips() const { return m_throughTrips; }

private:
    void fillList();
    void selectionChanged();
    void keepThroughTripsSetting();
    QString currentName() const;
    void deleteSelected();

    const TripLog &m_log;
    QString m_selected;
    bool m_throughTrips;
};

} // namespace tripvane
