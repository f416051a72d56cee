#include "OutputFile.h"

#include "DeviceRoot.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tripvane {

OutputTarget resolveOutput(const QString &path, const DeviceRoot &device)
{
    OutputTarget target;
    if (device.ownsFile(path)) {
        target.problem = QStringLiteral("is a file of the device %1").arg(device.path());
        return target;
    }
    target.path = DeviceRoot::followLinks(path);
    struct stat status;
    if (::lstat(QFile::encodeName(target.path).constData(), &status) != 0) {
        target.kind = OutputTarget::Kind::File;
    } else if (S_ISREG(status.st_mode)) {
        target.kind = OutputTarget::Kind::File;
        target.replaces = true;
        target.owner = status.st_uid;
        target.group = status.st_gid;
        target.mode = status.st_mode & 07777;
    } else if (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode)) {
        target.kind = OutputTarget::Kind::Stream;
    } else {
        target.problem = S_ISDIR(status.st_mode) ? QStringLiteral("is a folder")
                                                 : QStringLiteral("is not a plain file");
    }
    return target;
}

bool openStream(const OutputTarget &target, QFile &file, QString *problem)
{
    const int fd = ::open(QFile::encodeName(target.path).constData(),
                          O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *problem = errno == ENXIO ? QStringLiteral("no program reads from it")
                                  : QStringLiteral("cannot write");
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *problem = QStringLiteral("cannot write");
        return false;
    }
    return true;
}

bool keepReplaced(const OutputTarget &target)
{
    if (!target.replaces)
        return true;
    // A second name for the file (a copy where the file system has none), made under a name of
    // this process and then put in the place of the last one kept at once.
    const QString kept = target.path + u'~';
    const QString passing = kept + QStringLiteral(".tripvane-%1").arg(::getpid());
    if (::link(QFile::encodeName(target.path).constData(),
               QFile::encodeName(passing).constData()) != 0 &&
        !QFile::copy(target.path, passing))
        return false;
    if (::rename(QFile::encodeName(passing).constData(), QFile::encodeName(kept).constData()) == 0)
        return true;
    ::unlink(QFile::encodeName(passing).constData());
    return false;
}

bool keepOwnerAndMode(const OutputTarget &target)
{
    if (!target.replaces)
        return true;
    const QByteArray local = QFile::encodeName(target.path);
    struct stat status;
    if (::stat(local.constData(), &status) != 0)
        return false;
    // Only root may give a file away; a user's own file keeps its owner anyway.
    if ((status.st_uid != target.owner || status.st_gid != target.group) &&
        ::chown(local.constData(), target.owner, target.group) != 0 && ::geteuid() == 0)
        return false;
    return ::chmod(local.constData(), target.mode) == 0;
}

} // namespace tripvane
