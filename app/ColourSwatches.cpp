#include "app/ColourSwatches.h"

#include <QHBoxLayout>
#include <QPixmap>
#include <QToolButton>

#include "editor/EditorRules.h"

namespace quillsheet {
namespace {

QPixmap Swatch(const Rgba& colour) {
  QPixmap swatch(18, 18);
  swatch.fill(QColor::fromRgbF(colour.red, colour.green, colour.blue, colour.alpha));
  return swatch;
}

QString SwatchName(int index) {
  //% "Grey"
  static const char* const names[kSwatchCount] = {QT_TRID_NOOP("SwatchGrey"),
                                                  //% "Purple"
                                                  QT_TRID_NOOP("SwatchPurple"),
                                                  //% "Blue"
                                                  QT_TRID_NOOP("SwatchBlue"),
                                                  //% "Green"
                                                  QT_TRID_NOOP("SwatchGreen"),
                                                  //% "Yellow"
                                                  QT_TRID_NOOP("SwatchYellow"),
                                                  //% "Orange"
                                                  QT_TRID_NOOP("SwatchOrange"),
                                                  //% "Red"
                                                  QT_TRID_NOOP("SwatchRed"),
                                                  //% "Black"
                                                  QT_TRID_NOOP("SwatchBlack")};
  return qtTrId(names[index - 1]);
}

}  // namespace

ColourSwatches::ColourSwatches(QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  for (int index = 1; index <= kSwatchCount; ++index) {
    QIcon icon(Swatch(*SwatchColour(index)));
    icon.addPixmap(Swatch(*SwatchHoverShade(index)), QIcon::Active);
    auto* button = new QToolButton(this);
    button->setIcon(icon);
    button->setAutoRaise(true);
    button->setAccessibleName(SwatchName(index));
    button->setToolTip(button->accessibleName());
    connect(button, &QToolButton::clicked, this, [this, index] { emit picked(index); });
    row->addWidget(button);
  }
  row->addStretch();
}

}  // namespace quillsheet
