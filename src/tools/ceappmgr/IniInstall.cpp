#include "IniInstall.h"

#include "DeviceRoot.h"
#include "ObjectStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tripvane {

std::optional<InstallDescription> InstallDescription::parse(const QString &text, QString *problem)
{
    InstallDescription description;
    QString section;
    bool majorRead = false;
    bool minorRead = false;
    const auto fail = [problem](const QString &why) {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines[0].startsWith(QChar(0xFEFF)))
        lines[0].remove(0, 1);
    for (qsizetype number = 0; number < lines.size(); ++number) {
        const QString line = lines[number].trimmed();
        const int lineNumber = int(number + 1);
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            return fail(QStringLiteral("line %1 is not \"name=value\"").arg(lineNumber));
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        bool isNumber = true;
        if (section == u"Application" && key == u"Name") {
            description.name = value;
        } else if (section == u"Application" && key == u"RegistryKey") {
            description.registryKey = value;
        } else if (section == u"Application" && key == u"MajorVersion") {
            description.majorVersion = value.toUInt(&isNumber);
            majorRead = isNumber;
        } else if (section == u"Application" && key == u"MinorVersion") {
            description.minorVersion = value.toUInt(&isNumber);
            minorRead = isNumber;
        } else if (section == u"Files") {
            // A file name names a file, never a way out of its folder.
            const auto name = DeviceRoot::pathComponents(key);
            if (!name || name->size() != 1 || key.startsWith(u'\\') || key.startsWith(u'/'))
                return fail(QStringLiteral("line %1 names a path, not a file").arg(lineNumber));
            if (!DeviceRoot::pathComponents(value))
                return fail(QStringLiteral("line %1 leaves the device").arg(lineNumber));
            description.files.push_back({key, value, lineNumber});
        }
        if (!isNumber)
            return fail(QStringLiteral("line %1 holds no number").arg(lineNumber));
    }
    if (description.name.isEmpty() || description.registryKey.isEmpty() || !majorRead ||
        !minorRead || description.files.empty())
        return fail(QStringLiteral("the [Application] name, registry key, version or the [Files] "
                                   "are missing"));
    return description;
}

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The new files wait beside their targets until all are complete; then they replace the old
// ones together, and the old ones come back if anything fails before the end.
class Staging final
{
public:
    Staging() = default;
    Staging(const Staging &) = delete;
    Staging &operator=(const Staging &) = delete;
    ~Staging() { discard(); }

    bool add(const QString &source, const QString &target)
    {
        Entry entry{target, {}, {}, false, false};
        if (!makeFolders(QFileInfo(target).path()))
            return false;
        QByteArray temp = QFile::encodeName(QFileInfo(target).path()) + "/.ceappmgr-XXXXXX";
        const int out = ::mkostemp(temp.data(), O_CLOEXEC);
        if (out < 0)
            return failed(target);
        entry.temp = QFile::decodeName(temp);
        m_entries.push_back(entry);
        const int in = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
        struct stat status;
        const bool copied = in >= 0 && ::fstat(in, &status) == 0 && copy(in, out) &&
                            ::fchmod(out, status.st_mode & 0777) == 0 && ::fsync(out) == 0;
        const int error = errno;
        if (in >= 0)
            ::close(in);
        if (::close(out) != 0 || !copied) {
            errno = copied ? errno : error;
            return failed(target);
        }
        return true;
    }

    // Every new file in place; on a failure the ones already placed go back to the old.
    bool putInPlace()
    {
        for (Entry &entry : m_entries) {
            const QByteArray target = QFile::encodeName(entry.target);
            struct stat status;
            entry.hadOld = ::lstat(target.constData(), &status) == 0;
            if (entry.hadOld) {
                // A second name keeps the old file while the new one takes its place.
                entry.backup = entry.temp + QStringLiteral(".old");
                if (::link(target.constData(), QFile::encodeName(entry.backup).constData()) != 0) {
                    entry.backup.clear();
                    failed(entry.target);
                    putBack();
                    return false;
                }
            }
            if (::rename(QFile::encodeName(entry.temp).constData(), target.constData()) != 0) {
                failed(entry.target);
                putBack();
                return false;
            }
            entry.placed = true;
        }
        return true;
    }

    void putBack()
    {
        for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry) {
            if (!entry->placed)
                continue;
            const QByteArray target = QFile::encodeName(entry->target);
            if (entry->hadOld)
                ::rename(QFile::encodeName(entry->backup).constData(), target.constData());
            else
                ::unlink(target.constData());
            entry->placed = false;
            entry->backup.clear();
        }
    }

    // The install stands: the old files go, and nothing is undone any more.
    void keep()
    {
        for (const Entry &entry : m_entries) {
            if (!entry.backup.isEmpty())
                ::unlink(QFile::encodeName(entry.backup).constData());
        }
        m_entries.clear();
        m_madeFolders.clear();
    }

    const QString &problem() const { return m_problem; }

private:
    struct Entry
    {
        QString target;
        QString temp;
        QString backup;
        bool hadOld;
        bool placed;
    };

    bool failed(const QString &target)
    {
        m_problem = QStringLiteral("%1 could not be written: %2").arg(target, systemError());
        return false;
    }

    bool makeFolders(const QString &folder)
    {
        QStringList missing;
        for (QString path = folder; !QFileInfo::exists(path); path = QFileInfo(path).path())
            missing.prepend(path);
        for (const QString &path : std::as_const(missing)) {
            if (::mkdir(QFile::encodeName(path).constData(), S_IRWXU) != 0)
                return failed(path);
            m_madeFolders.append(path);
        }
        return true;
    }

    static bool copy(int in, int out)
    {
        char block[65536];
        for (;;) {
            const ssize_t got = ::read(in, block, sizeof block);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return got == 0;
            for (ssize_t written = 0; written < got;) {
                const ssize_t put = ::write(out, block + written, size_t(got - written));
                if (put < 0 && errno != EINTR)
                    return false;
                written += std::max<ssize_t>(put, 0);
            }
        }
    }

    void discard()
    {
        putBack();
        for (const Entry &entry : m_entries) {
            ::unlink(QFile::encodeName(entry.temp).constData());
            if (!entry.backup.isEmpty())
                ::unlink(QFile::encodeName(entry.backup).constData());
        }
        for (auto folder = m_madeFolders.crbegin(); folder != m_madeFolders.crend(); ++folder)
            ::rmdir(QFile::encodeName(*folder).constData());
    }

    std::vector<Entry> m_entries;
    QStringList m_madeFolders;
    QString m_problem;
};

} // namespace

QString install(const InstallDescription &description, const QStringList &sourceFolders,
                const DeviceRoot &device)
{
    std::vector<QString> sources;
    for (const InstallDescription::File &file : description.files) {
        const auto found = std::ranges::find_if(sourceFolders, [&file](const QString &folder) {
            return QFileInfo(QDir(folder).filePath(file.name)).isFile();
        });
        if (found == sourceFolders.end())
            return QStringLiteral("line %1: %2 is not there to install")
                .arg(file.line)
                .arg(file.name);
        sources.push_back(QDir(*found).filePath(file.name));
    }
    if (!device.prepare())
        return QStringLiteral("the device cannot be prepared");
    std::vector<QString> targets;
    for (const InstallDescription::File &file : description.files) {
        QString why;
        const std::optional<QString> target = device.resolveForWriting(file.devicePath, &why);
        if (!target)
            return QStringLiteral("line %1: %2 %3").arg(file.line).arg(file.devicePath, why);
        const auto earlier = std::ranges::find(targets, *target);
        if (earlier != targets.end()) {
            return QStringLiteral("line %1 installs over line %2")
                .arg(file.line)
                .arg(description.files[std::size_t(earlier - targets.begin())].line);
        }
        targets.push_back(*target);
    }
    ObjectStore registry;
    if (registry.open(device.storePath()) != ObjectStore::OpenStatus::Ok)
        return QStringLiteral("the device registry cannot be opened");

    Staging staging;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (!staging.add(sources[i], targets[i]))
            return QStringLiteral("line %1: %2")
                .arg(description.files[i].line)
                .arg(staging.problem());
    }
    // The version goes in with the files: a failed write of either leaves both as they were.
    bool placed = false;
    const bool done = registry.inTransaction([&] {
        if (!registry.createKey(description.registryKey) ||
            !registry.setValue(description.registryKey, QStringLiteral("MajorVersion"),
                               {REG_DWORD, description.majorVersion, {}}) ||
            !registry.setValue(description.registryKey, QStringLiteral("MinorVersion"),
                               {REG_DWORD, description.minorVersion, {}}))
            return false;
        placed = staging.putInPlace();
        return placed;
    });
    if (!done) {
        staging.putBack();
        return placed || staging.problem().isEmpty()
                   ? QStringLiteral("the device registry could not be written")
                   : staging.problem();
    }
    staging.keep();
    return {};
}

} // namespace tripvane
