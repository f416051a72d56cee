#include "Installation.h"

#include "DesktopRegistry.h"
#include "DeviceRoot.h"
#include "SetupStrings.h"

#include <QFile>

#include <algorithm>
#include <thread>

namespace tripvane::setup {

std::variant<QString, int> chooseIni(const DeviceIdentity &identity)
{
    const int type = identity.processorType;
    const auto is = [type](std::initializer_list<int> types) {
        return std::ranges::find(types, type) != types.end();
    };
    if (identity.osMajorVersion < 3)
        return int(NotPocketPc);
    if (identity.osMajorVersion >= 4) {
        if (type == 2577) // StrongARM only
            return QStringLiteral("PPC2003_ARM.ini");
        return int(UnknownProcessor);
    }
    if (type == 4000 || identity.processorArchitecture == 1)
        return QStringLiteral("MIPS.ini");
    if (is({10003, 10004, 10005}))
        return QStringLiteral("SH.ini");
    if (is({1824, 2080, 2336, 2577, 70001}))
        return QStringLiteral("ARM.ini");
    return int(UnknownProcessor);
}

bool FolderDeviceLink::connect()
{
    const QString root = qEnvironmentVariable("TRIPVANE_DEVICE");
    if (!root.isEmpty() &&
        QFile::exists(DeviceRoot(root).localPath(QStringLiteral("\\device-identity"))))
        return true;
    // No device: the connection never comes, as with no handheld in the cradle.
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

std::optional<DeviceIdentity> FolderDeviceLink::identity()
{
    return DeviceIdentity::read(DeviceRoot(qEnvironmentVariable("TRIPVANE_DEVICE")));
}

void ConnectionSignal::set(bool connected)
{
    {
        std::lock_guard lock(m_mutex);
        m_outcome = connected;
    }
    m_changed.notify_all();
}

std::optional<bool> ConnectionSignal::waitFor(std::chrono::milliseconds time)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, time, [this] { return m_outcome.has_value(); });
    return m_outcome;
}

std::optional<Handover> runInstallationStep(InstallPlatform &platform)
{
    const auto refuse = [&](int stringId) -> std::optional<Handover> {
        platform.showError(stringId);
        return std::nullopt;
    };
    const std::optional<QString> manager = platform.registry.defaultValue(setupString(ManagerKey));
    if (!manager || manager->isEmpty())
        return refuse(NoActiveSync);
    // The longest ending keeps the argument within its bounds whatever the device turns out to
    // be: a longer folder is refused instead of cut. A folder deleted under the installer has
    // no .ini to hand over.
    const QByteArray longest = '"' + platform.currentDirectory + "\\PPC2003_ARM.ini\"";
    if (platform.currentDirectory.isEmpty() || longest.size() > MaxArgumentBytes)
        return refuse(CannotStart);

    // The worker may stay blocked in the link until the program ends: it shares what it uses.
    auto signal = std::make_shared<ConnectionSignal>();
    try {
        std::thread([link = platform.link, signal, connected = platform.connected] {
            const bool up = link->connect();
            signal->set(up);
            if (up && connected)
                connected();
        }).detach();
    } catch (const std::system_error &) {
        return refuse(CannotStart);
    }
    platform.timing.pause(200);
    platform.showConnecting();
    platform.timing.pause(200);
    const Connection connection = platform.timing.waitForConnection(*signal, 2000);
    if (connection != Connection::Connected) {
        platform.closeConnecting();
        return refuse(connection == Connection::TimedOut ? NotConnected : CannotStart);
    }
    const std::optional<DeviceIdentity> identity = platform.link->identity();
    if (!identity) {
        platform.closeConnecting();
        return refuse(NoVersionInfo);
    }
    const std::variant<QString, int> ini = chooseIni(*identity);
    if (const int *message = std::get_if<int>(&ini)) {
        platform.closeConnecting();
        return refuse(*message);
    }
    return Handover{*manager, platform.currentDirectory + '/' + std::get<QString>(ini).toLatin1()};
}

} // namespace tripvane::setup
