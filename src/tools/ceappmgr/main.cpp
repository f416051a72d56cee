// ceappmgr: the application manager. Installs what an installation description (.ini) lists
// onto the device: TRIPVANE_DEVICE, else the default device.
//     ceappmgr <path of the .ini>
#include "DeviceRoot.h"
#include "IniInstall.h"
#include "ProgramFolders.h"
#include "SmallFile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

using namespace tripvane;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: ceappmgr <installation description>.ini\n");
        return 2;
    }
    // A handed-over argument may still carry the quotes of a Windows command line.
    QString iniPath = arguments[1];
    if (iniPath.size() >= 2 && iniPath.startsWith(u'"') && iniPath.endsWith(u'"'))
        iniPath = iniPath.mid(1, iniPath.size() - 2);
    QString problem;
    const std::optional<QByteArray> text =
        readSmallFile(iniPath, InstallDescription::MaxBytes, &problem);
    if (!text) {
        std::fprintf(stderr, "ceappmgr: cannot read %s: %s\n", qPrintable(iniPath),
                     qPrintable(problem));
        return 1;
    }
    const auto description = InstallDescription::parse(QString::fromUtf8(*text), &problem);
    if (!description) {
        std::fprintf(stderr, "ceappmgr: %s: %s\n", qPrintable(iniPath), qPrintable(problem));
        return 1;
    }
    const DeviceRoot device(DeviceRoot::defaultPath());
    problem = install(*description,
                      {QFileInfo(iniPath).absolutePath(), QCoreApplication::applicationDirPath(),
                       QFileInfo(fellowProgram(QCoreApplication::applicationDirPath(),
                                               QStringLiteral("mileagelog")))
                           .absolutePath()},
                      device);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "ceappmgr: %s\n", qPrintable(problem));
        return 1;
    }
    std::printf("%s %u.%u is installed on %s\n", qPrintable(description->name),
                description->majorVersion, description->minorVersion, qPrintable(device.path()));
    return 0;
}
