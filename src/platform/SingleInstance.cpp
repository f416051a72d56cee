#include "SingleInstance.h"

#include "DeviceRoot.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace tripvane {

namespace {

constexpr int SocketPathLimit = 100; // sockaddr_un holds 108 bytes

} // namespace

QString SingleInstance::socketPathFor(const DeviceRoot &device)
{
    // In the device folder, which only its owner can enter; a path too long for a socket
    // goes to the user's private runtime folder instead.
    const QString inDevice = QDir(device.path()).filePath(QStringLiteral("mileagelog.socket"));
    if (QFile::encodeName(inDevice).size() <= SocketPathLimit)
        return inDevice;
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(device.path()), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    return QDir(runtime).filePath(QStringLiteral("tripvane-") + QString::fromLatin1(hash));
}

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

SingleInstance::SingleInstance(QString socketPath, QObject *parent)
    : QObject(parent)
    , m_socketPath(std::move(socketPath))
{}

SingleInstance::~SingleInstance()
{
    release();
}

void SingleInstance::release()
{
    if (m_server && m_server->isListening())
        m_server->close();
}

bool SingleInstance::claim()
{
    // A socket file that does not answer may belong to a program that is just starting to
    // listen; only when it stays silent is it one left by a program that ended abruptly.
    for (int attempt = 0;; ++attempt) {
        if (sendRequest(m_socketPath, "raise\n"))
            return false;
        if (!QFile::exists(m_socketPath) || attempt == 4)
            break;
        QThread::msleep(50);
    }
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
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray request = socket->readLine().trimmed();
                if (request == "raise")
                    emit raiseRequested();
                else if (request == "close")
                    emit closeRequested();
            }
        });
    }
}

} // namespace tripvane
