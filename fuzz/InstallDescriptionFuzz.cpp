// libFuzzer target: installation descriptions. Every file a description that is accepted
// installs lands below the device's root, and every file name names one file.
#include "DeviceRoot.h"
#include "IniInstall.h"

#include <QDir>

#include <cstdint>
#include <cstdlib>

using namespace tripvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto description = InstallDescription::parse(text, nullptr);
    if (!description)
        return 0;
    const QString root = QStringLiteral("/device");
    for (const InstallDescription::File &file : description->files) {
        const auto components = DeviceRoot::pathComponents(file.devicePath);
        if (!components || components->isEmpty())
            std::abort(); // accepted, yet not a path inside the device
        const QString target = QDir::cleanPath(root + u'/' + components->join(u'/'));
        if (!target.startsWith(root + u'/') || target.count(u'/') != components->size() + 1)
            std::abort(); // a component left its folder
        if (file.name.contains(u'/') || file.name.contains(u'\\') || file.name.isEmpty())
            std::abort();
    }
    return 0;
}
