#include "app/models/ThumbnailCache.h"

#include <gtest/gtest.h>

#include "tests/TestPdf.h"
#include "tests/TestSupport.h"

namespace quillsheet {
namespace {

std::shared_ptr<SourceDocument> OpenTestPdf(const std::filesystem::path& path) {
  test::WriteTestPdf(path, {{}, {}});
  OpenError error;
  std::string message;
  return SourceDocument::Open(path.string(), "", error, message);
}

QImage Picture(int side, QColor colour) {
  QImage image(side, side, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

// A picture is found for its document, page and size only; a document that
// is gone never answers; the budget drops the least recently used.
TEST(ThumbnailCache, FindsWhatWasDrawnForTheSameDocumentPageAndSize) {
  test::ScratchHome home;
  auto a = OpenTestPdf(home.path() / "a.pdf");
  auto b = OpenTestPdf(home.path() / "b.pdf");
  ASSERT_TRUE(a && b);
  ThumbnailCache cache(3 * 72 * 72 * 4);
  cache.Insert(a, 0, {72, 72}, Picture(72, Qt::red));
  EXPECT_EQ(cache.Find(a, 0, {72, 72}).pixelColor(0, 0), QColor(Qt::red));
  EXPECT_TRUE(cache.Find(a, 1, {72, 72}).isNull());
  EXPECT_TRUE(cache.Find(a, 0, {144, 144}).isNull());
  EXPECT_TRUE(cache.Find(b, 0, {72, 72}).isNull());

  cache.Insert(b, 0, {72, 72}, Picture(72, Qt::blue));
  cache.Insert(b, 1, {72, 72}, Picture(72, Qt::blue));
  EXPECT_FALSE(cache.Find(a, 0, {72, 72}).isNull());
  cache.Insert(b, 2, {72, 72}, Picture(72, Qt::blue));
  EXPECT_FALSE(cache.Find(a, 0, {72, 72}).isNull()) << "used last, kept";
  EXPECT_TRUE(cache.Find(b, 0, {72, 72}).isNull()) << "least recently used, dropped";

  // Another document opened later at the same address must not get a's pages.
  SourceDocument* const address = a.get();
  a.reset();
  const std::shared_ptr<SourceDocument> sameAddress(std::shared_ptr<void>(), address);
  EXPECT_TRUE(cache.Find(sameAddress, 0, {72, 72}).isNull());
  std::shared_ptr<SourceDocument> none;
  EXPECT_TRUE(cache.Find(none, 0, {72, 72}).isNull());
}

}  // namespace
}  // namespace quillsheet
