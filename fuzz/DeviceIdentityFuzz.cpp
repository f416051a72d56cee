// libFuzzer target: device identity files. What is accepted carries a version, and the
// processor values from version 3 on; written out plainly, it reads back the same.
#include "DeviceIdentity.h"

#include <cstdint>
#include <cstdlib>

using namespace tripvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto identity =
        DeviceIdentity::parse(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!identity)
        return 0;
    QByteArray plain = "OsMajorVersion=" + QByteArray::number(identity->osMajorVersion) + '\n';
    if (identity->osMajorVersion >= 3) {
        plain += "ProcessorType=" + QByteArray::number(identity->processorType) +
                 "\r\nProcessorArchitecture=" + QByteArray::number(identity->processorArchitecture);
    }
    const auto again = DeviceIdentity::parse(plain);
    if (!again || again->osMajorVersion != identity->osMajorVersion ||
        (identity->osMajorVersion >= 3 &&
         (again->processorType != identity->processorType ||
          again->processorArchitecture != identity->processorArchitecture)))
        std::abort();
    return 0;
}
