// Which pages of an output receive the watermark: the selection tags and the
// typed page ranges ("1-3,5", "7-", "5-2").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillsheet {

enum PageSelectionTag : int {
  kAllPages = 1,
  kEvenPages = 2,
  kOddPages = 3,
  kPortraitPages = 4,
  kLandscapePages = 5,
  kPageRange = 6,
  kFirstPage = 7,
  kLastPage = 8,
  kFirstAndLastPage = 9,
};

// A set of 0-based page indexes kept as sorted, disjoint, non-adjacent closed
// intervals, so "1-" on a document of a million pages is one entry.
class PageIndexSet {
 public:
  void AddRange(std::uint64_t first, std::uint64_t last);  // inclusive
  void AddSet(const PageIndexSet& other);
  bool Contains(std::uint64_t index) const;
  bool empty() const { return ranges_.empty(); }
  std::uint64_t Count() const;
  const std::vector<std::pair<std::uint64_t, std::uint64_t>>& ranges() const { return ranges_; }

  bool operator==(const PageIndexSet&) const = default;

 private:
  std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges_;
};

// The command-line names of the tags other than the range ("all", "even",
// "odd", "portrait", "landscape", "first", "last", "first-last").
std::optional<int> SelectionTagNamed(std::string_view name);
// The selection in words: the name of its tag, or the range text.
std::string DescribeSelection(int tag, std::string_view rangeText);

// Why a page-range text cannot stand, in words for the user: it has more
// than page numbers, "-" and ",", or names no page of any document. None
// when it names at least one page.
std::optional<std::string> PageRangeProblem(std::string_view text);

// Parses a whole page-range text against a document of pageCount pages.
PageIndexSet PageIndexSetFromRangeString(std::string_view text, std::uint64_t pageCount);

// Parses one comma-free token ("5", "2-9", "-3", "7-", "-").
PageIndexSet PageIndexSetFromRangeToken(std::string_view token, std::uint64_t pageCount);

// Whether page p (1-based) of pageCount pages, displayed width x height,
// receives the watermark. rangeSet is only consulted for the range tag.
bool IsPageSelected(int tag, std::uint64_t page, std::uint64_t pageCount, double width,
                    double height, const PageIndexSet* rangeSet);

}  // namespace quillsheet
