#pragma once

class QObject;

namespace tripvane {

class ListModel;
class TripLog;
struct AppSettings;

// The lists of the trip log, in the current view options. Each model follows the log's signals.

// The record list (control 500): date with the memo image, category, distance.
ListModel *makeRecordListModel(const TripLog &log, const AppSettings &settings, QObject *parent);
// The route list (control 502) of the Mileage Book and its picker: start, destination, mileage.
ListModel *makeRouteListModel(const TripLog &log, const AppSettings &settings, QObject *parent);

// The report list (control 501): every category with a total, and that total.
ListModel *makeReportListModel(const TripLog &log, const AppSettings &settings, QObject *parent);

} // namespace tripvane
