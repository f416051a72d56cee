#pragma once

#include "CsvText.h"
#include "CursorList.h"

#include <cstdint>

namespace tripvane {

class DeviceRoot;
class Services;

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

// Every trip in list order, with the header line, as the main list shows dates and distances.
// 1 when the file was written completely, else 0; the failure was told to the user. A file
// that is replaced stays as it was until the new one is complete.
int ExportMileageRecords(Services &services, const DeviceRoot &device, const RecordList &trips,
                         const QString &name, const ExportOptions &options);
// Every category in list order with its report total, zero totals included.
int ExportReport(Services &services, const DeviceRoot &device, const CategoryList &categories,
                 const QString &name, const ExportOptions &options);

} // namespace tripvane
