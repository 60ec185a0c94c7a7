#include <gtest/gtest.h>

#include <cmath>

#include "engine/FontLookup.h"
#include "engine/TextLayout.h"
#include "engine/TextShaping.h"
#include "engine/TextWatermark.h"

namespace quillsheet {
namespace {

constexpr double kW = 600, kH = 800, kFs = 36, kD = 30, kAdvance = 100;

// Splits the runs of a tiled layout into lines: a run continues the previous
// one when it lies one advance plus distance further along the angle.
std::vector<PointF> LineStarts(const std::vector<PointF>& runs, double angle) {
  std::vector<PointF> starts;
  const double along = kAdvance + kD;
  for (size_t i = 0; i < runs.size(); ++i) {
    const bool continues =
        i > 0 && std::abs(runs[i].x - runs[i - 1].x - along * std::cos(Radians(angle))) < 0.01 &&
        std::abs(runs[i].y - runs[i - 1].y - along * std::sin(Radians(angle))) < 0.01;
    if (!continues) starts.push_back(runs[i]);
  }
  return starts;
}

std::vector<PointF> Tiled(std::int64_t angle) {
  return TiledRunStarts(kW, kH, angle, 36, 30, kAdvance);
}

TEST(TextLayout, StackedCopiesClimbByDistancePlusSize) {
  const auto three = StackedRunStarts(3, {100, 100}, 36, 30);
  EXPECT_EQ(three, (std::vector<PointF>{{100, 100}, {100, 166}, {100, 232}}));
  EXPECT_EQ(StackedRunStarts(2, {100, 100}, 36, 30).size(), 2u);
  EXPECT_EQ(StackedRunStarts(1, {300, 200}, 36, 30), (std::vector<PointF>{{300, 200}}));
  EXPECT_TRUE(StackedRunStarts(5, {1, 1}, 36, 30).empty());
  EXPECT_TRUE(StackedRunStarts(1, {INFINITY, 1}, 36, 30).empty());
}

TEST(TextLayout, TiledAtZeroDegreesIsRowsFromTheLeftEdge) {
  const auto lines = LineStarts(Tiled(0), 0);
  ASSERT_FALSE(lines.empty());
  EXPECT_NEAR(lines[0].y, kFs / 4, 1e-6);
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_NEAR(lines[i].x, 0, 1e-5);
    EXPECT_NEAR(lines[i].y, kFs / 4 + i * 66.0, 1e-6);
  }
  EXPECT_LT(lines.back().y, kH + kFs);
  EXPECT_GE(lines.back().y + 66, kH + kFs);  // no phase 2 after the last row
}

TEST(TextLayout, TiledAtNinetyDegreesIsColumnsAlongTheBottom) {
  const auto runs = Tiled(90);
  ASSERT_FALSE(runs.empty());
  EXPECT_NEAR(runs[0].x, kFs / 2, 1e-6);
  EXPECT_NEAR(runs[0].y, 0, 1e-6);
  EXPECT_NEAR(runs[1].y, kAdvance + kD, 1e-3);  // climbs by run length plus distance
  double lastColumn = -1;
  for (const PointF& run : runs) {
    EXPECT_LT(run.x, kW + kFs);
    EXPECT_LT(run.y, kH + kFs);
    lastColumn = std::max(lastColumn, run.x);
  }
  EXPECT_GE(lastColumn + 66, kW + kFs);
  EXPECT_NEAR(std::fmod(lastColumn - kFs / 2, 66.0), 0, 1e-3);
}

TEST(TextLayout, TiledAtFortyFiveWalksUpThenAlongTheBottom) {
  const auto lines = LineStarts(Tiled(45), 45);
  const double c = std::cos(Radians(45));
  const PointF start{kFs * c * 0.5, (1 - c) * kFs * 0.25};
  ASSERT_EQ(lines.size(), 13u + 9u);
  for (size_t n = 0; n < 13; ++n) {
    EXPECT_NEAR(lines[n].x, start.x, 1e-9);
    EXPECT_NEAR(lines[n].y, start.y + n * 66.0, 1e-9);
  }
  for (size_t k = 1; k <= 9; ++k) {
    EXPECT_NEAR(lines[12 + k].x, start.x + k * 66.0, 1e-3);
    EXPECT_NEAR(lines[12 + k].y, start.y, 1e-9);
  }
}

TEST(TextLayout, TiledQuadrantsStartWhereTheTableSaysAndStayInside) {
  struct Case {
    std::int64_t angle;
    PointF start;
  };
  const auto c = [](double a) { return std::cos(Radians(a)); };
  const Case cases[] = {
      {135, {kW - (1 - c(45)) * kFs * 0.25, c(45) * kFs}},
      {180, {kW - (1 - c(0)) * kFs * 0.25, c(0) * kFs}},
      {225, {kW - c(45) * kFs * 0.5, kH}},
      {270, {kW - c(0) * kFs * 0.5, kH}},
      {315, {0, kH - c(45) * kFs}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.angle);
    const auto runs = Tiled(test.angle);
    ASSERT_GT(runs.size(), 10u);
    EXPECT_NEAR(runs[0].x, test.start.x, 1e-9);
    EXPECT_NEAR(runs[0].y, test.start.y, 1e-9);
    for (const PointF& run : runs) {
      EXPECT_GT(run.x, -kFs);
      EXPECT_LT(run.x, kW + kFs);
      EXPECT_GT(run.y, -kFs);
      EXPECT_LT(run.y, kH + kFs);
    }
  }
  // At 180 degrees the phase-2 move (114 steps) leaves the page at once:
  // every line starts on the right edge.
  for (const PointF& start : LineStarts(Tiled(180), 180)) {
    EXPECT_NEAR(start.x, kW, 1e-9);
  }
}

TEST(TextLayout, TiledDegenerateInputEndsAtOnce) {
  EXPECT_TRUE(Tiled(360).empty());
  EXPECT_TRUE(Tiled(-10).empty());
  EXPECT_TRUE(TiledRunStarts(kW, kH, 30, 0, 0, 50).empty());       // step 0
  EXPECT_TRUE(TiledRunStarts(kW, kH, 30, 36, -200, 100).empty());  // walks backwards
  EXPECT_TRUE(TiledRunStarts(kW, kH, 30, 36, 0, 0).empty());       // empty text
  EXPECT_TRUE(TiledRunStarts(0, 0, 0, 36, 30, 100).size() <= 1u);  // 0 x 0 page
  EXPECT_EQ(TiledRunStarts(1e6, 1e6, 0, 1, 0, 0.5).size(), kMaxTiledRuns);
}

TEST(TextLayout, FittedFramesScaleToThePage) {
  const FittedPlacement horizontal = PlaceFittedFrame(1, {102, 14}, {612, 792});
  EXPECT_DOUBLE_EQ(horizontal.scale, 6);
  EXPECT_DOUBLE_EQ(horizontal.origin.x, 0);
  EXPECT_DOUBLE_EQ(horizontal.origin.y, (792 - 84) * 0.5);

  const FittedPlacement vertical = PlaceFittedFrame(2, {100, 20}, {600, 800});
  EXPECT_DOUBLE_EQ(vertical.scale, 8);
  EXPECT_DOUBLE_EQ(vertical.angle, -1.5707963705062866);

  const FittedPlacement diagonal = PlaceFittedFrame(3, {100, 50}, {600, 800});
  EXPECT_NEAR(100 * 50 * diagonal.scale * diagonal.scale, 600 * 800 * 0.5, 1e-6);
  EXPECT_DOUBLE_EQ(diagonal.angle, std::atan(800.0 / 600.0));
  const FittedPlacement small = PlaceFittedFrame(3, {100, 5}, {600, 800});
  EXPECT_DOUBLE_EQ(small.scale, 8);  // within half the page: not reduced

  EXPECT_EQ(PlaceFittedFrame(1, {0, 0}, {612, 792}).scale, 0);
  EXPECT_EQ(PlaceFittedFrame(3, {10, 10}, {0, 0}).scale, 0);
}

TEST(TextShaping, WholeRunsAreShapedAndMissingFontsFallBack) {
  const auto font = FontFace::Load("DejaVuSans");
  ASSERT_TRUE(font);
  EXPECT_EQ(font->postScriptName(), "DejaVuSans");
  // One character outside the basic plane is one glyph, not two.
  EXPECT_EQ(ShapeLine(*font, "\xF0\x9D\x90\x80", 12).glyphs.size(), 1u);
  const ShapedLine word = ShapeLine(*font, "Draft", 10);
  EXPECT_EQ(ShapeLine(*font, "Draft", 20).advance, 2 * word.advance);

  const auto substitute = FontFace::Load("NoSuchFont-FromAnotherMachine");
  ASSERT_TRUE(substitute);
  EXPECT_FALSE(substitute->postScriptName().empty());
  EXPECT_GT(ShapeLine(*substitute, "Copy", 12).advance, 0);

  const SizeF twoLines = NaturalTextSize(*font, "A\nwider line", 12, false);
  EXPECT_DOUBLE_EQ(twoLines.width, ShapeLine(*font, "wider line", 12).advance);
  EXPECT_DOUBLE_EQ(twoLines.height, 2 * NaturalTextSize(*font, "A", 12, false).height);
}

TEST(TextShaping, ShadowIsScaledToTheDevice) {
  WatermarkSettings settings = GetPresetSettingsFrom(nullptr);
  settings.viewScale = 2;
  const auto shadow = TextShadow(settings);
  ASSERT_TRUE(shadow);
  EXPECT_EQ(shadow->offset, (PointF{6, -6}));
  EXPECT_EQ(shadow->blur, 6);
  settings.dropShadow = false;
  EXPECT_FALSE(TextShadow(settings));
}

// The x position of the first glyph set for a character when shaped alone.
double XOf(const ShapedLine& line, const FontFace& font, const char* character) {
  const ShapedLine alone = ShapeLine(font, character, 12);
  for (const ShapedGlyph& glyph : line.glyphs) {
    if (glyph.index == alone.glyphs.front().index && glyph.face == alone.glyphs.front().face) {
      return glyph.x;
    }
  }
  ADD_FAILURE() << character << " not found";
  return -1;
}

TEST(TextShaping, MixedDirectionsAreSetInVisualOrder) {
  const auto font = FontFace::Load("DejaVuSans");
  ASSERT_TRUE(font);
  // An Arabic paragraph: the Latin word stands to the left, still spelled
  // left to right; digits keep their order.
  const std::string arabicWord = "مسودة";
  const ShapedLine alone = ShapeLine(*font, arabicWord, 12);
  const ShapedLine arabicFirst = ShapeLine(*font, arabicWord + " DRAFT", 12);
  EXPECT_LT(XOf(arabicFirst, *font, "D"), XOf(arabicFirst, *font, "R"));
  // The Arabic word, joined as when alone, fills the right end of the line.
  const double arabicStart = arabicFirst.advance - alone.advance;
  EXPECT_LT(XOf(arabicFirst, *font, "T"), arabicStart);
  EXPECT_NEAR(arabicFirst.glyphs.back().x, arabicStart + alone.glyphs.back().x, 1e-6);
  EXPECT_EQ(arabicFirst.glyphs.back().index, alone.glyphs.back().index);
  const ShapedLine withDigits = ShapeLine(*font, arabicWord + " 2024", 12);
  EXPECT_LT(XOf(withDigits, *font, "0"), XOf(withDigits, *font, "4"));
  EXPECT_LT(XOf(withDigits, *font, "4"), withDigits.advance - alone.advance);
  // A Latin paragraph: the Hebrew word reads right to left.
  const ShapedLine latinFirst = ShapeLine(*font, "DRAFT טיוטה", 12);
  EXPECT_LT(XOf(latinFirst, *font, "T"), XOf(latinFirst, *font, "ה"));
  EXPECT_GT(XOf(latinFirst, *font, "י"), XOf(latinFirst, *font, "ה"));
  // Pure right-to-left text keeps its joined Arabic forms: fewer distinct
  // glyphs than isolated letters would give differ from the letters alone.
  const ShapedLine arabic = ShapeLine(*font, "مسودة", 12);
  EXPECT_NE(arabic.glyphs.back().index, ShapeLine(*font, "م", 12).glyphs.front().index);
}

TEST(TextShaping, CharactersTheFontLacksComeFromAFallbackFont) {
  const auto latinOnly = FontFace::Load("LiberationSans");
  ASSERT_TRUE(latinOnly);
  ASSERT_FALSE(latinOnly->HasCharacter(U'\u0645'));
  const ShapedLine line = ShapeLine(*latinOnly, "DRAFT مسودة", 12);
  EXPECT_EQ(line.glyphs.front().face, latinOnly.get());
  EXPECT_NE(line.glyphs.back().face, latinOnly.get());
  EXPECT_NE(line.glyphs.back().index, 0u);
  EXPECT_TRUE(line.missing.empty());
  EXPECT_EQ(CharactersWithoutFont("LiberationSans", "A􏿽B􏿽"), "􏿽");
  EXPECT_EQ(CharactersWithoutFont("LiberationSans", "DRAFT م"), "");
}

}  // namespace
}  // namespace quillsheet
