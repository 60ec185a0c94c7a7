#include "editor/Placement.h"

#include <algorithm>
#include <limits>

#include "engine/WatermarkSettings.h"

namespace quillsheet {

std::optional<std::string_view> PlacementKey(EditorTab tab, bool textOn, bool fillOn) {
  if (tab == EditorTab::Fill) {
    return fillOn ? std::optional(presetkey::kFillCenter) : std::nullopt;
  }
  return textOn ? std::optional(presetkey::kTextCenter) : std::nullopt;
}

Value::Array AnchorFor(PointF displayPoint, SizeF displaySize) {
  const auto ratio = [](double extent, double at) {
    const double clamped = std::min(extent, std::max(0.0, at));
    // Anchors are stored in single precision; 0 becomes an infinite ratio,
    // which reads back as the coordinate 0.
    return Value(static_cast<double>(clamped == 0 ? std::numeric_limits<float>::infinity()
                                                  : static_cast<float>(extent / clamped)));
  };
  return {ratio(displaySize.width, displayPoint.x), ratio(displaySize.height, displayPoint.y)};
}

PointF ClampToView(PointF viewPoint, SizeF viewSize) {
  const auto clamp = [](double at, double extent) {
    return at < 0 ? 0 : std::min(at, extent - 10);
  };
  return {clamp(viewPoint.x, viewSize.width), clamp(viewPoint.y, viewSize.height)};
}

PageNavigation NavigationFor(int pageCount, int current) {
  if (pageCount <= 0) return {};
  return {true,
          current > 0,
          current > 0,
          current < pageCount - 1,
          current < pageCount - 1,
          std::to_string(current + 1)};
}

int PageForNumber(std::int64_t n, int pageCount) {
  if (n > pageCount || n < 0) return pageCount - 1;
  return n == 0 ? 0 : static_cast<int>(n) - 1;
}

}  // namespace quillsheet
