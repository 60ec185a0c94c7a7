#include "engine/TextWatermark.h"

#include <cmath>

#include "engine/TextLayout.h"

namespace quillsheet {
namespace {

// Paints glyphs in a text drawing mode: 0 fill, 1 stroke, 2 fill then stroke.
// Other modes (invisible and clipping text) paint nothing.
void PaintGlyphs(cairo_t* cr, const Canvas& canvas, const std::vector<cairo_glyph_t>& glyphs,
                 std::int32_t mode) {
  if (glyphs.empty() || mode < 0 || mode > 2) return;
  const int count = static_cast<int>(glyphs.size());
  if (mode == 0) {
    canvas.UseFillColor(cr);
    cairo_show_glyphs(cr, glyphs.data(), count);
    return;
  }
  cairo_new_path(cr);
  cairo_glyph_path(cr, glyphs.data(), count);
  if (mode == 2) {
    canvas.UseFillColor(cr);
    cairo_fill_preserve(cr);
  }
  canvas.UseStrokeColor(cr);
  cairo_stroke(cr);
}

// Splits at every line break, as a frame lays out paragraphs.
std::vector<std::string_view> Lines(std::string_view text) {
  static constexpr std::string_view kBreaks[] = {"\r\n", "\n", "\r", "\u2028", "\u2029"};
  std::vector<std::string_view> lines;
  size_t begin = 0;
  size_t at = 0;
  while (at < text.size()) {
    size_t breakLength = 0;
    for (std::string_view lineBreak : kBreaks) {
      if (text.substr(at, lineBreak.size()) == lineBreak) {
        breakLength = lineBreak.size();
        break;
      }
    }
    if (breakLength == 0) {
      ++at;
      continue;
    }
    lines.push_back(text.substr(begin, at - begin));
    at += breakLength;
    begin = at;
  }
  lines.push_back(text.substr(begin));
  return lines;
}

double LineHeight(const FontFace& font, double size) {
  return (font.ascender() - font.descender() + font.lineGap()) * size;
}

void ApplyTextColor(Canvas& canvas, cairo_t* cr, const WatermarkSettings& s, double lineWidth) {
  if (s.drawingMode == 0) {
    canvas.SetFillColor(s.textColor);
  } else {
    cairo_set_line_width(cr, lineWidth);
    canvas.SetStrokeColor(s.textColor);
  }
}

}  // namespace

// Hinting would move glyphs away from the shaped positions and differ between
// the preview and the file.
void UseFontInPageSpace(cairo_t* cr, const FontFace& font, double size) {
  cairo_set_font_face(cr, font.cairoFace());
  cairo_matrix_t matrix;
  // Page space is y up; glyph outlines are y down.
  cairo_matrix_init_scale(&matrix, size, -size);
  cairo_set_font_matrix(cr, &matrix);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

std::vector<cairo_glyph_t> CairoGlyphs(const ShapedLine& line, PointF origin) {
  std::vector<cairo_glyph_t> glyphs;
  glyphs.reserve(line.glyphs.size());
  for (const ShapedGlyph& glyph : line.glyphs) {
    glyphs.push_back({glyph.index, origin.x + glyph.x, origin.y + glyph.y});
  }
  return glyphs;
}

std::optional<Canvas::Shadow> TextShadow(const WatermarkSettings& s) {
  if (!s.dropShadow) return std::nullopt;
  const float scale = s.viewScale;
  Canvas::Shadow shadow;
  shadow.offset = {static_cast<double>(static_cast<float>(s.shadowXOffset) * scale),
                   static_cast<double>(static_cast<float>(s.shadowYOffset) * scale)};
  shadow.blur = static_cast<double>(static_cast<float>(s.shadowBlur) * scale);
  shadow.color = s.shadowColor.value_or(kBlack);
  return shadow;
}

SizeF NaturalTextSize(const FontFace& font, std::string_view text, double size,
                      bool verticalForms) {
  if (text.empty()) return {};
  const auto lines = Lines(text);
  double widest = 0;
  for (std::string_view line : lines) {
    widest = std::max(widest, ShapeLine(font, line, size, verticalForms).advance);
  }
  return {widest, static_cast<double>(lines.size()) * LineHeight(font, size)};
}

void DrawTextWatermark(Canvas& canvas, const WatermarkSettings& s, const RectF& target) {
  if (s.drawingType == 1 && s.fitDrawingType != 0) {
    DrawFittedText(canvas, s, target);
    return;
  }
  const auto font = FontFace::Load(s.textFont);
  if (!font) return;
  Canvas::State state(canvas);
  cairo_t* cr = canvas.cr();
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
  ApplyTextColor(canvas, cr, s, static_cast<double>(s.strokeWidth));

  const double size = static_cast<double>(s.textFontSize);
  const ShapedLine run = ShapeLine(*font, s.textString, size);
  const std::vector<PointF> starts =
      s.drawingType == 4
          ? TiledRunStarts(target.width, target.height, s.rotationAngle, s.textFontSize,
                           s.textDistance, run.advance)
          : StackedRunStarts(s.drawingType,
                             {target.width / s.textCenter.x, target.height / s.textCenter.y},
                             s.textFontSize, s.textDistance);
  if (starts.empty() || run.glyphs.empty()) return;

  const double angle = Radians(static_cast<double>(s.rotationAngle));
  canvas.DrawLayer(s.textOpacity, TextShadow(s), [&](cairo_t* layer) {
    UseFontInPageSpace(layer, *font, size);
    for (const PointF& start : starts) {
      cairo_save(layer);
      cairo_translate(layer, start.x, start.y);
      cairo_rotate(layer, angle);
      PaintGlyphs(layer, canvas, CairoGlyphs(run, {}), s.drawingMode);
      cairo_restore(layer);
    }
  });
}

void DrawFittedText(Canvas& canvas, const WatermarkSettings& s, const RectF& target) {
  const auto font = FontFace::Load(s.textFont);
  if (!font) return;
  constexpr double kNaturalSize = 12.0;
  const bool vertical = s.fitDrawingType == 2;
  const SizeF natural = NaturalTextSize(*font, s.textString, kNaturalSize, vertical);
  const FittedPlacement placement =
      PlaceFittedFrame(s.fitDrawingType, natural, {target.width, target.height});
  if (!(placement.scale > 0) || !std::isfinite(placement.scale)) return;

  Canvas::State state(canvas);
  cairo_t* cr = canvas.cr();
  ApplyTextColor(canvas, cr, s, static_cast<double>(s.strokeWidth) / placement.scale);
  const double scaledW = natural.width * placement.scale;
  const double scaledH = natural.height * placement.scale;
  const double lineHeight = LineHeight(*font, kNaturalSize);
  const auto lines = Lines(s.textString);

  canvas.DrawLayer(s.textOpacity, TextShadow(s), [&](cairo_t* layer) {
    cairo_translate(layer, placement.origin.x, placement.origin.y);
    if (placement.angle != 0) {
      cairo_translate(layer, scaledW * 0.5, scaledH * 0.5);
      cairo_rotate(layer, placement.angle);
      cairo_translate(layer, -scaledW * 0.5, -scaledH * 0.5);
    }
    cairo_scale(layer, placement.scale, placement.scale);
    UseFontInPageSpace(layer, *font, kNaturalSize);
    // Lines are set from the top of the frame down, each at its baseline.
    double baseline = natural.height - font->ascender() * kNaturalSize;
    for (std::string_view line : lines) {
      const ShapedLine shaped = ShapeLine(*font, line, kNaturalSize, vertical);
      PaintGlyphs(layer, canvas, CairoGlyphs(shaped, {0, baseline}), s.drawingMode);
      baseline -= lineHeight;
    }
  });
}

}  // namespace quillsheet
