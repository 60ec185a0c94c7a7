// Marks behind the page that no one will see: pages whose own content (an
// office or web export's white background, a scan) covers the layers drawn
// behind them. Looked at on small pictures of the pages, before anyone
// wonders why an output looks unmarked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "output/SavePipeline.h"

namespace quillsheet {

struct HiddenMarks {
  std::vector<std::uint64_t> pages;  // 1-based, ascending
  size_t pagesLookedAt = 0;
  size_t pagesSelected = 0;
};

// The selected pages of the request's source that hide what the layers
// behind the page draw (PreviewFrames::HidesTheMarkBehind); of a long document
// only some pages are looked at, spread evenly. No pages when nothing is
// drawn behind the page, or when the source does not open. Safe from any
// thread (each call opens its own copy of the source).
HiddenMarks PagesHidingTheMarkBehind(const SaveRequest& request);

// "1-3, 7" for the pages 1, 2, 3 and 7 (ascending).
std::string DescribePages(const std::vector<std::uint64_t>& pages);

}  // namespace quillsheet
