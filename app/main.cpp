// quillsheet: the window. Files named on the command line are added; when a
// window is already running in this desktop session, they go to it instead.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/Translations.h"

namespace {

std::vector<std::filesystem::path> Paths(const QStringList& files) {
  std::vector<std::filesystem::path> paths;
  for (const QString& file : files) paths.emplace_back(file.toStdString());
  return paths;
}

// The window's command line: --help and --version print and exit; any
// other option is refused, so that it is never taken for a file.
void SetUp(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      QStringLiteral("Stamps watermarks onto PDF files; opens the window with the files given."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("PDF files or folders"),
                               QStringLiteral("[FILE...]"));
}

// Without a window when only help or the version is asked for, so that
// they print where no display is.
bool AsksOnlyToPrint(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--") return false;
    if (argument == "-h" || argument == "--help" || argument == "-v" || argument == "--version" ||
        argument == "--help-all") {
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (AsksOnlyToPrint(argc, argv)) {
    QCoreApplication printing(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillsheet"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLSHEET_VERSION));
    QCommandLineParser parser;
    SetUp(parser);
    parser.process(printing);  // prints and exits
    return 0;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillsheet"));
  QApplication::setApplicationVersion(QStringLiteral(QUILLSHEET_VERSION));
  QApplication::setOrganizationDomain(QStringLiteral("quillsheet.org"));
  QApplication::setDesktopFileName(QStringLiteral("org.quillsheet.Quillsheet"));
  quillsheet::InstallTranslations(application);
  QCommandLineParser parser;
  SetUp(parser);
  parser.process(application);
  QStringList files;
  for (const QString& argument : parser.positionalArguments()) {
    files << QFileInfo(argument).absoluteFilePath();
  }
  const auto place = quillsheet::SingleInstance::SessionSocket();
  std::unique_ptr<quillsheet::SingleInstance> instance;
  if (place.socket) {
    instance = std::make_unique<quillsheet::SingleInstance>(*place.socket);
    if (instance->HandOverOrListen(files)) return 0;
  } else {
    std::fprintf(stderr, "quillsheet: %s; this window takes no files from later launches\n",
                 place.problem.c_str());
  }
  quillsheet::MainWindow window;
  if (instance) {
    QObject::connect(instance.get(), &quillsheet::SingleInstance::filesReceived, &window,
                     [&window](const QStringList& received) {
                       window.AddPaths(Paths(received), true);
                       window.raise();
                       window.activateWindow();
                     });
  }
  window.show();
  window.AddPaths(Paths(files), true);
  return QApplication::exec();
}
