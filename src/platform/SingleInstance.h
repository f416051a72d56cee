#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace tripvane {

class DeviceRoot;

// One running program per device. The first start listens on a local socket that only this
// user can reach; a later start asks it to come forward and ends. Any program may ask the
// running one to close by writing "close\n" to the socket.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    static QString socketPathFor(const DeviceRoot &device);
    static bool sendRequest(const QString &socketPath, const QByteArray &request);

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
};

} // namespace tripvane
