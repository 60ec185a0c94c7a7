// The preview of one page: white paper, the page and its layers in order,
// and the marker when the settings ask for it, as a raster.
#pragma once

#include <string>

#include "engine/Compositor.h"
#include "engine/FillWatermark.h"
#include "engine/SourceDocument.h"
#include "engine/WatermarkSettings.h"

namespace quillsheet {

// A page drawn once at one scale, from which frames with any settings are
// made: an edit redraws only the layers around the kept picture of the
// page, split around it as the writer splits them. The last picture of each
// layer is kept too, and used again while the settings that draw it stay
// the same (moving the text leaves a fill untouched; a tiled text does not
// move). Not thread-safe; use one thread at a time.
class PreviewFrames {
 public:
  // Draws the page at scale pixels per point; invalid when the page or the
  // scale gives no pixels.
  PreviewFrames(const SourcePage& page, double scale);

  bool valid() const { return page_ != nullptr; }
  double scale() const { return scale_; }
  SizeF pagePoints() const { return size_; }

  // The page with the layers and the marker of the settings, on white paper;
  // settings.viewScale should be scale(). Null when invalid.
  SurfaceHandle Frame(const WatermarkSettings& settings) const;

  // Whether the page hides most of what the layers behind it draw: less
  // than half of it shows through (an opaque background, a scan, a form's
  // filled boxes). False when nothing is drawn behind the page, and for
  // marks only for print or only for the screen (annotations over the page).
  bool HidesTheMarkBehind(const WatermarkSettings& settings) const;

 private:
  struct KeptLayer {
    std::string drawnWith;  // the settings that drew it, as LayerKey gives them
    SurfaceHandle picture;
  };
  cairo_surface_t* LayerPicture(const WatermarkSettings& settings, PageLayer layer) const;
  // How much of the layers behind the page shows through it, 0 to 1.
  double VisibleShareBehind(const WatermarkSettings& settings) const;

  SurfaceHandle page_;  // the page alone, transparent where it paints nothing
  mutable KeptLayer keptFill_;
  mutable KeptLayer keptText_;
  mutable std::string shareOf_;  // the layer keys VisibleShareBehind last measured
  mutable double share_ = 1;
  SizeF size_;
  double scale_;
};

// One frame of a page at scale pixels per point; null when the page or the
// scale gives no pixels.
SurfaceHandle RenderPreview(const SourcePage& page, const WatermarkSettings& settings,
                            double scale);

}  // namespace quillsheet
