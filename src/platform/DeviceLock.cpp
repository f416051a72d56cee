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

DeviceLock::DeviceLock(const DeviceRoot &device)
    : DeviceLock(device.path(), On::Folder)
{}

QString DeviceLock::socketPathFor(const DeviceRoot &device)
{
    const QString real = device.realPath();
    // In the device folder, which only its owner can enter.
    const QString inDevice = QDir(real).filePath(QStringLiteral("mileagelog.socket"));
    if (QFile::encodeName(inDevice).size() <= SocketPathLimit)
        return inDevice;
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(real), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    return QDir(runtime).filePath(QStringLiteral("tripvane-") + QString::fromLatin1(hash));
}

DeviceLock::Taken DeviceLock::take()
{
    release();
    m_fd = m_on == On::Folder
               ? ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
               : ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
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
