#include <gtest/gtest.h>

#include <limits>

#include "output/PageSelection.h"

namespace quillsheet {
namespace {

// The selected pages, 1-based, of a range text on a document of n pages.
std::vector<std::uint64_t> Pages(std::string_view text, std::uint64_t n = 10) {
  std::vector<std::uint64_t> pages;
  const PageIndexSet set = PageIndexSetFromRangeString(text, n);
  for (std::uint64_t p = 1; p <= n; ++p) {
    if (set.Contains(p - 1)) pages.push_back(p);
  }
  return pages;
}

using P = std::vector<std::uint64_t>;

TEST(PageRange, WorkedExamplesOnTenPages) {
  EXPECT_EQ(Pages("1-3,5"), (P{1, 2, 3, 5}));
  EXPECT_EQ(Pages("8-12"), (P{8, 9, 10}));
  EXPECT_EQ(Pages("12-15"), P{});
  EXPECT_EQ(Pages("12"), P{});
  EXPECT_EQ(Pages("7-"), (P{7, 8, 9, 10}));
  EXPECT_EQ(Pages("-3"), (P{1, 2, 3}));
  EXPECT_EQ(Pages("-"), (P{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(Pages("5-2"), (P{2, 3, 4, 5}));
  EXPECT_EQ(Pages("2-4-9"), (P{2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(Pages("5,"), (P{1, 5}));
  EXPECT_EQ(Pages("0"), (P{1}));
  EXPECT_EQ(Pages("0-2"), (P{1, 2}));
}

TEST(PageRange, TextThatNeverPassedTheFieldFilter) {
  EXPECT_EQ(Pages(" +3, x, 4abc"), (P{1, 3, 4}));  // "x" reads as 0, hence page 1
  EXPECT_EQ(Pages("99999999999999999999999"), P{});
  EXPECT_EQ(Pages("3-99999999999999999999999"), (P{3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(Pages("1-", 0), P{});
  EXPECT_TRUE(PageIndexSetFromRangeString("-", 0).empty());
}

// "abc" would read as page 1: a text that is not page numbers, or names no
// page, is refused with the reason (the window's field and the command line).
TEST(PageRange, TextThatNamesNoPageIsRefused) {
  for (const char* text : {"abc", "", "1-3x", ",", "99999999999999999999999"}) {
    const auto problem = PageRangeProblem(text);
    ASSERT_TRUE(problem) << text;
    EXPECT_NE(problem->find("names no page"), std::string::npos);
  }
  for (const char* text : {"1", "2-4,7", "7-", "-3", "5-2"}) {
    EXPECT_FALSE(PageRangeProblem(text)) << text;
  }
}

TEST(PageRange, SetStaysSmallOnHugeDocuments) {
  const PageIndexSet all = PageIndexSetFromRangeString("1-", 1'000'000);
  EXPECT_EQ(all.ranges().size(), 1u);
  EXPECT_EQ(all.Count(), 1'000'000u);

  PageIndexSet merged = PageIndexSetFromRangeString("9-12,1-3,4,20,6-8,5", 1'000'000);
  EXPECT_EQ(merged.ranges(),
            (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{0, 11}, {19, 19}}));
  merged.AddRange(13, 18);
  EXPECT_EQ(merged.Count(), 12u + 6u + 1u);
  EXPECT_EQ(merged.ranges().size(), 2u);
  const auto top = std::numeric_limits<std::uint64_t>::max();
  merged.AddRange(top - 1, top);
  EXPECT_TRUE(merged.Contains(top));
  EXPECT_FALSE(merged.Contains(12));
}

TEST(PageSelection, TagsOnSmallDocuments) {
  auto selected = [](int tag, std::uint64_t n, double w = 612, double h = 792) {
    P pages;
    for (std::uint64_t p = 1; p <= n; ++p) {
      if (IsPageSelected(tag, p, n, w, h, nullptr)) pages.push_back(p);
    }
    return pages;
  };
  EXPECT_EQ(selected(kEvenPages, 5), (P{2, 4}));
  EXPECT_EQ(selected(kOddPages, 5), (P{1, 3, 5}));
  EXPECT_EQ(selected(kLastPage, 1), (P{1}));
  EXPECT_EQ(selected(kFirstAndLastPage, 1), (P{1}));
  EXPECT_EQ(selected(kFirstAndLastPage, 4), (P{1, 4}));
  EXPECT_EQ(selected(0, 3), P{});
  EXPECT_EQ(selected(10, 3), P{});
  // A 612 x 792 page rotated by 90 degrees is displayed 792 x 612.
  EXPECT_EQ(selected(kPortraitPages, 1, 792, 612), P{});
  EXPECT_EQ(selected(kLandscapePages, 1, 792, 612), (P{1}));
  EXPECT_EQ(selected(kPortraitPages, 1, 500, 500), (P{1}));
  EXPECT_EQ(selected(kLandscapePages, 1, 500, 500), (P{1}));
}

TEST(PageSelection, RangeTagNeedsANonEmptySet) {
  const PageIndexSet beyond = PageIndexSetFromRangeString("3", 2);
  EXPECT_FALSE(IsPageSelected(kPageRange, 1, 2, 612, 792, &beyond));
  EXPECT_FALSE(IsPageSelected(kPageRange, 1, 2, 612, 792, nullptr));
  const PageIndexSet second = PageIndexSetFromRangeString("2", 2);
  EXPECT_FALSE(IsPageSelected(kPageRange, 1, 2, 612, 792, &second));
  EXPECT_TRUE(IsPageSelected(kPageRange, 2, 2, 612, 792, &second));
}

}  // namespace
}  // namespace quillsheet
