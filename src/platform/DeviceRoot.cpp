#include "DeviceRoot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <climits>
#include <cstdlib>

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

std::optional<QStringList> DeviceRoot::pathComponents(const QString &devicePath)
{
    QString path = devicePath;
    path.replace(u'/', u'\\');
    if (path.startsWith(u'\\'))
        path.remove(0, 1);
    const QStringList components = path.split(u'\\');
    for (const QString &component : components) {
        if (component.isEmpty() || component == u"." || component == u".." ||
            component.contains(u':') || component.contains(QChar(0)) ||
            QFile::encodeName(component).size() > NAME_MAX)
            return std::nullopt;
    }
    return components;
}

std::optional<QString> DeviceRoot::resolveForWriting(const QString &devicePath,
                                                     QString *problem) const
{
    const auto fail = [problem](const char *why) -> std::optional<QString> {
        if (problem)
            *problem = QString::fromLatin1(why);
        return std::nullopt;
    };
    const std::optional<QStringList> components = pathComponents(devicePath);
    if (!components)
        return fail("is not a path inside the device");
    const std::optional<QString> root = realPath(m_path);
    if (!root)
        return fail("has no device to go to");
    const auto inside = [&root](const QString &path) {
        return path == *root || path.startsWith(*root + u'/');
    };
    QString folder = *root;
    bool missing = false;
    for (qsizetype i = 0; i + 1 < components->size(); ++i) {
        folder += u'/' + components->at(i);
        struct stat status;
        if (missing || ::lstat(QFile::encodeName(folder).constData(), &status) != 0) {
            missing = true; // made by the caller, below a folder that is inside
            continue;
        }
        if (S_ISLNK(status.st_mode)) {
            const std::optional<QString> target = realPath(folder);
            if (!target || !inside(*target) || !QFileInfo(*target).isDir())
                return fail("leads out of the device through a link");
            folder = *target;
        } else if (!S_ISDIR(status.st_mode)) {
            return fail("goes through a file as if it were a folder");
        }
    }
    const QString name = components->last();
    const QString file = folder + u'/' + name;
    struct stat status;
    if (::lstat(QFile::encodeName(file).constData(), &status) == 0) {
        if (S_ISLNK(status.st_mode))
            return fail("is a link");
        if (!S_ISREG(status.st_mode))
            return fail("is not a plain file");
    }
    if (folder == *root) {
        for (const char *own : {"objectstore.db", "objectstore.db-journal", "objectstore.db-wal",
                                "objectstore.db-shm", "mileagelog.socket", "device-identity"}) {
            if (name == QLatin1String(own))
                return fail("is the device's own file");
        }
    }
    return file;
}

std::optional<QString> DeviceRoot::realPath(const QString &path)
{
    char resolved[PATH_MAX];
    if (!::realpath(QFile::encodeName(path).constData(), resolved))
        return std::nullopt;
    return QFile::decodeName(resolved);
}

QString DeviceRoot::storePath() const
{
    return QDir(m_path).filePath(QStringLiteral("objectstore.db"));
}

} // namespace tripvane
