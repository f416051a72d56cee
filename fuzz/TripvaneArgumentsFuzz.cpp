// libFuzzer target: tripvane's command line. The arguments are the input split at NUL bytes,
// run in a scratch folder that holds the default device with a few trips, a link to it, and
// stores crafted to harm (a trigger, an expression index, a cut file, a foreign schema). An
// argument may name a path inside the folder, never one that leads out of it. Whatever the
// arguments, the status is one of the four, a message comes exactly with a failure, the
// device's store stays readable, and no file changes or appears that the arguments did not
// name, but for the store and its kept copies after a restore, an import or a rate change.
// The folder is put back as it was after each run.
#include "Cli.h"
#include "Databases.h"
#include "DeviceRoot.h"
#include "ObjectStore.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>

#include <sqlite3.h>

using namespace tripvane;

namespace {

using Files = std::map<QString, QByteArray>;

Files filesUnder(const QString &path)
{
    Files files;
    for (QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        files[it.filePath()] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?");
    }
    return files;
}

void craft(const QString &from, const QString &to, const char *sql)
{
    QFile::copy(from, to);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(to).constData(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The scratch folder and what it held once made.
const Files &scratch(QString &path)
{
    static QTemporaryDir dir;
    static const Files made = [] {
        const DeviceRoot device(dir.filePath(QStringLiteral("device")));
        qputenv("TRIPVANE_DEVICE", QFile::encodeName(device.path()));
        ObjectStore store;
        Databases databases(store);
        CategoryList categories;
        RouteList book;
        if (!device.prepare() || store.open(device.storePath()) != ObjectStore::OpenStatus::Ok ||
            !databases.openAll(categories, book))
            std::abort();
        for (int day = 1; day <= 3; ++day) {
            MileageRecord trip;
            trip.setDate(makeDate(2005, 10, day));
            trip.setDistance(100 * day);
            trip.setCategory(QStringLiteral("Job"));
            std::int32_t key = 0;
            databases.addRecord(trip, makeDate(2005, 10, day), key);
        }
        QFile::link(device.path(), dir.filePath(QStringLiteral("link")));
        const QString good = dir.filePath(QStringLiteral("good.db"));
        craft(device.storePath(), good, "");
        craft(good, dir.filePath(QStringLiteral("trigger.db")),
              "CREATE TRIGGER t AFTER INSERT ON records BEGIN DELETE FROM records; END");
        craft(good, dir.filePath(QStringLiteral("index.db")),
              "CREATE INDEX z ON records(zeroblob(10000))");
        craft(good, dir.filePath(QStringLiteral("foreign.db")), "DROP TABLE registry_keys");
        QDir(dir.path()).mkdir(QStringLiteral("crafted"));
        craft(dir.filePath(QStringLiteral("trigger.db")),
              dir.filePath(QStringLiteral("crafted/objectstore.db")), "");
        craft(good, dir.filePath(QStringLiteral("cut.db")), "");
        QFile cut(dir.filePath(QStringLiteral("cut.db")));
        cut.resize(cut.size() - 100);
        return filesUnder(dir.path());
    }();
    path = dir.path();
    return made;
}

// What an argument may name: itself, and the value of "--output=NAME" or "-o=NAME".
QStringList namesIn(const QString &argument)
{
    QStringList names{argument};
    if (argument.startsWith(u'-') && argument.contains(u'='))
        names.append(argument.section(u'=', 1));
    return names;
}

// A path that stays inside the folder: relative, without "..".
bool staysInside(const QString &argument)
{
    return std::ranges::all_of(namesIn(argument), [](const QString &name) {
        return !name.startsWith(u'/') && !name.split(u'/').contains(QStringLiteral(".."));
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QString folder;
    const Files &made = scratch(folder);
    const QString storePath = DeviceRoot(folder + QStringLiteral("/device")).storePath();
    const QStringList split =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(QChar(0));
    QStringList arguments;
    for (const QString &argument : split) {
        if (!argument.contains(u'/') || staysInside(argument))
            arguments.append(argument);
    }
    QBuffer out;
    QBuffer err;
    QBuffer in;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    in.open(QIODevice::ReadOnly);
    // Files the arguments name land in the scratch folder.
    const QString current = QDir::currentPath();
    QDir::setCurrent(folder);
    const int status = runTripvane(arguments, {out, err, in});
    QDir::setCurrent(current);
    if (status < 0 || status > 3 || (status == 0) != err.data().isEmpty())
        std::abort();
    if (ObjectStore::inspect(storePath, false) != ObjectStore::OpenStatus::Ok)
        std::abort();
    // What may have changed: what an argument names (through the link too), and the device's
    // store and its kept copies when the command writes the device.
    const QString command = arguments.value(0);
    const bool writesDevice = command == u"restore" || command == u"import" || command == u"rates";
    const auto named = [&](const QString &path) {
        const QString relative = QDir(folder).relativeFilePath(path);
        for (const QString &argument : arguments) {
            for (const QString &name : namesIn(argument)) {
                const QString clean = QDir::cleanPath(name);
                if (!name.isEmpty() &&
                    (relative == clean || relative == clean + u'~' ||
                     relative.startsWith(clean + u'/') ||
                     QString(relative).replace(QStringLiteral("device/"),
                                               QStringLiteral("link/")) == clean))
                    return true;
            }
        }
        return writesDevice && path.startsWith(storePath);
    };
    for (const auto &[path, bytes] : filesUnder(folder)) {
        const auto before = made.find(path);
        if ((before == made.end() || before->second != bytes) && !named(path))
            std::abort();
    }
    // The folder as it was, for the next run.
    for (const auto &[path, bytes] : filesUnder(folder)) {
        if (!made.contains(path))
            QFile::remove(path);
    }
    for (const auto &[path, bytes] : made) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && file.readAll() == bytes)
            continue;
        file.close();
        QFile::remove(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
    }
    return 0;
}
