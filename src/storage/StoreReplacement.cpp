#include "StoreReplacement.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tripvane {

namespace {

constexpr const char *Journals[] = {"-journal", "-wal", "-shm"};

bool exists(const QString &path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

QString firstFreeCopyName(const QString &storePath)
{
    const QString base = storePath + QStringLiteral(".before-restore");
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? base : base + QStringLiteral("-%1").arg(n);
        bool taken = exists(name);
        for (const char *journal : Journals)
            taken = taken || exists(name + QLatin1String(journal));
        if (!taken)
            return name;
    }
}

bool syncFolder(const QString &path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).path()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool move(const QString &from, const QString &to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace

std::optional<QString> replaceStoreKeepingAside(const QString &storePath, const QString &newFile)
{
    if (!exists(storePath)) {
        if (!move(newFile, storePath))
            return std::nullopt;
        syncFolder(storePath);
        return QString();
    }
    const QString kept = firstFreeCopyName(storePath);
    // A second name for the old store first, so that the new one replaces it in one step.
    const bool linked =
        ::link(QFile::encodeName(storePath).constData(), QFile::encodeName(kept).constData()) == 0;
    if (!linked && !move(storePath, kept))
        return std::nullopt;
    // A journal belongs to the old file: played into the new one it would damage it.
    for (const char *journal : Journals) {
        const QString from = storePath + QLatin1String(journal);
        if (exists(from) && !move(from, kept + QLatin1String(journal))) {
            if (!linked)
                move(kept, storePath);
            return std::nullopt;
        }
    }
    if (!move(newFile, storePath)) {
        if (linked)
            QFile::remove(kept);
        else
            move(kept, storePath);
        return std::nullopt;
    }
    syncFolder(storePath);
    return kept;
}

} // namespace tripvane
