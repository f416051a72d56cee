#pragma once

#include <QString>

namespace tripvane {

class DeviceRoot;

struct HelpLocation
{
    QString file;   // local path of the help file
    QString anchor; // empty for the top of the file
};

// Reads the viewer's command line: "file:tripvaneppc.htm#Navigating" names a file in the
// device's Windows folder and an anchor; a device path such as "\Windows\tripvane.htc" names a
// file directly.
HelpLocation resolveHelp(const QString &commandLine, const DeviceRoot &device);

} // namespace tripvane
