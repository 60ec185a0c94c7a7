#include "app/AngleDial.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>

#include "editor/EditorRules.h"

namespace quillsheet {

AngleDial::AngleDial(QWidget* parent) : QDial(parent) {
  setRange(0, 359);
  setWrapping(true);
}

// The style draws a wrapping dial's minimum at six o'clock, growing
// clockwise; the angle is drawn at the position that puts the notch on it.
void AngleDial::paintEvent(QPaintEvent*) {
  QStyleOptionSlider option;
  initStyleOption(&option);
  option.minimum = 0;
  option.maximum = 360;
  option.upsideDown = true;
  option.dialWrapping = true;
  option.sliderPosition = option.sliderValue = ((270 - value()) % 360 + 360) % 360;
  QPainter painter(this);
  style()->drawComplexControl(QStyle::CC_Dial, &option, &painter, this);
}

void AngleDial::PointAt(const QPointF& position) {
  const QPointF centre = QRectF(rect()).center();
  setSliderPosition(
      static_cast<int>(DialAngleAt(position.x() - centre.x(), position.y() - centre.y())));
}

void AngleDial::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QDial::mousePressEvent(event);
  setSliderDown(true);
  PointAt(event->position());
  event->accept();
}

void AngleDial::mouseMoveEvent(QMouseEvent* event) {
  if (!isSliderDown()) return QDial::mouseMoveEvent(event);
  PointAt(event->position());
  event->accept();
}

void AngleDial::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !isSliderDown()) {
    return QDial::mouseReleaseEvent(event);
  }
  PointAt(event->position());
  setSliderDown(false);
  event->accept();
}

}  // namespace quillsheet
