#include "DeviceRoot.h"
#include "DataTable.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace tripvane;

namespace {

mode_t modeOf(const QString &path)
{
    struct stat status
    {
    };
    ::stat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 07777;
}

// The device stays the user's alone: group and others lose their permissions, the user's own
// are never widened, and a device the user cannot write is refused as it is.
TEST(DeviceRoot, keepsFoldersPrivateWithoutWideningThem)
{
    struct Case
    {
        mode_t before;
        bool prepared;
        mode_t after;
    };
    for (const Case c : {Case{0755, true, 0700}, Case{0711, true, 0700}, Case{0700, true, 0700},
                         Case{0500, false, 0500}, Case{0555, false, 0555}}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("device"));
        ASSERT_TRUE(QDir().mkpath(path));
        ::chmod(QFile::encodeName(path).constData(), c.before);
        EXPECT_EQ(DeviceRoot(path).prepare(), c.prepared) << std::oct << c.before;
        EXPECT_EQ(modeOf(path), c.after) << std::oct << c.before;
        EXPECT_EQ(QDir(path).exists(QStringLiteral("Windows")), c.prepared) << "nothing written";
        ::chmod(QFile::encodeName(path).constData(), 0700);
    }

    QTemporaryDir dir;
    const DeviceRoot device(dir.filePath(QStringLiteral("device")));
    ASSERT_TRUE(device.prepare());
    EXPECT_EQ(modeOf(device.path()), 0700u);
    const QString business = device.localPath(QStringLiteral("\\My Documents\\Business"));
    ::chmod(QFile::encodeName(business).constData(), 0550);
    EXPECT_TRUE(device.prepare());
    EXPECT_EQ(modeOf(business), 0500u) << "a folder made read-only stays so";
}

TEST(DeviceRoot, newDeviceHasPrivateFoldersAndMapsDevicePaths)
{
    QTemporaryDir dir;
    const DeviceRoot root(dir.filePath(QStringLiteral("device")));
    ASSERT_TRUE(root.prepare());
    for (const char *folder :
         {"", "/My Documents/Business", "/My Documents/Personal", "/Windows"}) {
        const QFileInfo info(root.path() + QLatin1String(folder));
        EXPECT_TRUE(info.isDir()) << folder;
        EXPECT_EQ(info.permissions() & (QFile::ReadOther | QFile::ReadGroup | QFile::ExeOther),
                  QFile::Permissions());
    }
    EXPECT_EQ(root.localPath(QStringLiteral("\\My Documents\\Business\\Trips.csv")),
              root.path() + QStringLiteral("/My Documents/Business/Trips.csv"));
    EXPECT_TRUE(root.prepare()) << "a second start finds everything in place";
}

// Every target of an install lies inside the device, whatever the path or the links say.
TEST(DeviceRoot, filesFromOutsideAreWrittenOnlyInsideTheDevice)
{
    QTemporaryDir dir;
    const DeviceRoot device(dir.filePath(QStringLiteral("device")));
    ASSERT_TRUE(device.prepare());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("outside")));
    QFile(dir.filePath(QStringLiteral("device/Windows/keep.txt"))).open(QIODevice::WriteOnly);
    QFile::link(dir.filePath(QStringLiteral("outside")), device.path() + "/Outward");
    QFile::link(device.path() + "/Windows", device.path() + "/Inward");
    QFile::link(dir.filePath(QStringLiteral("outside/x")), device.path() + "/Windows/linked");

    int cases = 0;
    for (const QStringList &fields : dataTable("install-targets.txt")) {
        const QString &expected = fields[0];
        const QString path = fields.value(1);
        QString problem;
        const auto target = device.resolveForWriting(path, &problem);
        if (expected == u"refused")
            EXPECT_FALSE(target) << "wrote to " << target.value_or(QString()).toStdString();
        else
            EXPECT_EQ(target.value_or(problem),
                      QFileInfo(device.path()).canonicalFilePath() + u'/' + expected.mid(3))
                << path.toStdString();
        ++cases;
    }
    EXPECT_GT(cases, 20);
}

TEST(DeviceRoot, environmentChoosesTheDevice)
{
    qputenv("TRIPVANE_DEVICE", "/tmp/somewhere");
    EXPECT_EQ(DeviceRoot::defaultPath(), QStringLiteral("/tmp/somewhere"));
    qunsetenv("TRIPVANE_DEVICE");
    qputenv("XDG_DATA_HOME", "/tmp/data");
    EXPECT_EQ(DeviceRoot::defaultPath(), QStringLiteral("/tmp/data/Tripvane/device"));
    qunsetenv("XDG_DATA_HOME");
}

} // namespace
