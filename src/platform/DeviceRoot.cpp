#include "DeviceRoot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

namespace tripvane {

namespace {

// A folder of the device is the user's alone: group and others lose their permissions; the
// user's own are never widened. A folder the user cannot write to fails, and stays as it is.
bool makePrivateFolder(const QString &path, bool mustBeWritable)
{
    const QByteArray local = QFile::encodeName(path);
    struct stat status;
    if (::stat(local.constData(), &status) != 0) {
        if (::mkdir(local.constData(), S_IRWXU) != 0 || ::stat(local.constData(), &status) != 0)
            return false;
    }
    if (!S_ISDIR(status.st_mode))
        return false;
    const mode_t mode = status.st_mode & 07777;
    if (mustBeWritable && (mode & S_IRWXU) != S_IRWXU)
        return false;
    const mode_t privateMode = mode & ~mode_t(S_IRWXG | S_IRWXO);
    return privateMode == mode || ::chmod(local.constData(), privateMode) == 0;
}

} // namespace

QString DeviceRoot::defaultPath()
{
    const QString fromEnvironment = qEnvironmentVariable("TRIPVANE_DEVICE");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/Tripvane/device");
}

bool DeviceRoot::prepare() const
{
    if (!QDir().mkpath(QFileInfo(m_path).path()) || !makePrivateFolder(m_path, true))
        return false;
    // A folder the user made read-only (My Documents\Business, say) is theirs to keep so.
    for (const char *folder :
         {"/My Documents", "/My Documents/Business", "/My Documents/Personal", "/Windows"}) {
        if (!makePrivateFolder(m_path + QLatin1String(folder), false))
            return false;
    }
    return true;
}

QString DeviceRoot::localPath(const QString &devicePath) const
{
    QString relative = devicePath;
    relative.replace(u'\\', u'/');
    while (relative.startsWith(u'/'))
        relative.remove(0, 1);
    return QDir(m_path).filePath(relative);
}

QString DeviceRoot::storePath() const
{
    return QDir(m_path).filePath(QStringLiteral("objectstore.db"));
}

} // namespace tripvane
