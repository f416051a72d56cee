#include "LogLists.h"

#include "AppSettings.h"
#include "Images.h"
#include "ListView.h"
#include "StringTable.h"
#include "TextRules.h"
#include "TripLog.h"

namespace tripvane {

ListModel *makeRecordListModel(const TripLog &log, const AppSettings &settings, QObject *parent)
{
    auto record = [&log](int row) -> const MileageRecord & {
        return log.trips().at(ListPosition(row));
    };
    auto *model = new ListModel(
        {{IDS_DATE_COLUMN, 75, 75, false, true},
         {IDS_CATEGORY_COLUMN, 75, 70},
         {IDS_MILEAGE_COLUMN, 70, 60, true}},
        {
            .count = [&log] { return int(log.trips().size()); },
            .text =
                [&settings, record](int row, int column) {
                    const MileageRecord &trip = record(row);
                    if (column == 0)
                        return trip.dateTextFor(settings.DateTypeView);
                    if (column == 1)
                        return trip.category;
                    // A trip stored without a distance shows it as zero.
                    return FormatAmount(trip.distance, settings.DistanceTypeView);
                },
            .image =
                [record](int row) {
                    return stripBlanks(record(row).memo).isEmpty() ? ImageNoMemo : ImageMemo;
                },
        },
        {ImageNoOrder}, parent);
    QObject::connect(&log, &TripLog::tripsAboutToReset, model, &ListModel::beginRowsReset);
    QObject::connect(&log, &TripLog::tripsReset, model, &ListModel::endRowsReset);
    QObject::connect(&log, &TripLog::tripAboutToAppend, model, &ListModel::beginAppendRow);
    QObject::connect(&log, &TripLog::tripAppended, model, &ListModel::endAppendRow);
    QObject::connect(&log, &TripLog::tripChanged, model, &ListModel::rowChanged);
    QObject::connect(&log, &TripLog::tripAboutToRemove, model, &ListModel::beginRemoveRow);
    QObject::connect(&log, &TripLog::tripRemoved, model, &ListModel::endRemoveRow);
    return model;
}

ListModel *makeRouteListModel(const TripLog &log, const AppSettings &settings, QObject *parent)
{
    auto *model = new ListModel({{IDS_START_COLUMN, 75, 105},
                                 {IDS_DESTINATION_COLUMN, 98, 105},
                                 {IDS_ROUTE_MILEAGE_COLUMN, 60, 85, true}},
                                {
                                    .count = [&log] { return int(log.book().size()); },
                                    .text =
                                        [&log, &settings](int row, int column) {
                                            const BookRoute &route =
                                                log.book().at(ListPosition(row));
                                            if (column == 0)
                                                return route.startPlace;
                                            if (column == 1)
                                                return route.destination;
                                            return route.distanceTextFor(settings.DistanceTypeView);
                                        },
                                    .image = [](int) { return int(ImageRow); },
                                },
                                {ImageNoOrder, ImageNoOrder, ImageNoOrder}, parent);
    QObject::connect(&log, &TripLog::routesAboutToChange, model, &ListModel::beginRowsReset);
    QObject::connect(&log, &TripLog::routesChanged, model, &ListModel::endRowsReset);
    return model;
}

ListModel *makeReportListModel(const TripLog &log, const AppSettings &settings, QObject *parent)
{
    // The rows are the categories whose total is not zero, found again after each change.
    auto shown = std::make_shared<std::vector<ListPosition>>();
    auto *model = new ListModel(
        {{IDS_REPORT_CATEGORY_COLUMN, 110, 78}, {IDS_REPORT_MILEAGE_COLUMN, 95, 85, true}},
        {
            .count = [shown] { return int(shown->size()); },
            .text =
                [&log, &settings, shown](int row, int column) {
                    const CategoryEntry &entry = log.categories().at((*shown)[std::size_t(row)]);
                    if (column == 0)
                        return entry.name;
                    return FormatAmount(entry.total, settings.DistanceTypeView);
                },
            .image = [](int) { return int(ImageRow); },
        },
        {ImageNoOrder, ImageNoOrder}, parent);
    const auto findRows = [&log, shown] {
        shown->clear();
        for (ListPosition i = 0; i < log.categories().size(); ++i) {
            if (log.categories().at(i).total != 0)
                shown->push_back(i);
        }
    };
    findRows();
    QObject::connect(&log, &TripLog::categoriesAboutToChange, model, &ListModel::beginRowsReset);
    QObject::connect(&log, &TripLog::categoriesChanged, model, [model, findRows] {
        findRows();
        model->endRowsReset();
    });
    return model;
}

} // namespace tripvane
