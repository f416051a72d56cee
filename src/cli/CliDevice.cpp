#include "CliDevice.h"

#include "Sorting.h"
#include "StringTable.h"

#include <QCommandLineParser>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

namespace tripvane {

int fail(CliStreams streams, const CliFailure &failure)
{
    streams.err.write("tripvane: " + failure.message.toUtf8() + '\n');
    return failure.status;
}

int usage(CliStreams streams, const QString &message)
{
    return fail(streams, {ExitUsage, message});
}

CliFailure overflowFailure(const QString &name)
{
    return {ExitInvalidInput, name + QStringLiteral(": ") + loadString(IDS_BALANCE_OVERFLOW)};
}

std::optional<CliFailure> writingProblem(const DeviceRoot &device)
{
    if (const std::optional<QString> problem = device.writingProblem())
        return CliFailure{ExitDevice, device.path() + QStringLiteral(": ") + *problem};
    return std::nullopt;
}

std::optional<CliFailure> takeForWriting(const DeviceRoot &device, DeviceLock &lock,
                                         QStringList &made)
{
    if (!device.prepare(&made)) {
        DeviceRoot::unmake(made);
        return CliFailure{ExitDevice, device.path() + QStringLiteral(": cannot be used")};
    }
    if (lock.take() != DeviceLock::Taken::Held) {
        DeviceRoot::unmake(made);
        return CliFailure{ExitDevice,
                          device.path() + QStringLiteral(": mileagelog runs on this device")};
    }
    return std::nullopt;
}

std::optional<SystemTime> parseDate(const QString &text, std::uint32_t dateView)
{
    // Three runs of digits, one of - / . between them; by hand, as an import reads one a line.
    int parts[3] = {};
    int digits[3] = {};
    int part = 0;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9' && digits[part] < 4) {
            parts[part] = parts[part] * 10 + (c.unicode() - u'0');
            ++digits[part];
        } else if ((c == u'-' || c == u'/' || c == u'.') && part < 2 && digits[part] > 0) {
            ++part;
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || digits[1] > 2)
        return std::nullopt;
    int year = parts[0], month = parts[1], day = parts[2];
    if (digits[0] != 4) {
        if (digits[0] > 2 || (digits[2] != 2 && digits[2] != 4))
            return std::nullopt;
        const bool dayFirst = dateView < 2;
        day = parts[dayFirst ? 0 : 1];
        month = parts[dayFirst ? 1 : 0];
        year = parts[2] + (digits[2] == 2 ? 2000 : 0);
    } else if (digits[2] == 0 || digits[2] > 2) {
        return std::nullopt;
    }
    if (!QDate(year, month, day).isValid())
        return std::nullopt;
    return makeDate(year, month, day);
}

QString devicePathOf(const QString &option)
{
    return option.isEmpty() ? DeviceRoot::defaultPath() : QDir(option).absolutePath();
}

DeviceRoot deviceOf(const QCommandLineParser &parser)
{
    return DeviceRoot(devicePathOf(parser.value(QStringLiteral("device"))));
}

namespace {

// Opens and reads the store into log; false with the failure named after the store.
bool readStore(DeviceLog &log, const QString &storePath, DeviceAccess access, CliFailure &failure)
{
    const auto fail = [&](const QString &why) {
        failure = {ExitDevice, QStringLiteral("%1: %2").arg(storePath, why)};
        return false;
    };
    if (access == DeviceAccess::Write) {
        switch (log.store.open(storePath)) {
        case ObjectStore::OpenStatus::Ok:
            break;
        case ObjectStore::OpenStatus::NotAStore:
            return fail(QStringLiteral("another program's file"));
        case ObjectStore::OpenStatus::TooNew:
            return fail(QStringLiteral("made by a newer program"));
        case ObjectStore::OpenStatus::Damaged:
            return fail(QStringLiteral("damaged"));
        case ObjectStore::OpenStatus::CannotCreate:
            return fail(QStringLiteral("cannot be written"));
        }
    } else {
        if (!QFileInfo::exists(storePath))
            return fail(QStringLiteral("no trip log on this device yet"));
        QString problem;
        if (ObjectStore::inspect(storePath, access == DeviceAccess::ReadThorough, &problem) !=
            ObjectStore::OpenStatus::Ok)
            return fail(problem);
        if (!log.store.openForReading(storePath))
            return fail(log.store.lastError());
    }
    log.databases = std::make_unique<Databases>(log.store);
    MileageRecord scratch;
    if (!log.databases->openAll(log.categories, log.book) ||
        !log.databases->loadStatus(log.status, {}) ||
        log.databases->loadRecords(log.trips, scratch) < 0 ||
        !log.databases->takeFailures().empty() || !log.databases->recordsLoadedCompletely())
        return fail(loadString(IDS_STATUS_PROBLEM));
    log.settings.load(log.store, loadString(IDS_MAKER), loadString(IDS_TITLE));
    return true;
}

} // namespace

std::unique_ptr<DeviceLog> readDevice(const QString &path, CliFailure &failure, DeviceAccess access)
{
    auto log = std::make_unique<DeviceLog>(path);
    if (!QFileInfo(path).isDir()) {
        failure = {ExitDevice, QStringLiteral("%1: no such device").arg(path)};
        return nullptr;
    }
    // A reading command finds a store a crash left as the program would: with the cut write
    // undone. A store from elsewhere (readStoreFile) is never written.
    if (access != DeviceAccess::Write)
        log->finishedInterruptedChange =
            ObjectStore::finishInterruptedChange(log->root.storePath());
    if (!readStore(*log, log->root.storePath(), access, failure))
        return nullptr;
    // The main list shows the trips by date (ascending until an order was chosen), or as
    // stored once another column was chosen.
    const bool byDate = log->settings.Sort == 0 || log->settings.SortOrder == SortUnset;
    if (byDate && !SortRecordsByDate(log->trips, log->settings.SortOrder)) {
        failure = {ExitDevice,
                   log->root.storePath() + QStringLiteral(": ") + loadString(IDS_STATUS_PROBLEM)};
        return nullptr;
    }
    return log;
}

std::unique_ptr<DeviceLog> readStoreFile(const QString &storePath, CliFailure &failure)
{
    auto log = std::make_unique<DeviceLog>(QFileInfo(storePath).path());
    if (!readStore(*log, storePath, DeviceAccess::ReadThorough, failure))
        return nullptr;
    return log;
}

} // namespace tripvane
