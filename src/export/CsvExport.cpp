#include "CsvExport.h"

#include "DeviceRoot.h"

#include <QFileInfo>
#include <QSaveFile>

#include <climits>
#include <functional>
#include <optional>

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

using NextRow = std::function<std::optional<QStringList>()>;

ExportOutcome writeCsvFile(const DeviceRoot &device, const QString &name,
                           const ExportOptions &options, bool replace, const QStringList &header,
                           const NextRow &nextRow)
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

    // The new file is written beside the old one and takes its place only when complete; a name
    // the file system cannot hold would fail only then, as if the writing had failed.
    QSaveFile file(path);
    if (QFile::encodeName(QFileInfo(path).fileName()).size() > NAME_MAX ||
        !file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return ExportOutcome::CannotCreate;
    const auto encoding = CsvEncoding(options.fileType == 1 ? 1 : 0);
    // A short write is a failed one: the disk is full.
    const auto writeLine = [&](const QStringList &fields) {
        const QByteArray line = csvLine(fields, encoding);
        return file.write(line) == line.size();
    };
    bool written = writeLine(header);
    while (written) {
        const std::optional<QStringList> row = nextRow();
        if (!row)
            break;
        written = writeLine(*row);
    }
    // The last lines are still buffered; a failure to write them must not pass for success
    // (commit overlooks a failed flush).
    if (!written || !file.flush())
        file.cancelWriting();
    return file.commit() ? ExportOutcome::Written : ExportOutcome::CannotWrite;
}

} // namespace

QString exportDevicePath(const QString &name, std::uint32_t folder)
{
    if (folder > 1)
        return {};
    return QStringLiteral("\\My Documents\\%1\\%2.csv")
        .arg(folder == 0 ? QStringLiteral("Business") : QStringLiteral("Personal"), name);
}

ExportOutcome ExportMileageRecords(const DeviceRoot &device, const RecordList &trips,
                                   const QString &name, const ExportOptions &options, bool replace)
{
    ListPosition next = 0;
    return writeCsvFile(
        device, name, options, replace,
        {QStringLiteral("Date"), QStringLiteral("Category"), QStringLiteral("Mileage"),
         QStringLiteral("Start.Place"), QStringLiteral("Destination"), QStringLiteral("Memo")},
        [&]() -> std::optional<QStringList> {
            if (next >= trips.size())
                return std::nullopt;
            const MileageRecord &trip = trips.at(next++);
            return QStringList{
                trip.dateTextFor(options.dateView),         cleanText(trip.category),
                trip.distanceTextFor(options.distanceView), cleanText(trip.startPlace.left(32)),
                cleanText(trip.destination.left(32)),       cleanMemo(trip.memo.left(20))};
        });
}

ExportOutcome ExportReport(const DeviceRoot &device, const CategoryList &categories,
                           const QString &name, const ExportOptions &options, bool replace)
{
    if (categories.isEmpty())
        return ExportOutcome::NothingToWrite;
    ListPosition next = 0;
    return writeCsvFile(device, name, options, replace,
                        {QStringLiteral("Category"), QStringLiteral("Mileage")},
                        [&]() -> std::optional<QStringList> {
                            if (next >= categories.size())
                                return std::nullopt;
                            const CategoryEntry &entry = categories.at(next++);
                            return QStringList{cleanText(entry.name),
                                               FormatAmount(entry.total, options.distanceView)};
                        });
}

} // namespace tripvane
