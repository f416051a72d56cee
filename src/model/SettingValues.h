#pragma once

#include <cstdint>

namespace tripvane {

// What the stored codes of the view and export settings mean. The settings keep the codes as
// stored; code compares them with these names.
enum DistanceView : std::uint32_t { CommaView = 0, DotView = 1 }; // DistanceTypeView
enum DateView : std::uint32_t {                                   // DateTypeView
    DayFirstDashes = 0,
    DayFirstSlashes = 1,
    MonthFirstDashes = 2,
    MonthFirstSlashes = 3,
};
enum ExportFileTypeCode : std::uint32_t { AsciiFile = 0, UnicodeFile = 1 };
enum ExportFolderCode : std::uint32_t { BusinessFolder = 0, PersonalFolder = 1 };
enum CatRecsApplyCode : std::uint32_t { ListOnly = 0, ThroughTrips = 1 };

} // namespace tripvane
