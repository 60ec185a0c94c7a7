// The preview of one page: white paper, the page and its layers in order,
// and the marker when the settings ask for it, as a raster.
#pragma once

#include "engine/FillWatermark.h"
#include "engine/SourceDocument.h"
#include "engine/WatermarkSettings.h"

namespace quillsheet {

// Renders the page at scale pixels per point; settings.viewScale should be
// the same scale. Null when the page or the scale gives no pixels.
SurfaceHandle RenderPreview(const SourcePage& page, const WatermarkSettings& settings,
                            double scale);

}  // namespace quillsheet
