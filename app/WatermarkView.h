#pragma once

#include <QWidget>

#include "engine/Geometry.h"

namespace quillsheet {

// The preview: one page with the selected preset's marks, fitted to the
// view. It shows the pictures it is given and turns clicks, drags and arrow
// keys on the page into points of the page as displayed (points from its
// lower left corner); what a point means is the window's business. Page
// Up/Down, Home and End ask for other pages. Main thread only.
class WatermarkView : public QWidget {
  Q_OBJECT

 public:
  explicit WatermarkView(QWidget* parent = nullptr);

  // The picture of a page displayed pagePoints in size; a null picture
  // shows the text instead.
  void ShowPage(const QImage& picture, SizeF pagePoints);
  void ShowText(const QString& text);
  // A note over the page (none when empty), also given to screen readers.
  void ShowBadge(const QString& text);
  SizeF pagePoints() const { return pagePoints_; }
  // The pixel size pictures should have to fill the view sharply.
  QSize PictureSize() const;

 signals:
  void placed(quillsheet::PointF displayPoint, bool dragging);
  void placementEnded();
  void nudged(double dx, double dy);  // points, on the page as displayed
  void pageRequested(int step);       // -1, +1; or kFirstPage / kLastPage
  void contextMenuWanted(const QPoint& globalPosition);

 public:
  static constexpr int kFirstPage = -1000000;
  static constexpr int kLastPage = 1000000;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QRectF PictureRect() const;
  PointF DisplayPoint(QPointF viewPoint) const;

  QPixmap picture_;
  SizeF pagePoints_;
  QString text_;
  QString badge_;
  bool dragging_ = false;
};

}  // namespace quillsheet
