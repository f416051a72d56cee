#include "HelpLocation.h"

#include "DeviceRoot.h"

namespace tripvane {

HelpLocation resolveHelp(const QString &commandLine, const DeviceRoot &device)
{
    QString target = commandLine.trimmed();
    HelpLocation location;
    const qsizetype hash = target.indexOf(u'#');
    if (hash >= 0) {
        location.anchor = target.mid(hash + 1);
        target.truncate(hash);
    }
    if (target.startsWith(QLatin1String("file:"))) {
        target.remove(0, 5);
        // A bare name lives in the Windows folder of the device, as the viewer expects it.
        if (!target.contains(u'\\') && !target.contains(u'/'))
            target = QStringLiteral("\\Windows\\") + target;
    }
    location.file = device.localPath(target);
    return location;
}

} // namespace tripvane
