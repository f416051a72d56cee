#pragma once

#include "DeviceDialog.h"
#include "Records.h"

#include <optional>

namespace tripvane {

class TripLog;
struct AppSettings;

// "New route" (131) and "Edit route" (132): starting place, destination and mileage of one
// route of the Mileage Book. A new route is added at the end; an edited one replaces the
// route at its position and moves to the end.
class RouteDialog final : public DeviceDialog
{
    Q_OBJECT

public:
    // The controls of the new-route dialog; those of the edit dialog are ten lower.
    enum Control {
        StartLabel = 1200,
        StartEdit = 1201,
        DestinationLabel = 1202,
        DestinationEdit = 1203,
        MileageLabel = 1204,
        MileageEdit = 1205,
        OkButton = 1206,
        CancelButton = 1207,
    };
    static constexpr int EditOffset = -10;

    // A new route, or an edit of the route at the edited position of the book.
    RouteDialog(Services &services, const AppSettings &settings, const TripLog &log,
                std::optional<int> edited = std::nullopt);

    int okCode() const override { return id(OkButton); }
    int cancelCode() const override { return id(CancelButton); }
    // The route chosen, once the dialog ended with its OK, and the route of the book it
    // replaces; an edited route whose position the book no longer holds is a new one.
    const BookRoute &chosenRoute() const { return m_route; }
    std::optional<ListPosition> replacedPosition() const { return m_replaces; }
    // The id of a control in this dialog.
    int id(Control control) const { return control + (m_edit ? EditOffset : 0); }

private:
    void accept() override;

    const AppSettings &m_settings;
    const TripLog &m_log;
    BookRoute m_route;
    std::optional<ListPosition> m_replaces;
    int m_position;
    bool m_edit;
};

} // namespace tripvane
