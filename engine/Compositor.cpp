#include "engine/Compositor.h"

#include <cmath>
#include <cstdio>

#include "engine/FillWatermark.h"
#include "engine/FontLookup.h"
#include "engine/TextWatermark.h"

namespace quillsheet {
namespace {

constexpr double kMarkerLabelSize = 13.0;
constexpr Rgba kMarkerRed{1, 0, 0, 1};

void StrokeLine(cairo_t* cr, double x1, double y1, double x2, double y2) {
  cairo_new_path(cr);
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_stroke(cr);
}

void StrokeEllipse(cairo_t* cr, const RectF& box) {
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_translate(cr, box.x + box.width / 2, box.y + box.height / 2);
  cairo_scale(cr, box.width / 2, box.height / 2);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_stroke(cr);
}

// The cross and circle; the shadow copy is the same mark moved by (1, -1).
void StrokeMark(cairo_t* cr, double X, double Y, const Rgba& color) {
  SetSourceColor(cr, color);
  cairo_set_line_width(cr, 1);
  StrokeLine(cr, X - 8, Y, X + 8, Y);
  StrokeEllipse(cr, {X - 4.5, Y - 4.5, 9, 9});
  StrokeLine(cr, X, Y - 8, X, Y + 8);
}

void DrawMarkerLabel(Canvas& canvas, double X, double Y) {
  const auto font = FontFace::Load(DefaultUserFontPostScriptName());
  if (!font) return;
  const std::string label = MarkerLabel(X, Y);
  const SizeF size = NaturalTextSize(*font, label, kMarkerLabelSize, false);
  const ShapedLine line = ShapeLine(*font, label, kMarkerLabelSize);
  const double baseline = (Y - 21) + size.height - font->ascender() * kMarkerLabelSize;
  const double left = X - size.width / 2;
  const Canvas::Shadow shadow{{1, -1}, 0, kBlack};
  canvas.DrawLayer(1.0, shadow, [&](cairo_t* cr) {
    UseFontInPageSpace(cr, *font, kMarkerLabelSize);
    SetSourceColor(cr, kMarkerRed);
    for (const auto& [face, glyphs] : GlyphRuns(line, {left, baseline})) {
      cairo_set_font_face(cr, face->cairoFace());
      cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
    }
  });
}

}  // namespace

std::vector<PageLayer> LayerOrder(const WatermarkSettings& s) {
  std::vector<PageLayer> order;
  const auto add = [&](PageLayer layer, bool behind, bool wantBehind, bool enabled) {
    if (enabled && behind == wantBehind) order.push_back(layer);
  };
  add(PageLayer::Fill, s.fillBehind, true, s.fillEnabled);
  add(PageLayer::Text, s.textBehind, true, s.textEnabled);
  order.push_back(PageLayer::Page);
  add(PageLayer::Fill, s.fillBehind, false, s.fillEnabled);
  add(PageLayer::Text, s.textBehind, false, s.textEnabled);
  return order;
}

void DrawWatermarkLayer(Canvas& canvas, const WatermarkSettings& s, PageLayer layer,
                        const RectF& target) {
  if (layer == PageLayer::Text) {
    DrawTextWatermark(canvas, s, target);
  } else if (layer == PageLayer::Fill) {
    if (s.fillOption == 1 || s.fillOption == 2) {
      DrawImageFill(canvas, s, s.fillOption == 1, target);
    } else {
      DrawColorFill(canvas, s, target);
    }
  }
}

void DrawPageContent(Canvas& canvas, const SourcePage& page, const RectF& pageBox) {
  Canvas::State state(canvas);
  page.Draw(canvas, {0, 0, pageBox.width, pageBox.height});
}

LayerGroups SplitAroundPage(const WatermarkSettings& settings) {
  LayerGroups groups;
  bool pageSeen = false;
  for (const PageLayer layer : LayerOrder(settings)) {
    if (layer == PageLayer::Page) {
      pageSeen = true;
    } else {
      (pageSeen ? groups.front : groups.behind).push_back(layer);
    }
  }
  return groups;
}

std::optional<PointF> MarkerPosition(const WatermarkSettings& s, const RectF& target) {
  if (!s.showMarker) return std::nullopt;
  std::optional<PointF> point;
  if (!s.markerOnText) {
    if (s.fillEnabled && s.backStyle == 1) {
      point = PointF{target.width / s.fillCenter.x, target.height / s.fillCenter.y};
    }
  } else if (s.textEnabled && s.drawingType != 4 &&
             !(s.drawingType == 1 && s.fitDrawingType != 0)) {
    point = PointF{target.width / s.textCenter.x, target.height / s.textCenter.y};
  }
  // An anchor at infinity has no place to show.
  if (point && (!std::isfinite(point->x) || !std::isfinite(point->y))) return std::nullopt;
  return point;
}

std::string MarkerLabel(double x, double y) {
  char text[96];
  std::snprintf(text, sizeof text, "(%.0f,%.0f)", std::floor(x + 0.5), std::floor(y + 0.5));
  return text;
}

void DrawPositionMarker(Canvas& canvas, double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  Canvas::State state(canvas);
  const double X = std::floor(x + 0.5);
  const double Y = std::floor(y + 0.5);
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  cairo_translate(cr, 1, -1);
  StrokeMark(cr, X, Y, kBlack);
  cairo_restore(cr);
  StrokeMark(cr, X, Y, kMarkerRed);
  DrawMarkerLabel(canvas, X, Y);
}

}  // namespace quillsheet
