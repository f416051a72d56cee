#pragma once

#include "AppSettings.h"
#include "Databases.h"
#include "DeviceRoot.h"
#include "ObjectStore.h"
#include "Services.h"
#include "TripLog.h"

#include <QString>

#include <memory>
#include <optional>

namespace tripvane {

// How a program opens a device's store. Reading leaves it as it is and works beside a running
// program; the thorough check reads every page of the store first, not only SQLite's quick
// check. Writing opens the one connection the program then writes through, making the store as
// the first start makes it when the device has none yet.
enum class DeviceAccess { Read, ReadThorough, Write };

// Opens and checks the store for the access: the failure names the store and says why.
std::optional<StoreFailure> openDeviceStore(ObjectStore &store, const QString &storePath,
                                            DeviceAccess access);

// A device's trip log read as the program reads it at its start: the store opened and checked,
// the categories, the Mileage Book, the status and the trips read through the trip log, the
// settings through AppSettings.
class DeviceLog final
{
public:
    explicit DeviceLog(const QString &devicePath)
        : root(devicePath)
    {}

    DeviceRoot root;
    ObjectStore store;
    Databases databases{store};
    AppSettings settings;
    // A write that a crash cut short was undone before reading, as the program's start does.
    bool finishedInterruptedChange = false;
    TripLog &log() { return m_log; }
    const TripLog &log() const { return m_log; }

private:
    class IdleWaitCursor final : public WaitCursor
    {
    public:
        void show() override {}
        void restore() override {}
        bool isShown() const override { return false; }
    };
    SystemClock m_clock;
    IdleWaitCursor m_cursor;
    TripLog m_log{databases, m_cursor, m_clock};
};

// The device's log, its trips in the order the main list shows them; nothing, with the failure
// (naming the store) in problem, when the device or its store cannot serve.
std::unique_ptr<DeviceLog> readDeviceLog(const QString &devicePath, DeviceAccess access,
                                         QString &problem);
// A store file from elsewhere as the program would read it, every page and record, changing
// nothing (not even a journal beside it).
std::unique_ptr<DeviceLog> readStoreFile(const QString &storePath, QString &problem);

} // namespace tripvane
