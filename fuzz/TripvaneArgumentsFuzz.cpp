// libFuzzer target: tripvane's command line. The arguments are the input split at NUL bytes,
// run in a scratch folder that holds the default device with a few trips; an argument with a
// '/' is left out, so that nothing outside the folder can be named. Whatever the arguments,
// the status is one of the four, a message comes exactly with a failure, and the device's
// store changes only through restore and import.
#include "Cli.h"
#include "Databases.h"
#include "DeviceRoot.h"
#include "ObjectStore.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace tripvane;

namespace {

QByteArray storeHash(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

const QString &scratch()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        const DeviceRoot device(dir.filePath(QStringLiteral("device")));
        qputenv("TRIPVANE_DEVICE", QFile::encodeName(device.path()));
        if (!device.prepare())
            return false;
        ObjectStore store;
        Databases databases(store);
        CategoryList categories;
        RouteList book;
        if (store.open(device.storePath()) != ObjectStore::OpenStatus::Ok ||
            !databases.openAll(categories, book))
            return false;
        for (int day = 1; day <= 3; ++day) {
            MileageRecord trip;
            trip.setDate(makeDate(2005, 10, day));
            trip.setDistance(100 * day);
            trip.setCategory(QStringLiteral("Job"));
            std::int32_t key = 0;
            databases.addRecord(trip, makeDate(2005, 10, day), key);
        }
        return true;
    }();
    if (!made)
        std::abort();
    static const QString path = dir.path();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString storePath = DeviceRoot(scratch() + QStringLiteral("/device")).storePath();
    const QStringList split =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(QChar(0));
    QStringList arguments;
    for (const QString &argument : split) {
        if (!argument.contains(u'/'))
            arguments.append(argument);
    }
    const QByteArray before = storeHash(storePath);
    QBuffer out;
    QBuffer err;
    QBuffer in;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    in.open(QIODevice::ReadOnly);
    // Files the arguments name land in the scratch folder.
    const QString current = QDir::currentPath();
    QDir::setCurrent(scratch());
    const int status = runTripvane(arguments, {out, err, in});
    QDir::setCurrent(current);
    if (status < 0 || status > 3 || (status == 0) != err.data().isEmpty())
        std::abort();
    const QString command = arguments.value(0);
    if (command != QLatin1String("restore") && command != QLatin1String("import") &&
        storeHash(storePath) != before)
        std::abort();
    return 0;
}
