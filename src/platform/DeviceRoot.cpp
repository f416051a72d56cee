#include "DeviceRoot.h"

#include "DeviceLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace tripvane {

namespace {

// A folder of the device is the user's alone: group and others lose their permissions; the
// user's own are never widened. A folder the user cannot write to fails, and stays as it is.
bool makePrivateFolder(const QString &path, bool mustBeWritable, QStringList *made)
{
    const QByteArray local = QFile::encodeName(path);
    struct stat status;
    if (::stat(local.constData(), &status) != 0) {
        if (::mkdir(local.constData(), S_IRWXU) != 0 || ::stat(local.constData(), &status) != 0)
            return false;
        if (made)
            made->append(path);
    }
    if (!S_ISDIR(status.st_mode))
        return false;
    const mode_t mode = status.st_mode & 07777;
    if (mustBeWritable && (mode & S_IRWXU) != S_IRWXU)
        return false;
    const mode_t privateMode = mode & ~mode_t(S_IRWXG | S_IRWXO);
    return privateMode == mode || ::chmod(local.constData(), privateMode) == 0;
}

constexpr const char *SubFolders[] = {"/My Documents", "/My Documents/Business",
                                      "/My Documents/Personal", "/Windows"};

bool statOf(const QString &path, struct stat &status)
{
    return ::stat(QFile::encodeName(path).constData(), &status) == 0;
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

bool DeviceRoot::prepare(QStringList *made) const
{
    // The folders above the device are made as mkdir -p makes them, and counted as made too.
    QStringList above;
    for (QString folder = QFileInfo(m_path).path();
         !QFileInfo::exists(folder) && folder != QFileInfo(folder).path();
         folder = QFileInfo(folder).path())
        above.prepend(folder);
    if (!QDir().mkpath(QFileInfo(m_path).path()))
        return false;
    if (made)
        made->append(above);
    if (!makePrivateFolder(m_path, true, made))
        return false;
    // A folder the user made read-only (My Documents\Business, say) is theirs to keep so.
    for (const char *folder : SubFolders) {
        if (!makePrivateFolder(m_path + QLatin1String(folder), false, made))
            return false;
    }
    return true;
}

void DeviceRoot::unmake(const QStringList &made)
{
    for (auto folder = made.crbegin(); folder != made.crend(); ++folder)
        ::rmdir(QFile::encodeName(*folder).constData());
}

std::optional<QString> DeviceRoot::writingProblem() const
{
    struct stat status;
    if (statOf(m_path, status)) {
        if (!S_ISDIR(status.st_mode))
            return QStringLiteral("is not a folder");
        if ((status.st_mode & S_IRWXU) != S_IRWXU ||
            ::access(QFile::encodeName(m_path).constData(), R_OK | W_OK | X_OK) != 0)
            return QStringLiteral("is not yours to write");
        for (const char *folder : SubFolders) {
            if (statOf(m_path + QLatin1String(folder), status) && !S_ISDIR(status.st_mode))
                return QString::fromLatin1(folder + 1) + QStringLiteral(" is not a folder");
        }
        return std::nullopt;
    }
    // The first folder on the way that exists must let the rest be made in it.
    for (QString folder = QFileInfo(m_path).path();; folder = QFileInfo(folder).path()) {
        if (statOf(folder, status)) {
            if (S_ISDIR(status.st_mode) &&
                ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0)
                return std::nullopt;
            return QStringLiteral("cannot be made in %1").arg(folder);
        }
        if (folder == QFileInfo(folder).path())
            return QStringLiteral("cannot be made");
    }
}

QString DeviceRoot::realPath() const
{
    return resolved(m_path).value_or(QDir::cleanPath(m_path));
}

bool DeviceRoot::isOwnName(QStringView name)
{
    static const QStringList names{
        QStringLiteral("objectstore.db"),           QStringLiteral("objectstore.db-journal"),
        QStringLiteral("objectstore.db-wal"),       QStringLiteral("objectstore.db-shm"),
        QStringLiteral("objectstore.db.restoring"), QStringLiteral("mileagelog.socket"),
        QStringLiteral("mileagelog.socket.lock"),   QStringLiteral("device-identity")};
    // The copies a restore keeps, and their journals, are the way back: never overwritten.
    return names.contains(name) || name.startsWith(u"objectstore.db.before-restore");
}

QString DeviceRoot::absolutePath(const QString &path)
{
    if (path.isEmpty() || path.startsWith(u'/'))
        return path;
    return QDir::currentPath() + u'/' + path;
}

QString DeviceRoot::followLinks(const QString &path)
{
    QString file = absolutePath(path);
    for (int hops = 0; hops < 40 && QFileInfo(file).isSymLink(); ++hops)
        file = QFileInfo(file).symLinkTarget();
    return file;
}

bool DeviceRoot::ownsFile(const QString &path) const
{
    // Where the path leads, then its folder resolved.
    const QString file = followLinks(path);
    const QString name = QFileInfo(file).fileName();
    const std::optional<QString> folder = resolved(QFileInfo(file).path());
    const QString device = realPath();
    if (folder && *folder == device && isOwnName(name))
        return true;
    if (folder && QDir(*folder).filePath(name) == DeviceLock::socketPathFor(*this))
        return true;
    // Another name of the same file (a hard link).
    struct stat target;
    if (!statOf(file, target))
        return false;
    const QDir root(device);
    for (const QString &own : root.entryList(QDir::AllEntries | QDir::Hidden | QDir::System)) {
        struct stat status;
        if (isOwnName(own) && statOf(root.filePath(own), status) &&
            status.st_dev == target.st_dev && status.st_ino == target.st_ino)
            return true;
    }
    return false;
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
    const std::optional<QString> root = resolved(m_path);
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
            const std::optional<QString> target = resolved(folder);
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
    if (folder == *root && isOwnName(name))
        return fail("is the device's own file");
    return file;
}

std::optional<QString> DeviceRoot::resolved(const QString &path)
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
