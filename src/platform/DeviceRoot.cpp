#include "DeviceRoot.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace tripvane {

namespace {

constexpr QFileDevice::Permissions PrivateFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

bool makePrivateFolder(const QString &path)
{
    QDir dir(path);
    if (!dir.exists() && !QDir().mkpath(path))
        return false;
    return QFile::setPermissions(path, PrivateFolder);
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
    for (const char *folder :
         {"", "/My Documents", "/My Documents/Business", "/My Documents/Personal", "/Windows"}) {
        if (!makePrivateFolder(m_path + QLatin1String(folder)))
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
