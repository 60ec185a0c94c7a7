// One running window per user: a second launch hands the files it was given
// to the first and exits. The first listens on a local socket named after
// the user; the files arrive on the main thread as filesReceived.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>

namespace quillsheet {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // The socket's name; the default is per user.
  explicit SingleInstance(QString name = DefaultName(), QObject* parent = nullptr);
  static QString DefaultName();

  // Gives the files (absolute paths) to a running instance. True when one
  // took them: this process should then exit. Waits at most a second.
  bool HandOver(const QStringList& files) const;

  // Becomes the running instance. False when the socket cannot be made (the
  // window still works, only without handing over).
  bool Listen();

 signals:
  void filesReceived(const QStringList& files);

 private:
  QString name_;
  QLocalServer server_;
};

}  // namespace quillsheet
