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
