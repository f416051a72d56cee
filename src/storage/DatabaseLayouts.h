#pragma once

#include "PropertyCodec.h"

#include <QString>

#include <vector>

namespace tripvane {

namespace DatabaseName {
inline const QString Categories = QStringLiteral("Velmora OdometerRecCustom");
inline const QString Status = QStringLiteral("Velmora OdometerRecStatus");
inline const QString Mileage = QStringLiteral("Velmora OdometerRec");
inline const QString MileageBook = QStringLiteral("Velmora OdometerMBook");
} // namespace DatabaseName

// Property identifiers of the four databases.
namespace Prop {
inline constexpr std::uint32_t Sequence = makePropertyId(0, CEVT_UI4);
inline constexpr std::uint32_t Key = makePropertyId(0, CEVT_UI4);

inline constexpr std::uint32_t CategoryName = makePropertyId(1, CEVT_LPWSTR);

inline constexpr std::uint32_t Day = makePropertyId(1, CEVT_UI4);
inline constexpr std::uint32_t Month = makePropertyId(2, CEVT_UI4);
inline constexpr std::uint32_t Year = makePropertyId(3, CEVT_UI4);

inline constexpr std::uint32_t StatusStarts = makePropertyId(4, CEVT_UI4);
inline constexpr std::uint32_t StatusEnds = makePropertyId(5, CEVT_UI4);
inline constexpr std::uint32_t StatusNotes = makePropertyId(6, CEVT_LPWSTR);

inline constexpr std::uint32_t TripDistance = makePropertyId(4, CEVT_UI4);
inline constexpr std::uint32_t TripCategory = makePropertyId(5, CEVT_LPWSTR);
inline constexpr std::uint32_t TripMemo = makePropertyId(6, CEVT_LPWSTR);
inline constexpr std::uint32_t TripStartPlace = makePropertyId(7, CEVT_LPWSTR);
inline constexpr std::uint32_t TripDestination = makePropertyId(8, CEVT_LPWSTR);

inline constexpr std::uint32_t RouteStartPlace = makePropertyId(1, CEVT_LPWSTR);
inline constexpr std::uint32_t RouteDestination = makePropertyId(2, CEVT_LPWSTR);
inline constexpr std::uint32_t RouteDistance = makePropertyId(3, CEVT_UI4);
} // namespace Prop

static_assert(Prop::TripCategory == 0x0005001F && Prop::TripDestination == 0x0008001F);
static_assert(Prop::RouteDistance == 0x00030013 && Prop::StatusNotes == 0x0006001F);

// How each database's properties show as named columns to any SQLite tool: one view per
// database, in store order.
struct ViewColumn
{
    std::uint32_t property;
    const char *name;
};

struct DatabaseView
{
    const QString &database;
    const char *view;
    std::vector<ViewColumn> columns;
};

inline const std::vector<DatabaseView> &databaseViews()
{
    static const std::vector<DatabaseView> views{
        {DatabaseName::Mileage,
         "trips",
         {{Prop::Key, "key"},
          {Prop::Day, "day"},
          {Prop::Month, "month"},
          {Prop::Year, "year"},
          {Prop::TripDistance, "distance_hundredths"},
          {Prop::TripCategory, "category"},
          {Prop::TripMemo, "memo"},
          {Prop::TripStartPlace, "start_place"},
          {Prop::TripDestination, "destination"}}},
        {DatabaseName::Status,
         "odometer_status",
         {{Prop::Key, "key"},
          {Prop::Day, "day"},
          {Prop::Month, "month"},
          {Prop::Year, "year"},
          {Prop::StatusStarts, "starts_hundredths"},
          {Prop::StatusEnds, "ends_hundredths"},
          {Prop::StatusNotes, "notes"}}},
        {DatabaseName::Categories,
         "categories",
         {{Prop::Sequence, "sequence"}, {Prop::CategoryName, "name"}}},
        {DatabaseName::MileageBook,
         "mileage_book",
         {{Prop::Sequence, "sequence"},
          {Prop::RouteStartPlace, "start_place"},
          {Prop::RouteDestination, "destination"},
          {Prop::RouteDistance, "distance_hundredths"}}},
    };
    return views;
}

} // namespace tripvane
