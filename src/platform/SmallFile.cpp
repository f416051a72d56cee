#include "SmallFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tripvane {

std::optional<QByteArray> readSmallFile(const QString &path, qint64 limit, QString *problem)
{
    const auto fail = [problem](const QString &why) -> std::optional<QByteArray> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    // Not blocking on the open: a pipe with no writer would hold the caller for good.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return fail(QStringLiteral("not a plain file"));
    }
    QByteArray bytes;
    char block[16384];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            return fail(QString::fromLocal8Bit(std::strerror(errno)));
        }
        if (got == 0)
            break;
        bytes.append(block, got);
        if (bytes.size() > limit) {
            ::close(fd);
            return fail(QStringLiteral("larger than %1 bytes").arg(limit));
        }
    }
    ::close(fd);
    return bytes;
}

QList<QByteArray> textLines(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

} // namespace tripvane
