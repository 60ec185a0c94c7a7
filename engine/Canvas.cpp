#include "engine/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillsheet {
namespace {

// A mask of more pixels than this is drawn at a lower resolution.
constexpr double kMaxMaskPixels = 24e6;

struct ContextDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

struct DeviceBox {
  double x1, y1, x2, y2;
};

DeviceBox ClipInDeviceSpace(cairo_t* cr) {
  double x1, y1, x2, y2;
  cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
  double xs[4] = {x1, x2, x1, x2};
  double ys[4] = {y1, y1, y2, y2};
  DeviceBox box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  for (int i = 0; i < 4; ++i) {
    cairo_user_to_device(cr, &xs[i], &ys[i]);
    box = {std::min(box.x1, xs[i]), std::min(box.y1, ys[i]), std::max(box.x2, xs[i]),
           std::max(box.y2, ys[i])};
  }
  return box;
}

// Box blurs of an 8-bit mask in integers: running sums times a fixed-point
// reciprocal, rows and columns each walked in memory order. A shadow's mask is
// mostly empty (the bounding box of a slanted line of text), so each row's
// inked span is kept and only what a pass can reach from it is walked: the
// result is the same as walking everything, as blurred zeros stay zero.
class BoxBlur {
 public:
  BoxBlur(unsigned char* data, int stride, int width, int height, int radius)
      : data_(data), stride_(stride), width_(width), height_(height), radius_(radius) {
    const std::uint64_t count = 2 * static_cast<std::uint64_t>(radius) + 1;
    reciprocal_ = ((std::uint64_t{1} << 32) + count / 2) / count;
    spans_.reserve(static_cast<size_t>(height));
    for (int y = 0; y < height_; ++y) spans_.push_back(InkedSpan(Row(y)));
  }

  void AlongRows() {
    std::vector<unsigned char> line(static_cast<size_t>(width_), 0);
    for (int y = 0; y < height_; ++y) {
      if (spans_[y].empty()) continue;
      const Span reach = Widened(spans_[y]);
      unsigned char* row = Row(y);
      std::copy(row + reach.begin, row + reach.end, line.begin() + reach.begin);
      std::uint64_t sum = 0;
      for (int x = std::max(0, reach.begin - radius_); x <= reach.begin + radius_ && x < width_;
           ++x) {
        sum += line[x];
      }
      for (int x = reach.begin; x < reach.end; ++x) {
        row[x] = Average(sum);
        if (x - radius_ >= 0) sum -= line[x - radius_];
        if (x + radius_ + 1 < width_) sum += line[x + radius_ + 1];
      }
      std::fill(line.begin() + reach.begin, line.begin() + reach.end, 0);
      spans_[y] = reach;
    }
  }

  // One running sum per column, moved down a row at a time over a copy.
  void AlongColumns() {
    const std::vector<unsigned char> source(data_, data_ + static_cast<size_t>(stride_) * height_);
    const std::vector<Span> before = spans_;
    const auto add = [&](int y, bool entering) {
      const unsigned char* row = source.data() + static_cast<size_t>(y) * stride_;
      for (int x = before[y].begin; x < before[y].end; ++x) {
        if (entering) {
          sums_[x] += row[x];
        } else {
          sums_[x] -= row[x];
        }
      }
    };
    sums_.assign(static_cast<size_t>(width_), 0);
    for (int y = 0; y <= radius_ && y < height_; ++y) add(y, true);
    for (int y = 0; y < height_; ++y) {
      Span reach;
      for (int near = std::max(0, y - radius_); near <= y + radius_ && near < height_; ++near) {
        reach = reach.Joined(before[near]);
      }
      unsigned char* out = Row(y);
      for (int x = reach.begin; x < reach.end; ++x) out[x] = Average(sums_[x]);
      spans_[y] = reach;
      if (y - radius_ >= 0) add(y - radius_, false);
      if (y + radius_ + 1 < height_) add(y + radius_ + 1, true);
    }
  }

 private:
  struct Span {  // columns [begin, end) of a row
    int begin = 0;
    int end = 0;
    bool empty() const { return begin >= end; }
    Span Joined(const Span& other) const {
      if (empty()) return other;
      if (other.empty()) return *this;
      return {std::min(begin, other.begin), std::max(end, other.end)};
    }
  };

  Span InkedSpan(const unsigned char* row) const {
    const unsigned char* end = row + width_;
    const unsigned char* first = std::find_if(row, end, [](unsigned char v) { return v != 0; });
    if (first == end) return {};
    const unsigned char* last = end;
    while (*(last - 1) == 0) --last;
    return {static_cast<int>(first - row), static_cast<int>(last - row)};
  }
  Span Widened(const Span& span) const {
    return {std::max(0, span.begin - radius_), std::min(width_, span.end + radius_)};
  }
  unsigned char* Row(int y) const { return data_ + static_cast<size_t>(y) * stride_; }
  unsigned char Average(std::uint64_t sum) const {
    return static_cast<unsigned char>((sum * reciprocal_ + (std::uint64_t{1} << 31)) >> 32);
  }

  unsigned char* data_;
  int stride_, width_, height_, radius_;
  std::uint64_t reciprocal_ = 0;
  std::vector<Span> spans_;
  std::vector<std::uint64_t> sums_;
};

// Approximates a Gaussian blur of the given radius with three box blurs.
void BlurAlpha(cairo_surface_t* mask, double radius) {
  const int box = static_cast<int>(std::lround((std::sqrt(radius * radius + 1.0) - 1.0) / 2.0));
  if (box < 1) return;
  cairo_surface_flush(mask);
  BoxBlur blur(cairo_image_surface_get_data(mask), cairo_image_surface_get_stride(mask),
               cairo_image_surface_get_width(mask), cairo_image_surface_get_height(mask), box);
  for (int pass = 0; pass < 3; ++pass) {
    blur.AlongRows();
    blur.AlongColumns();
  }
  cairo_surface_mark_dirty(mask);
}

// Records what paint draws, in device space, and reports where it put ink.
SurfaceHandle RecordInDeviceSpace(cairo_t* cr, const std::function<void(cairo_t*)>& paint,
                                  DeviceBox& ink) {
  SurfaceHandle recording(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr));
  {
    std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(recording.get()));
    cairo_matrix_t userToDevice;
    cairo_get_matrix(cr, &userToDevice);
    cairo_set_matrix(context.get(), &userToDevice);
    // Strokes are as wide and joined as on cr, so the recording covers what
    // paint draws there.
    cairo_set_line_width(context.get(), cairo_get_line_width(cr));
    cairo_set_line_join(context.get(), cairo_get_line_join(cr));
    cairo_set_line_cap(context.get(), cairo_get_line_cap(cr));
    cairo_set_miter_limit(context.get(), cairo_get_miter_limit(cr));
    paint(context.get());
  }
  double x, y, width, height;
  cairo_recording_surface_ink_extents(recording.get(), &x, &y, &width, &height);
  ink = {x, y, x + width, y + height};
  return recording;
}

// Paints the blurred coverage of what paint draws, moved by the shadow offset.
void DrawShadow(cairo_t* cr, double rasterScale, const Canvas::Shadow& shadow,
                const std::function<void(cairo_t*)>& paint) {
  const auto picture = MakeShadowPicture(cr, rasterScale, shadow, paint);
  if (!picture) return;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_translate(cr, picture->origin.x, picture->origin.y);
  cairo_scale(cr, 1.0 / picture->pixelsPerUnit, 1.0 / picture->pixelsPerUnit);
  SetSourceColor(cr, shadow.color);
  cairo_mask_surface(cr, picture->mask.get(), 0, 0);
  cairo_restore(cr);
}

}  // namespace

std::optional<ShadowPicture> MakeShadowPicture(cairo_t* cr, double rasterScale,
                                               const Canvas::Shadow& shadow,
                                               const std::function<void(cairo_t*)>& paint) {
  // Device offsets are y up like page space; the surface's device space is y down.
  const double dx = shadow.offset.x;
  const double dy = -shadow.offset.y;
  const double spread = 3.0 * std::max(0.0, shadow.blur) + 1;
  DeviceBox ink{};
  const auto recording = RecordInDeviceSpace(cr, paint, ink);
  const DeviceBox visible = ClipInDeviceSpace(cr);
  const DeviceBox box{
      std::max(ink.x1, visible.x1 - dx) - spread, std::max(ink.y1, visible.y1 - dy) - spread,
      std::min(ink.x2, visible.x2 - dx) + spread, std::min(ink.y2, visible.y2 - dy) + spread};
  const double boxWidth = box.x2 - box.x1;
  const double boxHeight = box.y2 - box.y1;
  if (!(boxWidth > 2 * spread && boxHeight > 2 * spread) || !std::isfinite(boxWidth * boxHeight)) {
    return std::nullopt;
  }
  // A blur wider than a few pixels hides any finer raster: on vector surfaces
  // the mask needs no more than about four pixels across the blur radius.
  double scale =
      shadow.blur > 0 ? std::min(rasterScale, std::max(1.0, 4.0 / shadow.blur)) : rasterScale;
  if (boxWidth * boxHeight * scale * scale > kMaxMaskPixels) {
    scale = std::sqrt(kMaxMaskPixels / (boxWidth * boxHeight));
  }
  const int width = std::max(1, static_cast<int>(std::ceil(boxWidth * scale)));
  const int height = std::max(1, static_cast<int>(std::ceil(boxHeight * scale)));

  SurfaceHandle mask(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height));
  if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  {
    std::unique_ptr<cairo_t, ContextDeleter> maskContext(cairo_create(mask.get()));
    cairo_scale(maskContext.get(), scale, scale);
    cairo_set_source_surface(maskContext.get(), recording.get(), -box.x1, -box.y1);
    cairo_paint(maskContext.get());
  }
  BlurAlpha(mask.get(), shadow.blur * scale);
  cairo_surface_flush(mask.get());
  return ShadowPicture{std::move(mask), {box.x1 + dx, box.y1 + dy}, scale};
}

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

void SetSourceColor(cairo_t* cr, const Rgba& color) {
  cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
}

void PaintImageInRect(cairo_t* cr, cairo_surface_t* image, const RectF& rect) {
  const int pixelWidth = cairo_image_surface_get_width(image);
  const int pixelHeight = cairo_image_surface_get_height(image);
  if (pixelWidth <= 0 || pixelHeight <= 0 || !rect.IsFinite() || rect.width <= 0 ||
      rect.height <= 0) {
    return;
  }
  cairo_save(cr);
  cairo_rectangle(cr, rect.x, rect.y, rect.width, rect.height);
  cairo_clip(cr);
  // Image rows run top down: flip so the first row lands at the rectangle's top.
  cairo_translate(cr, rect.x, rect.y + rect.height);
  cairo_scale(cr, rect.width / pixelWidth, -rect.height / pixelHeight);
  cairo_set_source_surface(cr, image, 0, 0);
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_restore(cr);
}

Canvas::Canvas(cairo_t* cr, double deviceScale, double pageHeight, double rasterScale)
    : cr_(cr), rasterScale_(rasterScale) {
  cairo_save(cr_);
  cairo_translate(cr_, 0, pageHeight * deviceScale);
  cairo_scale(cr_, deviceScale, -deviceScale);
}

Canvas::~Canvas() { cairo_restore(cr_); }

void Canvas::SetFillColor(const std::optional<Rgba>& color) {
  if (color) fill_ = *color;
}

void Canvas::SetStrokeColor(const std::optional<Rgba>& color) {
  if (color) stroke_ = *color;
}

void Canvas::UseFillColor(cairo_t* cr) const { SetSourceColor(cr, fill_); }

void Canvas::UseStrokeColor(cairo_t* cr) const { SetSourceColor(cr, stroke_); }

Canvas::State::State(Canvas& canvas)
    : canvas_(canvas), fill_(canvas.fill_), stroke_(canvas.stroke_) {
  cairo_save(canvas_.cr_);
}

Canvas::State::~State() {
  cairo_restore(canvas_.cr_);
  canvas_.fill_ = fill_;
  canvas_.stroke_ = stroke_;
}

void Canvas::DrawLayer(double opacity, const std::optional<Shadow>& shadow,
                       const std::function<void(cairo_t*)>& paint) {
  if (capture_) {
    paint(cr_);
    return;
  }
  cairo_push_group(cr_);
  if (shadow) DrawShadow(cr_, rasterScale_, *shadow, paint);
  paint(cr_);
  cairo_pop_group_to_source(cr_);
  cairo_paint_with_alpha(cr_, std::clamp(opacity, 0.0, 1.0));
}

void Canvas::DrawImage(cairo_surface_t* image, const RectF& rect) const {
  PaintImageInRect(cr_, image, rect);
}

}  // namespace quillsheet
