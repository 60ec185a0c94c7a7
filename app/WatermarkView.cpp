#include "app/WatermarkView.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "editor/Placement.h"

namespace quillsheet {

WatermarkView::WatermarkView(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::CrossCursor);
}

void WatermarkView::ShowPage(const QImage& picture, SizeF pagePoints) {
  picture_ = QPixmap::fromImage(picture);
  picture_.setDevicePixelRatio(devicePixelRatioF());
  pagePoints_ = pagePoints;
  text_.clear();
  setAccessibleDescription(badge_);  // no longer the empty view's text
  update();
}

void WatermarkView::ShowText(const QString& text) {
  picture_ = {};
  pagePoints_ = {};
  text_ = text;
  setAccessibleDescription(text);
  update();
}

void WatermarkView::ShowBadge(const QString& text) {
  if (badge_ == text) return;
  badge_ = text;
  setAccessibleDescription(text);
  update();
}

QSize WatermarkView::PictureSize() const { return size() * devicePixelRatioF(); }

QRectF WatermarkView::PictureRect() const {
  const QSizeF shown = picture_.deviceIndependentSize();
  return {(width() - shown.width()) / 2, (height() - shown.height()) / 2, shown.width(),
          shown.height()};
}

PointF WatermarkView::DisplayPoint(QPointF viewPoint) const {
  const QRectF rect = PictureRect();
  const double pointsPerPixel = pagePoints_.width / rect.width();
  return {(viewPoint.x() - rect.left()) * pointsPerPixel,
          (rect.bottom() - viewPoint.y()) * pointsPerPixel};
}

void WatermarkView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (picture_.isNull()) {
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, text_);
    return;
  }
  painter.drawPixmap(PictureRect().topLeft(), picture_);
  if (!badge_.isEmpty()) {
    const QRectF area = PictureRect().adjusted(12, 12, -12, -12);
    QRectF box =
        painter.boundingRect(area, Qt::AlignTop | Qt::AlignHCenter | Qt::TextWordWrap, badge_);
    box.adjust(-8, -6, 8, 6);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 244, 200, 235));
    painter.drawRoundedRect(box, 6, 6);
    painter.setPen(QColor(60, 50, 0));
    painter.drawText(box.adjusted(8, 6, -8, -6), Qt::AlignCenter | Qt::TextWordWrap, badge_);
  }
  if (hasFocus()) {
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(PictureRect().adjusted(-2, -2, 2, 2));
  }
}

void WatermarkView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || picture_.isNull()) return;
  dragging_ = true;
  emit placed(DisplayPoint(event->position()), false);
}

void WatermarkView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || picture_.isNull()) return;
  // The pointer may leave the view while dragging; the mark stays on it.
  const PointF inside = ClampToView({event->position().x(), event->position().y()},
                                    {static_cast<double>(width()), static_cast<double>(height())});
  emit placed(DisplayPoint({inside.x, inside.y}), true);
}

void WatermarkView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  emit placementEnded();
}

void WatermarkView::keyPressEvent(QKeyEvent* event) {
  const double step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
  switch (event->key()) {
    case Qt::Key_Left:
      emit nudged(-step, 0);
      return;
    case Qt::Key_Right:
      emit nudged(step, 0);
      return;
    case Qt::Key_Up:
      emit nudged(0, step);
      return;
    case Qt::Key_Down:
      emit nudged(0, -step);
      return;
    case Qt::Key_PageUp:
      emit pageRequested(-1);
      return;
    case Qt::Key_PageDown:
      emit pageRequested(1);
      return;
    case Qt::Key_Home:
      emit pageRequested(kFirstPage);
      return;
    case Qt::Key_End:
      emit pageRequested(kLastPage);
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void WatermarkView::contextMenuEvent(QContextMenuEvent* event) {
  emit contextMenuWanted(event->globalPos());
}

}  // namespace quillsheet
