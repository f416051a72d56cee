#pragma once

#include <QString>
#include <QStringList>

#include <optional>
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
    struct File
    {
        QString name;
        QString devicePath;
        int line = 0; // of the .ini, for the messages
    };

    QString name;
    QString registryKey;
    unsigned majorVersion = 0;
    unsigned minorVersion = 0;
    std::vector<File> files;

    // Larger descriptions are refused rather than read in part.
    static constexpr qint64 MaxBytes = 1 << 20;

    // Nothing, with the reason, when the text is not a description.
    static std::optional<InstallDescription> parse(const QString &text, QString *problem);
};

// Copies the files into the device and writes the version into its registry, all or nothing:
// every file is found and every target checked to lie inside the device, each file is copied
// beside its target, and only then are they all put in place together with the version. On
// any failure every old file and the old version stay. Empty when it worked, else what went
// wrong.
QString install(const InstallDescription &description, const QStringList &sourceFolders,
                const DeviceRoot &device);

} // namespace tripvane
