#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace tripvane {

class DeviceRoot;

// An installation description, the .ini that setup chooses for a device:
//     [Application]
//     Name=Tripvane
//     RegistryKey=Software\Velmora\Tripvane
//     MajorVersion=1
//     MinorVersion=0
//     [Files]
//     mileagelog=\Program Files\Tripvane\mileagelog
// Each file is taken from the folder of the .ini, or else from the folder ceappmgr runs from;
// lines starting with ';' are comments.
struct InstallDescription
{
    QString name;
    QString registryKey;
    unsigned majorVersion = 0;
    unsigned minorVersion = 0;
    std::vector<std::pair<QString, QString>> files; // file name, device path

    // Nothing, with the reason, when the text is not a description.
    static std::optional<InstallDescription> parse(const QString &text, QString *problem);
};

// Copies the files into the device and writes the version into its registry. Every file is
// found before any is copied, and each one replaces the old only when complete. Empty when it
// worked, else what went wrong.
QString install(const InstallDescription &description, const QStringList &sourceFolders,
                const DeviceRoot &device);

} // namespace tripvane
