#include "CliCommands.h"

#include "AmountText.h"
#include "CliDevice.h"
#include "TextRules.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <algorithm>

namespace tripvane {

namespace {

// The name every category without a rate of its own goes by on the command line.
const QString EveryCategory = QStringLiteral("*");

QString rateLine(const Rate &rate)
{
    const QString from = rate.from == 0 ? QStringLiteral("start") : isoDateText(rate.from);
    QString line = QStringLiteral("%1  %2  %3")
                       .arg(rate.category.isEmpty() ? EveryCategory : rate.category, -20)
                       .arg(from, -10)
                       .arg(rateText(rate.perUnit), 9);
    if (rate.tierAfter > 0)
        line +=
            QStringLiteral("  after %1 then %2, the year from %3")
                .arg(plainAmount(rate.tierAfter), rateText(rate.thenPerUnit), yearStartText(rate));
    return line.trimmed() + u'\n';
}

// The category a command names, in its stored form; "*" for every category without its own.
std::optional<QString> categoryOf(const QString &text, const TripLog &log, CliFailure &failure)
{
    if (text == EveryCategory)
        return QString();
    const CheckedText name = checkName(text, FieldLimit::CategoryName);
    for (ListPosition i = 0; name.problem == TextProblem::None && i < log.categories().size();
         ++i) {
        if (log.categories().at(i).name == name.text)
            return name.text;
    }
    failure = {ExitInvalidInput, QStringLiteral("'%1' is no category of this device").arg(text)};
    return std::nullopt;
}

std::optional<MilliRate> rateOf(const QString &what, const QString &text, CliFailure &failure)
{
    const std::optional<MilliRate> rate = parseRate(text);
    if (!rate)
        failure = {ExitInvalidInput,
                   QStringLiteral("%1: '%2' is no rate (0 to %3, at most three decimals)")
                       .arg(what, text, rateText(MaxRate))};
    return rate;
}

// The change that rates set, remove or currency asks for, made to the table.
std::optional<CliFailure> change(const QCommandLineParser &parser, const TripLog &log,
                                 std::uint32_t dateView, RateTable &table)
{
    const QStringList arguments = parser.positionalArguments();
    const QString action = arguments.value(1);
    CliFailure failure;
    std::optional<std::uint32_t> from;
    if (parser.isSet(QStringLiteral("from"))) {
        const QString text = parser.value(QStringLiteral("from"));
        const std::optional<SystemTime> date = parseDate(text, dateView);
        if (!date)
            return CliFailure{ExitUsage, QStringLiteral("--from: '%1' is no date").arg(text)};
        from = dateKeyOf(*date);
    }
    if (action == QLatin1String("currency")) {
        if (arguments.size() != 3)
            return CliFailure{ExitUsage, QStringLiteral("rates currency TEXT")};
        if (!isCurrencyText(arguments[2]))
            return CliFailure{ExitInvalidInput,
                              QStringLiteral("'%1' is no currency (1 to 8 characters, no comma "
                                             "or quote, no blanks at the ends)")
                                  .arg(arguments[2])};
        table.currency = arguments[2];
        return std::nullopt;
    }
    if (action == QLatin1String("remove")) {
        if (arguments.size() != 3)
            return CliFailure{ExitUsage, QStringLiteral("rates remove CATEGORY [--from DATE]")};
        const std::optional<QString> category = categoryOf(arguments[2], log, failure);
        if (!category)
            return failure;
        if (!table.remove(*category, from))
            return CliFailure{ExitInvalidInput,
                              QStringLiteral("'%1' has no such rate").arg(arguments[2])};
        return std::nullopt;
    }
    if (action != QLatin1String("set") || arguments.size() != 4)
        return CliFailure{ExitUsage, QStringLiteral("rates [set CATEGORY RATE | remove CATEGORY "
                                                    "| currency TEXT]")};
    const bool tier = parser.isSet(QStringLiteral("after"));
    if (tier != parser.isSet(QStringLiteral("then")) ||
        (!tier && parser.isSet(QStringLiteral("year-starts"))))
        return CliFailure{ExitUsage, QStringLiteral("--after DISTANCE and --then RATE go together; "
                                                    "--year-starts belongs to them")};
    Rate rate;
    const std::optional<QString> category = categoryOf(arguments[2], log, failure);
    const std::optional<MilliRate> perUnit =
        category ? rateOf(QStringLiteral("RATE"), arguments[3], failure) : std::nullopt;
    if (!perUnit)
        return failure;
    rate.category = *category;
    rate.from = from.value_or(0);
    rate.perUnit = *perUnit;
    if (tier) {
        const std::optional<std::int64_t> after =
            parseTierDistance(parser.value(QStringLiteral("after")));
        if (!after)
            return CliFailure{ExitInvalidInput, QStringLiteral("--after: '%1' is no distance")
                                                    .arg(parser.value(QStringLiteral("after")))};
        const std::optional<MilliRate> then =
            rateOf(QStringLiteral("--then"), parser.value(QStringLiteral("then")), failure);
        if (!then)
            return failure;
        const QString start = parser.value(QStringLiteral("year-starts"));
        const std::optional<std::pair<int, int>> day =
            parseYearStart(start.isEmpty() ? QStringLiteral("01-01") : start);
        if (!day)
            return CliFailure{ExitInvalidInput,
                              QStringLiteral("--year-starts: '%1' is no day (MM-DD)").arg(start)};
        rate.tierAfter = *after;
        rate.thenPerUnit = *then;
        std::tie(rate.yearStartMonth, rate.yearStartDay) = *day;
    }
    table.set(rate);
    return std::nullopt;
}

} // namespace

int ratesCommand(const QCommandLineParser &parser, CliStreams streams)
{
    const bool listing = parser.positionalArguments().size() == 1;
    CliFailure failure;
    const DeviceRoot device = deviceOf(parser);
    DeviceLock lock(device);
    QStringList made;
    if (!listing) {
        if (const std::optional<CliFailure> problem = writingProblem(device))
            return fail(streams, *problem);
        if (const std::optional<CliFailure> busy = takeForWriting(device, lock, made))
            return fail(streams, *busy);
    }
    const bool storeExisted = QFileInfo::exists(device.storePath());
    if (listing && !storeExisted && QFileInfo(device.path()).isDir()) {
        streams.out.write("currency: \n"); // a device not yet started has no rates
        return ExitDone;
    }
    std::unique_ptr<DeviceLog> log =
        readDevice(device.path(), failure, listing ? DeviceAccess::Read : DeviceAccess::Write);
    std::optional<RateTable> table;
    if (log)
        table = ratesOfDevice(*log, failure);
    if (table && !listing) {
        const RateTable before = *table;
        if (std::optional<CliFailure> problem =
                change(parser, log->log(), log->settings.DateTypeView, *table))
            failure = *problem;
        else if (!saveRates(log->store, log->settings, *table))
            failure = {ExitDevice, device.storePath() + QStringLiteral(": cannot be written")};
        else {
            // What the change replaced, as set would give it back: no rate goes without a word.
            QString was;
            if (before.currency != table->currency && !before.currency.isEmpty())
                was += QStringLiteral("was: currency %1\n").arg(before.currency);
            for (const Rate &rate : before.rates) {
                if (std::ranges::find(table->rates, rate) == table->rates.end())
                    was += QStringLiteral("was: ") + rateLine(rate);
            }
            streams.out.write(was.toUtf8());
            return ExitDone;
        }
    }
    if (!listing || !table) {
        // A change refused leaves no store nor folder that it made.
        log.reset();
        unmakeDevice(device, listing || storeExisted, made);
        return fail(streams, failure);
    }
    QString text = QStringLiteral("currency: %1\n").arg(table->currency);
    for (const Rate &rate : table->rates)
        text += rateLine(rate);
    streams.out.write(text.toUtf8());
    return ExitDone;
}

} // namespace tripvane
