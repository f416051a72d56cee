#include "HelpLocation.h"
#include "DeviceRoot.h"

#include <gtest/gtest.h>

using namespace tripvane;

TEST(HelpLocation, helpCommandLinesNameFilesOfTheDevice)
{
    const DeviceRoot device(QStringLiteral("/dev-root"));
    HelpLocation at = resolveHelp(QStringLiteral("file:tripvaneppc.htm#OdometerStatus"), device);
    EXPECT_EQ(at.file, QStringLiteral("/dev-root/Windows/tripvaneppc.htm"));
    EXPECT_EQ(at.anchor, QStringLiteral("OdometerStatus"));

    at = resolveHelp(QStringLiteral("\\Windows\\tripvane.htc"), device);
    EXPECT_EQ(at.file, QStringLiteral("/dev-root/Windows/tripvane.htc"));
    EXPECT_TRUE(at.anchor.isEmpty());

    at = resolveHelp(QStringLiteral("file:\\My Documents\\notes.htm#Top"), device);
    EXPECT_EQ(at.file, QStringLiteral("/dev-root/My Documents/notes.htm"));
    EXPECT_EQ(at.anchor, QStringLiteral("Top"));
}
