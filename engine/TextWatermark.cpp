#include "engine/TextWatermark.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "engine/TextLayout.h"

namespace quillsheet {
namespace {

// Paints glyphs of one face in a text drawing mode: 0 fill, 1 stroke, 2 fill
// then stroke. Other modes (invisible and clipping text) paint nothing.
void PaintGlyphRun(cairo_t* cr, const Rgba& fill, const Rgba& stroke,
                   const std::vector<cairo_glyph_t>& glyphs, std::int32_t mode, bool asOutlines) {
  if (glyphs.empty() || mode < 0 || mode > 2) return;
  const int count = static_cast<int>(glyphs.size());
  if (mode == 0 && !asOutlines) {
    SetSourceColor(cr, fill);
    cairo_show_glyphs(cr, glyphs.data(), count);
    return;
  }
  cairo_new_path(cr);
  cairo_glyph_path(cr, glyphs.data(), count);
  if (mode != 1) {
    SetSourceColor(cr, fill);
    if (mode == 0) {
      cairo_fill(cr);
      return;
    }
    cairo_fill_preserve(cr);
  }
  SetSourceColor(cr, stroke);
  cairo_stroke(cr);
}

bool DrawsIntoPdf(cairo_t* cr) {
  return cairo_surface_get_type(cairo_get_target(cr)) == CAIRO_SURFACE_TYPE_PDF;
}

bool DrawsIntoImage(cairo_t* cr) {
  return cairo_surface_get_type(cairo_get_target(cr)) == CAIRO_SURFACE_TYPE_IMAGE;
}

// Paints shaped lines. Into a PDF each distinct glyph is drawn once as an
// outline into a recording surface, which cairo writes once per file as a form
// and places at every position: the mark holds no text that a reader could
// extract or find, and a tiled mark stays small. On rasters the glyphs are
// drawn directly (the same unhinted outlines). What a shadow records of the
// text is filled as outlines: the rasterizer's glyph images snap to a grid,
// and a shadow must be the same wherever the text comes from.
class GlyphPainter {
 public:
  GlyphPainter(const Canvas& canvas, std::int32_t mode) : canvas_(canvas), mode_(mode) {}

  void Paint(cairo_t* cr, const ShapedLine& line, PointF origin) {
    const bool outlines = DrawsIntoPdf(cr);
    for (const auto& [face, glyphs] : GlyphRuns(line, origin)) {
      cairo_set_font_face(cr, face->cairoFace());
      if (PlacedText* capture = canvas_.capture()) {
        Place(*capture, cr, face, glyphs);
      } else if (!outlines) {
        PaintGlyphRun(cr, canvas_.fillColor(), canvas_.strokeColor(), glyphs, mode_,
                      !DrawsIntoImage(cr));
      } else {
        for (const cairo_glyph_t& glyph : glyphs) {
          cairo_set_source_surface(cr, OutlineOf(cr, face, glyph.index), glyph.x, glyph.y);
          cairo_paint(cr);
        }
      }
    }
  }

 private:
  GlyphOutline OutlineFor(cairo_t* cr, const FontFace* face, unsigned long index) const {
    GlyphOutline outline{face,
                         index,
                         mode_,
                         {},
                         cairo_get_line_width(cr),
                         canvas_.fillColor(),
                         canvas_.strokeColor()};
    cairo_get_font_matrix(cr, &outline.fontMatrix);
    return outline;
  }

  // Where each glyph's outline goes: at the glyph's position in the current
  // user space, in device space.
  void Place(PlacedText& capture, cairo_t* cr, const FontFace* face,
             const std::vector<cairo_glyph_t>& glyphs) const {
    cairo_matrix_t userToDevice;
    cairo_get_matrix(cr, &userToDevice);
    for (const cairo_glyph_t& glyph : glyphs) {
      PlacedGlyph placed{OutlineFor(cr, face, glyph.index), {}};
      cairo_matrix_t at;
      cairo_matrix_init_translate(&at, glyph.x, glyph.y);
      cairo_matrix_multiply(&placed.matrix, &at, &userToDevice);
      capture.glyphs.push_back(placed);
    }
  }

  cairo_surface_t* OutlineOf(cairo_t* cr, const FontFace* face, unsigned long index) {
    SurfaceHandle& outline = outlines_[{face, index}];
    if (outline) return outline.get();
    outline.reset(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr));
    cairo_t* glyphCr = cairo_create(outline.get());
    DrawGlyphOutline(glyphCr, OutlineFor(cr, face, index));
    cairo_destroy(glyphCr);
    return outline.get();
  }

  const Canvas& canvas_;
  std::int32_t mode_;
  std::map<std::pair<const FontFace*, unsigned long>, SurfaceHandle> outlines_;
};

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

bool GlyphOutline::operator<(const GlyphOutline& other) const {
  const auto key = [](const GlyphOutline& g) {
    const cairo_matrix_t& m = g.fontMatrix;
    return std::make_tuple(g.face, g.index, g.mode, m.xx, m.yx, m.xy, m.yy, m.x0, m.y0, g.lineWidth,
                           g.fill.red, g.fill.green, g.fill.blue, g.fill.alpha, g.stroke.red,
                           g.stroke.green, g.stroke.blue, g.stroke.alpha);
  };
  return key(*this) < key(other);
}

void DrawGlyphOutline(cairo_t* cr, const GlyphOutline& glyph) {
  cairo_set_font_face(cr, glyph.face->cairoFace());
  cairo_set_font_matrix(cr, &glyph.fontMatrix);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  cairo_set_line_width(cr, glyph.lineWidth);
  PaintGlyphRun(cr, glyph.fill, glyph.stroke, {{glyph.index, 0, 0}}, glyph.mode, true);
}

PlacedText PlaceTextWatermark(const WatermarkSettings& settings, double width, double height) {
  PlacedText placed;
  placed.opacity = std::clamp(static_cast<double>(settings.textOpacity), 0.0, 1.0);
  SurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1));
  cairo_t* cr = cairo_create(surface.get());
  {
    Canvas canvas(cr, 1.0, height);
    canvas.SetCapture(&placed);
    DrawTextWatermark(canvas, settings, {0, 0, width, height});
  }
  cairo_destroy(cr);
  return placed;
}

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

std::vector<std::pair<const FontFace*, std::vector<cairo_glyph_t>>> GlyphRuns(
    const ShapedLine& line, PointF origin) {
  std::vector<std::pair<const FontFace*, std::vector<cairo_glyph_t>>> runs;
  for (const ShapedGlyph& glyph : line.glyphs) {
    if (runs.empty() || runs.back().first != glyph.face) runs.emplace_back(glyph.face, 0);
    runs.back().second.push_back({glyph.index, origin.x + glyph.x, origin.y + glyph.y});
  }
  return runs;
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
    GlyphPainter painter(canvas, s.drawingMode);
    for (const PointF& start : starts) {
      cairo_save(layer);
      cairo_translate(layer, start.x, start.y);
      cairo_rotate(layer, angle);
      painter.Paint(layer, run, {});
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
    GlyphPainter painter(canvas, s.drawingMode);
    for (std::string_view line : lines) {
      painter.Paint(layer, ShapeLine(*font, line, kNaturalSize, vertical), {0, baseline});
      baseline -= lineHeight;
    }
  });
}

}  // namespace quillsheet
