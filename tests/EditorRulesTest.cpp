#include <gtest/gtest.h>

#include <cmath>

#include "editor/EditorRules.h"
#include "editor/NumberFields.h"
#include "editor/Placement.h"

namespace quillsheet {
namespace {

using Kind = NumberFieldKind;

std::string Typed(Kind kind, std::string_view text) {
  return NumberFieldRule{kind}.AfterTyping(text);
}
std::string Ended(Kind kind, std::string_view text) { return NumberFieldRule{kind}.AtEnd(text); }

TEST(NumberFields, CleanWhileTypingAndHoldTheirFloorAtTheEnd) {
  EXPECT_EQ(Typed(Kind::FontSize, "12a"), "12");
  EXPECT_EQ(Typed(Kind::FontSize, "x"), "1");
  EXPECT_EQ(Typed(Kind::FontSize, "0"), "0") << "complete text waits for the end rule";
  EXPECT_EQ(Ended(Kind::FontSize, ""), "1");
  EXPECT_EQ(Typed(Kind::WholeNumber, "-5"), "-5");
  EXPECT_EQ(Ended(Kind::WholeNumber, "-5"), "0");
  EXPECT_EQ(Ended(Kind::WholeNumber, ""), "");
  EXPECT_EQ(Typed(Kind::WholeNumber, "99999999999x"), "2147483647");
  EXPECT_EQ(Typed(Kind::FileSize, "q"), "0.5");
  EXPECT_EQ(Ended(Kind::FileSize, "0.3"), "0");
  EXPECT_EQ(Typed(Kind::ShadowXOffset, "-"), "-");
  EXPECT_EQ(Typed(Kind::ShadowXOffset, "-6000"), "-6000");
  EXPECT_EQ(Ended(Kind::ShadowXOffset, "-6000"), "-5000");
  EXPECT_EQ(Typed(Kind::ShadowXOffset, "-12k"), "-12");
  EXPECT_EQ(Typed(Kind::FontSize, "-"), "1") << "only offsets may start with a minus";
  EXPECT_EQ(Typed(Kind::WatermarkOffset, "-2.5x"), "-2.5");
  EXPECT_EQ(Ended(Kind::WatermarkOffset, "-250"), "-100");
  EXPECT_EQ(Typed(Kind::Scale, "150%"), "150%");
  EXPECT_EQ(Typed(Kind::Scale, "7000"), "6400");
  EXPECT_EQ(Typed(Kind::Scale, "0"), "0");
  EXPECT_EQ(Ended(Kind::Scale, "0"), "0");
  EXPECT_EQ(Typed(Kind::PdfScale, "150%"), "150%");
  EXPECT_EQ(Typed(Kind::PdfScale, "150 "), "150") << "the scale fields skip %, not spaces";
  EXPECT_EQ(Ended(Kind::PdfScale, "0"), "1");
  EXPECT_EQ(Ended(Kind::ScaleFactor, "9"), "10");
  EXPECT_EQ(Ended(Kind::ScaleFactor, "10"), "10");
  EXPECT_EQ(Ended(Kind::RotationAngle, ""), "0");
  EXPECT_EQ(NumberFieldRule({Kind::PageCount, 3}).AfterTyping("x"), "3");
  EXPECT_EQ(NumberFieldRule({Kind::PageCount, 3}).AtEnd("2"), "3");
  EXPECT_EQ(Typed(Kind::NumberLength, "99999999999999999999999"), "99999999999999999999999");
}

TEST(NumberFields, PageRangeTextKeepsDigitsAndSingleSeparators) {
  EXPECT_EQ(FilterPageRangeText("1-3,5"), "1-3,5");
  EXPECT_EQ(FilterPageRangeText("1--"), "1-");
  EXPECT_EQ(FilterPageRangeText("1,-"), "1,");
  EXPECT_EQ(FilterPageRangeText("-"), "");
  EXPECT_EQ(FilterPageRangeText(","), "");
  EXPECT_EQ(FilterPageRangeText("12a5"), "12");
  EXPECT_EQ(FilterPageRangeText("a12"), "");
  EXPECT_TRUE(IsPartialPageRangeValid("1-3,7"));
  EXPECT_TRUE(IsPartialPageRangeValid(""));
  for (const char* refused : {"0", "-1", ",1", "1--2", "3,,4", "5,-6", "7-,8", "1 2", "1a"}) {
    EXPECT_FALSE(IsPartialPageRangeValid(refused)) << refused;
  }
}

TEST(EditorRules, TypedNumbersStayWithinTheirUpperLimits) {
  auto typed = TypeNumber(EditorNumber::FontSize, "1500", 36, 36);
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->fieldSetTo, 36);
  EXPECT_EQ(typed->stored.IntegerValue(), 36);

  typed = TypeNumber(EditorNumber::StrokeWidth, "50", 4, 36);
  EXPECT_EQ(typed->fieldSetTo, 4) << "a stroke is never wider than the font size";
  EXPECT_EQ(TypeNumber(EditorNumber::StrokeWidth, "36", 4, 36)->stored.IntegerValue(), 36);

  typed = TypeNumber(EditorNumber::FillSize, "0", 0.5, 36);
  EXPECT_EQ(typed->mirror, 0.0);
  EXPECT_NEAR(*typed->stored.RealValue(), 0.05, 1e-6);
  EXPECT_FALSE(typed->fieldSetTo);

  typed = TypeNumber(EditorNumber::Angle, "45", 0, 36);
  EXPECT_EQ(typed->mirror, 45);
  EXPECT_EQ(typed->stored.IntegerValue(), 45);
  typed = TypeNumber(EditorNumber::Angle, "400", 45, 36);
  EXPECT_EQ(typed->fieldSetTo, 45);
  EXPECT_EQ(typed->stored.IntegerValue(), 45);

  typed = TypeNumber(EditorNumber::YOffset, "6000", -3, 36);
  EXPECT_EQ(typed->fieldSetTo, -3);
  EXPECT_EQ(typed->stored.IntegerValue(), -3);
  EXPECT_EQ(KeyOf(EditorNumber::YOffset), "yOffset");

  typed = TypeNumber(EditorNumber::TextOpacity, "29", 1, 36);
  EXPECT_NEAR(*typed->stored.RealValue(), 0.29, 1e-6);
  EXPECT_EQ(MovePercentSlider(EditorNumber::TextOpacity, 0.29f).field, 29);
  EXPECT_FALSE(TypeNumber(EditorNumber::FontSize, "", 36, 36));
  EXPECT_EQ(TypeNumber(EditorNumber::FontSize, "99999999999999999999", 36, 36)->fieldSetTo, 36);
}

TEST(EditorRules, FamilyCompletionTakesTheFirstInOrderIgnoringCase) {
  const std::vector<std::string> families{"Arial", "Tahoma", "Times", "Timmana"};
  EXPECT_EQ(CompleteFamily(families, "tim"), "Times");
  EXPECT_EQ(CompleteFamily(families, "TIMM"), "Timmana");
  EXPECT_EQ(CompleteFamily(families, "Zap"), "Zap");
}

TEST(EditorRules, SwatchesAndTheirHoverShades) {
  EXPECT_EQ(SwatchColour(3), (Rgba{0, 0, 1, 1}));
  EXPECT_EQ(SwatchColour(6), (Rgba{1, 0.5, 0, 1}));
  EXPECT_FALSE(SwatchColour(0));
  EXPECT_FALSE(SwatchColour(9));
  EXPECT_EQ(SwatchHoverShade(1), (Rgba{2.0 / 3, 2.0 / 3, 2.0 / 3, 1}));
  EXPECT_EQ(SwatchHoverShade(8), (Rgba{1.0 / 3, 1.0 / 3, 1.0 / 3, 1}));
  const Rgba blue = *SwatchHoverShade(3);
  EXPECT_NEAR(blue.red, 0.6, 1e-9);
  EXPECT_NEAR(blue.green, 0.6, 1e-9);
  EXPECT_EQ(blue.blue, 1.0);
  const Rgba orange = *SwatchHoverShade(6);
  EXPECT_EQ(orange.red, 1.0);
  EXPECT_NEAR(orange.green, 0.8, 1e-9);
  EXPECT_NEAR(orange.blue, 0.6, 1e-9);
}

// The dial's angle is the text's: a point to the right of the centre is 0,
// above it 90 (screen y grows downwards), to the left 180, below 270.
TEST(EditorRules, TheDialPicksTheAngleThePointShows) {
  EXPECT_EQ(DialAngleAt(10, 0), 0);
  EXPECT_EQ(DialAngleAt(0, -10), 90);
  EXPECT_EQ(DialAngleAt(-10, 0), 180);
  EXPECT_EQ(DialAngleAt(0, 10), 270);
  EXPECT_EQ(DialAngleAt(10, -10), 45);
  EXPECT_EQ(DialAngleAt(10, 0.01), 0);  // just below three o'clock wraps to 0, not 360
  EXPECT_EQ(DialAngleAt(0, 0), 0);
  EXPECT_EQ(MoveAngleSlider(-45).field, 315);
  EXPECT_EQ(MoveAngleSlider(360).field, 0);
}

TEST(EditorRules, EnablementFollowsTheChoices) {
  EditorChoices choices{.textOn = true, .layout = 4, .fit = 0, .drawingMode = 0};
  auto states = EditorEnablement(choices);
  EXPECT_EQ(states["distanceTextFieldOutlet"], (ControlState{true, true}));
  EXPECT_EQ(states["textFitDrawingTypePopupButtonOutlet"], (ControlState{true, false}));
  EXPECT_FALSE(states["strokeWidthTextFieldOutlet"].enabled);
  EXPECT_FALSE(states["blurStepperOutlet"].enabled);

  choices.layout = 1;
  choices.fit = 2;
  choices.drawingMode = 2;
  choices.shadow = true;
  states = EditorEnablement(choices);
  EXPECT_EQ(states["distanceTextFieldOutlet"], (ControlState{true, false}));
  EXPECT_EQ(states["textFitDrawingTypePopupButtonOutlet"], (ControlState{true, true}));
  EXPECT_FALSE(states["fontSizeTextFieldOutlet"].enabled) << "a fitted line has no size";
  EXPECT_FALSE(states["angleSliderOutlet"].enabled);
  EXPECT_TRUE(states["strokeWidthStepperOutlet"].enabled);
  EXPECT_TRUE(states["blurStepperOutlet"].enabled);

  choices.textOn = false;
  states = EditorEnablement(choices);
  for (const auto& [name, state] : states) {
    if (std::string_view(name).starts_with("background") ||
        name == "fillFrontBackOptionSegmentedOutlet")
      continue;
    EXPECT_FALSE(state.enabled) << name;
  }
  EXPECT_EQ(states["distanceTextFieldOutlet"].visible, std::nullopt) << "left as it is";

  for (const int style : {1, 3, 4, 6}) {
    states = EditorEnablement({.fillOn = true, .fillStyle = style});
    EXPECT_EQ(states["backgroundSizeSliderOutlet"].enabled, style != 3 && style != 4) << style;
    EXPECT_TRUE(states["backgroundOpacitySliderOutlet"].enabled);
  }
  states = EditorEnablement({.fillOn = false, .fillStyle = 1});
  EXPECT_FALSE(states["backgroundSizeSliderOutlet"].enabled);
}

TEST(Placement, ClicksStoreClampedRatiosForTheLayerOnShow) {
  const Value::Array anchor = AnchorFor({153, 198}, {612, 792});
  EXPECT_EQ(anchor[0].RealValue(), 4.0);
  EXPECT_EQ(anchor[1].RealValue(), 4.0);
  const Value::Array left = AnchorFor({-20, 900}, {612, 792});
  EXPECT_TRUE(std::isinf(*left[0].RealValue()));
  EXPECT_EQ(left[1].RealValue(), 1.0);
  // A turned page is displayed 792 x 612: a point 50 up from its displayed
  // lower left corner lands at ratio 612 / 50.
  EXPECT_FLOAT_EQ(*AnchorFor({50, 50}, {792, 612})[1].RealValue(), 612.0f / 50.0f);

  EXPECT_EQ(PlacementKey(EditorTab::Text, true, false), "TextCenter");
  EXPECT_EQ(PlacementKey(EditorTab::Fill, true, true), "FillCenter");
  EXPECT_FALSE(PlacementKey(EditorTab::Fill, true, false));
  EXPECT_FALSE(PlacementKey(EditorTab::Text, false, true));

  EXPECT_EQ(ClampToView({-5, 700}, {400, 600}), (PointF{0, 590}));
}

TEST(Placement, NavigationAndTheGoToPageNumber) {
  const PageNavigation none = NavigationFor(0, 0);
  EXPECT_FALSE(none.enabled);
  EXPECT_EQ(none.label, "-");
  const PageNavigation first = NavigationFor(10, 0);
  EXPECT_TRUE(first.enabled && first.next && first.last);
  EXPECT_FALSE(first.first || first.previous);
  EXPECT_EQ(NavigationFor(10, 9).label, "10");
  EXPECT_FALSE(NavigationFor(10, 9).next);
  EXPECT_EQ(PageForNumber(0, 10), 0);
  EXPECT_EQ(PageForNumber(999, 10), 9);
  EXPECT_EQ(PageForNumber(-3, 10), 9);
  EXPECT_EQ(PageForNumber(4, 10), 3);
}

}  // namespace
}  // namespace quillsheet
