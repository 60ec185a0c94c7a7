#pragma once

#include <QDial>

namespace quillsheet {

// The text's angle as a dial: its value is the angle in degrees, 0 to 359,
// counter-clockwise from three o'clock, and its notch points where the text
// runs. A click or drag points it; the keys and the wheel step it; a screen
// reader reads and sets the angle itself. Main thread only.
class AngleDial : public QDial {
  Q_OBJECT

 public:
  explicit AngleDial(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void PointAt(const QPointF& position);
};

}  // namespace quillsheet
