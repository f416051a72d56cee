#pragma once

#include "DeviceLock.h"

#include <QObject>
#include <QString>

class QLocalServer;

namespace tripvane {

class DeviceRoot;

// One running program per device. The first start holds a lock beside a local socket that only
// this user can reach and listens on it; a later start asks it to come forward and ends. Any
// program may ask the running one to close by writing "close\n" to the socket. The lock ends
// with the process, however it ends, so a socket file without it is a stale one.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    // Longer lines and further callers are dropped.
    static constexpr int MaxRequestLine = 64;
    static constexpr int MaxConnections = 8;

    static QString socketPathFor(const DeviceRoot &device)
    {
        return DeviceLock::socketPathFor(device);
    }
    static bool sendRequest(const QString &socketPath, const QByteArray &request);

    // The instance of a device holds the device's lock; any other one a lock file beside its
    // socket.
    SingleInstance(const DeviceRoot &device, QObject *parent = nullptr);
    explicit SingleInstance(QString socketPath, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the instance; false when another one runs (it was asked
    // to come forward).
    bool claim();
    // Stops answering, as when the program has ended.
    void release();

signals:
    void raiseRequested();
    void closeRequested();

private:
    void readRequest();

    QString m_socketPath;
    QLocalServer *m_server = nullptr;
    DeviceLock m_lock;
};

} // namespace tripvane
