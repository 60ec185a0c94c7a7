#include "engine/PreviewRenderer.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>

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

// What a layer's picture depends on, as text: two equal keys draw the same.
std::string LayerKey(const WatermarkSettings& s, PageLayer layer) {
  std::ostringstream key;
  key << std::hexfloat << s.viewScale << '|';
  const auto colour = [&](const std::optional<Rgba>& c) {
    if (c) key << c->red << ',' << c->green << ',' << c->blue << ',' << c->alpha;
    key << '|';
  };
  if (layer == PageLayer::Text) {
    key << s.textString << '|' << s.drawingType << '|' << s.textDistance << '|' << s.fitDrawingType
        << '|' << s.textFont << '|' << s.textFontSize << '|' << s.drawingMode << '|'
        << s.strokeWidth << '|' << s.textOpacity << '|' << s.rotationAngle << '|' << s.dropShadow
        << '|' << s.shadowXOffset << '|' << s.shadowYOffset << '|' << s.shadowBlur << '|';
    colour(s.textColor);
    colour(s.shadowColor);
    // Tiled and fitted text have no anchor.
    if (s.drawingType != 4 && !(s.drawingType == 1 && s.fitDrawingType != 0)) {
      key << s.textCenter.x << ',' << s.textCenter.y;
    }
  } else {
    key << s.fillOption << '|' << s.backStyle << '|' << s.backSize << '|' << s.backOpacity << '|'
        << s.patternName << '|' << (s.fillImage ? s.fillImage->cacheKey() : 0) << '|';
    colour(s.backColor);
    // Only placed pictures and picture tiles start at the anchor.
    if (s.backStyle == 1 || s.backStyle == 6) key << s.fillCenter.x << ',' << s.fillCenter.y;
  }
  return key.str();
}

// Paints a picture of the whole page, pixel for pixel.
void PaintPicture(cairo_t* cr, cairo_surface_t* picture) {
  if (!picture) return;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_set_source_surface(cr, picture, 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
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
    for (const PageLayer layer : groups.behind) PaintPicture(cr, LayerPicture(settings, layer));
    PaintPicture(cr, page_.get());
    for (const PageLayer layer : groups.front) PaintPicture(cr, LayerPicture(settings, layer));
    if (const auto marker = MarkerPosition(settings, target)) {
      DrawPositionMarker(canvas, marker->x, marker->y);
    }
  }
  cairo_destroy(cr);
  cairo_surface_flush(frame.get());
  return frame;
}

cairo_surface_t* PreviewFrames::LayerPicture(const WatermarkSettings& settings,
                                             PageLayer layer) const {
  KeptLayer& kept = layer == PageLayer::Text ? keptText_ : keptFill_;
  std::string key = LayerKey(settings, layer);
  if (!kept.picture || kept.drawnWith != key) {
    kept = {std::move(key), NewSurface(size_, scale_)};
    if (!kept.picture) return nullptr;
    cairo_t* layerCr = cairo_create(kept.picture.get());
    {
      Canvas canvas(layerCr, scale_, size_.height);
      DrawWatermarkLayer(canvas, settings, layer, {0, 0, size_.width, size_.height});
    }
    cairo_destroy(layerCr);
    cairo_surface_flush(kept.picture.get());
  }
  return kept.picture.get();
}

double PreviewFrames::VisibleShareBehind(const WatermarkSettings& settings) const {
  if (!page_) return 1;
  const std::vector<PageLayer> behind = SplitAroundPage(settings).behind;
  std::string layers;
  for (const PageLayer layer : behind) layers += LayerKey(settings, layer) + "\n";
  if (layers == shareOf_) return share_;
  double drawn = 0;
  double showing = 0;
  const int width = cairo_image_surface_get_width(page_.get());
  const int height = cairo_image_surface_get_height(page_.get());
  const auto alpha = [](cairo_surface_t* surface, int x, int y) {
    const unsigned char* row = cairo_image_surface_get_data(surface) +
                               static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(surface);
    std::uint32_t pixel;
    std::memcpy(&pixel, row + static_cast<ptrdiff_t>(x) * 4, 4);
    return (pixel >> 24) / 255.0;
  };
  for (const PageLayer layer : behind) {
    cairo_surface_t* picture = LayerPicture(settings, layer);
    if (!picture) continue;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const double mark = alpha(picture, x, y);
        drawn += mark;
        showing += mark * (1 - alpha(page_.get(), x, y));
      }
    }
  }
  shareOf_ = std::move(layers);
  share_ = drawn > 0 ? showing / drawn : 1;
  return share_;
}

bool PreviewFrames::HidesTheMarkBehind(const WatermarkSettings& settings) const {
  // Marks only for print or only for the screen are annotations, drawn over
  // the page whatever their layer's place.
  if (settings.markVisibility != 0) return false;
  constexpr double kLeastVisibleShare = 0.5;
  return VisibleShareBehind(settings) < kLeastVisibleShare;
}

SurfaceHandle RenderPreview(const SourcePage& page, const WatermarkSettings& settings,
                            double scale) {
  return PreviewFrames(page, scale).Frame(settings);
}

}  // namespace quillsheet
