// The text layer: the text at the anchor (one to three copies), tiled over
// the page, or fitted to it.
#pragma once

#include <vector>

#include "engine/Canvas.h"
#include "engine/FontLookup.h"
#include "engine/TextShaping.h"
#include "engine/WatermarkSettings.h"

namespace quillsheet {

void DrawTextWatermark(Canvas& canvas, const WatermarkSettings& settings, const RectF& target);

// One glyph's outline as a mark draws it, with everything the drawing
// depends on.
struct GlyphOutline {
  const FontFace* face = nullptr;  // faces live as long as the process
  unsigned long index = 0;
  std::int32_t mode = 0;  // text drawing mode: 0 fill, 1 stroke, 2 both
  cairo_matrix_t fontMatrix{};
  double lineWidth = 1;
  Rgba fill;
  Rgba stroke;

  bool operator<(const GlyphOutline& other) const;
};

// Draws the outline with its origin at the origin of cr's user space.
void DrawGlyphOutline(cairo_t* cr, const GlyphOutline& glyph);

// A text layer laid out but not drawn: each glyph's outline with the matrix
// that places it (from the outline's space to device space, y down, one unit
// per point), and the layer's opacity.
struct PlacedGlyph {
  GlyphOutline outline;
  cairo_matrix_t matrix{};
};
struct PlacedText {
  std::vector<PlacedGlyph> glyphs;
  double opacity = 1;
};

// Lays out the text layer of the settings on a page of width x height
// points, as DrawTextWatermark would draw it; the shadow is not part of it.
PlacedText PlaceTextWatermark(const WatermarkSettings& settings, double width, double height);

// The fitted variants (fitDrawingType 1 horizontal, 2 vertical, 3 diagonal).
void DrawFittedText(Canvas& canvas, const WatermarkSettings& settings, const RectF& target);

// The shadow the settings ask for, in device units (offsets and blur times the
// view scale, formed in single precision); none when the shadow is off.
std::optional<Canvas::Shadow> TextShadow(const WatermarkSettings& settings);

// Makes the font current at a size for page space (y up), unhinted, so
// glyphs stand upright and sit where HarfBuzz placed them.
void UseFontInPageSpace(cairo_t* cr, const FontFace& font, double size);

// The glyphs of a shaped line starting at origin, in runs of one face each.
std::vector<std::pair<const FontFace*, std::vector<cairo_glyph_t>>> GlyphRuns(
    const ShapedLine& line, PointF origin);

// Natural size of laid-out text (one line per line break): the widest line
// by the number of lines times the line height.
SizeF NaturalTextSize(const FontFace& font, std::string_view text, double size, bool verticalForms);

}  // namespace quillsheet
