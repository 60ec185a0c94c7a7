#include "engine/PreviewRenderer.h"

#include <cmath>

#include "engine/Compositor.h"

namespace quillsheet {
namespace {

// The largest preview side in pixels; a bigger request is refused rather than
// allocated.
constexpr double kMaxPreviewSide = 30000;

SurfaceHandle NewSurface(SizeF size, double scale) {
  const double width = std::ceil(size.width * scale);
  const double height = std::ceil(size.height * scale);
  if (!(width >= 1 && height >= 1 && width <= kMaxPreviewSide && height <= kMaxPreviewSide)) {
    return nullptr;
  }
  SurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width),
                                                   static_cast<int>(height)));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  return surface;
}

}  // namespace

PreviewFrames::PreviewFrames(const SourcePage& page, double scale)
    : size_(page.DisplayedSize()), scale_(scale) {
  SurfaceHandle surface = NewSurface(size_, scale_);
  if (!surface) return;
  cairo_t* cr = cairo_create(surface.get());
  {
    Canvas canvas(cr, scale_, size_.height);
    DrawPageContent(canvas, page, {0, 0, size_.width, size_.height});
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface.get());
  page_ = std::move(surface);
}

SurfaceHandle PreviewFrames::Frame(const WatermarkSettings& settings) const {
  if (!page_) return nullptr;
  SurfaceHandle frame = NewSurface(size_, scale_);
  if (!frame) return nullptr;
  cairo_t* cr = cairo_create(frame.get());
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  {
    Canvas canvas(cr, scale_, size_.height);
    const RectF target{0, 0, size_.width, size_.height};
    const LayerGroups groups = SplitAroundPage(settings);
    for (const PageLayer layer : groups.behind) {
      DrawWatermarkLayer(canvas, settings, layer, target);
    }
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, page_.get(), 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    for (const PageLayer layer : groups.front) DrawWatermarkLayer(canvas, settings, layer, target);
    if (const auto marker = MarkerPosition(settings, target)) {
      DrawPositionMarker(canvas, marker->x, marker->y);
    }
  }
  cairo_destroy(cr);
  cairo_surface_flush(frame.get());
  return frame;
}

SurfaceHandle RenderPreview(const SourcePage& page, const WatermarkSettings& settings,
                            double scale) {
  return PreviewFrames(page, scale).Frame(settings);
}

}  // namespace quillsheet
