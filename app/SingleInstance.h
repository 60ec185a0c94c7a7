// One running window per desktop session: a later launch in the same
// session hands the files it was given to the running window and exits. The
// window listens on a local socket in a folder only this user can enter:
// "quillsheet" under $XDG_RUNTIME_DIR, or a folder of the user's own with
// mode 0700 in the temporary folder when there is no runtime folder; the
// socket is named after the display (Wayland's socket or X's display), so
// windows on other displays and other logins never meet. A folder or socket
// another user owns, or one others may enter, is never used. Launches take
// turns under a lock file beside the socket, so two at the same moment give
// one window, and a socket is removed only when nobody answers on it. The
// files arrive on the main thread as filesReceived. Main thread only.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <string>

namespace quillsheet {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // The socket of this session, or the reason there is none that may be
  // used (the window then runs on its own).
  struct Place {
    std::optional<std::filesystem::path> socket;
    std::string problem;
  };
  static Place SessionSocket();

  explicit SingleInstance(std::filesystem::path socket, QObject* parent = nullptr);

  // Hands the files (absolute paths; none only raises the window) to the
  // window running in this session, or else becomes that window. True when
  // a running window took them: this process should then exit.
  bool HandOverOrListen(const QStringList& files);

 signals:
  void filesReceived(const QStringList& files);

 private:
  bool HandOver(const QStringList& files) const;
  bool Listen();

  std::filesystem::path socket_;
  QLocalServer server_;
};

}  // namespace quillsheet
