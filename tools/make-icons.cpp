// Renders the application's SVG icon at the hicolor theme's bitmap sizes:
// quillsheet-make-icons ICON.svg OUTPUT-FOLDER NAME  writes
// OUTPUT-FOLDER/hicolor/NxN/apps/NAME.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: quillsheet-make-icons ICON.svg OUTPUT-FOLDER NAME\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) return 1;
  for (const int size : {16, 24, 32, 48, 64, 128, 256, 512}) {
    const QString folder =
        QStringLiteral("%1/hicolor/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    if (!QDir().mkpath(folder) ||
        !image.save(folder + QStringLiteral("/%1.png").arg(QString::fromLocal8Bit(argv[3])))) {
      return 1;
    }
  }
  return 0;
}
