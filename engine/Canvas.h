// The one adapter between the engine's page space (points, origin lower left,
// y up) and a cairo surface (origin top left, y down). Every drawing surface,
// preview raster or PDF page, goes through it, so the flip lives in one place.
#pragma once

#include <cairo.h>

#include <functional>
#include <memory>
#include <optional>

#include "engine/Geometry.h"
#include "engine/PresetValues.h"

namespace quillsheet {

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using SurfaceHandle = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

struct PlacedText;

class Canvas {
 public:
  // cr draws on a surface whose device space is pixels (or PDF points) with y
  // down. The page of pageHeight points is drawn at deviceScale device units
  // per point; for vector surfaces pass rasterScale, the pixels per device
  // unit used for effects that need a raster (shadows).
  Canvas(cairo_t* cr, double deviceScale, double pageHeight, double rasterScale = 1.0);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return cr_; }
  double rasterScale() const { return rasterScale_; }

  // The colours a drawing mode paints with; both start black, as on a fresh
  // context, and follow save/restore through State.
  void SetFillColor(const std::optional<Rgba>& color);
  void SetStrokeColor(const std::optional<Rgba>& color);
  // Makes the colour the source of cr (the canvas's context or the layer
  // context handed to a DrawLayer painter).
  void UseFillColor(cairo_t* cr) const;
  void UseStrokeColor(cairo_t* cr) const;
  const Rgba& fillColor() const { return fill_; }
  const Rgba& strokeColor() const { return stroke_; }

  // While a capture is set, text layers are laid out into it instead of
  // being drawn, and layers are not composited (no group, no shadow).
  void SetCapture(PlacedText* capture) { capture_ = capture; }
  PlacedText* capture() const { return capture_; }

  // Brackets a routine's drawing: restores the cairo state and the colours.
  class State {
   public:
    explicit State(Canvas& canvas);
    ~State();
    State(const State&) = delete;
    State& operator=(const State&) = delete;

   private:
    Canvas& canvas_;
    Rgba fill_;
    Rgba stroke_;
  };

  // Draws what paint draws as one layer composited with opacity, with a drop
  // shadow of the layer's coverage when shadow is given: blurred by blur
  // device units and moved by offset (device units, y up), in its colour.
  struct Shadow {
    PointF offset;
    double blur = 0;
    Rgba color;
  };
  void DrawLayer(double opacity, const std::optional<Shadow>& shadow,
                 const std::function<void(cairo_t*)>& paint);

  // Draws an ARGB32 image surface into a rectangle of page space, upright.
  void DrawImage(cairo_surface_t* image, const RectF& rect) const;

 private:
  cairo_t* cr_;
  double rasterScale_;
  Rgba fill_ = kBlack;
  Rgba stroke_ = kBlack;
  PlacedText* capture_ = nullptr;
};

// A layer's drop shadow as a picture: the blurred coverage of what paint
// draws on cr (A8), where its top left corner lands in cr's device space (y
// down, moved by the shadow's offset) and its pixels per device unit. Only the
// part that can reach cr's clip is made; none when nothing of it can. Drawn
// in the shadow's colour through the mask, it is the shadow DrawLayer draws.
struct ShadowPicture {
  SurfaceHandle mask;
  PointF origin;
  double pixelsPerUnit = 1;
};
std::optional<ShadowPicture> MakeShadowPicture(cairo_t* cr, double rasterScale,
                                               const Canvas::Shadow& shadow,
                                               const std::function<void(cairo_t*)>& paint);

// A cairo write callback that appends to the std::string given as closure.
cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length);

// Sets the cairo source to a colour.
void SetSourceColor(cairo_t* cr, const Rgba& color);

// Draws an image into a page-space rectangle of any cairo context whose user
// space is y up (the canvas's, or a pattern cell's).
void PaintImageInRect(cairo_t* cr, cairo_surface_t* image, const RectF& rect);

}  // namespace quillsheet
