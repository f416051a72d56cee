// Loading and the exit rebuild of a generated log, side by side with the sqlite3 command-line
// tool doing the same reads and inserts on the same file:
//     QT_QPA_PLATFORM=offscreen build/bench/storage_bench [trips]      (default 100000)
#include "BenchSupport.h"
#include "Databases.h"
#include "ObjectStore.h"
#include "Sorting.h"
#include "Testkit.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <malloc.h>

using namespace tripvane;

namespace {

double sqliteCli(const QStringList &arguments, const QString &inputFile = {})
{
    return bench::bestOf(3, [&] {
        QProcess cli;
        cli.setStandardOutputFile(QProcess::nullDevice());
        if (!inputFile.isEmpty())
            cli.setStandardInputFile(inputFile);
        cli.start(QStringLiteral("sqlite3"), arguments);
        if (!cli.waitForFinished(-1) || cli.exitCode() != 0)
            qFatal("sqlite3 failed: %s", qPrintable(cli.readAllStandardError()));
    });
}

// A start's load, or the floor, each in fresh processes, best of five: both time opening the
// file, checking it (application id, version, quick check) and reading every trip, in-process;
// neither counts starting the process.
double inFreshProcesses(const char *mode, const QString &path)
{
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode), path});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            qFatal("%s in a fresh process failed", mode);
        best = std::min(best, child.readAllStandardOutput().trimmed().toDouble());
    }
    return best;
}

// The floor: SQLite's own API doing what the load does, and nothing else.
int readWithSqlite(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK)
        return 1;
    std::size_t bytes = 0;
    for (const char *sql :
         {"PRAGMA application_id", "PRAGMA user_version", "PRAGMA quick_check(1)",
          "SELECT oid, properties FROM records WHERE database = (SELECT oid FROM databases "
          "WHERE name = 'Velmora OdometerRec') ORDER BY sort_key, oid"}) {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
            return 1;
        while (sqlite3_step(statement) == SQLITE_ROW)
            bytes += std::size_t(sqlite3_column_bytes(statement, 1)) +
                     std::size_t(sqlite3_column_int64(statement, 0) != 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    std::printf("%.3f\n", timer.nsecsElapsed() / 1e6);
    return bytes > 0 ? 0 : 1;
}

int loadOnce(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    ObjectStore store;
    Databases databases(store);
    CategoryList categories;
    RouteList book;
    if (store.open(path) != ObjectStore::OpenStatus::Ok || !databases.openAll(categories, book))
        return 1;
    RecordList records;
    MileageRecord underEdit;
    const int loaded = databases.loadRecords(records, underEdit);
    std::printf("%.3f\n", timer.nsecsElapsed() / 1e6);
    return loaded == 1 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--load")
        return loadOnce(QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && QByteArray(argv[1]) == "--floor")
        return readWithSqlite(QString::fromLocal8Bit(argv[2]));
    const int tripCount = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("objectstore.db"));

    DeviceSession session(path);
    if (!session.isOpen())
        qFatal("cannot create the store");
    ObjectStore &store = session.store;
    Databases &databases = *session.databases;
    RecordList &records = session.records;
    MileageRecord &underEdit = session.scratch;
    bench::appendGeneratedTrips(records, tripCount);
    // The list as a run leaves it, sorted by date, which is what the exit rebuild writes.
    SortRecordsByDate(records, SortAscending);

    std::printf("%d trips\n", tripCount);
    const double rebuild = bench::bestOf(3, [&] { databases.rebuildMileage(records); });
    const auto loadAll = [&] {
        RecordList loaded;
        if (databases.loadRecords(loaded, underEdit) != 1 || loaded.size() != records.size())
            qFatal("load lost trips");
    };
    // The start's load, on fresh memory, is timed in fresh processes below; here the memory
    // is kept between runs.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_TOP_PAD, 256 << 20);
    bench::bestOf(1, loadAll);
    const double load = bench::bestOf(5, loadAll);

    Oid mileage = 0;
    store.findDatabase(QStringLiteral("Velmora OdometerRec"), mileage);
    const QString readSql =
        QStringLiteral("SELECT oid, properties FROM records WHERE database = %1 "
                       "ORDER BY sort_key, oid;")
            .arg(mileage);
    const double cliRead = sqliteCli({path, readSql});
    const double freshLoad = inFreshProcesses("--load", path);
    const double floorLoad = inFreshProcesses("--floor", path);

    // The same rows as INSERT statements in one transaction, into a fresh file.
    const QString script = dir.filePath(QStringLiteral("insert.sql"));
    {
        QProcess dump;
        dump.setStandardOutputFile(script);
        dump.start(QStringLiteral("sqlite3"),
                   {path, QStringLiteral(".mode insert records"),
                    QStringLiteral("SELECT oid, database, sort_key, properties FROM records "
                                   "WHERE database = %1;")
                        .arg(mileage)});
        dump.waitForFinished(-1);
        QFile file(script);
        file.open(QIODevice::ReadOnly);
        const QByteArray inserts = file.readAll();
        file.close();
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write("CREATE TABLE records(oid INTEGER PRIMARY KEY, database INTEGER NOT NULL, "
                   "sort_key INTEGER, properties TEXT NOT NULL);\n"
                   "CREATE INDEX records_in_order ON records(database, sort_key, oid);\n"
                   "BEGIN;\n");
        file.write(inserts);
        file.write("COMMIT;\n");
    }
    const QString target = dir.filePath(QStringLiteral("cli.db"));
    const double cliInsert = bench::bestOf(3, [&] {
        QFile::remove(target);
        QProcess cli;
        cli.setStandardInputFile(script);
        cli.start(QStringLiteral("sqlite3"), {target});
        cli.waitForFinished(-1);
    });

    bench::report("open, check and load all trips, fresh process", freshLoad, floorLoad,
                  "SQLite's API: open, check, read");
    bench::report("load all trips (warm)", load, cliRead, "sqlite3 read to /dev/null");
    bench::report("exit rebuild", rebuild, cliInsert, "sqlite3 insert, one txn");
    return 0;
}
