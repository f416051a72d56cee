#include "SetupStrings.h"

namespace tripvane::setup {

QString setupString(int id)
{
    switch (id) {
    case SetupTitle:
    case SetupClassName:
        return QStringLiteral("Setup Tripvane PocketPC");
    case ManagerKey:
        return QStringLiteral(
            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE");
    case NoActiveSync:
        return QStringLiteral("Can not find ActiveSync. Please reinstall ActiveSync and than run "
                              "this installation again.");
    case NotPocketPc:
        return QStringLiteral("Error: Tripvane is PocketPC application, and cannot be installed on "
                              "others Windows CE systems.");
    case NoVersionInfo:
        return QStringLiteral("Installation procedure failed to obtained OS version information on "
                              "device.");
    case UnknownProcessor:
        return QStringLiteral("Device has unknown processor. Tripvane is meant for mainstream "
                              "PocketPC, PocketPC 2002 or PocketPC 2003.");
    case CannotStart:
        return QStringLiteral("Installation of Tripvane for PocketPC cannot start on your Desktop "
                              "PC. Please, contact VELMORA Mobile Computing. Thank you.");
    case NotConnected:
        return QStringLiteral("Installation cannot start, because there isn't connection between "
                              "Pocket PC and this computer established. Please, make sure that "
                              "your device is connected with this computer, and then re-start "
                              "Setup.");
    default:
        return {};
    }
}

} // namespace tripvane::setup
