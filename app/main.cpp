// quillsheet: the window. Files named on the command line are added at start.
#include <QApplication>

#include "app/MainWindow.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillsheet"));
  QApplication::setOrganizationDomain(QStringLiteral("quillsheet.org"));
  QApplication::setDesktopFileName(QStringLiteral("org.quillsheet.Quillsheet"));
  quillsheet::MainWindow window;
  std::vector<std::filesystem::path> files;
  const QStringList arguments = QApplication::arguments();
  for (int i = 1; i < arguments.size(); ++i) files.emplace_back(arguments[i].toStdString());
  window.show();
  window.AddPaths(std::move(files), false);
  return QApplication::exec();
}
