#pragma once

#include "AboutDialog.h"
#include "CategoriesDialog.h"
#include "CategoryNameDialog.h"
#include "DeleteRangeDialog.h"
#include "ExportDialog.h"
#include "MileageBookDialog.h"
#include "MileageBookFlow.h"
#include "ProgramState.h"
#include "RecordDialog.h"
#include "ReportDialog.h"
#include "ReportFlow.h"
#include "RouteDialog.h"
#include "StatusDialog.h"
#include "Testkit.h"
#include "TripLog.h"
#include "ViewOptionsDialog.h"

#include <utility>
#include <vector>

namespace tripvane::gui {

// One of each dialog of the program, made on a running program that holds one trip; the report
// shows its list.
struct EveryDialog
{
    explicit EveryDialog(TestApp &app)
        : services(app.kit.services())
        , state(app.state())
        , underEdit(app.log().trips().at(0))
        , range{underEdit.date, underEdit.date}
        , record(services, state.settings, sortedNames(app.log().categories()),
                 {underEdit, true, true, false})
        , status(services, state.settings, app.log().status())
        , dateRange(services, state.settings, app.log(), range)
        , categories(services, state.settings.CatRecsApply == 1, app.log())
        , categoryName(services)
        , book(services, state.settings, app.log(), bookActions(app.log()), 0)
        , picker(services, state.settings, app.log(), bookActions(app.log()), underEdit)
        , route(services, state.settings, app.log())
        , report(services, state.settings, app.log(), range, reportActions(app.log()))
        , options(services, {state.settings.DateTypeView, state.settings.DistanceTypeView})
        , about(services, state.settings)
        , tripsExport(services, {}, ExportDialog::Kind::Trips, exportName, {})
        , reportExport(services, {}, ExportDialog::Kind::Report, exportName, {})
    {
        DialogDriver(report).click(ReportDialog::ViewButton);
    }

    std::vector<std::pair<const char *, DeviceDialog *>> all()
    {
        return {{"record", &record},
                {"status", &status},
                {"delete by range", &dateRange},
                {"categories", &categories},
                {"category name", &categoryName},
                {"mileage book", &book},
                {"book picker", &picker},
                {"route", &route},
                {"report", &report},
                {"view options", &options},
                {"about", &about},
                {"trips export", &tripsExport},
                {"report export", &reportExport}};
    }

    Services &services;
    ProgramState &state;
    MileageRecord underEdit;
    DateRange range;
    RecordDialog record;
    StatusDialog status;
    DeleteRangeDialog dateRange;
    CategoriesDialog categories;
    CategoryNameDialog categoryName;
    MileageBookDialog book;
    BookPickerDialog picker;
    RouteDialog route;
    ReportDialog report;
    ViewOptionsDialog options;
    AboutDialog about;
    QString exportName;
    ExportDialog tripsExport;
    ExportDialog reportExport;
};

} // namespace tripvane::gui
