#include "DeviceLog.h"

#include "Sorting.h"
#include "StringTable.h"

#include <QFileInfo>

namespace tripvane {

std::optional<StoreFailure> openDeviceStore(ObjectStore &store, const QString &storePath,
                                            DeviceAccess access)
{
    const auto failure = [&storePath](const QString &why) {
        return StoreFailure{StoreFailure::Kind::Open, storePath, why};
    };
    if (access == DeviceAccess::Write) {
        switch (store.open(storePath)) {
        case ObjectStore::OpenStatus::Ok:
            return std::nullopt;
        case ObjectStore::OpenStatus::NotAStore:
            return failure(QStringLiteral("another program's file"));
        case ObjectStore::OpenStatus::TooNew:
            return failure(QStringLiteral("made by a newer program"));
        case ObjectStore::OpenStatus::Damaged:
            return failure(QStringLiteral("damaged"));
        case ObjectStore::OpenStatus::CannotCreate:
            return failure(QStringLiteral("cannot be written"));
        }
    }
    if (!QFileInfo::exists(storePath))
        return failure(QStringLiteral("no trip log on this device yet"));
    QString problem;
    if (ObjectStore::inspect(storePath, access == DeviceAccess::ReadThorough, &problem) !=
        ObjectStore::OpenStatus::Ok)
        return failure(problem);
    if (!store.openForReading(storePath))
        return failure(store.lastError());
    return std::nullopt;
}

namespace {

// The start's sequence: store, categories and book, status, trips, settings.
bool readInto(DeviceLog &device, const QString &storePath, DeviceAccess access, QString &problem)
{
    const auto fail = [&](const QString &why) {
        problem = QStringLiteral("%1: %2").arg(storePath, why);
        return false;
    };
    if (const std::optional<StoreFailure> unopened =
            openDeviceStore(device.store, storePath, access))
        return fail(unopened->detail);
    bool failed = false;
    QObject::connect(&device.log(), &TripLog::storeFailed, [&failed] { failed = true; });
    TripLog &log = device.log();
    const bool read =
        log.openDatabases() && log.loadStatus() && (log.loadTrips() || log.trips().isEmpty());
    if (!read || failed || !device.databases.recordsLoadedCompletely())
        return fail(loadString(IDS_STATUS_PROBLEM));
    device.settings.load(device.store, loadString(IDS_MAKER), loadString(IDS_TITLE));
    return true;
}

} // namespace

std::unique_ptr<DeviceLog> readDeviceLog(const QString &devicePath, DeviceAccess access,
                                         QString &problem)
{
    auto device = std::make_unique<DeviceLog>(devicePath);
    // The root's path, made absolute by its text: Qt would take a ":name" for a resource.
    if (!QFileInfo(device->root.path()).isDir()) {
        problem = QStringLiteral("%1: no such device").arg(device->root.path());
        return nullptr;
    }
    const QString storePath = device->root.storePath();
    if (access != DeviceAccess::Write)
        device->finishedInterruptedChange = ObjectStore::finishInterruptedChange(storePath);
    if (!readInto(*device, storePath, access, problem))
        return nullptr;
    const AppSettings &settings = device->settings;
    if (showsTripsByDate(settings.Sort, settings.SortOrder) &&
        !device->log().sortTripsByDate(settings.SortOrder)) {
        problem = storePath + QStringLiteral(": ") + loadString(IDS_STATUS_PROBLEM);
        return nullptr;
    }
    return device;
}

std::unique_ptr<DeviceLog> readStoreFile(const QString &storePath, QString &problem)
{
    auto device = std::make_unique<DeviceLog>(QFileInfo(storePath).path());
    if (!readInto(*device, storePath, DeviceAccess::ReadThorough, problem))
        return nullptr;
    return device;
}

} // namespace tripvane
