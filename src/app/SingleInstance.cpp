#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvara {

namespace {

// The request a later start sends; anything else on the socket is ignored.
constexpr char ActivateRequest[] = "activate\n";
constexpr int ConnectWaitMs = 1000;

QString UserName() {
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_name) {
        return QString::fromLocal8Bit(entry->pw_name);
    }
    return QString::number(::getuid());
}

// A folder only this user can enter. Without a runtime folder the socket goes
// into a private folder below the temporary one: in the shared folder itself
// another user could take the name first and make every start of ours look
// like a second one.
QString RuntimeFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QString::fromLocal8Bit(runtime)).exists()) {
        return QString::fromLocal8Bit(runtime);
    }
    const QString folder = QDir::tempPath() + "/kalvara-" + QString::number(::getuid());
    const QByteArray path = QFile::encodeName(folder);
    ::mkdir(path.constData(), 0700);
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::getuid() || (status.st_mode & 077) != 0) {
        return QDir::tempPath() + "/kalvara-unsafe-" + QString::number(::getuid()) + "/none";
    }
    return folder;
}

} // namespace

SingleInstance::SingleInstance(const QString& base_name, const QString& program_folder) {
    const QByteArray folder_hash =
        QCryptographicHash::hash(program_folder.toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(12);
    socket_path_ = RuntimeFolder() + "/" + base_name + "-" + UserName() + "-" +
                   QString::fromLatin1(folder_hash);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::ActivateOtherInstance() {
    QLocalSocket socket;
    socket.connectToServer(socket_path_);
    if (!socket.waitForConnected(ConnectWaitMs)) {
        return false;
    }
    socket.write(ActivateRequest);
    socket.waitForBytesWritten(ConnectWaitMs);
    // Waiting for the other side to hang up keeps the request from being cut
    // off when this process ends right after.
    socket.waitForDisconnected(ConnectWaitMs);
    return true;
}

bool SingleInstance::Claim() {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socket_path_)) {
        // Nobody answered on it (ActivateOtherInstance came first), so the
        // socket file is a leftover of a program that did not end cleanly.
        QLocalServer::removeServer(socket_path_);
        if (!server_->listen(socket_path_)) {
            server_.reset();
            return false;
        }
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
    return true;
}

void SingleInstance::SetActivationHandler(std::function<void()> handler) {
    activation_handler_ = std::move(handler);
}

void SingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QPointer<SingleInstance> self(this);
        connect(socket, &QLocalSocket::readyRead, this, [self, socket] {
            if (!socket->canReadLine()) {
                // A peer that never ends its line is dropped once it sent
                // more than a request can hold.
                if (socket->bytesAvailable() > 64) {
                    socket->disconnectFromServer();
                }
                return;
            }
            const QByteArray line = socket->readLine(64);
            socket->disconnectFromServer();
            if (self && line == ActivateRequest && self->activation_handler_) {
                self->activation_handler_();
            }
        });
    }
}

} // namespace kalvara
