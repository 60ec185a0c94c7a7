// Placing a mark by clicking or dragging on the preview, and moving through
// the pages: rules in page points, free of widgets. Thread-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/Value.h"
#include "engine/Geometry.h"

namespace quillsheet {

enum class EditorTab { Text, Fill };

// The key a click stores for the tab on show: "TextCenter" or "FillCenter";
// none while the layer being edited is switched off.
std::optional<std::string_view> PlacementKey(EditorTab tab, bool textOn, bool fillOn);

// The anchor for a point of the page as displayed (points from its lower
// left corner), clamped to the page: the ratios (W / x, H / y), each
// infinite where the point was clamped to 0.
Value::Array AnchorFor(PointF displayPoint, SizeF displaySize);

// A dragged point in the view's own coordinates, kept inside the view (with
// a 10-point margin on the right and at the bottom, so the pointer stays
// over it).
PointF ClampToView(PointF viewPoint, SizeF viewSize);

// Where the five navigation buttons stand for a document of pageCount pages
// showing page current (0-based); pageCount 0: no document.
struct PageNavigation {
  bool enabled = false;  // the whole control
  bool first = false;
  bool previous = false;
  bool next = false;
  bool last = false;
  std::string label = "-";  // the page number button's text, 1-based
};
PageNavigation NavigationFor(int pageCount, int current);

// The page (0-based) that the go-to-page sheet's number n leads to: past the
// end (or negative) the last page, 0 the first.
int PageForNumber(std::int64_t n, int pageCount);

}  // namespace quillsheet
