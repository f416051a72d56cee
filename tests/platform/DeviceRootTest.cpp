#include "DeviceRoot.h"

#include <QDir>
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

} // namespace
