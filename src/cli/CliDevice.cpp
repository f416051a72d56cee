#include "CliDevice.h"

#include "Sorting.h"
#include "StringTable.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QRegularExpression>

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

std::optional<SystemTime> parseDate(const QString &text, std::uint32_t dateView)
{
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    static const QRegularExpression shown(
        QStringLiteral("^(\\d{1,2})[-/.](\\d{1,2})[-/.](\\d{2}|\\d{4})$"));
    int year = 0, month = 0, day = 0;
    if (const QRegularExpressionMatch m = iso.match(text); m.hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(2).toInt();
        day = m.captured(3).toInt();
    } else if (const QRegularExpressionMatch s = shown.match(text); s.hasMatch()) {
        const bool dayFirst = dateView < 2;
        day = s.captured(dayFirst ? 1 : 2).toInt();
        month = s.captured(dayFirst ? 2 : 1).toInt();
        year = s.captured(3).toInt() + (s.captured(3).size() == 2 ? 2000 : 0);
    }
    if (!QDate(year, month, day).isValid() || year > 9999)
        return std::nullopt;
    return makeDate(year, month, day);
}

QString devicePathOf(const QString &option)
{
    return option.isEmpty() ? DeviceRoot::defaultPath() : QDir(option).absolutePath();
}

std::unique_ptr<DeviceLog> readDevice(const QString &path, CliFailure &failure)
{
    auto log = std::make_unique<DeviceLog>(path);
    const QString storePath = log->root.storePath();
    const auto fail = [&](const QString &why) {
        failure = {ExitDevice, QStringLiteral("%1: %2").arg(storePath, why)};
        return nullptr;
    };
    if (!QFileInfo(path).isDir()) {
        failure = {ExitDevice, QStringLiteral("%1: no such device").arg(path)};
        return nullptr;
    }
    if (!QFileInfo::exists(storePath))
        return fail(QStringLiteral("no trip log on this device yet"));
    QString problem;
    if (ObjectStore::inspect(storePath, false, &problem) != ObjectStore::OpenStatus::Ok)
        return fail(problem);
    if (!log->store.openForReading(storePath))
        return fail(log->store.lastError());
    log->databases = std::make_unique<Databases>(log->store);
    MileageRecord scratch;
    if (!log->databases->openAll(log->categories, log->book) ||
        !log->databases->loadStatus(log->status, {}) ||
        log->databases->loadRecords(log->trips, scratch) < 0 ||
        !log->databases->takeFailures().empty() || !log->databases->recordsLoadedCompletely())
        return fail(loadString(IDS_STATUS_PROBLEM));
    log->settings.load(log->store, loadString(IDS_MAKER), loadString(IDS_TITLE));
    // The main list shows the trips by date (ascending until an order was chosen), or as
    // stored once another column was chosen.
    const bool byDate = log->settings.Sort == 0 || log->settings.SortOrder == SortUnset;
    if (byDate && !SortRecordsByDate(log->trips, log->settings.SortOrder))
        return fail(loadString(IDS_STATUS_PROBLEM));
    return log;
}

} // namespace tripvane
