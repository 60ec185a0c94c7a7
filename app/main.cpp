// quillsheet: the window. Files named on the command line are added; when a
// window is already running for this user, they go to it instead.
#include <QApplication>
#include <QFileInfo>

#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/Translations.h"

namespace {

std::vector<std::filesystem::path> Paths(const QStringList& files) {
  std::vector<std::filesystem::path> paths;
  for (const QString& file : files) paths.emplace_back(file.toStdString());
  return paths;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillsheet"));
  QApplication::setOrganizationDomain(QStringLiteral("quillsheet.org"));
  QApplication::setDesktopFileName(QStringLiteral("org.quillsheet.Quillsheet"));
  quillsheet::InstallTranslations(application);
  QStringList files;
  for (const QString& argument : QApplication::arguments().mid(1)) {
    files << QFileInfo(argument).absoluteFilePath();
  }
  quillsheet::SingleInstance instance;
  if (!files.isEmpty() && instance.HandOver(files)) return 0;
  quillsheet::MainWindow window;
  QObject::connect(&instance, &quillsheet::SingleInstance::filesReceived, &window,
                   [&window](const QStringList& received) {
                     window.AddPaths(Paths(received), true);
                     window.raise();
                     window.activateWindow();
                   });
  instance.Listen();
  window.show();
  window.AddPaths(Paths(files), true);
  return QApplication::exec();
}
