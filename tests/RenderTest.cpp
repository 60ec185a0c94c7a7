#include <gtest/gtest.h>

#include <QImage>
#include <fstream>

#include "engine/Compositor.h"
#include "engine/FillWatermark.h"
#include "engine/PreviewRenderer.h"
#include "engine/TextWatermark.h"
#include "tests/TestPdf.h"
#include "tests/TestSupport.h"

namespace quillsheet {
namespace {

// A white raster of a W x H page at one pixel per point, drawn through a canvas.
class Page {
 public:
  Page(int width, int height)
      : width_(width),
        height_(height),
        surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
        cr_(cairo_create(surface_.get())) {
    cairo_set_source_rgb(cr_, 1, 1, 1);
    cairo_paint(cr_);
  }
  ~Page() { cairo_destroy(cr_); }

  template <typename Draw>
  void Paint(Draw draw) {
    Canvas canvas(cr_, 1.0, height_);
    draw(canvas, RectF{0, 0, static_cast<double>(width_), static_cast<double>(height_)});
    EXPECT_EQ(cairo_status(cr_), CAIRO_STATUS_SUCCESS);
    cairo_surface_flush(surface_.get());
  }

  // The pixel at page point (x, y), y up, as 0xAARRGGBB.
  std::uint32_t At(double x, double y) const {
    const int column = static_cast<int>(x);
    const int row = height_ - 1 - static_cast<int>(y);
    const auto* data = cairo_image_surface_get_data(surface_.get());
    return *reinterpret_cast<const std::uint32_t*>(
        data + row * cairo_image_surface_get_stride(surface_.get()) + column * 4);
  }

  // The page-space box (x, y, w, h) of the pixels that are not white.
  RectF InkBox() const {
    int left = width_, right = -1, top = height_, bottom = -1;
    for (int row = 0; row < height_; ++row) {
      for (int column = 0; column < width_; ++column) {
        if (At(column, height_ - 1 - row) == 0xFFFFFFFF) continue;
        left = std::min(left, column);
        right = std::max(right, column);
        top = std::min(top, row);
        bottom = std::max(bottom, row);
      }
    }
    if (right < 0) return {};
    return {static_cast<double>(left), static_cast<double>(height_ - 1 - bottom),
            static_cast<double>(right - left + 1), static_cast<double>(bottom - top + 1)};
  }

 private:
  int width_;
  int height_;
  SurfaceHandle surface_;
  cairo_t* cr_;
};

WatermarkSettings ColorFill(int style, double size, AnchorRatio anchor = {612, 792}) {
  WatermarkSettings s = GetPresetSettingsFrom(nullptr);
  s.backStyle = style;
  s.backSize = size;
  s.backOpacity = 1;
  s.backColor = kBlack;
  s.fillCenter = anchor;
  return s;
}

RectF ColorFillBox(const WatermarkSettings& settings, int width = 600, int height = 800) {
  Page page(width, height);
  page.Paint([&](Canvas& canvas, RectF target) { DrawColorFill(canvas, settings, target); });
  return page.InkBox();
}

TEST(FillRendering, ColourStylesPlaceTheirRectangles) {
  EXPECT_EQ(ColorFillBox(ColorFill(2, 0.5)), (RectF{150, 200, 300, 400}));
  EXPECT_EQ(ColorFillBox(ColorFill(1, 0.5, {4, 2})), (RectF{150, 400, 300, 400}));
  EXPECT_EQ(ColorFillBox(ColorFill(3, 0.5)), (RectF{0, 0, 600, 800}));
  EXPECT_EQ(ColorFillBox(ColorFill(4, 0.1)), (RectF{0, 0, 600, 800}));
  EXPECT_EQ(ColorFillBox(ColorFill(7, 0.5)), RectF{});
}

TEST(FillRendering, ColourPatternsRepeatFromTheOrigin) {
  Page grid(500, 500);
  grid.Paint([](Canvas& c, RectF t) { DrawColorFill(c, ColorFill(6, 0.1), t); });
  // Squares of 45 x 45 every 50 points; the pattern's alpha is squared.
  EXPECT_EQ(grid.At(10, 10), grid.At(260, 410));
  EXPECT_NE(grid.At(10, 10), 0xFFFFFFFFu);
  EXPECT_EQ(grid.At(47, 10), 0xFFFFFFFFu);
  EXPECT_EQ(grid.At(10, 47), 0xFFFFFFFFu);

  WatermarkSettings checks = ColorFill(5, 0.1);
  checks.backOpacity = 0.5;
  Page board(500, 500);
  board.Paint([&](Canvas& c, RectF t) { DrawColorFill(c, checks, t); });
  EXPECT_EQ(board.At(75, 25), 0xFFFFFFFFu);
  EXPECT_EQ(board.At(25, 75), 0xFFFFFFFFu);
  EXPECT_EQ(board.At(75, 75), board.At(25, 25));
  const int grey = board.At(25, 25) & 0xFF;  // black at 0.5 x 0.5 over white
  EXPECT_NEAR(grey, 191, 2);
}

TEST(FillRendering, ImageStylesSizeTheImage) {
  const QImage wide = [] {
    QImage image(1200, 600, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
  }();
  SizeF size{600, 800};
  const SurfaceHandle raster = RasterizeImage(&wide, size, false);
  EXPECT_EQ(size, (SizeF{600, 300}));
  EXPECT_EQ(cairo_image_surface_get_width(raster.get()), 1200);
  SizeF reduced{600, 800};
  EXPECT_EQ(cairo_image_surface_get_width(RasterizeImage(&wide, reduced, true).get()), 600);

  WatermarkSettings s = ColorFill(2, 0.5);
  s.fillImage = std::make_shared<QImage>(wide);
  Page centred(600, 800);
  centred.Paint([&](Canvas& c, RectF t) { DrawImageFill(c, s, false, t); });
  EXPECT_EQ(centred.InkBox(), (RectF{150, 325, 300, 150}));

  s.backStyle = 3;
  s.fillImage = std::make_shared<QImage>(wide.scaled(100, 50));
  Page fitted(600, 800);
  fitted.Paint([&](Canvas& c, RectF t) { DrawImageFill(c, s, false, t); });
  EXPECT_EQ(fitted.InkBox(), (RectF{0, 250, 600, 300}));
}

TEST(FillRendering, PatternsComeFromTheShippedList) {
  WatermarkSettings s = ColorFill(4, 0.5);
  s.patternName = "Dots";
  Page page(200, 200);
  page.Paint([&](Canvas& c, RectF t) { DrawImageFill(c, s, true, t); });
  EXPECT_NE(page.InkBox(), RectF{});

  for (const char* name : {"NoSuchPattern", "../DefaultPreset.plist", ""}) {
    s.patternName = name;
    Page none(200, 200);
    none.Paint([&](Canvas& c, RectF t) { DrawImageFill(c, s, true, t); });
    EXPECT_EQ(none.InkBox(), RectF{}) << name;
  }
}

TEST(FillRendering, DegenerateFillsDrawNothing) {
  EXPECT_EQ(ColorFillBox(ColorFill(1, 0.5, {0, 0})), RectF{});  // anchor at infinity
  EXPECT_EQ(ColorFillBox(ColorFill(5, 0)), RectF{});            // zero-size cell
  EXPECT_EQ(ColorFillBox(ColorFill(6, 0)), RectF{});
  WatermarkSettings image = ColorFill(6, 0.5, {0, 0});
  image.fillImage = std::make_shared<QImage>(10, 10, QImage::Format_RGB32);
  Page page(100, 100);
  page.Paint([&](Canvas& c, RectF t) {
    DrawImageFill(c, image, false, t);
    DrawImageFill(c, image, false, RectF{});  // 0 x 0 page
    DrawColorFill(c, ColorFill(2, 0.5), RectF{});
  });
  EXPECT_EQ(page.InkBox(), RectF{});
}

TEST(TextRendering, FittedAndDegenerateText) {
  WatermarkSettings s = GetPresetSettingsFrom(nullptr);
  s.textColor = kBlack;
  s.textOpacity = 1;
  s.dropShadow = false;
  s.fitDrawingType = 1;
  s.textString = "WIDE";
  Page fitted(600, 400);
  fitted.Paint([&](Canvas& c, RectF t) { DrawTextWatermark(c, s, t); });
  const RectF ink = fitted.InkBox();
  EXPECT_LT(ink.x, 20);
  EXPECT_GT(ink.x + ink.width, 560);
  EXPECT_NEAR(ink.y + ink.height / 2, 200, 30);  // centred vertically

  s.textString = "";
  Page empty(600, 400);
  empty.Paint([&](Canvas& c, RectF t) {
    DrawTextWatermark(c, s, t);
    s.fitDrawingType = 0;
    s.textCenter = {0, 0};
    DrawTextWatermark(c, s, t);
    s.textString = "x";
    DrawTextWatermark(c, s, t);  // anchor at infinity
  });
  EXPECT_EQ(empty.InkBox(), RectF{});
}

TEST(TextRendering, ShadowFollowsTheViewScale) {
  WatermarkSettings s = GetPresetSettingsFrom(nullptr);
  s.textString = "I";
  s.textColor = Rgba{1, 1, 1, 1};  // white on white: only the shadow shows
  s.textCenter = {2, 2};
  s.shadowBlur = 0;
  s.viewScale = 1;
  Page near(200, 200);
  near.Paint([&](Canvas& c, RectF t) { DrawTextWatermark(c, s, t); });
  s.viewScale = 2;
  Page far(200, 200);
  far.Paint([&](Canvas& c, RectF t) { DrawTextWatermark(c, s, t); });
  // The shadow's far edges move from (3, -3) to (6, -6) away from the text.
  const RectF a = near.InkBox();
  const RectF b = far.InkBox();
  EXPECT_NEAR((b.x + b.width) - (a.x + a.width), 3, 1);
  EXPECT_NEAR(b.y - a.y, -3, 1);
}

// A blurred shadow keeps the ink of the sharp one (the box blur spreads it,
// loses none) and spreads it evenly on every side, also for a slanted line,
// whose rows are inked over very different spans.
TEST(TextRendering, ABlurredShadowSpreadsEvenlyAndKeepsItsInk) {
  WatermarkSettings s = GetPresetSettingsFrom(nullptr);
  s.textString = "WAVE";
  s.textFontSize = 40;
  s.rotationAngle = 25;
  s.textColor = Rgba{1, 1, 1, 1};  // white on white: only the shadow shows
  s.textOpacity = 1;
  s.shadowColor = kBlack;
  s.textCenter = {2, 1.4};  // the text high on the page, its shadow far below
  s.shadowXOffset = 0;
  s.shadowYOffset = -150;
  s.viewScale = 1;
  const auto shadowOf = [&](std::int64_t blur, double& ink) {
    s.shadowBlur = blur;
    auto page = std::make_unique<Page>(400, 400);
    page->Paint([&](Canvas& c, RectF t) { DrawTextWatermark(c, s, t); });
    ink = 0;
    for (int y = 0; y < 400; ++y) {
      for (int x = 0; x < 400; ++x) ink += 255 - (page->At(x, y) & 0xFF);
    }
    return page;
  };
  double sharpInk = 0;
  double blurredInk = 0;
  const RectF sharp = shadowOf(0, sharpInk)->InkBox();
  const RectF blurred = shadowOf(8, blurredInk)->InkBox();
  ASSERT_GT(sharpInk, 1000);
  EXPECT_NEAR(blurredInk / sharpInk, 1.0, 0.03);
  const double left = sharp.x - blurred.x;
  const double bottom = sharp.y - blurred.y;
  const double right = (blurred.x + blurred.width) - (sharp.x + sharp.width);
  const double top = (blurred.y + blurred.height) - (sharp.y + sharp.height);
  EXPECT_GT(left, 8);
  EXPECT_NEAR(right, left, 2);
  EXPECT_NEAR(bottom, left, 2);
  EXPECT_NEAR(top, left, 2);
}

TEST(Compositor, LayerOrderFollowsTheFlags) {
  using L = PageLayer;
  WatermarkSettings s = GetPresetSettingsFrom(nullptr);
  const auto order = [&](bool textBehind, bool fillBehind) {
    s.textBehind = textBehind;
    s.fillBehind = fillBehind;
    return LayerOrder(s);
  };
  EXPECT_EQ(order(false, false), (std::vector<L>{L::Page, L::Fill, L::Text}));
  EXPECT_EQ(order(true, false), (std::vector<L>{L::Text, L::Page, L::Fill}));
  EXPECT_EQ(order(false, true), (std::vector<L>{L::Fill, L::Page, L::Text}));
  EXPECT_EQ(order(true, true), (std::vector<L>{L::Fill, L::Text, L::Page}));
  s.textEnabled = s.fillEnabled = false;
  for (bool text : {false, true}) {
    for (bool fill : {false, true}) EXPECT_EQ(order(text, fill), std::vector<L>{L::Page});
  }
}

TEST(Compositor, MarkerShowsOnlyPlaceableAnchors) {
  WatermarkSettings s = GetPresetSettingsFrom(nullptr);
  const RectF page{0, 0, 600, 800};
  EXPECT_FALSE(MarkerPosition(s, page));  // the file never shows it
  s.showMarker = true;
  s.markerOnText = true;
  s.textCenter = {2, 4};
  EXPECT_EQ(MarkerPosition(s, page), (PointF{300, 200}));
  s.drawingType = 4;
  EXPECT_FALSE(MarkerPosition(s, page));
  s.drawingType = 1;
  s.fitDrawingType = 2;
  EXPECT_FALSE(MarkerPosition(s, page));
  s.drawingType = 2;
  EXPECT_TRUE(MarkerPosition(s, page));

  s.markerOnText = false;
  EXPECT_FALSE(MarkerPosition(s, page));  // style 4 has no anchor
  s.backStyle = 1;
  s.fillCenter = {4, 2};
  EXPECT_EQ(MarkerPosition(s, page), (PointF{150, 400}));
  s.fillCenter = {0, 0};
  EXPECT_FALSE(MarkerPosition(s, page));
}

TEST(Compositor, MarkerIsSnappedToWholePoints) {
  EXPECT_EQ(MarkerLabel(100.5, 20.49), "(101,20)");
  Page page(200, 60);
  page.Paint([](Canvas& c, RectF) { DrawPositionMarker(c, 100.5, 20.49); });
  const RectF ink = page.InkBox();
  // The cross spans 8 points each way of (101, 20); the label hangs below it.
  EXPECT_NEAR(ink.x + ink.width / 2, 101, 3);
  EXPECT_GE(ink.y + ink.height, 28);
  EXPECT_LE(ink.y + ink.height, 30);
  const std::uint32_t centre = page.At(101, 20);
  EXPECT_GT((centre >> 16) & 0xFF, (centre >> 8) & 0xFF);  // red, not black or white
}

class PageDrawing : public ::testing::Test {
 protected:
  test::ScratchHome home_;

  std::unique_ptr<SourceDocument> Open(const std::vector<test::TestPage>& pages) {
    const auto path = test::WriteTestPdf(home_.path() / "doc.pdf", pages);
    OpenError error{};
    std::string message;
    auto document = SourceDocument::Open(path.string(), "", error, message);
    EXPECT_TRUE(document) << message;
    return document;
  }
};

TEST_F(PageDrawing, RotatedAndCroppedPagesStandUprightInTheirBox) {
  // A black square in the lower-left corner of the unrotated page.
  const std::string square = "0 0 0 rg 50 50 100 100 re f";
  const auto document = Open({{612, 792, 90, "", square}, {612, 792, 0, "50 50 562 742", square}});
  const SourcePage turned = document->Page(0);
  EXPECT_EQ(turned.DisplayedSize(), (SizeF{792, 612}));
  WatermarkSettings none = GetPresetSettingsFrom(nullptr);
  none.textEnabled = none.fillEnabled = false;
  const SurfaceHandle picture = RenderPreview(turned, none, 1);
  ASSERT_TRUE(picture);
  EXPECT_EQ(cairo_image_surface_get_width(picture.get()), 792);
  // Turned a quarter clockwise, the corner square is now at the upper left.
  const auto pixel = [&](int x, int yUp) {
    const int row = cairo_image_surface_get_height(picture.get()) - 1 - yUp;
    const auto* data = cairo_image_surface_get_data(picture.get());
    return *reinterpret_cast<const std::uint32_t*>(
        data + row * cairo_image_surface_get_stride(picture.get()) + x * 4);
  };
  EXPECT_EQ(pixel(100, 612 - 100), 0xFF000000u);
  EXPECT_EQ(pixel(100, 100), 0xFFFFFFFFu);

  const SourcePage cropped = document->Page(1);
  EXPECT_EQ(cropped.DisplayedSize(), (SizeF{512, 692}));
}

TEST_F(PageDrawing, OpaquePageContentHidesLayersBehindIt) {
  const auto document = Open({{200, 100, 0, "", "0 0 0 rg 0 0 100 100 re f"}});
  WatermarkSettings s = ColorFill(4, 1);
  s.backColor = kYellow;
  s.textEnabled = false;
  // The colour of the preview at (10, 50), inside the black half.
  const auto left = [&] {
    const SurfaceHandle picture = RenderPreview(document->Page(0), s, 1);
    const int stride = cairo_image_surface_get_stride(picture.get());
    return *reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(picture.get()) +
                                                   50 * stride + 10 * 4);
  };
  s.fillBehind = true;
  EXPECT_EQ(left(), 0xFF000000u);
  s.fillBehind = false;
  EXPECT_EQ(left(), 0xFFFFFF00u);
}

// Frames from a kept page and kept layers equal frames drawn afresh, as
// the settings change between them: moved text, a moved picture that is
// centred (its anchor unused), another opacity, the text switched off.
TEST_F(PageDrawing, KeptPagesAndLayersGiveTheFramesDrawnAfresh) {
  const auto document = Open({{612, 792, 0, "", "0 0 1 rg 100 100 300 300 re f"}});
  const SourcePage page = document->Page(0);
  Dictionary preset;
  GetDefaultWatermarkOptions(preset);
  QImage picture(400, 300, QImage::Format_ARGB32);
  picture.fill(QColor(200, 40, 40, 160));
  preset.insert_or_assign("WatermarkbackGroundOptionsState", Value(true));
  preset.insert_or_assign("FillWatermarkOption", Value(std::int64_t{2}));
  preset.insert_or_assign("backStyle", Value(std::int64_t{2}));
  preset.insert_or_assign("Image", Value(Value::Image(std::make_shared<const QImage>(picture))));
  WatermarkSettings s = GetPresetSettingsFrom(&preset);
  s.viewScale = 0.5f;
  const PreviewFrames kept(page, 0.5);
  const auto same = [&](const WatermarkSettings& settings) {
    const SurfaceHandle fromKept = kept.Frame(settings);
    const SurfaceHandle afresh = PreviewFrames(page, 0.5).Frame(settings);
    const auto bytes = [](const SurfaceHandle& surface) {
      return std::string(reinterpret_cast<const char*>(cairo_image_surface_get_data(surface.get())),
                         static_cast<size_t>(cairo_image_surface_get_stride(surface.get())) *
                             cairo_image_surface_get_height(surface.get()));
    };
    return bytes(fromKept) == bytes(afresh);
  };
  EXPECT_TRUE(same(s));
  s.textCenter = {3, 5};
  EXPECT_TRUE(same(s));
  s.fillCenter = {4, 4};
  EXPECT_TRUE(same(s));
  s.textOpacity = 0.25;
  s.backOpacity = 0.75;
  EXPECT_TRUE(same(s));
  s.textEnabled = false;
  EXPECT_TRUE(same(s));
}

TEST_F(PageDrawing, BadDocumentsAreRefusedWithAReason) {
  OpenError error{};
  std::string message;
  EXPECT_FALSE(SourceDocument::Open((home_.path() / "none.pdf").string(), "", error, message));
  EXPECT_EQ(error, OpenError::Missing);
  const auto text = home_.path() / "text.pdf";
  std::ofstream(text) << "just words";
  EXPECT_FALSE(SourceDocument::Open(text.string(), "", error, message));
  EXPECT_EQ(error, OpenError::NotPdf);
  EXPECT_NE(message.find("not a PDF"), std::string::npos);

  const auto corpus = test::CorpusFolder();
  if (corpus.empty()) GTEST_SKIP() << "shared corpus absent";
  const auto locked = (corpus / "enc_aes128_user-user2_owner-owner2_lowres-print.pdf").string();
  EXPECT_FALSE(SourceDocument::Open(locked, "wrong", error, message));
  EXPECT_EQ(error, OpenError::NeedsPassword);
  EXPECT_TRUE(SourceDocument::Open(locked, "user2", error, message));
}

}  // namespace
}  // namespace quillsheet
