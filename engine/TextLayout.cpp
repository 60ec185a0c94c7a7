#include "engine/TextLayout.h"

#include <algorithm>
#include <cmath>

namespace quillsheet {
namespace {

enum class Edge { Up, Down, Left, Right };

// One quadrant of the tiled layout: where lines start, how far a line and
// the whole layout may go, and the two edges along which new lines begin.
struct Quadrant {
  PointF start;
  Edge phase1 = Edge::Up;
  Edge phase2 = Edge::Right;
  double phase2Tangent = 0;
  bool stops = false;  // the layout ends once phase 1 is exhausted
  // Limits: a point (x, y) is inside when every set bound holds strictly.
  double minX = -HUGE_VAL, maxX = HUGE_VAL, minY = -HUGE_VAL, maxY = HUGE_VAL;

  bool Inside(PointF p) const { return p.x > minX && p.x < maxX && p.y > minY && p.y < maxY; }
};

double Tan(double degrees) { return std::tan(Radians(degrees)); }
double Cos(double degrees) { return std::cos(Radians(degrees)); }

Quadrant QuadrantFor(std::int64_t a, double W, double H, double fs) {
  Quadrant q;
  if (a <= 90) {
    const double c = Cos(90.0 - a);
    q.start = {fs * c * 0.5, (1 - c) * fs * 0.25};
    q.maxX = W + fs;
    q.maxY = H + fs;
    if (a <= 45) {
      q.phase1 = Edge::Up;
      q.phase2 = Edge::Right;
      q.phase2Tangent = Tan(90.0 - a);
      q.stops = a == 0;
    } else {
      q.phase1 = Edge::Right;
      q.phase2 = Edge::Up;
      q.phase2Tangent = Tan(a);
      q.stops = a == 90;
    }
  } else if (a <= 180) {
    const double c = Cos(180.0 - a);
    q.start = {W - (1 - c) * fs * 0.25, c * fs};
    q.minX = 0;
    q.maxY = H + fs;
    if (a < 135) {
      q.phase1 = Edge::Left;
      q.phase2 = Edge::Up;
      q.phase2Tangent = Tan(180.0 - a);
    } else {
      q.phase1 = Edge::Up;
      q.phase2 = Edge::Left;
      q.phase2Tangent = a == 180 ? 114.0 : Tan(a - 90.0);
    }
  } else if (a <= 270) {
    const double c = Cos(270.0 - a);
    q.start = {W - c * fs * 0.5, H};
    q.minX = 0;
    q.minY = 0;
    if (a <= 225) {
      q.phase1 = Edge::Down;
      q.phase2 = Edge::Left;
      q.phase2Tangent = Tan(270.0 - a);
    } else {
      q.phase1 = Edge::Left;
      q.phase2 = Edge::Down;
      q.phase2Tangent = Tan(a);
      q.stops = a == 270;
    }
  } else {
    const double c = Cos(360.0 - a);
    q.start = {0, H - c * fs};
    q.maxX = W;
    q.minY = 0;
    if (a < 315) {
      q.phase1 = Edge::Right;
      q.phase2 = Edge::Down;
      q.phase2Tangent = Tan(360.0 - a);
    } else {
      q.phase1 = Edge::Down;
      q.phase2 = Edge::Right;
      q.phase2Tangent = Tan(a - 270.0);
    }
  }
  return q;
}

PointF Move(PointF from, Edge edge, double by) {
  switch (edge) {
    case Edge::Up:
      return {from.x, from.y + by};
    case Edge::Down:
      return {from.x, from.y - by};
    case Edge::Left:
      return {from.x - by, from.y};
    case Edge::Right:
      return {from.x + by, from.y};
  }
  return from;
}

// Whether a line start moved along an edge is still within that edge's limit.
bool WithinEdge(const Quadrant& q, Edge edge, PointF p) {
  switch (edge) {
    case Edge::Up:
      return p.y < q.maxY;
    case Edge::Down:
      return p.y > q.minY;
    case Edge::Left:
      return p.x > q.minX;
    case Edge::Right:
      return p.x < q.maxX;
  }
  return false;
}

}  // namespace

std::vector<PointF> StackedRunStarts(std::int32_t drawingType, PointF anchor, std::int64_t fontSize,
                                     std::int64_t distance) {
  if (drawingType < 1 || drawingType > 3 || !std::isfinite(anchor.x) || !std::isfinite(anchor.y)) {
    return {};
  }
  const double step = static_cast<double>(distance + fontSize);
  std::vector<PointF> starts;
  for (int copy = 0; copy < drawingType; ++copy)
    starts.push_back({anchor.x, anchor.y + copy * step});
  return starts;
}

std::vector<PointF> TiledRunStarts(double W, double H, std::int64_t a, std::int64_t fontSize,
                                   std::int64_t distance, double runAdvance) {
  std::vector<PointF> starts;
  const double step = static_cast<double>(distance) + static_cast<double>(fontSize);
  const double fs = static_cast<double>(fontSize);
  const double d = static_cast<double>(distance);
  // A walk whose steps do not move on would never leave its limits.
  if (a < 0 || a > 359 || !(step > 0) || !(runAdvance + d > 0) || !std::isfinite(W * H)) {
    return starts;
  }
  const Quadrant q = QuadrantFor(a, W, H, fs);
  // A line goes on, and the layout goes on, within the same quadrant limits.
  const double t = (a == 90 || a == 270) ? 0.0 : Tan(static_cast<double>(a));
  const double cosA = Cos(static_cast<double>(a));
  const double sinA = std::sin(Radians(static_cast<double>(a)));

  PointF p = q.start;
  std::int64_t n = 1;
  bool inPhase2 = false;
  while (q.Inside(p) && starts.size() < kMaxTiledRuns) {
    starts.push_back(p);
    const PointF end{p.x + runAdvance * cosA, p.y + runAdvance * sinA};
    PointF next{end.x + d * cosA, 0};
    next.y = p.y + (next.x - p.x) * t;
    if (a == 90) next.y = end.y + d;
    if (a == 270) next.y = end.y - d;
    if (q.Inside(next)) {
      p = next;
      continue;
    }
    if (!inPhase2) {
      const PointF candidate = Move(q.start, q.phase1, static_cast<double>(n) * step);
      if (WithinEdge(q, q.phase1, candidate)) {
        ++n;
        p = candidate;
        continue;
      }
    }
    if (q.stops) break;
    const std::int64_t k = inPhase2 ? n : 1;
    const float offset =
        static_cast<float>(static_cast<double>(k) * step) * static_cast<float>(q.phase2Tangent);
    p = Move(q.start, q.phase2, static_cast<double>(offset));
    n = k + 1;
    inPhase2 = true;
  }
  return starts;
}

FittedPlacement PlaceFittedFrame(std::int32_t fitDrawingType, SizeF frame, SizeF page) {
  const double w = frame.width;
  const double h = frame.height;
  const double W = page.width;
  const double H = page.height;
  FittedPlacement placement;
  const double longest = std::max(w, h);
  if (!(longest > 0) || !(W > 0) || !(H > 0)) return placement;
  if (fitDrawingType == 2) {
    placement.scale = H / longest;
    placement.angle = -1.5707963705062866;
  } else if (fitDrawingType == 3) {
    const double L = H <= W ? W : H;
    placement.scale = L / longest;
    if (w * h * placement.scale * placement.scale > W * H * 0.5) {
      placement.scale = std::sqrt(W * H * 0.5 / (w * h));
    }
    placement.angle = std::atan(H / W);
  } else {
    placement.scale = W / longest;
    placement.origin = {0, (H - placement.scale * h) * 0.5};
    return placement;
  }
  const double scaledW = placement.scale * w;
  const double scaledH = placement.scale * h;
  placement.origin = {(W - scaledW) * 0.5, (H - scaledH) * 0.5};
  return placement;
}

}  // namespace quillsheet
