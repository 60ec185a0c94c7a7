#include "output/MarkDocument.h"

#include <cairo-pdf.h>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include "engine/Canvas.h"

namespace quillsheet {
namespace {

// Shadows in files are rastered this many times finer than a point, which
// stays clean at 200 % zoom.
constexpr double kShadowPixelsPerPoint = 3.0;

}  // namespace

std::string RenderLayersAsPdf(const WatermarkSettings& settings,
                              const std::vector<PageLayer>& layers, double width, double height) {
  std::string bytes;
  cairo_surface_t* surface =
      cairo_pdf_surface_create_for_stream(AppendToString, &bytes, width, height);
  cairo_t* cr = cairo_create(surface);
  {
    Canvas canvas(cr, 1.0, height, kShadowPixelsPerPoint);
    const RectF target{0, 0, width, height};
    for (const PageLayer layer : layers) DrawWatermarkLayer(canvas, settings, layer, target);
  }
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok ? bytes : std::string();
}

std::shared_ptr<const std::string> DrawnMarks::Get(const std::vector<PageLayer>& layers,
                                                   double width, double height,
                                                   const std::string& text) {
  std::lock_guard lock(guard_);
  auto& drawn = drawn_[std::make_tuple(width, height, layers, text)];
  if (!drawn) {
    WatermarkSettings settings = settings_;
    settings.textString = text;
    auto bytes = std::make_shared<std::string>(RenderLayersAsPdf(settings, layers, width, height));
    if (bytes->empty()) throw std::runtime_error("the watermark could not be drawn");
    drawn = std::move(bytes);
  }
  return drawn;
}

struct MarkCache::Source {
  std::shared_ptr<const std::string> bytes;  // qpdf reads the memory file in place and lazily
  QPDF document;
};

MarkCache::MarkCache(QPDF& output, DrawnMarks& marks) : output_(output), marks_(marks) {}

MarkCache::~MarkCache() = default;

QPDFObjectHandle MarkCache::FormFor(const std::vector<PageLayer>& layers, double width,
                                    double height, const std::string& text) {
  const auto key = std::make_tuple(width, height, layers, text);
  if (const auto found = forms_.find(key); found != forms_.end()) return found->second;

  auto source = std::make_unique<Source>();
  source->bytes = marks_.Get(layers, width, height, text);
  source->document.setSuppressWarnings(true);
  source->document.processMemoryFile("watermark", source->bytes->data(), source->bytes->size());
  QPDFPageObjectHelper page = QPDFPageDocumentHelper(source->document).getAllPages().at(0);
  QPDFObjectHandle form = output_.copyForeignObject(page.getFormXObjectForPage());
  sources_.push_back(std::move(source));
  forms_.emplace(key, form);
  return form;
}

}  // namespace quillsheet
