#pragma once

#include "PropertyCodec.h"

#include <QString>

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

} // namespace tripvane
