#include "CliCommands.h"

#include "AmountText.h"
#include "CliDevice.h"
#include "CliProgress.h"
#include "CsvExport.h"
#include "DeviceLock.h"
#include "OdometerArithmetic.h"
#include "OutputFile.h"
#include "SettingValues.h"
#include "Sorting.h"
#include "StoreReplacement.h"
#include "StringTable.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tripvane {

namespace {

// The totals of the report over the range, in the order the device's report lists them.
std::optional<CliFailure> computeReport(DeviceLog &device, const KeyRange &range)
{
    bool overflow = false;
    device.log().computeCategoryTotals(range.first, range.last, [&overflow] { overflow = true; });
    if (overflow)
        return overflowFailure(device.root.path());
    const StoredOrder stored =
        storedOrder(device.settings.SortRapport, device.settings.SortOrderRapport);
    if (stored.sorted && !device.log().sortCategories(stored.column, stored.order))
        return CliFailure{ExitDevice, device.root.path() + QStringLiteral(": ") +
                                          loadString(IDS_STATUS_PROBLEM)};
    return std::nullopt;
}

std::optional<CsvEncoding> encodingOf(const QCommandLineParser &parser, const AppSettings &settings)
{
    const QString name = parser.value(QStringLiteral("encoding")).toLower();
    if (name.isEmpty())
        return settings.ExportFileType == UnicodeFile ? CsvEncoding::Unicode
                                                      : CsvEncoding::Windows1252;
    if (name == QLatin1String("utf-8"))
        return CsvEncoding::Utf8;
    if (name == QLatin1String("utf-16le"))
        return CsvEncoding::Unicode;
    if (name == QLatin1String("windows-1252"))
        return CsvEncoding::Windows1252;
    return std::nullopt;
}

// The table to standard output, into a FIFO or a terminal named, or into a file that replaces
// what has its name once complete. No file of the device is ever an output.
// rows: how many the table has, for the progress shown.
int writeTable(const QCommandLineParser &parser, CliStreams streams, const DeviceRoot &device,
               CsvTable table, std::int64_t rows, CsvEncoding encoding, CliProgress &progress)
{
    table.nextRow = [&progress, rows, nextRow = std::move(table.nextRow),
                     written = std::int64_t(0)]() mutable {
        progress.show("writing", ++written, rows);
        return nextRow();
    };
    const QString output = parser.value(QStringLiteral("output"));
    const bool toOutput = output.isEmpty() || output == QLatin1String("-");
    const QString name = toOutput ? QStringLiteral("standard output") : output;
    const OutputTarget target = toOutput ? OutputTarget{} : resolveOutput(output, device);
    if (!toOutput && target.kind == OutputTarget::Kind::Refused)
        return fail(streams, {ExitInvalidInput, name + QStringLiteral(": ") + target.problem});
    QFile stream;
    QString problem;
    if (target.kind == OutputTarget::Kind::Stream && !openStream(target, stream, &problem))
        return fail(streams, {ExitInvalidInput, name + QStringLiteral(": ") + problem});
    ExportOutcome outcome = ExportOutcome::CannotWrite;
    if (toOutput || stream.isOpen()) {
        if (writeCsv(toOutput ? streams.out : stream, table, encoding))
            outcome = ExportOutcome::Written;
    } else if (!keepReplaced(target)) {
        return fail(streams, keptFailure(name));
    } else {
        outcome = writeCsvFileAt(target.path, table, encoding);
        if (outcome == ExportOutcome::Written && !keepOwnerAndMode(target))
            outcome = ExportOutcome::CannotWrite;
    }
    progress.clear();
    switch (outcome) {
    case ExportOutcome::Written:
        return ExitDone;
    case ExportOutcome::CannotCreate:
        return fail(streams, {ExitInvalidInput, name + QStringLiteral(": cannot create")});
    default:
        return fail(streams, {ExitInvalidInput, name + QStringLiteral(": cannot write")});
    }
}

std::unique_ptr<DeviceLog> readNamedDevice(const QCommandLineParser &parser, CliFailure &failure)
{
    return readDevice(devicePathOf(parser.value(QStringLiteral("device"))), failure);
}

} // namespace

int exportCommand(const QCommandLineParser &parser, CliStreams streams)
{
    const QString what = parser.positionalArguments().value(1);
    if ((what != QLatin1String("trips") && what != QLatin1String("report")) ||
        parser.positionalArguments().size() != 2)
        return usage(streams, QStringLiteral("export trips, or export report --from --to"));
    CliProgress progress(streams, QStringLiteral("export"));
    CliFailure failure;
    const std::unique_ptr<DeviceLog> log = readNamedDevice(parser, failure);
    if (!log)
        return fail(streams, failure);
    const std::optional<CsvEncoding> encoding = encodingOf(parser, log->settings);
    if (!encoding)
        return usage(streams, QStringLiteral("--encoding: utf-8, utf-16le or windows-1252"));
    const AppSettings &settings = log->settings;
    const bool total = parser.isSet(QStringLiteral("total"));
    if (what == QLatin1String("trips")) {
        if (total)
            return usage(streams, QStringLiteral("--total is for export report"));
        return writeTable(
            parser, streams, log->root,
            tripsTable(log->log().trips(), settings.DateTypeView, settings.DistanceTypeView),
            log->log().trips().size(), *encoding, progress);
    }
    const std::optional<KeyRange> range = rangeOf(parser, settings.DateTypeView, true, failure);
    if (!range)
        return fail(streams, failure);
    if (total) {
        const std::optional<std::int32_t> sum =
            SumDistancesInRange(log->log().trips(), range->first, range->last);
        if (!sum)
            return fail(streams, overflowFailure(log->root.path()));
        return writeTable(parser, streams, log->root,
                          reportTotalTable(*sum, settings.DistanceTypeView), 1, *encoding,
                          progress);
    }
    if (const std::optional<CliFailure> problem = computeReport(*log, *range))
        return fail(streams, *problem);
    return writeTable(parser, streams, log->root,
                      reportTable(log->log().categories(), settings.DistanceTypeView),
                      log->log().categories().size(), *encoding, progress);
}

int reportCommand(const QCommandLineParser &parser, CliStreams streams)
{
    const QString format = parser.value(QStringLiteral("format"));
    if (!format.isEmpty() && format != QLatin1String("table") && format != QLatin1String("csv") &&
        format != QLatin1String("json"))
        return usage(streams, QStringLiteral("--format: table, csv or json"));
    const bool amounts = parser.isSet(QStringLiteral("amounts"));
    QStringList devices = parser.values(QStringLiteral("device"));
    if (devices.isEmpty())
        devices.append(QString());
    // Category by category, the total (and amount) of each device; the rows in the first
    // device's order.
    QStringList names;
    QStringList columns;
    std::map<QString, std::vector<std::int64_t>> totals;
    std::map<QString, std::vector<std::int64_t>> cents;
    std::optional<QString> currency;
    std::optional<KeyRange> range;
    for (const QString &device : devices) {
        CliFailure failure;
        const std::unique_ptr<DeviceLog> log = readDevice(devicePathOf(device), failure);
        if (!log)
            return fail(streams, failure);
        if (!range && !(range = rangeOf(parser, log->settings.DateTypeView, true, failure)))
            return fail(streams, failure);
        if (const std::optional<CliFailure> problem = computeReport(*log, *range))
            return fail(streams, *problem);
        columns.append(QFileInfo(log->root.path()).fileName());
        for (ListPosition i = 0; i < log->log().categories().size(); ++i) {
            const CategoryEntry &entry = log->log().categories().at(i);
            std::vector<std::int64_t> &row = totals[entry.name];
            if (row.empty())
                names.append(entry.name);
            row.resize(columns.size() - 1);
            row.push_back(entry.total);
        }
        if (!amounts)
            continue;
        const std::optional<DeviceClaim> claim = claimOfDevice(*log, *range, failure);
        if (!claim)
            return fail(streams, failure);
        if (const std::optional<CliFailure> mixed = mixedCurrency(currency, claim->currency))
            return fail(streams, *mixed);
        for (const CategoryClaim &category : claim->claim.categories) {
            std::vector<std::int64_t> &row = cents[category.category];
            row.resize(columns.size() - 1);
            row.push_back(category.cents);
        }
    }
    const bool fleet = devices.size() > 1;
    if (fleet) {
        std::sort(names.begin(), names.end(), textKeyLess);
        columns.append(QStringLiteral("Total"));
    }
    // Each row gets a cell per device, and the fleet's sum; the last row sums each column.
    const auto complete = [&](std::map<QString, std::vector<std::int64_t>> &rows) {
        std::vector<std::int64_t> sums(columns.size());
        for (const QString &name : names) {
            std::vector<std::int64_t> &row = rows[name];
            row.resize(devices.size());
            if (fleet)
                row.push_back(std::accumulate(row.begin(), row.end(), std::int64_t(0)));
            std::transform(sums.begin(), sums.end(), row.begin(), sums.begin(), std::plus<>());
        }
        return sums;
    };
    const std::vector<std::int64_t> totalMileage = complete(totals);
    const std::vector<std::int64_t> totalCents = complete(cents);
    QStringList amountColumns;
    for (const QString &column : columns)
        amountColumns.append(fleet ? column + QStringLiteral(" amount") : QStringLiteral("Amount"));

    if (format == QLatin1String("json")) {
        const auto mileageOf = [](const std::vector<std::int64_t> &row) {
            QJsonArray mileage;
            for (std::int64_t total : row)
                mileage.append(double(total) / 100);
            return mileage;
        };
        // Money as exact decimal strings: a float would not say 0.1 as it is.
        const auto amountsOf = [](const std::vector<std::int64_t> &row) {
            QJsonArray texts;
            for (std::int64_t amount : row)
                texts.append(plainAmount(amount));
            return texts;
        };
        QJsonArray categories;
        for (const QString &name : names) {
            QJsonObject category{{QStringLiteral("name"), name},
                                 {QStringLiteral("mileage"), mileageOf(totals[name])}};
            if (amounts)
                category.insert(QStringLiteral("amounts"), amountsOf(cents[name]));
            categories.append(category);
        }
        QJsonObject report{{QStringLiteral("columns"), QJsonArray::fromStringList(columns)},
                           {QStringLiteral("categories"), categories}};
        if (amounts) {
            report.insert(QStringLiteral("currency"), *currency);
            report.insert(QStringLiteral("total"),
                          QJsonObject{{QStringLiteral("mileage"), mileageOf(totalMileage)},
                                      {QStringLiteral("amounts"), amountsOf(totalCents)}});
        }
        streams.out.write(QJsonDocument(report).toJson());
        return ExitDone;
    }
    // The rows as fields; the amounts and a total row only when asked for.
    const bool csv = format == QLatin1String("csv");
    std::vector<QStringList> rows;
    const auto addRow = [&](const QString &name, const std::vector<std::int64_t> &mileage,
                            const std::vector<std::int64_t> &money) {
        QStringList fields{name};
        for (std::int64_t total : mileage)
            fields.append(plainAmount(total));
        for (std::int64_t amount : amounts ? money : std::vector<std::int64_t>())
            fields.append(csv ? plainAmount(amount) : moneyText(plainAmount(amount), *currency));
        rows.push_back(fields);
    };
    rows.push_back(QStringList{QStringLiteral("Category")} + columns +
                   (amounts ? amountColumns : QStringList()));
    for (const QString &name : names)
        addRow(name, totals[name], cents[name]);
    if (amounts)
        addRow(QStringLiteral("Total"), totalMileage, totalCents);
    if (csv) {
        for (const QStringList &fields : rows)
            streams.out.write(rfc4180Line(fields));
        return ExitDone;
    }
    // A table for people: names to the left, amounts to the right under their columns.
    qsizetype nameWidth = 8;
    for (const QStringList &fields : rows)
        nameWidth = std::max(nameWidth, fields[0].size());
    QString text;
    for (const QStringList &fields : rows) {
        text += fields[0].leftJustified(nameWidth);
        for (const QString &field : fields.mid(1))
            text += QStringLiteral("  ") + field.rightJustified(14);
        text += u'\n';
    }
    streams.out.write(text.toUtf8());
    return ExitDone;
}

int listCommand(const QCommandLineParser &parser, CliStreams streams)
{
    const QString format = parser.value(QStringLiteral("format"));
    if (!format.isEmpty() && format != QLatin1String("csv") && format != QLatin1String("json"))
        return usage(streams, QStringLiteral("--format: csv or json"));
    CliFailure failure;
    const std::unique_ptr<DeviceLog> log = readNamedDevice(parser, failure);
    if (!log)
        return fail(streams, failure);
    const std::optional<KeyRange> range =
        rangeOf(parser, log->settings.DateTypeView, false, failure);
    if (!range)
        return fail(streams, failure);
    log->log().sortTripsByDate(SortAscending);
    const bool json = format == QLatin1String("json");
    QJsonArray trips;
    if (!json) {
        streams.out.write(rfc4180Line(listHeader()));
    }
    for (ListPosition i = 0; i < log->log().trips().size(); ++i) {
        const MileageRecord &trip = log->log().trips().at(i);
        if (!dateKeyInRange(trip.dateKey, range->first, range->last))
            continue;
        const QStringList fields{isoDateText(trip.dateKey),  trip.category,
                                 plainAmount(trip.distance), trip.startPlace.trimmed(),
                                 trip.destination.trimmed(), trip.memo.trimmed()};
        if (!json) {
            streams.out.write(rfc4180Line(fields));
            continue;
        }
        trips.append(QJsonObject{{QStringLiteral("date"), fields[0]},
                                 {QStringLiteral("category"), fields[1]},
                                 {QStringLiteral("distance"), double(trip.distance) / 100},
                                 {QStringLiteral("start"), fields[3]},
                                 {QStringLiteral("destination"), fields[4]},
                                 {QStringLiteral("memo"), fields[5]}});
    }
    if (json)
        streams.out.write(QJsonDocument(trips).toJson());
    return ExitDone;
}

int checkCommand(const QCommandLineParser &parser, CliStreams streams)
{
    const DeviceRoot device = deviceOf(parser);
    const QString storePath = device.storePath();
    QString report = QStringLiteral("store: %1\n").arg(storePath);
    // The failure's line names the store; the report says why under its name.
    const auto unhealthy = [&](const QString &line) {
        const QString why = line.startsWith(storePath + QStringLiteral(": "))
                                ? line.mid(storePath.size() + 2)
                                : line;
        streams.out.write((report + QStringLiteral("not healthy: %1\n").arg(why)).toUtf8());
        return fail(streams, {ExitDevice, line});
    };
    CliFailure failure;
    const std::unique_ptr<DeviceLog> log =
        readDevice(device.path(), failure, DeviceAccess::ReadThorough);
    if (!log)
        return unhealthy(failure.message);
    if (log->finishedInterruptedChange)
        report += QStringLiteral("journal: a change that was cut short has been undone\n");
    report += QStringLiteral("integrity: ok\napplication id: ok\n"
                             "schema: this program's, version this or an earlier one\n"
                             "trips: %1\ncategories: %2\nroutes: %3\n")
                  .arg(log->log().trips().size())
                  .arg(log->log().categories().size())
                  .arg(log->log().book().size());
    const std::optional<RateTable> rates = ratesOfDevice(*log, failure);
    if (!rates)
        return unhealthy(failure.message);
    report += QStringLiteral("rates: %1\n").arg(rates->rates.size());
    if (!SumDistancesInRange(log->log().trips(), 0, 99991231))
        return unhealthy(overflowFailure(storePath).message);
    streams.out.write(
        (report + QStringLiteral("sums: within the largest amount\nhealthy\n")).toUtf8());
    return ExitDone;
}

int backupCommand(const QCommandLineParser &parser, CliStreams streams)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2)
        return usage(streams, QStringLiteral("backup FILE"));
    const DeviceRoot device = deviceOf(parser);
    const OutputTarget target = resolveOutput(arguments[1], device);
    if (target.kind != OutputTarget::Kind::File)
        return fail(streams, {ExitInvalidInput,
                              arguments[1] + QStringLiteral(": ") +
                                  (target.problem.isEmpty()
                                       ? QStringLiteral("is not a plain file; a backup needs one")
                                       : target.problem)});
    ObjectStore::finishInterruptedChange(device.storePath());
    ObjectStore store;
    if (const std::optional<StoreFailure> unopened =
            openDeviceStore(store, device.storePath(), DeviceAccess::Read))
        return fail(streams,
                    {ExitDevice, unopened->name + QStringLiteral(": ") + unopened->detail});
    if (!keepReplaced(target))
        return fail(streams, keptFailure(arguments[1]));
    if (!store.copyTo(target.path) || !keepOwnerAndMode(target))
        return fail(streams, {ExitInvalidInput, arguments[1] + QStringLiteral(": cannot write")});
    return ExitDone;
}

namespace {

// An empty file beside the store for the restored copy, with the owner and mode of the store it
// will replace (of the device folder, private, when there is none).
bool makeRestoreFile(const QString &path, const QString &storePath)
{
    QFile::remove(path);
    struct stat like;
    const bool replaces =
        ::stat(QFile::encodeName(storePath).constData(), &like) == 0 && S_ISREG(like.st_mode);
    if (!replaces && ::stat(QFile::encodeName(QFileInfo(storePath).path()).constData(), &like) != 0)
        return false;
    const mode_t mode = replaces ? like.st_mode & 07777 : 0600;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    const bool given = (::fchown(fd, like.st_uid, like.st_gid) == 0 || ::geteuid() != 0) &&
                       ::fchmod(fd, mode) == 0;
    ::close(fd);
    return given;
}

} // namespace

int restoreCommand(const QCommandLineParser &parser, CliStreams streams)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2)
        return usage(streams, QStringLiteral("restore FILE"));
    // The backup is read through as the program will read it before anything is changed.
    const QString source = DeviceRoot::absolutePath(arguments[1]);
    QString problem;
    const std::unique_ptr<DeviceLog> backup = readStoreFile(source, problem);
    if (!backup)
        return fail(streams, {ExitInvalidInput, problem});
    const DeviceRoot device = deviceOf(parser);
    if (const std::optional<CliFailure> unwritable = writingProblem(device))
        return fail(streams, *unwritable);
    DeviceLock lock(device);
    QStringList made;
    if (const std::optional<CliFailure> busy = takeForWriting(device, lock, made))
        return fail(streams, *busy);

    // The copy is made beside the store and read through again; only then does it take the
    // store's place, the store it replaces kept as it is.
    const QString storePath = device.storePath();
    const QString restored = storePath + QStringLiteral(".restoring");
    const auto cannot = [&](const QString &why) {
        QFile::remove(restored);
        QFile::remove(restored + QStringLiteral("-journal"));
        DeviceRoot::unmake(made);
        return fail(streams, {ExitDevice, storePath + QStringLiteral(": ") + why});
    };
    ObjectStore::finishInterruptedChange(storePath);
    if (!makeRestoreFile(restored, storePath) || !backup->store.compactCopyTo(restored))
        return cannot(QStringLiteral("cannot be written"));
    if (!readStoreFile(restored, problem))
        return cannot(QStringLiteral("the copy does not read back: ") + problem);
    const std::optional<QString> kept = replaceStoreKeepingAside(storePath, restored);
    if (!kept)
        return cannot(QStringLiteral("cannot be replaced"));
    QString said = QStringLiteral("restored %1 trips").arg(backup->log().trips().size());
    if (!kept->isEmpty())
        said += QStringLiteral("; the store it replaced is kept as %1 (restore that file to undo "
                               "this)")
                    .arg(*kept);
    streams.out.write((said + u'\n').toUtf8());
    return ExitDone;
}

} // namespace tripvane
