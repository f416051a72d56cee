#pragma once

#include <QByteArray>

#include <optional>

namespace tripvane {

class DeviceRoot;

// What the desktop installer asks a connected device: its OS major version and its processor,
// as the device's version and system-information records give them. A device keeps them in
// "device-identity" at its root, one "Name=number" line each:
//     OsMajorVersion=4
//     ProcessorType=2577
//     ProcessorArchitecture=5
struct DeviceIdentity
{
    int osMajorVersion = 4;
    int processorType = 2577;      // StrongARM
    int processorArchitecture = 5; // ARM

    // Nothing when the file is missing, not a plain file, or damaged: a line it cannot read, a
    // value missing. Below version 3 the processor values are not asked for.
    static std::optional<DeviceIdentity> read(const DeviceRoot &device);
    static std::optional<DeviceIdentity> parse(const QByteArray &text);
    // A handheld of today's kind (Pocket PC 2003 on StrongARM) when the device has none yet.
    static bool writeIfAbsent(const DeviceRoot &device);
};

} // namespace tripvane
