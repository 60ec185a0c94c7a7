#include "app/SingleInstance.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QLocalSocket>
#include <cstdlib>

#include "common/FileLock.h"

namespace quillsheet {
namespace {

// Whether path is a folder this user owns that nobody else may enter.
bool PrivateFolder(const std::filesystem::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
         (info.st_mode & 077) == 0;
}

// The folder, made with mode 0700 when missing; none when it exists but is
// not private.
std::optional<std::filesystem::path> MakePrivateFolder(const std::filesystem::path& path) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
  if (!PrivateFolder(path)) return std::nullopt;
  return path;
}

// The display this session shows on, as a file name: "wayland-0", "x11-:1".
std::string DisplayKey() {
  std::string key;
  if (const char* wayland = std::getenv("WAYLAND_DISPLAY"); wayland && *wayland) {
    key = std::string("wayland-") + wayland;
  } else if (const char* x = std::getenv("DISPLAY"); x && *x) {
    key = std::string("x11-") + x;
  } else {
    key = "console";
  }
  for (char& c : key) {
    if (c == '/') c = '_';
  }
  return key;
}

// A socket file may be connected to only when it is this user's own.
bool OwnSocket(const std::filesystem::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_uid == ::getuid();
}

}  // namespace

SingleInstance::Place SingleInstance::SessionSocket() {
  std::optional<std::filesystem::path> folder;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    if (!PrivateFolder(runtime)) {
      return {std::nullopt, std::string(runtime) + " is not a runtime folder of this user's own"};
    }
    folder = MakePrivateFolder(std::filesystem::path(runtime) / "quillsheet");
  } else {
    const char* temporary = std::getenv("TMPDIR");
    const std::filesystem::path base = temporary && *temporary ? temporary : "/tmp";
    folder = MakePrivateFolder(base / ("quillsheet-" + std::to_string(::getuid())));
  }
  if (!folder) return {std::nullopt, "no private folder for the window's socket"};
  return {*folder / ("instance-" + DisplayKey()), {}};
}

SingleInstance::SingleInstance(std::filesystem::path socket, QObject* parent)
    : QObject(parent), socket_(std::move(socket)) {}

bool SingleInstance::HandOverOrListen(const QStringList& files) {
  const ExclusiveFileLock turn(socket_.string() + ".lock");
  if (HandOver(files)) return true;
  Listen();
  return false;
}

// The message: one path a line, UTF-8, then the connection closes.
bool SingleInstance::HandOver(const QStringList& files) const {
  if (!OwnSocket(socket_)) return false;
  QLocalSocket socket;
  socket.connectToServer(QString::fromStdString(socket_.string()));
  if (!socket.waitForConnected(500)) return false;
  socket.write(files.isEmpty() ? QByteArray("\n") : files.join('\n').toUtf8() + '\n');
  const bool sent = socket.waitForBytesWritten(1000);
  socket.disconnectFromServer();
  return sent;
}

// Called in turn with HandOver: a socket nobody answered on was left by a
// window that ended without removing it.
bool SingleInstance::Listen() {
  const QString name = QString::fromStdString(socket_.string());
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(name)) {
    if (!OwnSocket(socket_)) return false;
    QLocalServer::removeServer(name);
    if (!server_.listen(name)) return false;
  }
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, [this, socket] {
        QStringList files;
        for (const QByteArray& line : socket->readAll().split('\n')) {
          if (!line.isEmpty()) files << QString::fromUtf8(line);
        }
        socket->deleteLater();
        emit filesReceived(files);
      });
    }
  });
  return true;
}

}  // namespace quillsheet
