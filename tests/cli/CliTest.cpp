#include "Cli.h"
#include "CliProgress.h"

#include "DataTable.h"
#include "DeviceRoot.h"
#include "ObjectStore.h"
#include "Testkit.h"
#include "TripLog.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <thread>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tripvane;

namespace {

struct Outcome
{
    int status = -1;
    QByteArray out;
    QByteArray err;
    QStringList qtMessages; // what Qt said on the process's own standard error
};

QStringList *caughtQtMessages = nullptr;

Outcome tripvane(const QStringList &arguments, const QByteArray &input = {})
{
    QBuffer out;
    QBuffer err;
    QBuffer in;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    in.setData(input);
    in.open(QIODevice::ReadOnly);
    Outcome run;
    caughtQtMessages = &run.qtMessages;
    const QtMessageHandler before =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
            caughtQtMessages->append(text);
        });
    run.status = runTripvane(arguments, {out, err, in});
    qInstallMessageHandler(before);
    run.out = out.data();
    run.err = err.data();
    return run;
}

// The two devices of cli-runs.txt.
class Cli : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MileageRecord quoted = trip(2005, 10, 2, 100087, "Job", "say \"hi\" it's");
        quoted.setStartPlace(QStringLiteral("The \"Inn\""));
        quoted.setDestination(QStringLiteral("Caf\u00E9"));
        device.seed({trip(2005, 10, 29, 1250, "Holiday"), quoted});
        device.seedSetting("DistanceTypeView", 1);
        device.seedSetting("DateTypeView", 1);
        other.seed({trip(2005, 10, 5, 30000), trip(2005, 10, 6, 25, "Visits")});
        DeviceSession session(DeviceRoot(other.devicePath()).storePath());
        CategoryEntry visits;
        visits.setName(QStringLiteral("Visits"));
        session.categories.append(visits);
        ASSERT_TRUE(session.databases->rewriteCategories(session.categories));
    }

    QTemporaryDir dir;
    TestApp device{Screen::Portrait, dir.filePath(QStringLiteral("device"))};
    TestApp other{Screen::Portrait, dir.filePath(QStringLiteral("other"))};
};

TEST_F(Cli, answersAsTheTableSays)
{
    // A name without a folder is one of the scratch folder.
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    for (const QStringList &row : dataTable("cli-runs.txt")) {
        ASSERT_EQ(row.size(), 4);
        SCOPED_TRACE(qPrintable(row[0]));
        QStringList arguments = row[0].split(u' ', Qt::SkipEmptyParts);
        arguments.replaceInStrings(QStringLiteral("DEVICE"), device.devicePath());
        arguments.replaceInStrings(QStringLiteral("OTHER"), other.devicePath());
        arguments.replaceInStrings(QStringLiteral("MISSING"), dir.filePath(QStringLiteral("none")));
        arguments.replaceInStrings(QStringLiteral("IMPORT"),
                                   QStringLiteral(TRIPVANE_TEST_DATA "/import"));
        const Outcome run = tripvane(arguments);
        EXPECT_EQ(run.status, row[1].toInt()) << run.err.constData();
        if (row[2] != u'-') {
            EXPECT_EQ(run.out, dataFile(QStringLiteral("golden/") + row[2]));
        }
        if (row[3] != u'-') {
            EXPECT_TRUE(run.err.contains(row[3].toUtf8())) << run.err.constData();
        }
        EXPECT_EQ(run.err.isEmpty(), row[1] == u'0') << "a message exactly when it failed";
        EXPECT_EQ(run.qtMessages, QStringList());
    }
}

QStringList entriesUnder(const QString &path)
{
    QStringList entries;
    for (QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        entries.append(it.next());
    entries.sort();
    return entries;
}

bool runSql(const QString &path, const QString &sql)
{
    sqlite3 *db = nullptr;
    const bool ran =
        sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK &&
        sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ran;
}

// A cut write: the store with its changed pages and the journal that undoes them.
void cutWrite(const QString &store)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(store.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "BEGIN; DELETE FROM records", nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_db_cacheflush(db), SQLITE_OK);
    for (const char *file : {"", "-journal"})
        ASSERT_TRUE(QFile::copy(store + file, store + file + QStringLiteral(".cut")));
    sqlite3_close(db);
    for (const char *file : {"", "-journal"}) {
        QFile::remove(store + file);
        ASSERT_TRUE(QFile::rename(store + file + QStringLiteral(".cut"), store + file));
    }
}

TEST_F(Cli, hostileFilesAndPathsLoseNothing)
{
    const QByteArray listOf[] = {tripvane({"list", "--device", other.devicePath()}).out,
                                 tripvane({"list", "--device", device.devicePath()}).out};
    for (const QStringList &row : dataTable("cli-hostile.txt")) {
        ASSERT_EQ(row.size(), 5);
        SCOPED_TRACE(qPrintable(row[0] + u' ' + row[1]));
        QTemporaryDir t;
        const QString d = t.filePath(QStringLiteral("D")), b = t.filePath(QStringLiteral("B")),
                      f = t.filePath(QStringLiteral("F")), store = DeviceRoot(d).storePath();
        ASSERT_TRUE(QDir().mkpath(d));
        ASSERT_TRUE(QFile::copy(DeviceRoot(other.devicePath()).storePath(), store));
        ASSERT_TRUE(QFile::copy(DeviceRoot(device.devicePath()).storePath(), b));
        QFile::link(d, t.filePath(QStringLiteral("L")));
        QFile::link(d, t.filePath(QString(120, u'x')));
        const QString setup = row[0].section(u':', 0, 0), value = row[0].section(u':', 1);
        TestApp running(Screen::Portrait, d);
        std::thread reader;
        QByteArray input, read;
        if (setup == u"sql" || setup == u"dsql") {
            ASSERT_TRUE(runSql(setup == u"sql" ? b : store, value));
        } else if (setup == u"cut" || setup == u"pad") {
            QFile backup(b);
            ASSERT_TRUE(
                backup.resize(backup.size() + (setup == u"cut" ? -1 : 1) * value.toLongLong()));
        } else if (setup == u"running") {
            ASSERT_TRUE(running.start());
        } else if (setup == u"junk" || setup == u"file") {
            const QString path = setup == u"junk" ? store : d;
            QDir(path).removeRecursively() || QFile::remove(path);
            QFile junk(path);
            ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write("junk\n") == 5);
        } else if (setup == u"folder") {
            ASSERT_TRUE(QFile::remove(store) && QDir().mkdir(store));
        } else if (setup == u"owned") {
            if (::geteuid() != 0)
                continue; // only root gives a file away
            ASSERT_EQ(::chown(QFile::encodeName(store).constData(), 4242, 4242), 0);
            ASSERT_EQ(::chmod(QFile::encodeName(store).constData(), 0640), 0);
        } else if (setup == u"journal") {
            cutWrite(store);
        } else if (setup.endsWith(u"fifo")) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(f).constData(), 0600), 0);
            // The reader's end is open before the run, as a reader already waiting would be.
            const int fd = ::open(QFile::encodeName(f).constData(), O_RDONLY | O_NONBLOCK);
            if (setup == u"fifo")
                reader = std::thread([&read, fd] {
                    pollfd waiting{fd, POLLIN, 0};
                    char buffer[4096];
                    for (ssize_t got = 1; got > 0 && ::poll(&waiting, 1, 10000) > 0;) {
                        if ((got = ::read(fd, buffer, sizeof buffer)) > 0)
                            read.append(buffer, got);
                    }
                    ::close(fd);
                });
            else
                ::close(fd);
        } else if (setup == u"zeros") {
            input = QByteArray(1 << 20, '\0');
        } else if (setup == u"locked") {
            QFile::setPermissions(d, {});
        } else if (setup == u"gone") {
            QDir(d).removeRecursively();
        }
        QFile storeFile(store);
        const QByteArray before = storeFile.open(QIODevice::ReadOnly) ? storeFile.readAll() : "";
        storeFile.close();
        const QStringList entries = entriesUnder(d);
        Outcome run;
        const QStringList runs = row[1].split(QStringLiteral(" ; "));
        for (const QString &line : runs) {
            QStringList arguments = line.split(u' ');
            for (QString &argument : arguments) {
                const QString first = argument.section(u'/', 0, 0);
                if (first.size() == 1 && QStringLiteral("DLFB").contains(first))
                    argument = t.filePath(argument);
                argument.replace(QStringLiteral("IMPORT"),
                                 QStringLiteral(TRIPVANE_TEST_DATA "/import"));
                argument.replace(QStringLiteral("LONG"), t.filePath(QString(120, u'x')));
                argument.replace(QStringLiteral("EMPTY"), QString());
            }
            run = tripvane(arguments, input);
            if (&line != &runs.last()) {
                ASSERT_EQ(run.status, 0) << run.err.constData();
            }
        }
        if (reader.joinable())
            reader.join();
        QFile::setPermissions(d, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(run.status, row[2].toInt()) << run.err.constData();
        if (row[3] != u'-') {
            EXPECT_TRUE(run.err.contains(row[3].toUtf8())) << run.err.constData();
        }
        const QStringList after = row[4].split(u' ');
        const QByteArray listed = tripvane({"list", "--device", d}).out;
        const std::pair<const char16_t *, bool> holds[] = {
            {u"same", storeFile.open(QIODevice::ReadOnly) && storeFile.readAll() == before},
            {u"lists-other", listed == listOf[0]},
            {u"lists-device", listed == listOf[1]},
            {u"untouched", entriesUnder(d) == entries},
            {u"gone", !QFileInfo::exists(d)}};
        for (const auto &[what, held] : holds)
            EXPECT_TRUE(held || !after.contains(what)) << QString::fromUtf16(what).toStdString();
        QFile kept(store + QStringLiteral(".before-restore"));
        if (after.contains(u"kept-junk")) {
            EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == "junk\n");
        }
        struct stat owned;
        if (after.contains(u"owned")) {
            ASSERT_EQ(::stat(QFile::encodeName(store).constData(), &owned), 0);
            EXPECT_EQ(owned.st_uid, 4242u);
            EXPECT_EQ(owned.st_mode & 0777, 0640u);
        }
        if (after.contains(u"read")) {
            EXPECT_TRUE(read.startsWith("\"Date\"")) << read.constData();
        }
    }
}

TEST_F(Cli, aFileIsWrittenWholeAndPrivate)
{
    const QString path = dir.filePath(QStringLiteral("trips.csv"));
    EXPECT_EQ(tripvane({"export", "trips", "--device", device.devicePath(), "-o", path}).status, 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), dataFile(QStringLiteral("golden/trips-windows-1252.csv")));
    EXPECT_EQ(file.permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
    const Outcome refused = tripvane({"export", "trips", "--device", device.devicePath(), "-o",
                                      dir.filePath(QStringLiteral("none/trips.csv"))});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("none/trips.csv: cannot create")) << refused.err.constData();
}

// A backup works beside the running program; a restore waits until it has ended, keeps the
// store it replaces and refuses a file that is no store of this or an earlier version.
TEST_F(Cli, backupAndRestoreKeepEveryTripAndRefuseWhatCannotServe)
{
    const QString backup = dir.filePath(QStringLiteral("backup.db"));
    const QStringList restore{"restore", "--device", other.devicePath(), backup};
    ASSERT_EQ(tripvane({"rates", "set", "Job", "0.4", "--device", device.devicePath()}).status, 0);
    ASSERT_TRUE(device.start());
    EXPECT_EQ(tripvane({"backup", "--device", device.devicePath(), backup}).status, 0);
    ASSERT_TRUE(other.start());
    const Outcome busy = tripvane(restore);
    EXPECT_EQ(busy.status, 3);
    EXPECT_TRUE(busy.err.contains("mileagelog runs on this device")) << busy.err.constData();
    other.close();
    EXPECT_EQ(tripvane(restore).status, 0);
    EXPECT_EQ(tripvane({"list", "--device", other.devicePath()}).out,
              dataFile(QStringLiteral("golden/list.csv")));
    EXPECT_TRUE(tripvane({"rates", "--device", other.devicePath()}).out.contains("Job  "))
        << "the rates came with the store";
    const QString kept = DeviceRoot(other.devicePath()).storePath() + ".before-restore";
    DeviceSession before(kept);
    ASSERT_TRUE(before.isOpen());
    EXPECT_EQ(before.records.size(), 2u);
    EXPECT_EQ(before.records.at(0).distance, 30000);

    // A store of a later version, and a file that is no store, are refused with the store left.
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(backup.toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const Outcome newer = tripvane(restore);
    EXPECT_EQ(newer.status, 1);
    EXPECT_TRUE(newer.err.contains("newer")) << newer.err.constData();
    QFile text(backup);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly | QIODevice::Truncate));
    text.write("not a store\n");
    text.close();
    EXPECT_EQ(tripvane(restore).status, 1);
    EXPECT_EQ(tripvane({"list", "--device", other.devicePath()}).out,
              dataFile(QStringLiteral("golden/list.csv")));
}

// Trips exported and imported into a device that does not exist yet come back the same; a
// second import leaves them all out, and the program's Unicode file reads as well.
TEST_F(Cli, exportedTripsImportIntoANewDeviceAsTheyWere)
{
    const QString file = dir.filePath(QStringLiteral("other.csv"));
    const QString fresh = dir.filePath(QStringLiteral("fresh"));
    const QByteArray listed = tripvane({"list", "--device", other.devicePath()}).out;
    for (const char *encoding : {"windows-1252", "utf-16le"}) {
        ASSERT_EQ(tripvane({"export", "trips", "--device", other.devicePath(), "--encoding",
                            encoding, "-o", file})
                      .status,
                  0);
        const Outcome imported = tripvane({"import", "--device", fresh, "--add-categories", file});
        EXPECT_EQ(imported.status, 0) << imported.err.constData();
        EXPECT_EQ(tripvane({"list", "--device", fresh}).out, listed) << encoding;
        EXPECT_EQ(
            tripvane({"import", "--device", fresh, "-"}, dataFile("import/two-trips.csv")).status,
            1)
            << "the category Sport is missing";
    }
    // What list writes for scripts reads back the same.
    const QString listed2 = dir.filePath(QStringLiteral("listed"));
    EXPECT_EQ(tripvane({"import", "--device", listed2, "--add-categories", "-"}, listed).status, 0);
    EXPECT_EQ(tripvane({"list", "--device", listed2}).out, listed);
    const Outcome again = tripvane({"import", "--device", fresh, file});
    EXPECT_TRUE(again.out.startsWith("added 0 trips, 2 equal to stored trips left out"));
    ASSERT_TRUE(device.start());
    EXPECT_EQ(tripvane({"import", "--device", device.devicePath(), file}).status, 3);
}

// A file of many batches is checked to its end before anything stays: a wrong last line, or a
// sum that overflows only with the last trips, leaves the device as it was. A Windows-1252 byte
// in the last line decides how the whole file reads.
TEST_F(Cli, aLongFileGoesInWholeOrNotAtAll)
{
    const QString file = dir.filePath(QStringLiteral("long.csv"));
    const auto import = [&](const QByteArray &lastLine, const char *distance = "1") {
        QByteArray text = "Date,Category,Mileage,Start.Place,Destination,Memo\n";
        for (int i = 0; i < 3000; ++i)
            text += "2005-10-07,Job," + QByteArray(distance) + ",Home,Office," +
                    QByteArray::number(i) + '\n';
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(text + lastLine) > 0);
        out.close();
        return tripvane({"import", "--device", other.devicePath(), file});
    };
    const QStringList list{"list", "--device", other.devicePath()};
    const QByteArray before = tripvane(list).out;
    const Outcome wrong = import("2005-10-08,Job,0,Home,Office,\n");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_TRUE(wrong.err.contains("long.csv:3002: Mileage")) << wrong.err.constData();
    const Outcome overflow = import("", "20000");
    EXPECT_EQ(overflow.status, 1);
    EXPECT_TRUE(overflow.err.contains("long.csv")) << overflow.err.constData();
    // A store that cannot take the trips (a reader holds it past the wait) keeps what it had.
    sqlite3 *reader = nullptr;
    ASSERT_EQ(
        sqlite3_open(DeviceRoot(other.devicePath()).storePath().toUtf8().constData(), &reader),
        SQLITE_OK);
    sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM records", nullptr, nullptr, nullptr);
    const Outcome held = import("");
    sqlite3_close(reader);
    EXPECT_EQ(held.status, 3);
    EXPECT_TRUE(held.err.contains("cannot be written")) << held.err.constData();
    EXPECT_EQ(tripvane(list).out, before);

    const Outcome added = import("2005-10-08,Job,5,Home,Caf\xE9 \x80,\n");
    EXPECT_TRUE(added.out.startsWith("added 3001 trips")) << added.err.constData();
    EXPECT_TRUE(tripvane({"list", "--device", other.devicePath(), "--from", "2005-10-08", "--to",
                          "2005-10-08"})
                    .out.contains("Caf\xC3\xA9 \xE2\x82\xAC"));
}

// The printed log read back as text holds every trip of the range, and the same distances and
// amounts as the report gives.
TEST_F(Cli, printsEveryTripAndTheAmountsTheReportGives)
{
    const QString devicePath = other.devicePath();
    ASSERT_EQ(tripvane({"rates", "set", "Job", "0.455", "--device", devicePath}).status, 0);
    ASSERT_EQ(tripvane({"rates", "currency", "CHF", "--device", devicePath}).status, 0);
    const QString pdf = dir.filePath(QStringLiteral("log.pdf"));
    const auto printed = [&](const QStringList &arguments) {
        const Outcome run = tripvane(QStringList{"print", "-o", pdf} + arguments);
        EXPECT_EQ(run.status, 0) << run.err.constData();
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"),
                        {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        EXPECT_TRUE(pdftotext.waitForFinished(20000)) << "pdftotext (poppler-utils) is needed";
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    };
    // A range without trips says so in the table and in place of the chart, whole.
    EXPECT_EQ(printed({"--from", "2006-01-01", "--to", "2006-01-31", "--device", devicePath})
                  .count(QStringLiteral("No trips in this range")),
              2);
    const QStringList range{"--from", "2005-10-01", "--to", "2005-10-31", "--device", devicePath};
    const QString text = printed(QStringList{"--title", "Fleet car"} + range);
    EXPECT_TRUE(text.contains(QStringLiteral("Fleet car")));
    EXPECT_TRUE(text.contains(QStringLiteral("page 2 of 2")));
    const auto line = [](const QString &in, const QStringList &words) {
        QString pattern = QStringLiteral("\\b");
        for (const QString &word : words)
            pattern += QRegularExpression::escape(word) + QStringLiteral("\\s+");
        pattern.chop(3);
        return in.contains(QRegularExpression(pattern));
    };
    EXPECT_TRUE(line(text, {"05-10-05", "Job", "300.00"})) << qPrintable(text);
    EXPECT_TRUE(line(text, {"06-10-05", "Visits", "0.25"}));
    EXPECT_TRUE(line(text, {"Total", "300.25"}));
    // Money and rates as the device writes its distances, and a title too long for the paper
    // ended with an ellipsis, on one line.
    const QString dotted = device.devicePath();
    ASSERT_EQ(tripvane({"rates", "set", "Job", "0.455", "--device", dotted}).status, 0);
    const QString written = printed(
        {"--from", "2005-10-01", "--to", "2005-10-31", "--title",
         QStringLiteral("Car\n") + QString(200, u'x') + QStringLiteral("END"), "--device", dotted});
    EXPECT_TRUE(line(written, {"Job", "1", "1.000,87", "0,455", "455,40"})) << qPrintable(written);
    EXPECT_TRUE(written.contains(QStringLiteral("Car xxx")));
    EXPECT_TRUE(written.contains(QStringLiteral("xxx\u2026")));
    EXPECT_FALSE(written.contains(QStringLiteral("END")));
    const Outcome report = tripvane(QStringList{"report", "--amounts", "--format", "csv"} + range);
    const QList<QByteArray> rows = report.out.trimmed().split('\n');
    ASSERT_GT(rows.size(), 2);
    for (const QByteArray &row : rows.mid(1)) {
        // The summary's line: category, trips, distance, rates, amount.
        const QStringList f = QString::fromUtf8(row.trimmed()).split(u',');
        const QRegularExpression summary(QStringLiteral("^\\s*%1\\s+\\d+\\s+%2\\s.*CHF %3\\s*$")
                                             .arg(QRegularExpression::escape(f[0]),
                                                  QRegularExpression::escape(f[1]),
                                                  QRegularExpression::escape(f[2])),
                                         QRegularExpression::MultilineOption);
        EXPECT_TRUE(text.contains(summary)) << qPrintable(row);
    }
}

// The program itself, as cron runs it: no XDG_RUNTIME_DIR, no display, nothing said but the PDF.
TEST_F(Cli, printsFromAScriptWithoutAWord)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    const QString pdf = dir.filePath(QStringLiteral("cron.pdf"));
    program.start(QStringLiteral(TRIPVANE_PATH),
                  {"print", "--from", "2005-10-01", "--to", "2005-10-31", "--device",
                   other.devicePath(), "-o", pdf});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardError(), QByteArray());
    EXPECT_GT(QFileInfo(pdf).size(), 0);
}

} // namespace

// Progress is for a person at a terminal: none to a file or a pipe, none within the first
// second, at most one line, cleared at the end.
TEST(CliProgressTest, showsOnlyAtATerminalAfterASecondAndClearsItsLine)
{
    QBuffer out;
    QBuffer err;
    QBuffer in;
    err.open(QIODevice::WriteOnly);
    std::int64_t now = 0;
    const auto clock = [&] { return now; };
    {
        CliProgress toAPipe({out, err, in, false}, QStringLiteral("import"), clock);
        now = 5000;
        toAPipe.show("checking", 10, 10);
    }
    EXPECT_TRUE(err.data().isEmpty());
    {
        now = 0;
        CliProgress atATerminal({out, err, in, true}, QStringLiteral("import"), clock);
        atATerminal.show("checking", 10, 10);
        EXPECT_TRUE(err.data().isEmpty());
        now = 1500;
        atATerminal.show("checking", 1, 4);
        EXPECT_TRUE(err.data().isEmpty()); // between two looks at the clock
        atATerminal.show("writing", 4, 4);
        EXPECT_EQ(err.data(), "\rtripvane import: writing 100%");
    }
    EXPECT_EQ(err.data(), "\rtripvane import: writing 100%\r" + QByteArray(29, ' ') + '\r');
}
