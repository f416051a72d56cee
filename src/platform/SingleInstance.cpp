#include "SingleInstance.h"

#include "DeviceRoot.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace tripvane {

namespace {

// A running instance may still be starting up when a second start asks it to come forward.
constexpr int AnswerAttempts = 100;
constexpr int AnswerPauseMs = 50;

} // namespace

bool SingleInstance::sendRequest(const QString &socketPath, const QByteArray &request)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(request);
    socket.flush();
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}

SingleInstance::SingleInstance(const DeviceRoot &device, QObject *parent)
    : QObject(parent)
    , m_socketPath(DeviceLock::socketPathFor(device))
    , m_lock(device)
{}

SingleInstance::SingleInstance(QString socketPath, QObject *parent)
    : QObject(parent)
    , m_socketPath(socketPath)
    , m_lock(socketPath + QStringLiteral(".lock"), DeviceLock::On::File)
{}

SingleInstance::~SingleInstance()
{
    release();
}

void SingleInstance::release()
{
    if (m_server && m_server->isListening())
        m_server->close();
    // A caller already taken in may still have a line on its way: after the exit a "raise"
    // would show the closed window again and keep the program alive without a way to close.
    if (m_server) {
        for (QLocalSocket *socket : m_server->findChildren<QLocalSocket *>()) {
            socket->disconnect(this);
            socket->abort();
            socket->deleteLater();
        }
    }
    m_lock.release();
}

bool SingleInstance::claim()
{
    const DeviceLock::Taken taken = m_lock.take();
    if (taken == DeviceLock::Taken::HeldElsewhere) {
        // Another instance runs; it answers once it listens. Never become a second one.
        for (int attempt = 0; attempt < AnswerAttempts; ++attempt) {
            if (sendRequest(m_socketPath, "raise\n"))
                return false;
            QThread::msleep(AnswerPauseMs);
        }
        qWarning("another mileagelog runs on this device but does not answer");
        return false;
    }
    // This process holds the device (or cannot lock it at all): a socket file is stale unless
    // it answers, as one from a run without the lock would.
    if (taken == DeviceLock::Taken::Unavailable && sendRequest(m_socketPath, "raise\n"))
        return false;
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_socketPath)) {
        // Without the socket the program still runs; it only cannot be found by a second start.
        qWarning("single-instance socket %s: %s", qPrintable(m_socketPath),
                 qPrintable(m_server->errorString()));
        return true;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::readRequest);
    return true;
}

void SingleInstance::readRequest()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        // A few callers at a time, each with short lines: nothing a caller sends can make the
        // program hold more than a few bytes for it.
        if (m_server->findChildren<QLocalSocket *>().size() > MaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setReadBufferSize(MaxRequestLine);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray request = socket->readLine(MaxRequestLine + 1).trimmed();
                if (request == "raise")
                    emit raiseRequested();
                else if (request == "close")
                    emit closeRequested();
            }
            if (socket->bytesAvailable() >= MaxRequestLine) {
                socket->abort(); // a line longer than any request
                socket->deleteLater();
            }
        });
    }
}

} // namespace tripvane
