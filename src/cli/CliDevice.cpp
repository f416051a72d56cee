#include "CliDevice.h"

#include "SettingValues.h"
#include "StringTable.h"
#include "TripClaim.h"

#include <QCommandLineParser>
#include <QDate>
#include <QFile>
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

CliFailure keptFailure(const QString &name)
{
    return {ExitInvalidInput,
            name + QStringLiteral(": the file it would replace cannot be kept as %1~").arg(name)};
}

void unmakeDevice(const DeviceRoot &device, bool storeExisted, const QStringList &made)
{
    if (!storeExisted) {
        QFile::remove(device.storePath());
        QFile::remove(device.storePath() + QStringLiteral("-journal"));
    }
    DeviceRoot::unmake(made);
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
        const bool dayFirst = dateView != MonthFirstDashes && dateView != MonthFirstSlashes;
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
    return option.isEmpty() ? DeviceRoot::defaultPath() : option;
}

DeviceRoot deviceOf(const QCommandLineParser &parser)
{
    return DeviceRoot(devicePathOf(parser.value(QStringLiteral("device"))));
}

std::unique_ptr<DeviceLog> readDevice(const QString &path, CliFailure &failure, DeviceAccess access)
{
    QString problem;
    std::unique_ptr<DeviceLog> log = readDeviceLog(path, access, problem);
    if (!log)
        failure = {ExitDevice, problem};
    return log;
}

std::optional<KeyRange> rangeOf(const QCommandLineParser &parser, std::uint32_t dateView,
                                bool required, CliFailure &failure)
{
    KeyRange range;
    for (const char *name : {"from", "to"}) {
        const QString option = QString::fromLatin1(name);
        if (!parser.isSet(option)) {
            if (!required)
                continue;
            failure = {ExitUsage, QStringLiteral("--%1 DATE is needed").arg(option)};
            return std::nullopt;
        }
        const std::optional<SystemTime> date = parseDate(parser.value(option), dateView);
        if (!date) {
            failure = {ExitUsage,
                       QStringLiteral("--%1: '%2' is no date").arg(option, parser.value(option))};
            return std::nullopt;
        }
        (option == QLatin1String("from") ? range.first : range.last) = dateKeyOf(*date);
    }
    if (range.first > range.last) {
        failure = {ExitUsage, loadString(IDS_RANGE_START_AFTER_END)};
        return std::nullopt;
    }
    return range;
}

std::optional<RateTable> ratesOfDevice(DeviceLog &device, CliFailure &failure)
{
    std::optional<RateTable> rates = loadRates(device.store, device.settings);
    if (!rates)
        failure = {ExitDevice,
                   device.root.storePath() + QStringLiteral(": the rates cannot be read")};
    return rates;
}

std::optional<DeviceClaim> claimOfDevice(DeviceLog &device, const KeyRange &range,
                                         CliFailure &failure)
{
    std::optional<RateTable> rates = ratesOfDevice(device, failure);
    if (!rates)
        return std::nullopt;
    std::optional<Claim> claim = claimOf(device.log(), *rates, range.first, range.last);
    if (!claim) {
        failure = overflowFailure(device.root.path());
        return std::nullopt;
    }
    const QString currency = rates->currency;
    return DeviceClaim{std::move(*rates), currency, std::move(*claim)};
}

std::optional<CliFailure> mixedCurrency(std::optional<QString> &fleetCurrency,
                                        const QString &currency)
{
    if (fleetCurrency && *fleetCurrency != currency)
        return CliFailure{ExitInvalidInput,
                          QStringLiteral("the devices' currencies differ ('%1', '%2')")
                              .arg(*fleetCurrency, currency)};
    fleetCurrency = currency;
    return std::nullopt;
}

} // namespace tripvane
