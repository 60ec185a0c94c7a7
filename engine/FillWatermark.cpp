#include "engine/FillWatermark.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>

#include "engine/PatternCatalog.h"

namespace quillsheet {
namespace {

// A user image is rastered at its own size, but never beyond this many
// pixels, so a huge picture cannot exhaust memory.
constexpr double kMaxRasterPixels = 64e6;

bool IsUsableSize(SizeF size) {
  return size.width > 0 && size.height > 0 && std::isfinite(size.width) &&
         std::isfinite(size.height);
}

SurfaceHandle SurfaceFromImage(const QImage& image, int width, int height) {
  const QImage scaled =
      (image.width() == width && image.height() == height)
          ? image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
          : image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (scaled.isNull()) return nullptr;
  SurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_surface_flush(surface.get());
  unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int row = 0; row < height; ++row) {
    std::memcpy(data + static_cast<ptrdiff_t>(row) * stride, scaled.constScanLine(row),
                static_cast<size_t>(width) * 4);
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

// Rasters of pictures are costly (a 2000 x 2000 picture takes tens of
// milliseconds) and the same picture is drawn again and again: on every
// page of a document, and on every frame while the preview is dragged. Each
// thread keeps its last raster; rasters shared between threads could be
// touched by two cairo contexts at once. Very large rasters are not kept.
SurfaceHandle CachedSurfaceFromImage(const QImage& image, int width, int height) {
  struct Kept {
    qint64 key = 0;
    int width = 0;
    int height = 0;
    SurfaceHandle surface;
  };
  constexpr double kMostKeptPixels = 16e6;
  // Two: a picture's full raster and the one sized for the screen.
  thread_local std::array<Kept, 2> kept;
  for (Kept& entry : kept) {
    if (entry.surface && entry.key == image.cacheKey() && entry.width == width &&
        entry.height == height) {
      return SurfaceHandle(cairo_surface_reference(entry.surface.get()));
    }
  }
  SurfaceHandle surface = SurfaceFromImage(image, width, height);
  if (surface && double(width) * height <= kMostKeptPixels) {
    std::swap(kept[0], kept[1]);  // the older one goes
    kept[0] = {image.cacheKey(), width, height,
               SurfaceHandle(cairo_surface_reference(surface.get()))};
  }
  return surface;
}

// The device pixels per user unit of a context, for rastering cells sharply.
double DeviceScale(cairo_t* cr) {
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  return std::max(1e-3, std::sqrt(std::abs(m.xx * m.yy - m.xy * m.yx)));
}

// Fills the area (fillRect, or the whole clip) with a cell of size step
// repeated from phase, drawing the cell y up. Raster targets get a cell
// rastered at device resolution; vector targets a vector cell.
void FillWithRepeatedCell(cairo_t* cr, SizeF step, PointF phase,
                          const std::function<void(cairo_t*)>& drawCell,
                          const std::optional<RectF>& fillRect, double alpha) {
  if (!IsUsableSize(step) || !std::isfinite(phase.x) || !std::isfinite(phase.y)) return;
  const bool raster = cairo_surface_get_type(cairo_get_target(cr)) == CAIRO_SURFACE_TYPE_IMAGE;
  double unitsX = 1;
  double unitsY = 1;
  SurfaceHandle cell;
  if (raster) {
    // Large cells at high zoom are rastered coarser rather than exhaust memory.
    const double area = step.width * step.height;
    const double scale = std::min(DeviceScale(cr), std::sqrt(kMaxRasterPixels / area));
    const int width = std::max(1, static_cast<int>(std::lround(step.width * scale)));
    const int height = std::max(1, static_cast<int>(std::lround(step.height * scale)));
    cell.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    unitsX = width / step.width;
    unitsY = height / step.height;
  } else {
    const cairo_rectangle_t extents{0, 0, step.width, step.height};
    cell.reset(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents));
  }
  if (cairo_surface_status(cell.get()) != CAIRO_STATUS_SUCCESS) return;
  {
    cairo_t* cellContext = cairo_create(cell.get());
    cairo_scale(cellContext, unitsX, unitsY);
    cairo_translate(cellContext, 0, step.height);
    cairo_scale(cellContext, 1, -1);
    drawCell(cellContext);
    cairo_destroy(cellContext);
  }
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(cell.get());
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
  // User space (y up, cell phase at `phase`) to cell space (y down, in cell units).
  cairo_matrix_t matrix;
  cairo_matrix_init(&matrix, unitsX, 0, 0, -unitsY, -phase.x * unitsX,
                    (phase.y + step.height) * unitsY);
  cairo_pattern_set_matrix(pattern, &matrix);

  cairo_save(cr);
  if (fillRect) {
    cairo_rectangle(cr, fillRect->x, fillRect->y, fillRect->width, fillRect->height);
    cairo_clip(cr);
  }
  cairo_set_source(cr, pattern);
  cairo_paint_with_alpha(cr, std::clamp(alpha, 0.0, 1.0));
  cairo_restore(cr);
  cairo_pattern_destroy(pattern);
}

std::optional<RectF> ImageRectForStyle(int style, SizeF scaled, PointF anchor, SizeF page,
                                       cairo_surface_t* raster) {
  switch (style) {
    case 1:
      return RectF{anchor.x, anchor.y, scaled.width, scaled.height};
    case 2:
      return RectF{(page.width - scaled.width) * 0.5, (page.height - scaled.height) * 0.5,
                   scaled.width, scaled.height};
    case 3: {
      const double pw = cairo_image_surface_get_width(raster);
      const double ph = cairo_image_surface_get_height(raster);
      const SizeF fitted = pw / ph >= page.width / page.height
                               ? SizeF{page.width, page.width / pw * ph}
                               : SizeF{page.height / ph * pw, page.height};
      return RectF{(page.width - fitted.width) * 0.5, (page.height - fitted.height) * 0.5,
                   fitted.width, fitted.height};
    }
    case 4:
      return RectF{0, 0, page.width, page.height};
    default:
      return std::nullopt;
  }
}

SurfaceHandle PatternRaster(const std::string& name, SizeF& size) {
  if (name.empty()) return nullptr;
  const auto file = PatternImageFile(name);
  if (!file) return nullptr;
  const Value::Image image = DecodeImageFile(file->string());
  return image ? RasterizeImage(image.get(), size, true) : nullptr;
}

}  // namespace

SurfaceHandle RasterizeImage(const QImage* image, SizeF& size, bool reduce) {
  if (!image || image->isNull()) return nullptr;
  const double iw = image->width();
  const double ih = image->height();
  const double bw = size.width;
  const double bh = size.height;
  SizeF raster{iw, ih};
  if (iw > bw || ih > bh) {
    const double f = iw / ih >= bw / bh ? iw / bw : ih / bh;
    size = {RoundHalfAway(iw / f), RoundHalfAway(ih / f)};
    if (reduce) raster = {iw / f, ih / f};
  } else {
    size = {iw, ih};
  }
  double width = std::max(1.0, RoundHalfAway(raster.width));
  double height = std::max(1.0, RoundHalfAway(raster.height));
  if (!std::isfinite(width) || !std::isfinite(height)) return nullptr;
  if (width * height > kMaxRasterPixels) {
    const double shrink = std::sqrt(kMaxRasterPixels / (width * height));
    width = std::max(1.0, std::floor(width * shrink));
    height = std::max(1.0, std::floor(height * shrink));
  }
  return CachedSurfaceFromImage(*image, static_cast<int>(width), static_cast<int>(height));
}

void FillWithPatternCell(cairo_t* cr, bool grid, const std::optional<Rgba>& color,
                         cairo_surface_t* image, const RectF& fillRect, SizeF cellSize,
                         double alpha) {
  if ((!image && !color) || !IsUsableSize(cellSize)) return;
  const double cw = cellSize.width;
  const double ch = cellSize.height;
  const SizeF step = grid ? cellSize : SizeF{cw * 2, ch * 2};
  const auto drawCell = [&](cairo_t* cell) {
    if (image) {
      PaintImageInRect(cell, image, {0, 0, cw, ch});
      PaintImageInRect(cell, image, {cw, ch, cw, ch});
      return;
    }
    SetSourceColor(cell, *color);
    if (grid) {
      cairo_rectangle(cell, 0, 0, cw - cw / 10, ch - ch / 10);
    } else {
      cairo_rectangle(cell, 0, 0, cw, ch);
      cairo_rectangle(cell, cw, ch, cw, ch);
    }
    cairo_fill(cell);
  };
  FillWithRepeatedCell(cr, step, {0, 0}, drawCell, fillRect, alpha);
}

void DrawImageFill(Canvas& canvas, const WatermarkSettings& s, bool usePattern,
                   const RectF& target) {
  const SizeF page{target.width, target.height};
  SizeF size = page;
  const SurfaceHandle raster = usePattern ? PatternRaster(s.patternName, size)
                                          : RasterizeImage(s.fillImage.get(), size, false);
  if (!raster) return;
  Canvas::State state(canvas);
  const SizeF scaled{size.width * s.backSize, size.height * s.backSize};
  const PointF anchor{page.width / s.fillCenter.x, page.height / s.fillCenter.y};

  canvas.DrawLayer(s.backOpacity, std::nullopt, [&](cairo_t* cr) {
    if (s.backStyle == 5) {
      FillWithPatternCell(cr, false, std::nullopt, raster.get(), target, scaled, s.backOpacity);
    } else if (s.backStyle == 6) {
      FillWithRepeatedCell(
          cr, scaled, anchor,
          [&](cairo_t* cell) {
            PaintImageInRect(cell, raster.get(), {0, 0, scaled.width, scaled.height});
          },
          std::nullopt, 1.0);
    } else if (const auto rect =
                   ImageRectForStyle(s.backStyle, scaled, anchor, page, raster.get())) {
      // On screen a picture is drawn from a copy at the pixels it covers:
      // scaling the full picture down on every frame of a drag is too slow.
      SurfaceHandle onScreen;
      if (!usePattern && cairo_surface_get_type(cairo_get_target(cr)) == CAIRO_SURFACE_TYPE_IMAGE) {
        const double pixels = DeviceScale(cr);
        const int width = std::max(1, static_cast<int>(std::lround(rect->width * pixels)));
        const int height = std::max(1, static_cast<int>(std::lround(rect->height * pixels)));
        if (width < cairo_image_surface_get_width(raster.get())) {
          onScreen = CachedSurfaceFromImage(*s.fillImage, width, height);
        }
      }
      PaintImageInRect(cr, onScreen ? onScreen.get() : raster.get(), *rect);
    }
  });
}

void DrawColorFill(Canvas& canvas, const WatermarkSettings& s, const RectF& target) {
  if (!s.backColor) return;
  Canvas::State state(canvas);
  const double W = target.width;
  const double H = target.height;
  const SizeF scaled{W * s.backSize, H * s.backSize};
  const PointF anchor{W / s.fillCenter.x, H / s.fillCenter.y};
  canvas.DrawLayer(s.backOpacity, std::nullopt, [&](cairo_t* cr) {
    std::optional<RectF> rect;
    switch (s.backStyle) {
      case 1:
        rect = RectF{anchor.x, anchor.y, scaled.width, scaled.height};
        break;
      case 2:
        rect =
            RectF{(W - scaled.width) * 0.5, (H - scaled.height) * 0.5, scaled.width, scaled.height};
        break;
      case 3:
      case 4:
        rect = RectF{0, 0, W, H};
        break;
      case 5:
      case 6:
        FillWithPatternCell(cr, s.backStyle == 6, s.backColor, nullptr, target, scaled,
                            s.backOpacity);
        return;
      default:
        return;
    }
    if (!rect->IsFinite()) return;
    SetSourceColor(cr, *s.backColor);
    cairo_rectangle(cr, rect->x, rect->y, rect->width, rect->height);
    cairo_fill(cr);
  });
}

}  // namespace quillsheet
