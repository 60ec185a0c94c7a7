#include "app/ToolbarIcons.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The icons are compiled into this static library; Qt finds them once the
// library's resources are registered.
static void RegisterIcons() { Q_INIT_RESOURCE(icons); }

namespace quillsheet {
namespace {

// The drawings use black as the ink to replace.
constexpr char kInk[] = "#000000";

QPixmap Draw(const QByteArray& svg, const QColor& ink, int size) {
  QByteArray tinted = svg;
  tinted.replace(kInk, ink.name().toLatin1());
  QSvgRenderer renderer(tinted);
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  renderer.render(&painter);
  return pixmap;
}

}  // namespace

QIcon ToolbarIcon(const QString& name, const QPalette& palette) {
  static const bool registered = (RegisterIcons(), true);
  (void)registered;
  QFile file(QStringLiteral(":/icons/%1.svg").arg(name));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray svg = file.readAll();
  QIcon icon;
  for (const int size : {24, 48, 72}) {
    icon.addPixmap(Draw(svg, palette.color(QPalette::Active, QPalette::WindowText), size),
                   QIcon::Normal);
    icon.addPixmap(Draw(svg, palette.color(QPalette::Disabled, QPalette::WindowText), size),
                   QIcon::Disabled);
  }
  return icon;
}

}  // namespace quillsheet
