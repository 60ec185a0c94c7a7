#include "output/ComposedText.h"

#include <cairo-pdf.h>

#include <map>
#include <set>

#include "engine/TextWatermark.h"
#include "output/MarkDocument.h"

namespace quillsheet {
namespace {

// A glyph outline drawn on a page of its own: the page's size and where
// the outline's origin sits on it (device space, y down).
struct GlyphPage {
  int page = 0;
  double width = 0;
  double height = 0;
  double x = 0;
  double y = 0;
};

std::string MatrixOperator(const cairo_matrix_t& m) {
  return PdfNumber(m.xx) + ' ' + PdfNumber(m.yx) + ' ' + PdfNumber(m.xy) + ' ' + PdfNumber(m.yy) +
         ' ' + PdfNumber(m.x0) + ' ' + PdfNumber(m.y0) + " cm";
}

// Sizes each outline's page and places the outline on it.
void MeasureOutlines(std::map<GlyphOutline, GlyphPage>& outlines) {
  int number = 0;
  for (auto& [outline, page] : outlines) {
    SurfaceHandle recording(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr));
    cairo_t* measure = cairo_create(recording.get());
    DrawGlyphOutline(measure, outline);
    cairo_destroy(measure);
    double x = 0, y = 0, width = 0, height = 0;
    cairo_recording_surface_ink_extents(recording.get(), &x, &y, &width, &height);
    page = {number++, width + 2, height + 2, 1 - x, 1 - y};
  }
}

// Draws every distinct outline once, each on its own page.
std::string DrawOutlines(const std::map<GlyphOutline, GlyphPage>& outlines) {
  std::string bytes;
  cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(AppendToString, &bytes, 1, 1);
  cairo_t* cr = cairo_create(surface);
  for (const auto& [outline, page] : outlines) {
    cairo_pdf_surface_set_size(surface, page.width, page.height);
    cairo_save(cr);
    cairo_translate(cr, page.x, page.y);
    DrawGlyphOutline(cr, outline);
    cairo_restore(cr);
    cairo_show_page(cr);
  }
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok ? bytes : std::string();
}

}  // namespace

bool CanComposeText(const WatermarkSettings& settings, const std::vector<PageLayer>& layers) {
  return settings.textFields && !settings.dropShadow &&
         layers == std::vector<PageLayer>{PageLayer::Text};
}

std::shared_ptr<const ComposedTexts> ComposeTexts(const WatermarkSettings& settings, double width,
                                                  double height,
                                                  const std::vector<std::string>& texts) {
  std::vector<PlacedText> placed;
  std::map<GlyphOutline, GlyphPage> outlines;
  WatermarkSettings page = settings;
  for (const std::string& text : texts) {
    page.textString = text;
    placed.push_back(PlaceTextWatermark(page, width, height));
    for (const PlacedGlyph& glyph : placed.back().glyphs)
      outlines.emplace(glyph.outline, GlyphPage{});
  }
  MeasureOutlines(outlines);
  auto composed = std::make_shared<ComposedTexts>();
  composed->glyphFile = DrawOutlines(outlines);
  if (composed->glyphFile.empty()) return nullptr;
  composed->width = width;
  composed->height = height;
  for (const PlacedText& text : placed) {
    ComposedTexts::Text& made = composed->texts.emplace_back();
    made.opacity = text.opacity;
    std::set<int> used;
    for (const PlacedGlyph& glyph : text.glyphs) {
      const GlyphPage& at = outlines.at(glyph.outline);
      // Outline form space (y up) -> its page's device space -> the
      // outline's own space -> the mark's device space (y down).
      cairo_matrix_t flip, shift, toOutline, whole;
      cairo_matrix_init(&flip, 1, 0, 0, -1, 0, at.height);
      cairo_matrix_init_translate(&shift, -at.x, -at.y);
      cairo_matrix_multiply(&toOutline, &flip, &shift);
      cairo_matrix_multiply(&whole, &toOutline, &glyph.matrix);
      made.operators += "q " + MatrixOperator(whole) + " /G" + std::to_string(at.page) + " Do Q\n";
      used.insert(at.page);
    }
    made.glyphPages.assign(used.begin(), used.end());
  }
  return composed;
}

QPDFObjectHandle ComposedForm(QPDF& output, const ComposedTexts& composed, size_t text,
                              const std::function<QPDFObjectHandle(int page)>& glyphForm) {
  const ComposedTexts::Text& made = composed.texts.at(text);
  const std::string box =
      "[0 0 " + PdfNumber(composed.width) + ' ' + PdfNumber(composed.height) + ']';
  // The group, in device space (y down) as the engine placed the glyphs.
  QPDFObjectHandle glyphs = QPDFObjectHandle::newDictionary();
  for (const int page : made.glyphPages) {
    glyphs.replaceKey("/G" + std::to_string(page), glyphForm(page));
  }
  QPDFObjectHandle group = QPDFObjectHandle::newStream(&output, made.operators);
  group.replaceDict(QPDFObjectHandle::parse(
      "<< /Type /XObject /Subtype /Form /BBox " + box +
      " /Group << /Type /Group /S /Transparency /I true /CS /DeviceRGB >> /Resources << >> >>"));
  group.getDict().getKey("/Resources").replaceKey("/XObject", glyphs);
  // The form: page space (y up), the group at the layer's opacity.
  const std::string opacity = PdfNumber(made.opacity);
  QPDFObjectHandle form = QPDFObjectHandle::newStream(
      &output, "q 1 0 0 -1 0 " + PdfNumber(composed.height) + " cm /A gs /T Do Q\n");
  form.replaceDict(QPDFObjectHandle::parse("<< /Type /XObject /Subtype /Form /BBox " + box +
                                           " /Resources << /ExtGState << /A << /ca " + opacity +
                                           " /CA " + opacity + " >> >> /XObject << >> >> >>"));
  form.getDict().getKey("/Resources").getKey("/XObject").replaceKey("/T", group);
  return form;
}

}  // namespace quillsheet
