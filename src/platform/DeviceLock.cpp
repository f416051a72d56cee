#include "DeviceLock.h"

#include "DeviceRoot.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tripvane {

namespace {

constexpr int SocketPathLimit = 100; // sockaddr_un holds 108 bytes

} // namespace

QString DeviceLock::socketPathFor(const DeviceRoot &device)
{
    // In the device folder, which only its owner can enter.
    const QString inDevice = QDir(device.path()).filePath(QStringLiteral("mileagelog.socket"));
    if (QFile::encodeName(inDevice).size() <= SocketPathLimit)
        return inDevice;
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(device.path()), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    return QDir(runtime).filePath(QStringLiteral("tripvane-") + QString::fromLatin1(hash));
}

DeviceLock::Taken DeviceLock::take()
{
    release();
    const QByteArray path = QFile::encodeName(m_socketPath + QStringLiteral(".lock"));
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return Taken::Unavailable;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return Taken::Held;
    release();
    return Taken::HeldElsewhere;
}

void DeviceLock::release()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace tripvane
