#pragma once

#include "CsvText.h"
#include "CursorList.h"

#include <cstdint>

namespace tripvane {

class DeviceRoot;

// What the export dialog chose, and the forms the lists show dates and amounts in.
struct ExportOptions
{
    std::uint32_t fileType = 0; // ExportFileType: 0 ASCII, 1 UNICODE
    std::uint32_t folder = 0;   // ExportFileFolder: 0 Business, 1 Personal
    std::uint32_t dateView = 0;
    std::uint32_t distanceView = 0;
};

// "\My Documents\Business\<name>.csv" or the Personal folder; empty for any other folder value.
QString exportDevicePath(const QString &name, std::uint32_t folder);

// How an export ended; anything but Written leaves the folder as it was.
enum class ExportOutcome {
    Written,
    NothingToWrite, // no name, no such folder choice, or no categories
    NoFolder,       // the chosen folder is missing, a link or read-only
    FileExists,     // a file of that name is there, and replacing it was not asked for
    CannotReplace,  // what has the name is a link or no plain file
    CannotCreate,
    CannotWrite,
};

// Every trip in list order, with the header line, as the main list shows dates and distances.
// A file that is replaced stays as it was until the new one is complete.
ExportOutcome ExportMileageRecords(const DeviceRoot &device, const RecordList &trips,
                                   const QString &name, const ExportOptions &options, bool replace);
// Every category in list order with its report total, zero totals included.
ExportOutcome ExportReport(const DeviceRoot &device, const CategoryList &categories,
                           const QString &name, const ExportOptions &options, bool replace);

} // namespace tripvane
