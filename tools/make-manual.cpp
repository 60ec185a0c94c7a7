// Turns the Markdown user manual into the PDF the Help command opens:
// quillsheet-make-manual MANUAL.md OUTPUT.pdf
#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: quillsheet-make-manual MANUAL.md OUTPUT.pdf\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  QFile source(QString::fromLocal8Bit(argv[1]));
  if (!source.open(QIODevice::ReadOnly)) return 1;
  QTextDocument document;
  document.setMarkdown(QString::fromUtf8(source.readAll()));
  QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
  writer.setTitle(QStringLiteral("Quillsheet user manual"));
  // The document lays text out in screen points; match them.
  writer.setResolution(96);
  document.setPageSize(QSizeF(writer.width(), writer.height()));
  document.print(&writer);
  return 0;
}
