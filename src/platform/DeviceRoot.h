#pragma once

#include <QString>

namespace tripvane {

// The handheld is a folder: $TRIPVANE_DEVICE, else $XDG_DATA_HOME/Tripvane/device.
class DeviceRoot final
{
public:
    static QString defaultPath();

    explicit DeviceRoot(QString path)
        : m_path(std::move(path))
    {}

    // Creates the folders of a new handheld where they are missing and keeps them private to
    // the user; false when the device folder cannot be made or is not the user's to write.
    bool prepare() const;

    QString path() const { return m_path; }
    // "\My Documents\Business\Trips.csv" -> <root>/My Documents/Business/Trips.csv
    QString localPath(const QString &devicePath) const;
    QString storePath() const;

private:
    QString m_path;
};

} // namespace tripvane
