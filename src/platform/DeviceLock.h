#pragma once

#include <QString>

namespace tripvane {

class DeviceRoot;

// The lock that the running program holds on its device: whoever holds it may change the
// device's store. It is taken on the device folder itself, so that every way of writing its
// path (a link, a trailing slash, a long path) names the same lock, and no file of it can be
// replaced. It ends with the process, however it ends.
class DeviceLock final
{
public:
    // Where the program listens for a second start: in the device folder, or in the user's
    // runtime folder when that path is too long for a socket; named after the folder's real
    // path either way.
    static QString socketPathFor(const DeviceRoot &device);

    // On a folder, or on a lock file of its own (made when missing) for anything else.
    enum class On { Folder, File };
    DeviceLock(QString path, On on)
        : m_path(std::move(path))
        , m_on(on)
    {}
    explicit DeviceLock(const DeviceRoot &device);
    ~DeviceLock() { release(); }
    DeviceLock(const DeviceLock &) = delete;
    DeviceLock &operator=(const DeviceLock &) = delete;

    enum class Taken { Held, HeldElsewhere, Unavailable };
    // Without waiting. Unavailable when the folder or the lock file cannot be opened at all.
    Taken take();
    void release();

private:
    QString m_path;
    On m_on;
    int m_fd = -1;
};

} // namespace tripvane
