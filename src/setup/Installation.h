#pragma once

#include "DeviceIdentity.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <variant>

namespace tripvane::setup {

class DesktopRegistry;

// The .ini ending for a device: the file name, or the message that refuses the device.
std::variant<QString, int> chooseIni(const DeviceIdentity &identity);

// The remote link to the device, as the installer sees it.
class DeviceLink
{
public:
    virtual ~DeviceLink() = default;
    // Returns once a device is connected (true) or the link failed (false); may never return.
    virtual bool connect() = 0;
    // Nothing when the device cannot tell (the version query failed).
    virtual std::optional<DeviceIdentity> identity() = 0;
};

// A device is connected when TRIPVANE_DEVICE names a device root with an identity file; without
// one the connection never comes.
class FolderDeviceLink final : public DeviceLink
{
public:
    bool connect() override;
    std::optional<DeviceIdentity> identity() override;
};

// Where the connection worker leaves its outcome for the waiting installer.
class ConnectionSignal
{
public:
    void set(bool connected);
    // The outcome, if it came within the time.
    std::optional<bool> waitFor(std::chrono::milliseconds time);

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<bool> m_outcome;
};

enum class Connection { Connected, TimedOut, Failed };

// The installer's pauses and its wait for the connection; tests run them without sleeping.
class SetupTiming
{
public:
    virtual ~SetupTiming() = default;
    virtual void pause(int milliseconds) = 0;
    virtual Connection waitForConnection(ConnectionSignal &signal, int milliseconds) = 0;
};

// What the installation step uses: the link, the registry, the time, the windows and messages.
struct InstallPlatform
{
    std::shared_ptr<DeviceLink> link;
    const DesktopRegistry &registry;
    SetupTiming &timing;
    // As the system gives it, byte for byte; empty when the folder is gone.
    QByteArray currentDirectory;
    std::function<void(int stringId)> showError; // no owner, caption 1, error icon
    std::function<void()> showConnecting;
    std::function<void()> closeConnecting;
    std::function<void()> connected; // from the worker's thread
};

// What the application manager is started with.
struct Handover
{
    QString managerPath;
    QByteArray iniPath; // the .ini in the current folder, as one argument, in the system's bytes
};

// The design's argument: a quote, the folder, the ending and a quote, 259 bytes at most.
inline constexpr int MaxArgumentBytes = 259;

// "Install Now...": the application manager, a connected device that fits, and its .ini; or one
// message and nothing.
std::optional<Handover> runInstallationStep(InstallPlatform &platform);

} // namespace tripvane::setup
