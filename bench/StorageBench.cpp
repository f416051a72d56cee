// Loading and the exit rebuild of a generated log, side by side with the sqlite3 command-line
// tool doing the same reads and inserts on the same file:
//     QT_QPA_PLATFORM=offscreen build/bench/storage_bench [trips]      (default 100000)
#include "BenchSupport.h"
#include "Databases.h"
#include "ObjectStore.h"
#include "Services.h"
#include "Sorting.h"
#include "Testkit.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

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

// The load as a start meets it, in a fresh process that opened the store (with its check)
// just before: best of three processes.
double loadInFreshProcesses(const QString &path)
{
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--load"), path});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            qFatal("the load in a fresh process failed");
        best = std::min(best, child.readAllStandardOutput().trimmed().toDouble());
    }
    return best;
}

int loadOnce(const QString &path)
{
    auto services = makeDesktopServices();
    ObjectStore store;
    Databases databases(store, *services);
    CategoryList categories;
    RouteList book;
    if (store.open(path) != ObjectStore::OpenStatus::Ok || !databases.openAll(categories, book))
        return 1;
    RecordList records;
    MileageRecord underEdit;
    QElapsedTimer timer;
    timer.start();
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
    const int tripCount = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("objectstore.db"));
    auto services = makeDesktopServices();

    DeviceSession session(path, *services);
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
    const double freshLoad = loadInFreshProcesses(path);

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

    bench::report("load all trips, fresh process", freshLoad, cliRead, "sqlite3 read to /dev/null");
    bench::report("load all trips (warm)", load, cliRead, "sqlite3 read to /dev/null");
    bench::report("exit rebuild", rebuild, cliInsert, "sqlite3 insert, one txn");
    return 0;
}
