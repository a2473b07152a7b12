#include "app/RunningInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>
#include <unistd.h>

namespace {

const QByteArray kShow = QByteArrayLiteral("show\n");

}  // namespace

// One name per account and folder: two pupils on one computer, or one pupil
// with two folders, never reach each other's window.
RunningInstance::RunningInstance(const QString& folder)
    : name_(QStringLiteral("orvanel-%1-%2")
                .arg(::getuid())
                .arg(QString::fromLatin1(
                    QCryptographicHash::hash(QDir::cleanPath(folder).toUtf8(), QCryptographicHash::Sha1).toHex().left(16)))) {}

bool RunningInstance::AskToShow() const {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(1000)) return false;
    socket.write(kShow);
    const bool sent = socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return sent;
}

void RunningInstance::Answer(QWidget* window) {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a program that was killed; the caller holds the
    // folder's lock, so no running program owns it.
    QLocalServer::removeServer(name_);
    if (!server_->listen(name_)) return;
    connect(server_, &QLocalServer::newConnection, this, [this, window] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            auto read = [this, socket, window] {
                if (socket->readAll().contains(kShow)) Show(window);
            };
            connect(socket, &QLocalSocket::readyRead, this, read);
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (socket->bytesAvailable() > 0) read();
        }
    });
}

void RunningInstance::Show(QWidget* window) {
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}
