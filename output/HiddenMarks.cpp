#include "output/HiddenMarks.h"

#include <algorithm>

#include "engine/Compositor.h"
#include "engine/PreviewRenderer.h"
#include "output/PageSelection.h"
#include "output/UnmarkedSource.h"

namespace quillsheet {
namespace {

// Pages are looked at about 100 pixels high: enough to tell a background
// from text, cheap enough for every page.
constexpr double kLookHeight = 60;
// Drawing a page costs a few milliseconds whatever its size, far more than
// marking it: long documents are looked at on this many pages, spread
// evenly from the first to the last selected one.
constexpr size_t kMostPagesLookedAt = 24;

std::vector<std::uint64_t> SpreadEvenly(const std::vector<std::uint64_t>& pages) {
  if (pages.size() <= kMostPagesLookedAt) return pages;
  std::vector<std::uint64_t> spread;
  for (size_t i = 0; i < kMostPagesLookedAt; ++i) {
    spread.push_back(pages[i * (pages.size() - 1) / (kMostPagesLookedAt - 1)]);
  }
  return spread;
}

}  // namespace

HiddenMarks PagesHidingTheMarkBehind(const SaveRequest& request) {
  if (SplitAroundPage(request.settings).behind.empty()) return {};
  OpenError error = OpenError::None;
  std::string message;
  std::unique_ptr<SourceDocument> document =
      request.keepMarks ? nullptr
                        : OpenWithoutEarlierMarks(request.source.path, request.source.password);
  if (!document) {
    document = SourceDocument::Open(request.source.path, request.source.password, error, message);
  }
  if (!document) return {};
  const auto count = static_cast<std::uint64_t>(document->PageCount());
  std::optional<PageIndexSet> range;
  if (request.selectionTag == kPageRange && request.rangeString && !request.rangeString->empty()) {
    range = PageIndexSetFromRangeString(*request.rangeString, count);
  }
  // Only the portrait and landscape selections need every page's size.
  const bool bySize =
      request.selectionTag == kPortraitPages || request.selectionTag == kLandscapePages;
  std::vector<std::uint64_t> selected;
  for (std::uint64_t p = 1; p <= count; ++p) {
    const SizeF size =
        bySize ? document->Page(static_cast<int>(p - 1)).DisplayedSize() : SizeF{1, 1};
    if (IsPageSelected(request.selectionTag, p, count, size.width, size.height,
                       range ? &*range : nullptr)) {
      selected.push_back(p);
    }
  }
  HiddenMarks found;
  found.pagesLookedAt = std::min(selected.size(), kMostPagesLookedAt);
  found.pagesSelected = selected.size();
  for (const std::uint64_t p : SpreadEvenly(selected)) {
    const SourcePage page = document->Page(static_cast<int>(p - 1));
    const SizeF size = page.DisplayedSize();
    if (!(size.height > 0)) continue;
    const double scale = kLookHeight / size.height;
    WatermarkSettings settings = request.settings;
    settings.viewScale = static_cast<float>(scale);
    const PreviewFrames look(page, scale);
    if (look.valid() && look.HidesTheMarkBehind(settings)) {
      found.pages.push_back(p);
    }
  }
  return found;
}

std::string DescribePages(const std::vector<std::uint64_t>& pages) {
  std::string text;
  for (size_t i = 0; i < pages.size();) {
    size_t last = i;
    while (last + 1 < pages.size() && pages[last + 1] == pages[last] + 1) ++last;
    if (!text.empty()) text += ", ";
    text += std::to_string(pages[i]);
    if (last > i) text += "-" + std::to_string(pages[last]);
    i = last + 1;
  }
  return text;
}

}  // namespace quillsheet
