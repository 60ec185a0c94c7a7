#include "output/ComposedText.h"

#include <cairo-pdf.h>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/Pl_String.hh>

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

std::string Deflated(const std::string& samples) {
  std::string deflated;
  Pl_String text("shadow mask", nullptr, deflated);
  Pl_Flate deflate("shadow mask", &text, Pl_Flate::a_deflate);
  deflate.write(reinterpret_cast<const unsigned char*>(samples.data()), samples.size());
  deflate.finish();
  return deflated;
}

// The text's shadow as the engine draws it under a text layer: the same
// picture, made from the glyphs where the text placed them.
std::optional<ComposedTexts::Shadow> ShadowOf(const PlacedText& text, const Canvas::Shadow& shadow,
                                              double width, double height) {
  const cairo_rectangle_t page{0, 0, width, height};
  SurfaceHandle surface(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &page));
  cairo_t* cr = cairo_create(surface.get());
  const auto picture = MakeShadowPicture(cr, kShadowPixelsPerPoint, shadow, [&](cairo_t* layer) {
    for (const PlacedGlyph& glyph : text.glyphs) {
      cairo_save(layer);
      cairo_transform(layer, &glyph.matrix);
      DrawGlyphOutline(layer, glyph.outline);
      cairo_restore(layer);
    }
  });
  cairo_destroy(cr);
  if (!picture) return std::nullopt;
  ComposedTexts::Shadow made;
  made.width = cairo_image_surface_get_width(picture->mask.get());
  made.height = cairo_image_surface_get_height(picture->mask.get());
  const int stride = cairo_image_surface_get_stride(picture->mask.get());
  const unsigned char* data = cairo_image_surface_get_data(picture->mask.get());
  std::string samples;
  samples.reserve(static_cast<size_t>(made.width) * made.height);
  for (int row = 0; row < made.height; ++row) {
    const auto* line = reinterpret_cast<const char*>(data + static_cast<size_t>(row) * stride);
    samples.append(line, static_cast<size_t>(made.width));
  }
  made.mask = Deflated(samples);
  made.box = {picture->origin.x, picture->origin.y, made.width / picture->pixelsPerUnit,
              made.height / picture->pixelsPerUnit};
  made.color = shadow.color;
  return made;
}

// Paints the shadow's colour through its mask (a luminosity soft mask over a
// black backdrop, so nothing shows outside the mask), in the group's space.
std::string ShadowOperators(QPDF& output, const ComposedTexts::Shadow& shadow,
                            QPDFObjectHandle resources, double width, double height) {
  QPDFObjectHandle mask = QPDFObjectHandle::newStream(&output);
  mask.replaceDict(QPDFObjectHandle::parse(
      "<< /Type /XObject /Subtype /Image /Width " + std::to_string(shadow.width) + " /Height " +
      std::to_string(shadow.height) + " /ColorSpace /DeviceGray /BitsPerComponent 8 >>"));
  mask.replaceStreamData(shadow.mask, QPDFObjectHandle::newName("/FlateDecode"),
                         QPDFObjectHandle::newNull());
  const RectF& box = shadow.box;
  // The image's first row at the box's top (device space runs down).
  QPDFObjectHandle luminosity = QPDFObjectHandle::newStream(
      &output, "q " + PdfNumber(box.width) + " 0 0 " + PdfNumber(-box.height) + ' ' +
                   PdfNumber(box.x) + ' ' + PdfNumber(box.y + box.height) + " cm /M Do Q\n");
  luminosity.replaceDict(QPDFObjectHandle::parse(
      "<< /Type /XObject /Subtype /Form /BBox [0 0 " + PdfNumber(width) + ' ' + PdfNumber(height) +
      "] /Group << /Type /Group /S /Transparency /CS /DeviceGray >> /Resources << >> >>"));
  QPDFObjectHandle images = QPDFObjectHandle::newDictionary();
  images.replaceKey("/M", mask);
  luminosity.getDict().getKey("/Resources").replaceKey("/XObject", images);

  QPDFObjectHandle state = QPDFObjectHandle::parse(
      "<< /SMask << /Type /Mask /S /Luminosity >> /ca " + PdfNumber(shadow.color.alpha) + " >>");
  state.getKey("/SMask").replaceKey("/G", luminosity);
  QPDFObjectHandle states = QPDFObjectHandle::newDictionary();
  states.replaceKey("/S", state);
  resources.replaceKey("/ExtGState", states);
  return "q /S gs " + PdfNumber(shadow.color.red) + ' ' + PdfNumber(shadow.color.green) + ' ' +
         PdfNumber(shadow.color.blue) + " rg " + PdfNumber(box.x) + ' ' + PdfNumber(box.y) + ' ' +
         PdfNumber(box.width) + ' ' + PdfNumber(box.height) + " re f Q\n";
}

}  // namespace

bool CanComposeText(const WatermarkSettings& settings, const std::vector<PageLayer>& layers) {
  return settings.textFields && layers == std::vector<PageLayer>{PageLayer::Text};
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
  const std::optional<Canvas::Shadow> shadow = TextShadow(settings);
  for (const PlacedText& text : placed) {
    ComposedTexts::Text& made = composed->texts.emplace_back();
    made.opacity = text.opacity;
    if (shadow) made.shadow = ShadowOf(text, *shadow, width, height);
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
  QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
  resources.replaceKey("/XObject", glyphs);
  const std::string shadow = made.shadow ? ShadowOperators(output, *made.shadow, resources,
                                                           composed.width, composed.height)
                                         : std::string();
  QPDFObjectHandle group = QPDFObjectHandle::newStream(&output, shadow + made.operators);
  group.replaceDict(QPDFObjectHandle::parse(
      "<< /Type /XObject /Subtype /Form /BBox " + box +
      " /Group << /Type /Group /S /Transparency /I true /CS /DeviceRGB >> >>"));
  group.getDict().replaceKey("/Resources", resources);
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
