#pragma once

#include <QString>

namespace tripvane {

class DeviceRoot;

// The lock that the running program holds on its device, beside its single-instance socket:
// whoever holds it may change the device's store. It ends with the process, however it ends.
class DeviceLock final
{
public:
    // Where the program listens for a second start: in the device folder, or in the user's
    // runtime folder when that path is too long for a socket. The lock file is beside it.
    static QString socketPathFor(const DeviceRoot &device);

    explicit DeviceLock(QString socketPath)
        : m_socketPath(std::move(socketPath))
    {}
    ~DeviceLock() { release(); }
    DeviceLock(const DeviceLock &) = delete;
    DeviceLock &operator=(const DeviceLock &) = delete;

    enum class Taken { Held, HeldElsewhere, Unavailable };
    // Without waiting. Unavailable when the lock file cannot be made at all.
    Taken take();
    void release();

private:
    QString m_socketPath;
    int m_fd = -1;
};

} // namespace tripvane
