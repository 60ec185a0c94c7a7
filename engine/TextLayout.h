// Where the text watermark's runs go: pure geometry, no drawing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/Geometry.h"

namespace quillsheet {

// Start points of the one, two or three stacked copies (layouts 1 to 3) at
// an anchor; empty for any other layout or an anchor that is not finite.
std::vector<PointF> StackedRunStarts(std::int32_t drawingType, PointF anchor, std::int64_t fontSize,
                                     std::int64_t distance);

// The layout never yields more runs than this; no real page comes near it.
inline constexpr std::size_t kMaxTiledRuns = 250000;

// Start points of the runs of the tiled layout (layout 4) on a width x
// height page: parallel lines at angleDegrees, each a chain of runs of
// runAdvance points separated by distance, the lines step = distance +
// fontSize apart. Empty for angles outside 0..359 and for steps that would
// not move on.
std::vector<PointF> TiledRunStarts(double width, double height, std::int64_t angleDegrees,
                                   std::int64_t fontSize, std::int64_t distance, double runAdvance);

// Where a fitted frame of natural size (w, h) goes on a W x H page: scaled
// by scale, its centre moved to centre and turned by angle radians about it.
// Horizontal fitting has no turn and puts the frame at the left edge.
struct FittedPlacement {
  double scale = 0;
  PointF origin;  // lower-left corner of the scaled, unturned frame
  double angle = 0;
};

// No value (scale 0) when the frame or the page is empty.
FittedPlacement PlaceFittedFrame(std::int32_t fitDrawingType, SizeF frame, SizeF page);

}  // namespace quillsheet
