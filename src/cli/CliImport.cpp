#include "CliCommands.h"

#include "AmountText.h"
#include "CliDevice.h"
#include "CliProgress.h"
#include "CsvExport.h"
#include "CsvText.h"
#include "DeviceLock.h"
#include "StringTable.h"
#include "TextRules.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <array>
#include <optional>
#include <vector>

namespace tripvane {

namespace {

// The six fields of a trip as the equality of a line with a stored trip sees them: texts
// without their outer blanks.
struct SameTrip
{
    explicit SameTrip(const MileageRecord &trip)
        : dateKey(trip.dateKey)
        , distance(trip.distance)
        , texts{trip.category.trimmed(), trip.startPlace.trimmed(), trip.destination.trimmed(),
                trip.memo.trimmed()}
    {}
    bool operator==(const SameTrip &) const = default;
    friend std::size_t qHash(const SameTrip &trip, std::size_t seed = 0)
    {
        return qHashMulti(seed, trip.dateKey, trip.distance, trip.texts[0], trip.texts[1],
                          trip.texts[2], trip.texts[3]);
    }

    std::uint32_t dateKey;
    std::int32_t distance;
    std::array<QString, 4> texts;
};

// Leaves out the trips equal to a stored one. The smaller side is keyed and the other looked
// up in it: a few lines into a large log cost no copy of the log, nor a large file into a
// small log a copy of the file.
void leaveOutStoredTrips(std::vector<MileageRecord> &trips, const RecordList &stored, int &leftOut)
{
    std::vector<bool> isStored(trips.size(), false);
    if (stored.size() < trips.size()) {
        QSet<SameTrip> storedTrips;
        for (ListPosition i = 0; i < stored.size(); ++i)
            storedTrips.insert(SameTrip(stored.at(i)));
        for (std::size_t i = 0; i < trips.size() && !storedTrips.isEmpty(); ++i)
            isStored[i] = storedTrips.contains(SameTrip(trips[i]));
    } else {
        QHash<SameTrip, std::vector<std::size_t>> linesOf;
        for (std::size_t i = 0; i < trips.size(); ++i)
            linesOf[SameTrip(trips[i])].push_back(i);
        for (ListPosition i = 0; i < stored.size() && !linesOf.isEmpty(); ++i) {
            const auto found = linesOf.constFind(SameTrip(stored.at(i)));
            if (found == linesOf.cend())
                continue;
            for (const std::size_t line : *found)
                isStored[line] = true;
            linesOf.erase(found);
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < trips.size(); ++i) {
        if (!isStored[i])
            trips[kept++] = std::move(trips[i]);
    }
    leftOut = int(trips.size() - kept);
    trips.resize(kept, MileageRecord());
}

SystemTime utcNow()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    SystemTime time = makeDate(now.date().year(), now.date().month(), now.date().day());
    time.hour = std::uint16_t(now.time().hour());
    time.minute = std::uint16_t(now.time().minute());
    time.second = std::uint16_t(now.time().second());
    return time;
}

// The lines of the file checked with the record dialog's rules: the trips to add, or one
// message a wrong field.
struct Checked
{
    std::vector<MileageRecord> trips;
    QStringList newCategories;
    int duplicates = 0;
    QStringList errors;
};

class LineChecker
{
public:
    LineChecker(const QString &fileName, const DeviceLog &log, bool addCategories)
        : m_fileName(fileName)
        , m_log(log)
        , m_addCategories(addCategories)
    {
        for (ListPosition i = 0; i < log.categories.size(); ++i)
            m_categories.insert(log.categories.at(i).name);
    }

    void check(const CsvRecord &record, Checked &checked)
    {
        m_line = record.line;
        m_errors = &checked.errors;
        const QStringList &f = record.fields;
        if (f.size() != tripsHeader().size()) {
            bad("line", QStringLiteral("6 fields expected, %1 found").arg(f.size()));
            return;
        }
        const qsizetype errorsBefore = checked.errors.size();
        MileageRecord trip;
        trip.clear();
        const std::uint32_t view = m_log.settings.DistanceTypeView;
        if (const std::optional<SystemTime> date =
                parseDate(stripBlanks(f[0]), m_log.settings.DateTypeView))
            trip.setDate(*date);
        else
            bad("Date", QStringLiteral("'%1' is no date").arg(f[0]));
        const QString category = stripBlanks(f[1]);
        const auto known = m_categories.constFind(category);
        if (category.isEmpty() || category.size() > 20) {
            bad("Category", QStringLiteral("1 to 20 characters"));
        } else if (known != m_categories.cend()) {
            trip.setCategory(*known);
        } else if (m_addCategories) {
            checked.newCategories.append(category);
            m_categories.insert(category);
            trip.setCategory(category);
        } else {
            bad("Category",
                QStringLiteral("'%1' is no category (--add-categories adds it)").arg(category));
        }
        const QString distance = stripBlanks(f[2]);
        const AmountCheck amount =
            distance.isEmpty() ? AMOUNT_INVALID : CheckAmountText(distance, view);
        if (amount == AMOUNT_OK)
            SetAmountFromText(trip, distance, view);
        else
            bad("Mileage", loadString(amountMessage(amount)));
        const struct
        {
            const char *name;
            QString text;
            int limit;
            bool (MileageRecord::*set)(const QString &);
        } texts[] = {{"Start.Place", shared(m_places, f[3], normalisePlaceName), 32,
                      &MileageRecord::setStartPlace},
                     {"Destination", shared(m_places, f[4], normalisePlaceName), 32,
                      &MileageRecord::setDestination},
                     {"Memo", shared(m_memos, f[5], stripBlanks), 20, &MileageRecord::setMemo}};
        for (const auto &text : texts) {
            if (text.text.size() > text.limit)
                bad(text.name, QStringLiteral("longer than %1 characters").arg(text.limit));
            else if (!text.text.isEmpty())
                (trip.*text.set)(text.text);
        }
        if (checked.errors.size() > errorsBefore)
            return;
        checked.trips.push_back(std::move(trip));
    }

private:
    // Places and memos repeat from trip to trip: each text is made once and shared by the trips
    // that hold it, up to a bound, so that a file of texts all different keeps no table.
    static QString shared(QHash<QString, QString> &made, const QString &field,
                          QString (*make)(const QString &))
    {
        constexpr qsizetype Bound = 4096;
        const auto found = made.constFind(field);
        if (found != made.cend())
            return *found;
        const QString text = make(field);
        if (made.size() < Bound)
            made.insert(field, text);
        return text;
    }

    void bad(const char *field, const QString &why)
    {
        m_errors->append(QStringLiteral("%1:%2: %3: %4")
                             .arg(m_fileName)
                             .arg(m_line)
                             .arg(QString::fromLatin1(field), why));
    }

    QString m_fileName;
    const DeviceLog &m_log;
    bool m_addCategories;
    QSet<QString> m_categories;
    // As the file has them, as the trips hold them.
    QHash<QString, QString> m_places;
    QHash<QString, QString> m_memos;
    int m_line = 0;
    QStringList *m_errors = nullptr;
};

} // namespace

int importCommand(const QCommandLineParser &parser, CliStreams streams)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2)
        return usage(streams, QStringLiteral("import FILE|-"));
    const bool fromInput = arguments[1] == QLatin1String("-");
    const QString fileName = fromInput ? QStringLiteral("standard input") : arguments[1];
    QByteArray bytes;
    if (fromInput) {
        bytes = streams.in.readAll();
    } else {
        QFile file(arguments[1]);
        if (!file.open(QIODevice::ReadOnly))
            return fail(streams, {ExitInvalidInput, fileName + QStringLiteral(": cannot read")});
        bytes = file.readAll();
    }

    // Only one program changes a device at a time. A dry run changes nothing: a device that
    // has no trip log yet is checked against one made as the first start makes it, in a
    // scratch folder.
    const bool dryRun = parser.isSet(QStringLiteral("dry-run"));
    const DeviceRoot device(devicePathOf(parser.value(QStringLiteral("device"))));
    DeviceLock lock(DeviceLock::socketPathFor(device));
    const bool madeForTheDryRun = dryRun && !QFileInfo::exists(device.storePath());
    std::optional<QTemporaryDir> scratch;
    if (madeForTheDryRun)
        scratch.emplace();
    const DeviceRoot target(madeForTheDryRun ? scratch->filePath(QStringLiteral("device"))
                                             : device.path());
    if (madeForTheDryRun && !target.prepare())
        return fail(streams, {ExitDevice, device.path() + QStringLiteral(": cannot be used")});
    if (!dryRun) {
        if (const std::optional<CliFailure> busy = takeForWriting(device, lock))
            return fail(streams, *busy);
    }
    CliFailure failure;
    std::unique_ptr<DeviceLog> log =
        readDevice(target.path(), failure,
                   dryRun && !madeForTheDryRun ? DeviceAccess::Read : DeviceAccess::Write);
    if (!log)
        return fail(streams, failure);

    // Lines are checked as they are read: a large file is never held as records too.
    CliProgress progress(streams, QStringLiteral("import"));
    const QString text = decodeCsvText(bytes);
    bytes.clear();
    CsvReader reader(text);
    CsvRecord record;
    Checked checked;
    if (reader.next(record) && record.fields == tripsHeader()) {
        LineChecker checker(fileName, *log, parser.isSet(QStringLiteral("add-categories")));
        checked.trips.reserve(std::size_t(text.count(u'\n')));
        while (reader.next(record)) {
            const bool emptyLine = record.fields.size() == 1 && record.fields[0].isEmpty();
            if (!emptyLine)
                checker.check(record, checked);
            progress.show("checking", reader.position(), text.size());
        }
    } else if (reader.errorLine() == 0) {
        checked.errors.append(QStringLiteral("%1:1: the first line must be %2")
                                  .arg(fileName, tripsHeader().join(u',')));
    }
    if (reader.errorLine() > 0)
        checked.errors.append(
            QStringLiteral("%1:%2: %3").arg(fileName).arg(reader.errorLine()).arg(reader.error()));
    if (checked.errors.isEmpty() && !parser.isSet(QStringLiteral("keep-duplicates")))
        leaveOutStoredTrips(checked.trips, log->trips, checked.duplicates);
    std::int64_t sum = 0;
    for (ListPosition i = 0; i < log->trips.size(); ++i)
        sum += log->trips.at(i).distance;
    for (const MileageRecord &trip : checked.trips)
        sum += trip.distance;
    if (checked.errors.isEmpty() && sum > MaxComputedAmount)
        checked.errors.append(overflowFailure(fileName).message);
    progress.clear();
    if (!checked.errors.isEmpty()) {
        // Enough to see what is wrong with a file, not a screen per line of it.
        constexpr qsizetype Shown = 20;
        if (checked.errors.size() > Shown) {
            const qsizetype more = checked.errors.size() - Shown;
            checked.errors.resize(Shown);
            checked.errors.append(
                QStringLiteral("%1: %2 more wrong fields").arg(fileName).arg(more));
        }
        for (const QString &error : checked.errors)
            streams.err.write("tripvane: " + error.toUtf8() + '\n');
        return ExitInvalidInput;
    }

    const QString summary = QStringLiteral("%1 %2 trips, %3 equal to stored trips left out, %4 "
                                           "categories added\n")
                                .arg(dryRun ? QStringLiteral("would add") : QStringLiteral("added"))
                                .arg(checked.trips.size())
                                .arg(checked.duplicates)
                                .arg(checked.newCategories.size());
    if (dryRun) {
        streams.out.write(summary.toUtf8());
        return ExitDone;
    }
    // The trips and the categories they need go in together, or nothing does.
    Databases &databases = *log->databases;
    const bool written = databases.inOneTransaction([&] {
        CategoryEntry entry;
        for (const QString &name : checked.newCategories) {
            entry.setName(name);
            log->categories.append(entry);
        }
        return (checked.newCategories.isEmpty() || databases.rewriteCategories(log->categories)) &&
               databases.addRecords(checked.trips, utcNow(), [&](std::size_t added) {
                   progress.show("writing", std::int64_t(added),
                                 std::int64_t(checked.trips.size()));
               });
    });
    progress.clear();
    if (!written)
        return fail(streams,
                    {ExitDevice, device.storePath() + QStringLiteral(": cannot be written")});
    streams.out.write(summary.toUtf8());
    return ExitDone;
}

} // namespace tripvane
