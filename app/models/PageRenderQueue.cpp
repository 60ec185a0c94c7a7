#include "app/models/PageRenderQueue.h"

#include <algorithm>

#include "engine/PreviewRenderer.h"

namespace quillsheet {
namespace {

QImage ImageOf(const SurfaceHandle& picture) {
  if (!picture) return {};
  const QImage view(
      cairo_image_surface_get_data(picture.get()), cairo_image_surface_get_width(picture.get()),
      cairo_image_surface_get_height(picture.get()), cairo_image_surface_get_stride(picture.get()),
      QImage::Format_ARGB32_Premultiplied);
  return view.copy();  // the surface goes away with its handle
}

}  // namespace

PageRenderQueue::PageRenderQueue(QObject* parent) : QObject(parent), worker_([this] { Work(); }) {}

PageRenderQueue::~PageRenderQueue() {
  {
    std::lock_guard lock(guard_);
    stopping_ = true;
    pending_.clear();
  }
  wake_.notify_all();
  worker_.join();
}

void PageRenderQueue::Render(Request request) {
  {
    std::lock_guard lock(guard_);
    std::erase_if(pending_, [&](const Request& old) { return old.slot == request.slot; });
    pending_.push_back(std::move(request));
  }
  wake_.notify_one();
}

void PageRenderQueue::Clear() {
  std::lock_guard lock(guard_);
  pending_.clear();
}

// Marked pictures come from the kept page when the same page is asked for
// at the same size again, as every edit and drag of the preview does; only
// the layers are drawn again.
PageRenderQueue::Drawn PageRenderQueue::Draw(const Request& request) {
  if (!request.document || request.page < 0 || request.page >= request.document->PageCount()) {
    return {};
  }
  const bool sameAsKept = kept_ && keptDocument_.lock() == request.document &&
                          keptPage_ == request.page && keptFit_ == request.fit;
  if (!sameAsKept) {
    const SourcePage page = request.document->Page(request.page);
    const SizeF size = page.DisplayedSize();
    const double scale =
        std::min(request.fit.width() / size.width, request.fit.height() / size.height);
    if (!(scale > 0)) return {{}, size};
    auto frames = std::make_unique<PreviewFrames>(page, scale);
    if (!request.settings) {
      // Thumbnails: the page alone, never kept.
      WatermarkSettings plain = GetPresetSettingsFrom(nullptr);
      plain.textEnabled = plain.fillEnabled = false;
      return {ImageOf(frames->Frame(plain)), size};
    }
    kept_ = std::move(frames);
    keptDocument_ = request.document;
    keptPage_ = request.page;
    keptFit_ = request.fit;
  }
  WatermarkSettings settings = *request.settings;
  settings.viewScale = static_cast<float>(kept_->scale());
  const auto pages = static_cast<std::uint64_t>(request.document->PageCount());
  std::optional<PageIndexSet> range;
  if (request.selectionTag == kPageRange) {
    range = PageIndexSetFromRangeString(request.rangeText, pages);
  }
  const SizeF shown = kept_->pagePoints();
  if (!IsPageSelected(request.selectionTag, static_cast<std::uint64_t>(request.page) + 1, pages,
                      shown.width, shown.height, range ? &*range : nullptr)) {
    settings.textEnabled = settings.fillEnabled = false;
    return {ImageOf(kept_->Frame(settings)), shown, false, true};
  }
  if (settings.textFields) {
    FieldValues values = request.fields;
    const int pages = request.document->PageCount();
    AddPageFields(values, static_cast<std::uint64_t>(request.page) + 1,
                  static_cast<std::uint64_t>(pages), request.document->PageLabel(request.page));
    settings.textString = PreviewTextFields(settings.textString, values);
  }
  return {ImageOf(kept_->Frame(settings)), kept_->pagePoints(),
          kept_->HidesTheMarkBehind(settings)};
}

void PageRenderQueue::Work() {
  for (;;) {
    Request request;
    {
      std::unique_lock lock(guard_);
      wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
      if (stopping_) return;
      request = std::move(pending_.front());
      pending_.pop_front();
    }
    const int slot = request.slot;
    const int generation = request.generation;
    Drawn drawn;
    try {
      drawn = Draw(request);
    } catch (const std::exception& failure) {
      // The worker goes on with the next picture; the kept page may be the
      // one that failed.
      kept_.reset();
      const QString reason = QString::fromUtf8(failure.what());
      QMetaObject::invokeMethod(
          this, [this, slot, generation, reason] { emit Failed(slot, generation, reason); },
          Qt::QueuedConnection);
      continue;
    }
    QMetaObject::invokeMethod(
        this,
        [this, slot, generation, drawn] {
          emit Rendered(slot, generation, drawn.image, drawn.pagePoints, drawn.markHidden,
                        drawn.leftOut);
        },
        Qt::QueuedConnection);
  }
}

}  // namespace quillsheet
