#include "platform/SingleInstance.h"

#include <QLocalSocket>

#include <unistd.h>

namespace {

const QByteArray kRaiseRequest = "raise\n";
constexpr int kConnectWaitMs = 1000;
constexpr int kWriteWaitMs = 2000;

}  // namespace

QString SingleInstanceName() {
    return QStringLiteral("fotakle-%1").arg(static_cast<qulonglong>(getuid()));
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
}

bool SingleInstance::AskRunningCopyToRaise() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kConnectWaitMs)) {
        return false;
    }
    // A copy that accepted the connection is running even when the write
    // does not complete: it is not for this start to become a second one,
    // so the outcome of the write is not looked at.
    socket.write(kRaiseRequest);
    socket.waitForBytesWritten(kWriteWaitMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(kWriteWaitMs);
    }
    return true;
}

bool SingleInstance::Listen() {
    if (server_.listen(name_)) {
        return true;
    }
    // Nobody answered on the name (the caller asked first), so the socket
    // file is a leftover of a copy that did not end cleanly.
    if (server_.serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(name_);
        return server_.listen(name_);
    }
    return false;
}

void SingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        const auto readRequests = [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == kRaiseRequest) {
                    emit RaiseRequested();
                }
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequests);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readRequests();
    }
}
