// Points and rectangles in page space: points, origin lower left, y upwards.
#pragma once

#include <cmath>

namespace quillsheet {

struct PointF {
  double x = 0;
  double y = 0;
  bool operator==(const PointF&) const = default;
};

struct SizeF {
  double width = 0;
  double height = 0;
  bool operator==(const SizeF&) const = default;
};

struct RectF {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
  bool operator==(const RectF&) const = default;
  bool IsFinite() const {
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(width) && std::isfinite(height);
  }
};

// Degrees to radians the way stored angles are turned: in single precision,
// widened to double before any trigonometry.
inline double Radians(double degrees) {
  return static_cast<double>(static_cast<float>(degrees) * 0.017453292f);
}

// Nearest whole number, halves away from zero.
inline double RoundHalfAway(double value) { return std::round(value); }

}  // namespace quillsheet
