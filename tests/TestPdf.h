// Small PDF files written byte by byte for tests that need exact page boxes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quillsheet::test {

struct TestPage {
  double width = 612;
  double height = 792;
  int rotate = 0;
  std::string cropBox;   // "x1 y1 x2 y2", or empty for none
  std::string content;   // content stream operators
  bool mediaBox = true;  // false: the page has none (nor do its parents)
};

// Writes a PDF of the given pages; returns the path.
std::filesystem::path WriteTestPdf(const std::filesystem::path& path,
                                   const std::vector<TestPage>& pages);

}  // namespace quillsheet::test
