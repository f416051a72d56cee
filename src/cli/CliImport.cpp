#include "CliCommands.h"

#include "AmountText.h"
#include "CliDevice.h"
#include "CliProgress.h"
#include "CsvExport.h"
#include "CsvReader.h"
#include "CsvText.h"
#include "DeviceLock.h"
#include "DeviceRoot.h"
#include "Services.h"
#include "SettingValues.h"
#include "StringTable.h"
#include "TextRules.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
#include <optional>
#include <span>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tripvane {

namespace {

// The stored trips found by date and distance, the fields that set trips apart the most, then
// compared in all six as the equality of a line with a stored trip sees them (texts without
// their outer blanks): a line is looked up without a copy of the log or a hash of its texts.
class StoredTrips
{
    static std::uint64_t keyOf(const MileageRecord &trip)
    {
        return std::uint64_t(trip.dateKey) << 32 | std::uint32_t(trip.distance);
    }
    static auto fields(const MileageRecord &trip)
    {
        return std::tuple(trip.dateKey, trip.distance, QStringView(trip.category).trimmed(),
                          QStringView(trip.startPlace).trimmed(),
                          QStringView(trip.destination).trimmed(),
                          QStringView(trip.memo).trimmed());
    }

public:
    explicit StoredTrips(const RecordList &stored)
        : m_stored(stored)
    {
        m_byKey.reserve(stored.size());
        for (ListPosition i = 0; i < stored.size(); ++i)
            m_byKey.emplace_back(keyOf(stored.at(i)), i);
        std::ranges::sort(m_byKey);
    }
    bool contains(const MileageRecord &trip) const
    {
        const std::uint64_t key = keyOf(trip);
        for (auto at = std::ranges::lower_bound(m_byKey, std::pair(key, ListPosition(0)));
             at != m_byKey.end() && at->first == key; ++at) {
            if (fields(m_stored.at(at->second)) == fields(trip))
                return true;
        }
        return false;
    }

private:
    const RecordList &m_stored;
    std::vector<std::pair<std::uint64_t, ListPosition>> m_byKey; // in order
};

// What the checking found besides the trips to add.
struct Checked
{
    // Enough to see what is wrong with a file, not a screen per line of it.
    static constexpr qsizetype Shown = 20;
    void addError(const QString &error)
    {
        if (errors.size() < Shown)
            errors.append(error);
        else
            ++moreErrors;
    }

    QStringList newCategories;
    int duplicates = 0;
    std::int64_t distance = 0; // of the trips to add
    QStringList errors;
    qsizetype moreErrors = 0;
};

class LineChecker
{
public:
    LineChecker(const QString &fileName, const DeviceLog &log, bool addCategories)
        : m_fileName(fileName)
        , m_log(log)
        , m_addCategories(addCategories)
    {
        // A name is found in any case, as the list's rule makes names the same but for case
        // one name; the stored form is kept.
        for (ListPosition i = 0; i < log.log().categories().size(); ++i) {
            const QString &name = log.log().categories().at(i).name;
            m_categories.insert(normalisePlaceName(name), name);
        }
    }

    // The form of the list command: ISO dates and plain amounts, whatever the device shows.
    void readListForm() { m_listForm = true; }

    // False when a field is wrong; the messages are in checked.
    bool check(const CsvRecord &record, MileageRecord &trip, Checked &checked)
    {
        m_line = record.line;
        m_checked = &checked;
        m_lineIsGood = true;
        const QStringList &f = record.fields;
        if (f.size() != tripsHeader().size()) {
            bad("line", QStringLiteral("6 fields expected, %1 found").arg(f.size()));
            return false;
        }
        trip.clear();
        const std::uint32_t view = m_listForm ? CommaView : m_log.settings.DistanceTypeView;
        if (const std::optional<SystemTime> date =
                parseDate(stripBlanks(f[0]), m_log.settings.DateTypeView))
            trip.setDate(*date);
        else
            bad("Date", QStringLiteral("'%1' is no date").arg(f[0]));
        const CheckedText category = checkName(f[1], FieldLimit::CategoryName);
        const auto known = m_categories.constFind(category.text);
        if (category.problem != TextProblem::None) {
            bad("Category", QStringLiteral("'%1': %2").arg(f[1], loadString(IDS_NAME_RULE)));
        } else if (known != m_categories.cend()) {
            trip.setCategory(*known);
        } else if (m_addCategories) {
            checked.newCategories.append(category.text);
            m_categories.insert(category.text, category.text);
            trip.setCategory(category.text);
        } else {
            bad("Category", QStringLiteral("'%1' is no category (--add-categories adds it)")
                                .arg(category.text));
        }
        const QString distance = stripBlanks(f[2]);
        const AmountCheck amount =
            distance.isEmpty() ? AMOUNT_INVALID : CheckAmountText(distance, view);
        if (amount != AMOUNT_OK)
            bad("Mileage", loadString(amountMessage(amount)));
        else if (!IsWrittenAmount(distance, view))
            bad("Mileage", QStringLiteral("'%1' is not an amount as %2 writes one (three digits "
                                          "after each '%3', at most two decimals)")
                               .arg(distance, FormatAmount(100000, view),
                                    view == DotView ? QStringLiteral(".") : QStringLiteral(",")));
        else
            SetAmountFromText(trip, distance, view);
        const struct
        {
            const char *name;
            CheckedText text;
            int limit;
            bool (MileageRecord::*set)(const QString &);
        } texts[] = {
            {"Start.Place", shared(m_places, f[3], checkTripPlace), FieldLimit::Place,
             &MileageRecord::setStartPlace},
            {"Destination", shared(m_places, f[4], checkTripPlace), FieldLimit::Place,
             &MileageRecord::setDestination},
            {"Memo", shared(m_memos, f[5], checkMemo), FieldLimit::Memo, &MileageRecord::setMemo}};
        for (const auto &text : texts) {
            if (text.text.problem != TextProblem::None)
                bad(text.name, QStringLiteral("longer than %1 characters").arg(text.limit));
            else if (!text.text.text.isEmpty())
                (trip.*text.set)(text.text.text);
        }
        return m_lineIsGood;
    }

private:
    // Places and memos repeat from trip to trip: each text is made once and shared by the trips
    // that hold it, up to a bound, so that a file of texts all different keeps no table.
    static CheckedText shared(QHash<QString, CheckedText> &made, const QString &field,
                              CheckedText (*make)(const QString &))
    {
        constexpr qsizetype Bound = 4096;
        const auto found = made.constFind(field);
        if (found != made.cend())
            return *found;
        const CheckedText text = make(field);
        if (made.size() < Bound)
            made.insert(field, text);
        return text;
    }

    void bad(const char *field, const QString &why)
    {
        m_lineIsGood = false;
        // One arg() for all: a file's name may hold a "%1" of its own.
        m_checked->addError(
            QStringLiteral("%1:%2: %3: %4")
                .arg(m_fileName, QString::number(m_line), QString::fromLatin1(field), why));
    }

    QString m_fileName;
    const DeviceLog &m_log;
    bool m_addCategories;
    bool m_listForm = false;
    QHash<QString, QString> m_categories; // by the form the name rule gives, as stored
    // As the file has them, as the trips hold them.
    QHash<QString, CheckedText> m_places;
    QHash<QString, CheckedText> m_memos;
    int m_line = 0;
    bool m_lineIsGood = true;
    Checked *m_checked = nullptr;
};

// One batch of lines read and checked: the trips to add (encoded for the store unless it is
// a dry run), and how far into the file they reach.
struct CheckedBatch
{
    std::size_t trips = 0;
    std::vector<ObjectStore::EncodedRecord> encoded;
    qint64 bytesRead = 0;
};

// The lines of the file, read, checked and left out when equal to a stored trip, a batch at a
// time. Once a line is wrong no more trips are handed on, but every line is still checked, so
// that the messages show all that is wrong.
class ImportLines
{
public:
    ImportLines(CsvDecoder &decoder, const QString &fileName, const DeviceLog &log,
                bool addCategories, bool keepDuplicates, std::optional<Databases::NewTripKeys> keys)
        : m_decoder(decoder)
        , m_reader([&decoder](QString &text) { return decoder.appendNext(text); })
        , m_fileName(fileName)
        , m_checker(fileName, log, addCategories)
        , m_keys(std::move(keys))
    {
        if (!keepDuplicates && log.log().trips().size() > 0)
            m_stored.emplace(log.log().trips());
    }

    bool fill(CheckedBatch &batch)
    {
        constexpr std::size_t BatchTrips = 1024;
        batch.trips = 0;
        batch.encoded.clear();
        if (!std::exchange(m_started, true) && !start())
            return false;
        MileageRecord trip;
        while (batch.trips < BatchTrips) {
            if (!m_reader.next(m_record)) {
                finish();
                batch.bytesRead = m_decoder.bytesRead();
                return false;
            }
            const bool emptyLine = m_record.fields.size() == 1 && m_record.fields[0].isEmpty();
            if (emptyLine || !m_checker.check(m_record, trip, m_checked))
                continue;
            if (m_stored && m_stored->contains(trip)) {
                ++m_checked.duplicates;
                continue;
            }
            m_checked.distance += trip.distance;
            if (!m_checked.errors.isEmpty())
                continue;
            ++batch.trips;
            if (m_keys)
                batch.encoded.push_back(Databases::encodeTrip(trip, m_keys->next()));
        }
        batch.bytesRead = m_decoder.bytesRead();
        return true;
    }
    // Complete once the last batch was taken.
    const Checked &checked() const { return m_checked; }

private:
    bool start()
    {
        if (m_reader.next(m_record) && m_record.fields == tripsHeader())
            return true;
        if (m_record.fields == listHeader()) {
            m_checker.readListForm();
            return true;
        }
        if (m_reader.errorLine() == 0 && !m_decoder.failed())
            m_checked.addError(
                QStringLiteral("%1:1: the first line must be %2 (or %3)")
                    .arg(m_fileName, tripsHeader().join(u','), listHeader().join(u',')));
        finish();
        return false;
    }
    void finish()
    {
        if (m_reader.errorLine() > 0)
            m_checked.addError(
                QStringLiteral("%1:%2: %3")
                    .arg(m_fileName, QString::number(m_reader.errorLine()), m_reader.error()));
        if (m_decoder.failed())
            m_checked.addError(m_fileName + QStringLiteral(": ") + m_decoder.error());
    }

    CsvDecoder &m_decoder;
    CsvReader m_reader;
    CsvRecord m_record;
    QString m_fileName;
    LineChecker m_checker;
    std::optional<Databases::NewTripKeys> m_keys;
    bool m_started = false;
    std::optional<StoredTrips> m_stored;
    Checked m_checked;
};

// Standard input, a FIFO or a character device is copied into a private file that goes with
// the process: the encoding is told from the whole text, and such input cannot be read twice.
// The copy stops at a line longer than the reader takes, so that endless input ends in an
// error instead of taking the memory or the disk.
bool spool(QIODevice &from, QFile &into, QString &error)
{
    constexpr qint64 MaxLineBytes = 4 * CsvReader::MaxRecordChars;
    QByteArray piece(qsizetype(1) << 16, Qt::Uninitialized);
    qint64 line = 1;
    qint64 sinceLineEnd = 0;
    for (;;) {
        const qint64 got = from.read(piece.data(), piece.size());
        if (got < 0) {
            error = QStringLiteral(": cannot read");
            return false;
        }
        if (got == 0)
            break;
        for (qint64 i = 0; i < got; ++i) {
            if (piece[i] == '\n') {
                ++line;
                sinceLineEnd = 0;
            } else if (++sinceLineEnd > MaxLineBytes) {
                error = QStringLiteral(":%1: a line longer than 65536 characters").arg(line);
                return false;
            }
        }
        if (into.write(piece.constData(), got) != got) {
            error = QStringLiteral(": cannot keep a copy of it: ") + into.errorString();
            return false;
        }
    }
    return into.flush() && into.seek(0);
}

// A FIFO is opened without waiting for a writer that may never come, then waited for a while.
bool openFifo(const QString &path, QFile &file, QString &error)
{
    constexpr int WriterWaitMs = 5000;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    pollfd waiting{fd, POLLIN, 0};
    if (fd < 0 || ::poll(&waiting, 1, WriterWaitMs) <= 0) {
        error = fd < 0 ? QStringLiteral(": cannot read")
                       : QStringLiteral(": no program writes into it (waited %1 s)")
                             .arg(WriterWaitMs / 1000);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
}

// The file of an import, read in pieces: a plain file where it is, anything else copied first.
// error: what follows the file's name in the message (":LINE: why" or ": why").
QIODevice *openImportFile(const QString &argument, QIODevice &standardInput, QFile &file,
                          QTemporaryFile &spooled, QString &error)
{
    QIODevice *stream = &standardInput;
    if (argument != QLatin1String("-")) {
        const QString path = DeviceRoot::absolutePath(argument);
        struct stat status;
        const QByteArray local = QFile::encodeName(path);
        if (::stat(local.constData(), &status) != 0 || S_ISDIR(status.st_mode)) {
            error = QStringLiteral(": cannot read");
            return nullptr;
        }
        if (S_ISREG(status.st_mode)) {
            file.setFileName(path);
            if (file.open(QIODevice::ReadOnly))
                return &file;
            error = QStringLiteral(": cannot read");
            return nullptr;
        }
        if (!S_ISFIFO(status.st_mode) && !S_ISCHR(status.st_mode)) {
            error = QStringLiteral(": is not a plain file");
            return nullptr;
        }
        const bool opened = S_ISFIFO(status.st_mode)
                                ? openFifo(path, file, error)
                                : (file.setFileName(path), file.open(QIODevice::ReadOnly));
        if (!opened) {
            if (error.isEmpty())
                error = QStringLiteral(": cannot read");
            return nullptr;
        }
        stream = &file;
    }
    if (!spooled.open()) {
        error = QStringLiteral(": cannot keep a copy of it: ") + spooled.errorString();
        return nullptr;
    }
    return spool(*stream, spooled, error) ? &spooled : nullptr;
}

} // namespace

int importCommand(const QCommandLineParser &parser, CliStreams streams)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2)
        return usage(streams, QStringLiteral("import FILE|-"));
    const bool fromInput = arguments[1] == QLatin1String("-");
    const QString fileName = fromInput ? QStringLiteral("standard input") : arguments[1];
    QFile file;
    QTemporaryFile spooled;
    QString inputError;
    QIODevice *input = openImportFile(arguments[1], streams.in, file, spooled, inputError);
    if (!input)
        return fail(streams, {ExitInvalidInput, fileName + inputError});
    QIODevice &source = *input;
    CsvDecoder decoder(source);
    if (decoder.failed())
        return fail(streams, {ExitInvalidInput, fileName + QStringLiteral(": cannot read")});

    // Only one program changes a device at a time, and a device it cannot write is refused
    // before anything is made, the dry run as the import. A dry run changes nothing: a device
    // that has no trip log yet is checked against one made as the first start makes it, in a
    // scratch folder.
    const bool dryRun = parser.isSet(QStringLiteral("dry-run"));
    const DeviceRoot device = deviceOf(parser);
    if (const std::optional<CliFailure> problem = writingProblem(device))
        return fail(streams, *problem);
    const bool storeExisted = QFileInfo(device.storePath()).exists();
    const bool madeForTheDryRun = dryRun && !storeExisted;
    std::optional<QTemporaryDir> scratch;
    if (madeForTheDryRun)
        scratch.emplace();
    const DeviceRoot target(madeForTheDryRun ? scratch->filePath(QStringLiteral("device"))
                                             : device.path());
    if (madeForTheDryRun && !target.prepare())
        return fail(streams, {ExitDevice, device.path() + QStringLiteral(": cannot be used")});
    DeviceLock lock(device);
    QStringList made;
    if (!dryRun) {
        if (const std::optional<CliFailure> busy = takeForWriting(device, lock, made))
            return fail(streams, *busy);
    }
    // A failed import leaves no store and no folder it made.
    const auto unmake = [&] { unmakeDevice(device, dryRun || storeExisted, made); };
    CliFailure failure;
    std::unique_ptr<DeviceLog> log =
        readDevice(target.path(), failure,
                   dryRun && !madeForTheDryRun ? DeviceAccess::Read : DeviceAccess::Write);
    if (!log) {
        unmake();
        return fail(streams, failure);
    }
    std::int64_t storedDistance = 0;
    for (ListPosition i = 0; i < log->log().trips().size(); ++i)
        storedDistance += log->log().trips().at(i).distance;

    // The lines are read and checked a batch at a time and their trips written, in one
    // transaction that is undone when a line turns out wrong: nothing is written unless every
    // line is valid, and a large file is never held whole. (A second thread for the lines was
    // measured: one thread meets the goal of twice sqlite3's .import too, so it stays simple.)
    CliProgress progress(streams, QStringLiteral("import"));
    Databases &databases = log->databases;
    ImportLines lines(decoder, fileName, *log, parser.isSet(QStringLiteral("add-categories")),
                      parser.isSet(QStringLiteral("keep-duplicates")),
                      dryRun ? std::nullopt
                             : std::optional(databases.newTripKeys(SystemClock().nowUtc())));
    const Checked &checked = lines.checked();
    const qint64 fileSize = source.size();
    std::size_t added = 0;
    bool invalid = false;
    bool written = false;
    // Reads every line, each batch's trips written as they come (in a dry run, none); then
    // whether the lines, all read, may go in.
    const auto readAll = [&] {
        CheckedBatch batch;
        for (bool more = true; more;) {
            more = lines.fill(batch); // the last batch filled counts too
            progress.show(dryRun ? "checking" : "importing", batch.bytesRead, fileSize);
            added += batch.trips;
            if (!batch.encoded.empty() && !databases.addEncodedTrips(batch.encoded))
                return false;
        }
        invalid =
            !checked.errors.isEmpty() || storedDistance + checked.distance > MaxComputedAmount;
        return !invalid;
    };
    // The trips and the categories they need go in together, or nothing does.
    if (dryRun)
        readAll();
    else
        written = databases.inOneTransaction([&] {
            return readAll() &&
                   std::ranges::all_of(checked.newCategories, [&](const QString &name) {
                       return log->log().addCategory(name);
                   });
        });
    progress.clear();
    if (invalid || (!dryRun && !written)) {
        log.reset();
        unmake();
    }
    if (invalid) {
        QStringList errors = checked.errors;
        if (errors.isEmpty())
            errors.append(overflowFailure(fileName).message);
        if (checked.moreErrors > 0)
            errors.append(fileName +
                          QStringLiteral(": %1 more wrong fields").arg(checked.moreErrors));
        for (const QString &error : errors)
            streams.err.write("tripvane: " + error.toUtf8() + '\n');
        return ExitInvalidInput;
    }
    if (!dryRun && !written)
        return fail(streams,
                    {ExitDevice, device.storePath() + QStringLiteral(": cannot be written")});
    const QString summary = QStringLiteral("%1 %2 trips, %3 equal to stored trips left out, %4 "
                                           "categories added\n")
                                .arg(dryRun ? QStringLiteral("would add") : QStringLiteral("added"))
                                .arg(added)
                                .arg(checked.duplicates)
                                .arg(checked.newCategories.size());
    streams.out.write(summary.toUtf8());
    return ExitDone;
}

} // namespace tripvane
