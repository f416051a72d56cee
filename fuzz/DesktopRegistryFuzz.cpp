// libFuzzer target: the desktop registry's text. The input is a key, a value and a registry
// text, separated by 0x01 bytes: a value that is set reads back as set (an ASCII key in any
// case), whatever the text held before.
#include "DesktopRegistry.h"

#include <QList>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace tripvane::setup;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\x01');
    if (parts.size() < 3)
        return 0;
    const QString key = QString::fromUtf8(parts[0]);
    const QString value = QString::fromUtf8(parts[1]);
    (void)DesktopRegistry::valueIn(parts[2], key); // any text is read without harm
    const auto changed = DesktopRegistry::withValue(parts[2], key, value);
    if (!changed)
        return 0;
    const bool ascii = std::ranges::all_of(key, [](QChar c) { return c.unicode() < 0x80; });
    if (DesktopRegistry::valueIn(*changed, key) != value ||
        (ascii && DesktopRegistry::valueIn(*changed, key.toUpper()) != value))
        std::abort();
    return 0;
}
