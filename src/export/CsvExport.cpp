#include "CsvExport.h"

#include "DeviceRoot.h"
#include "OdometerArithmetic.h"
#include "SettingValues.h"
#include "TextRules.h"

#include <QFileInfo>
#include <QSaveFile>

#include <climits>
#include <functional>
#include <optional>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace tripvane {

namespace {

// A folder counts only when it is a real directory the user may write to: a link or a folder
// made read-only (also for root, who could write to it all the same) counts as missing, as the
// handheld treats a folder with extra attributes.
bool isPlainWritableFolder(const QString &path)
{
    struct stat status;
    const QByteArray local = QFile::encodeName(path);
    return ::lstat(local.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           (status.st_mode & S_IWUSR) != 0 && ::access(local.constData(), W_OK | X_OK) == 0;
}

ExportOutcome writeCsvFile(const DeviceRoot &device, const QString &name,
                           const ExportOptions &options, bool replace, const CsvTable &table)
{
    const QString devicePath = exportDevicePath(name, options.folder);
    if (name.isEmpty() || devicePath.isEmpty())
        return ExportOutcome::NothingToWrite;
    const QString documents = device.localPath(QStringLiteral("\\My Documents"));
    const QString path = device.localPath(devicePath);
    const QString folder = QFileInfo(path).path();
    if (!isPlainWritableFolder(documents) || !isPlainWritableFolder(folder))
        return ExportOutcome::NoFolder;
    const QFileInfo existing(path);
    if (existing.exists() || existing.isSymLink()) {
        if (!replace)
            return ExportOutcome::FileExists;
        // Only a plain file is replaced: the new file never goes through a link.
        if (existing.isSymLink() || !existing.isFile())
            return ExportOutcome::CannotReplace;
    }
    return writeCsvFileAt(path, table,
                          options.fileType == UnicodeFile ? CsvEncoding::Unicode
                                                          : CsvEncoding::Windows1252);
}

QStringList reportHeader()
{
    return {QStringLiteral("Category"), QStringLiteral("Mileage")};
}

} // namespace

ExportOutcome writeCsvFileAt(const QString &path, const CsvTable &table, CsvEncoding encoding)
{
    // The new file is written beside the old one and takes its place only when complete; a name
    // the file system cannot hold would fail only then, as if the writing had failed.
    QSaveFile file(path);
    if (QFile::encodeName(QFileInfo(path).fileName()).size() > NAME_MAX ||
        !file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return ExportOutcome::CannotCreate;
    // The last lines are still buffered; a failure to write them must not pass for success
    // (commit overlooks a failed flush).
    if (!writeCsv(file, table, encoding) || !file.flush())
        file.cancelWriting();
    return file.commit() ? ExportOutcome::Written : ExportOutcome::CannotWrite;
}

QString exportDevicePath(const QString &name, std::uint32_t folder)
{
    if (folder > PersonalFolder)
        return {};
    return QStringLiteral("\\My Documents\\%1\\%2.csv")
        .arg(folder == BusinessFolder ? QStringLiteral("Business") : QStringLiteral("Personal"),
             name);
}

const QStringList &tripsHeader()
{
    static const QStringList header{QStringLiteral("Date"),        QStringLiteral("Category"),
                                    QStringLiteral("Mileage"),     QStringLiteral("Start.Place"),
                                    QStringLiteral("Destination"), QStringLiteral("Memo")};
    return header;
}

const QStringList &listHeader()
{
    static const QStringList header{QStringLiteral("date"),        QStringLiteral("category"),
                                    QStringLiteral("distance"),    QStringLiteral("start"),
                                    QStringLiteral("destination"), QStringLiteral("memo")};
    return header;
}

CsvTable tripsTable(const RecordList &trips, std::uint32_t dateView, std::uint32_t distanceView)
{
    return {tripsHeader(),
            [&trips, dateView, distanceView,
             next = ListPosition(0)]() mutable -> std::optional<QStringList> {
                if (next >= trips.size())
                    return std::nullopt;
                const MileageRecord &trip = trips.at(next++);
                return QStringList{trip.dateTextFor(dateView),
                                   cleanText(trip.category),
                                   trip.distanceTextFor(distanceView),
                                   cleanText(trip.startPlace.left(FieldLimit::Place)),
                                   cleanText(trip.destination.left(FieldLimit::Place)),
                                   cleanMemo(trip.memo.left(FieldLimit::Memo))};
            }};
}

CsvTable reportTable(const CategoryList &categories, std::uint32_t distanceView)
{
    return {reportHeader(),
            [&categories, distanceView,
             next = ListPosition(0)]() mutable -> std::optional<QStringList> {
                if (next >= categories.size())
                    return std::nullopt;
                const CategoryEntry &entry = categories.at(next++);
                return QStringList{cleanText(entry.name), FormatAmount(entry.total, distanceView)};
            }};
}

CsvTable reportTotalTable(std::int32_t total, std::uint32_t distanceView)
{
    return {reportHeader(),
            [line = std::optional<QStringList>(
                 {QStringLiteral("Total"), RangeTotalText(total, distanceView)})]() mutable {
                return std::exchange(line, std::nullopt);
            }};
}

bool writeCsv(QIODevice &out, const CsvTable &table, CsvEncoding encoding)
{
    // Lines are gathered into blocks: one write per line cost more than making the line.
    // A short write is a failed one: the disk is full.
    constexpr qsizetype Block = 64 * 1024;
    QByteArray block;
    block.reserve(Block + 1024);
    const auto writeBlock = [&] {
        const bool written = out.write(block) == block.size();
        block.resize(0); // keeps its room
        return written;
    };
    appendCsvLine(block, table.header, encoding);
    while (const std::optional<QStringList> row = table.nextRow()) {
        appendCsvLine(block, *row, encoding);
        if (block.size() >= Block && !writeBlock())
            return false;
    }
    return writeBlock();
}

ExportOutcome ExportMileageRecords(const DeviceRoot &device, const RecordList &trips,
                                   const QString &name, const ExportOptions &options, bool replace)
{
    return writeCsvFile(device, name, options, replace,
                        tripsTable(trips, options.dateView, options.distanceView));
}

ExportOutcome ExportReport(const DeviceRoot &device, const CategoryList &categories,
                           const QString &name, const ExportOptions &options, bool replace)
{
    if (categories.isEmpty())
        return ExportOutcome::NothingToWrite;
    return writeCsvFile(device, name, options, replace,
                        reportTable(categories, options.distanceView));
}

} // namespace tripvane
