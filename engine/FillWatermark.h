// The fill layer: a colour, the user's image or a shipped pattern image,
// placed by one of six styles.
#pragma once

#include <QImage>
#include <memory>

#include "engine/Canvas.h"
#include "engine/WatermarkSettings.h"

namespace quillsheet {

// Turns an image into an ARGB32 raster. On entry size is the bound; on return
// it is the size at which the image is to be drawn (the image fitted inside
// the bound when larger, rounded). With reduce the raster is made at that
// size, otherwise at the image's own size. Images are one pixel per point.
// Null for a null image.
SurfaceHandle RasterizeImage(const QImage* image, SizeF& size, bool reduce);

void DrawImageFill(Canvas& canvas, const WatermarkSettings& settings, bool usePattern,
                   const RectF& target);
void DrawColorFill(Canvas& canvas, const WatermarkSettings& settings, const RectF& target);

// Fills fillRect with a repeated cell of cellSize, aligned with the origin of
// the current user space: with grid, one cell per step with a 10 % gap (a
// colour) ; without, a checkerboard of cells (colour or image). The pattern's
// own alpha multiplies the context's. Nothing for an empty cell.
void FillWithPatternCell(cairo_t* cr, bool grid, const std::optional<Rgba>& color,
                         cairo_surface_t* image, const RectF& fillRect, SizeF cellSize,
                         double alpha);

}  // namespace quillsheet
