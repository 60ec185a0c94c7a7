#include "output/PageSelection.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace quillsheet {
namespace {

// The leading decimal number of a part (white space skipped, "+" allowed);
// 0 when the part does not start with one. Too large a number reads as the
// largest value, so it lies above any page count.
std::uint64_t LeadingNumber(std::string_view part) {
  size_t at = 0;
  while (at < part.size() && std::isspace(static_cast<unsigned char>(part[at]))) ++at;
  if (at < part.size() && part[at] == '+') ++at;
  std::uint64_t number = 0;
  constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
  for (; at < part.size() && part[at] >= '0' && part[at] <= '9'; ++at) {
    const unsigned digit = static_cast<unsigned>(part[at] - '0');
    if (number > (kMax - digit) / 10) return kMax;
    number = number * 10 + digit;
  }
  return number;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (;;) {
    const size_t at = text.find(separator);
    pieces.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return pieces;
    text.remove_prefix(at + 1);
  }
}

std::uint64_t AtLeastOne(std::uint64_t number) { return number == 0 ? 1 : number; }

void AddItem(PageIndexSet& set, std::string_view item, std::uint64_t pageCount) {
  const auto parts = Split(item, '-');
  if (parts.size() == 1) {
    const std::uint64_t page = AtLeastOne(LeadingNumber(parts.front()));
    if (page <= pageCount) set.AddRange(page - 1, page - 1);
    return;
  }
  const std::uint64_t a = AtLeastOne(LeadingNumber(parts.front()));
  const std::uint64_t b =
      AtLeastOne(parts.back().empty() ? pageCount : LeadingNumber(parts.back()));
  if (a > pageCount && b > pageCount) return;
  const std::uint64_t clampedA = std::min(a, pageCount);
  const std::uint64_t clampedB = std::min(b, pageCount);
  set.AddRange(std::min(clampedA, clampedB) - 1, std::max(clampedA, clampedB) - 1);
}

}  // namespace

void PageIndexSet::AddRange(std::uint64_t first, std::uint64_t last) {
  if (first > last) std::swap(first, last);
  auto at = std::lower_bound(
      ranges_.begin(), ranges_.end(), first,
      [](const auto& range, std::uint64_t value) { return value > 0 && range.second < value - 1; });
  // Swallow every range that overlaps or touches [first, last].
  auto end = at;
  while (end != ranges_.end() &&
         (last == std::numeric_limits<std::uint64_t>::max() || end->first <= last + 1)) {
    first = std::min(first, end->first);
    last = std::max(last, end->second);
    ++end;
  }
  at = ranges_.erase(at, end);
  ranges_.insert(at, {first, last});
}

void PageIndexSet::AddSet(const PageIndexSet& other) {
  for (const auto& [first, last] : other.ranges_) AddRange(first, last);
}

bool PageIndexSet::Contains(std::uint64_t index) const {
  const auto at =
      std::lower_bound(ranges_.begin(), ranges_.end(), index,
                       [](const auto& range, std::uint64_t value) { return range.second < value; });
  return at != ranges_.end() && at->first <= index;
}

std::uint64_t PageIndexSet::Count() const {
  std::uint64_t count = 0;
  for (const auto& [first, last] : ranges_) count += last - first + 1;
  return count;
}

PageIndexSet PageIndexSetFromRangeToken(std::string_view token, std::uint64_t pageCount) {
  PageIndexSet set;
  for (std::string_view item : Split(token, ',')) AddItem(set, item, pageCount);
  return set;
}

std::optional<std::string> PageRangeProblem(std::string_view text) {
  constexpr std::uint64_t kAnyLength = std::numeric_limits<std::uint32_t>::max();
  // An item without digits would read as page 1.
  if (text.find_first_not_of("0123456789,-") == std::string_view::npos &&
      text.find_first_of("0123456789") != std::string_view::npos &&
      !PageIndexSetFromRangeString(text, kAnyLength).empty()) {
    return std::nullopt;
  }
  return "\"" + std::string(text) +
         "\" names no page: a page range is page numbers and ranges such as 1-3, 7";
}

PageIndexSet PageIndexSetFromRangeString(std::string_view text, std::uint64_t pageCount) {
  PageIndexSet set;
  for (std::string_view piece : Split(text, ',')) {
    set.AddSet(PageIndexSetFromRangeToken(piece, pageCount));
  }
  return set;
}

bool IsPageSelected(int tag, std::uint64_t page, std::uint64_t pageCount, double width,
                    double height, const PageIndexSet* rangeSet) {
  switch (tag) {
    case kAllPages:
      return true;
    case kEvenPages:
      return page % 2 == 0;
    case kOddPages:
      return page % 2 == 1;
    case kPortraitPages:
      return height >= width;
    case kLandscapePages:
      return width >= height;
    case kPageRange:
      return page >= 1 && rangeSet && !rangeSet->empty() && rangeSet->Contains(page - 1);
    case kFirstPage:
      return page == 1;
    case kLastPage:
      return page == pageCount;
    case kFirstAndLastPage:
      return page == 1 || page == pageCount;
    default:
      return false;
  }
}

namespace {
constexpr std::pair<std::string_view, int> kTagNames[] = {{"all", kAllPages},
                                                          {"even", kEvenPages},
                                                          {"odd", kOddPages},
                                                          {"portrait", kPortraitPages},
                                                          {"landscape", kLandscapePages},
                                                          {"first", kFirstPage},
                                                          {"last", kLastPage},
                                                          {"first-last", kFirstAndLastPage}};
}  // namespace

std::optional<int> SelectionTagNamed(std::string_view name) {
  for (const auto& [tagName, tag] : kTagNames) {
    if (tagName == name) return tag;
  }
  return std::nullopt;
}

std::string DescribeSelection(int tag, std::string_view rangeText) {
  if (tag == kPageRange) return std::string(rangeText);
  for (const auto& [tagName, named] : kTagNames) {
    if (named == tag) return std::string(tagName);
  }
  return "all";
}

}  // namespace quillsheet
