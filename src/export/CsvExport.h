#pragma once

#include "CsvText.h"
#include "NodeList.h"

#include <cstdint>
#include <functional>
#include <optional>

class QIODevice;

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

// The lines of an export after its header, one at a time; none after the last.
using NextRow = std::function<std::optional<QStringList>()>;
struct CsvTable
{
    QStringList header;
    NextRow nextRow;
};

// The header line of the trips export; an import reads the same.
const QStringList &tripsHeader();
// The header line of the trips as the command line lists them for scripts (ISO dates, plain
// amounts); an import reads that form too.
const QStringList &listHeader();
// Every trip in list order, with the header line, as the main list shows dates and distances.
CsvTable tripsTable(const RecordList &trips, std::uint32_t dateView, std::uint32_t distanceView);
// Every category in list order with its total, zero totals included.
CsvTable reportTable(const CategoryList &categories, std::uint32_t distanceView);
// The report's Total view as a file: the report's header and one line, "Total" and the text
// the view shows.
CsvTable reportTotalTable(std::int32_t total, std::uint32_t distanceView);
// False when a line could not be written whole (the disk is full).
bool writeCsv(QIODevice &out, const CsvTable &table, CsvEncoding encoding);

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

// The table into a file of its own, private to the user, that replaces what has the name only
// once it is complete: Written, CannotCreate or CannotWrite.
ExportOutcome writeCsvFileAt(const QString &path, const CsvTable &table, CsvEncoding encoding);

// The trips table into the folder's file. A file that is replaced stays as it was until the new
// one is complete.
ExportOutcome ExportMileageRecords(const DeviceRoot &device, const RecordList &trips,
                                   const QString &name, const ExportOptions &options, bool replace);
// The report table of the categories with their report totals.
ExportOutcome ExportReport(const DeviceRoot &device, const CategoryList &categories,
                           const QString &name, const ExportOptions &options, bool replace);

} // namespace tripvane
