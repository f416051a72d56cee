#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tripvane {

// The handheld is a folder: $TRIPVANE_DEVICE, else $XDG_DATA_HOME/Tripvane/device.
class DeviceRoot final
{
public:
    static QString defaultPath();

    explicit DeviceRoot(const QString &path)
        : m_path(absolutePath(path))
    {}

    // A path from outside made absolute against the working folder by its text alone: Qt's
    // file classes would take a name starting with ':' for one of the program's resources.
    // An empty path stays empty.
    static QString absolutePath(const QString &path);

    // Creates the folders of a new handheld where they are missing and keeps them private to
    // the user; false when the device folder cannot be made or is not the user's to write.
    // made, when given, gets the folders it created, for unmake.
    bool prepare(QStringList *made = nullptr) const;
    // Removes the folders prepare made, those that are still empty.
    static void unmake(const QStringList &made);
    // Why prepare would fail, found without making or changing anything.
    std::optional<QString> writingProblem() const;

    QString path() const { return m_path; }
    // The folder's path with every link resolved; the path as written while it does not exist.
    QString realPath() const;
    // Whether a file name in the device folder is one of the program's own (the store and its
    // journals and copies, the socket, the identity): nothing from outside may write it.
    static bool isOwnName(QStringView name);
    // The absolute path, the name followed while it is a link (the folders on the way as
    // written): where a file written at path would land.
    static QString followLinks(const QString &path);
    // Whether path, however written (links, "..", another name of the same file), is one of the
    // device's own files, or would be once made.
    bool ownsFile(const QString &path) const;
    // "\My Documents\Business\Trips.csv" -> <root>/My Documents/Business/Trips.csv
    QString localPath(const QString &devicePath) const;
    QString storePath() const;

    // The folders and file of a device path from outside ("\Program Files\Tripvane\x"; either
    // slash separates): nothing when a component is empty, "." or "..", holds ':' or NUL, or
    // is too long for a file name, so that the path can only name something below the root.
    static std::optional<QStringList> pathComponents(const QString &devicePath);

    // Where a file from outside may be written: the path below the real root, every existing
    // folder on the way resolved through its links and found inside the device. The file itself
    // is neither a link nor a folder, and none of the program's own files (the store and its
    // journals, the socket, the identity). Nothing, with the reason, otherwise. The root must
    // exist; missing folders are the caller's to make.
    std::optional<QString> resolveForWriting(const QString &devicePath, QString *problem) const;

private:
    static std::optional<QString> resolved(const QString &path);

    QString m_path;
};

} // namespace tripvane
