#pragma once

#include "DeviceLock.h"
#include "DeviceLog.h"
#include "DeviceRoot.h"
#include "Rates.h"

#include "Cli.h"

#include <QString>

#include <memory>
#include <optional>

class QCommandLineParser;

namespace tripvane {

// The exit statuses of tripvane.
enum Exit : int { ExitDone = 0, ExitInvalidInput = 1, ExitUsage = 2, ExitDevice = 3 };

// A failure that ends a command: its exit status and the one line that says why.
struct CliFailure
{
    int status = ExitDevice;
    QString message;
};

// A sum of the trips beyond the largest amount, in the device or file named.
CliFailure overflowFailure(const QString &name);
// An output whose earlier file could not be kept as NAME~ is not written.
CliFailure keptFailure(const QString &name);

// For a command that writes, once its checks have passed: makes the device's folders where it
// has none (made gets them, to be removed again when the command fails) and takes the device
// from mileagelog; a failure names the device and leaves nothing made.
std::optional<CliFailure> takeForWriting(const DeviceRoot &device, DeviceLock &lock,
                                         QStringList &made);
// Takes back what a failed change made: the store (and its journal) when there was none
// before, and the folders made for it.
void unmakeDevice(const DeviceRoot &device, bool storeExisted, const QStringList &made);
// Why a command could not write the device, found without changing anything.
std::optional<CliFailure> writingProblem(const DeviceRoot &device);

// Writes the failure's line to standard error; its status.
int fail(CliStreams streams, const CliFailure &failure);
int usage(CliStreams streams, const QString &message);

// yyyy-mm-dd, or day, month and year in the device's order (a two-digit year is this century's).
std::optional<SystemTime> parseDate(const QString &text, std::uint32_t dateView);

// The dates of a range as keys; an open bound is the first or the last day there is.
struct KeyRange
{
    std::uint32_t first = 0;
    std::uint32_t last = 99991231;
};
// --from and --to; both are needed when required, else each bound is open.
std::optional<KeyRange> rangeOf(const QCommandLineParser &parser, std::uint32_t dateView,
                                bool required, CliFailure &failure);

// What the device's trips over the range claim under its rates.
struct DeviceClaim
{
    RateTable rates;
    QString currency;
    Claim claim;
};
// The device's rates; a failure naming its store when they cannot be read.
std::optional<RateTable> ratesOfDevice(DeviceLog &device, CliFailure &failure);
std::optional<DeviceClaim> claimOfDevice(DeviceLog &device, const KeyRange &range,
                                         CliFailure &failure);
// A fleet's amounts are added up, so its devices must claim in one currency: the first
// device's, kept in fleetCurrency.
std::optional<CliFailure> mixedCurrency(std::optional<QString> &fleetCurrency,
                                        const QString &currency);

// The device folder a command names: --device, else the program's own.
QString devicePathOf(const QString &option);
DeviceRoot deviceOf(const QCommandLineParser &parser);

// Opens and reads the device through the core, as the program's start does; a missing,
// damaged or foreign store is a failure naming it.
std::unique_ptr<DeviceLog> readDevice(const QString &path, CliFailure &failure,
                                      DeviceAccess access = DeviceAccess::Read);

} // namespace tripvane
