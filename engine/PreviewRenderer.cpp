#include "engine/PreviewRenderer.h"

#include <cmath>

#include "engine/Compositor.h"

namespace quillsheet {

// The largest preview side in pixels; a bigger request is refused rather than
// allocated.
constexpr double kMaxPreviewSide = 30000;

SurfaceHandle RenderPreview(const SourcePage& page, const WatermarkSettings& settings,
                            double scale) {
  const SizeF size = page.DisplayedSize();
  const double width = std::ceil(size.width * scale);
  const double height = std::ceil(size.height * scale);
  if (!(width >= 1 && height >= 1 && width <= kMaxPreviewSide && height <= kMaxPreviewSide)) {
    return nullptr;
  }
  SurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width),
                                                   static_cast<int>(height)));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_t* cr = cairo_create(surface.get());
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  {
    Canvas canvas(cr, scale, size.height);
    const RectF box{0, 0, size.width, size.height};
    DrawWatermarkedPage(canvas, settings, page, box, box);
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface.get());
  return surface;
}

}  // namespace quillsheet
