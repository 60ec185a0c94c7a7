#include "app/SingleInstance.h"

#include <unistd.h>

#include <QLocalSocket>

namespace quillsheet {

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

QString SingleInstance::DefaultName() {
  return QStringLiteral("org.quillsheet.Quillsheet-%1").arg(::getuid());
}

// The message: one path a line, UTF-8, then the connection closes.
bool SingleInstance::HandOver(const QStringList& files) const {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(500)) return false;
  socket.write(files.join('\n').toUtf8() + '\n');
  const bool sent = socket.waitForBytesWritten(1000);
  socket.disconnectFromServer();
  return sent;
}

bool SingleInstance::Listen() {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(name_)) {
    // A socket left by an instance that crashed: nobody answered HandOver.
    QLocalServer::removeServer(name_);
    if (!server_.listen(name_)) return false;
  }
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, [this, socket] {
        QStringList files;
        for (const QByteArray& line : socket->readAll().split('\n')) {
          if (!line.isEmpty()) files << QString::fromUtf8(line);
        }
        socket->deleteLater();
        if (!files.isEmpty()) emit filesReceived(files);
      });
    }
  });
  return true;
}

}  // namespace quillsheet
