#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <fstream>

#include "common/PropertyList.h"
#include "engine/FontLookup.h"
#include "engine/TextFields.h"
#include "engine/WatermarkSettings.h"
#include "tests/TestSupport.h"

namespace quillsheet {
namespace {

void ExpectAllDefaults(const WatermarkSettings& s) {
  EXPECT_TRUE(s.textEnabled);
  EXPECT_EQ(s.textString, "Quillsheet");
  EXPECT_EQ(s.drawingType, 1);
  EXPECT_EQ(s.textDistance, 30);
  EXPECT_EQ(s.fitDrawingType, 0);
  EXPECT_EQ(s.textFont, DefaultUserFontPostScriptName());
  EXPECT_EQ(s.textFontSize, 36);
  EXPECT_EQ(s.drawingMode, 0);
  EXPECT_EQ(s.textColor, kGrey);
  EXPECT_EQ(s.strokeWidth, 1);
  EXPECT_EQ(s.textOpacity, 0.8999999761581421);
  EXPECT_EQ(s.rotationAngle, 0);
  EXPECT_TRUE(s.dropShadow);
  EXPECT_EQ(s.shadowColor, kBlack);
  EXPECT_EQ(s.shadowXOffset, 3);
  EXPECT_EQ(s.shadowYOffset, -3);
  EXPECT_EQ(s.shadowBlur, 3);
  EXPECT_TRUE(s.fillEnabled);
  EXPECT_EQ(s.backStyle, 4);
  EXPECT_EQ(s.fillImage, nullptr);
  EXPECT_EQ(s.patternName, InitialPatternName());
  EXPECT_EQ(s.backColor, kYellow);
  EXPECT_EQ(s.backSize, 0.5);
  EXPECT_EQ(s.backOpacity, 0.5);
  EXPECT_EQ(s.fillOption, 0);
  EXPECT_FALSE(s.textBehind);
  EXPECT_TRUE(s.fillBehind);
  EXPECT_EQ(s.textCenter, (AnchorRatio{30, 42}));
  EXPECT_EQ(s.fillCenter, (AnchorRatio{612, 792}));
  EXPECT_EQ(s.viewScale, 0.0f);
  EXPECT_FALSE(s.showMarker);
  EXPECT_FALSE(s.markerOnText);
}

TEST(WatermarkSettings, MissingAndEmptyPresetsGiveEveryDefault) {
  ExpectAllDefaults(GetPresetSettingsFrom(nullptr));
  const Dictionary empty;
  ExpectAllDefaults(GetPresetSettingsFrom(&empty));
  EXPECT_FALSE(DefaultUserFontPostScriptName().empty());
}

TEST(WatermarkSettings, ValuesOfTheWrongKindReadAsAbsent) {
  const Dictionary preset{
      {"textFontSize", "huge"},
      {"textString", 42},
      {"textFont", Value::Array{}},
      {"TextFontColor", Value::Array{1.0, 0.0, 0.0}},
      {"ShadowFontColor", Value::Array{"red", 0.0, 0.0, 1.0}},
      {"BackColor", "yellow"},
      {"TextCenter", Value::Array{"left", "top"}},
      {"FillCenter", 7},
      {"isDropShadowApplied", Value::Data{1}},
      {"textOpacity", Dictionary{}},
      {"drawingType", 2.9},  // numbers of another kind still count
      {"WatermarkOptionsState", 0},
  };
  const WatermarkSettings s = GetPresetSettingsFrom(&preset);
  EXPECT_EQ(s.textFontSize, 36);
  EXPECT_EQ(s.textString, "Quillsheet");
  EXPECT_EQ(s.textFont, DefaultUserFontPostScriptName());
  EXPECT_EQ(s.textColor, kGrey);
  EXPECT_EQ(s.shadowColor, kBlack);
  EXPECT_EQ(s.backColor, kYellow);
  EXPECT_EQ(s.textCenter, kAbsentTextCenter);
  EXPECT_EQ(s.fillCenter, kAbsentFillCenter);
  EXPECT_TRUE(s.dropShadow);
  EXPECT_EQ(s.textOpacity, 0.8999999761581421);
  EXPECT_EQ(s.drawingType, 2);
  EXPECT_FALSE(s.textEnabled);
}

TEST(WatermarkSettings, AnchorsFallBackHalfByHalfAndZeroIsInfinite) {
  const Dictionary preset{{"TextCenter", Value::Array{2.0}},
                          {"FillCenter", Value::Array{"x", 0.0}}};
  const WatermarkSettings s = GetPresetSettingsFrom(&preset);
  EXPECT_EQ(s.textCenter, (AnchorRatio{2, 42}));
  EXPECT_EQ(s.fillCenter, (AnchorRatio{612, 0}));
  EXPECT_TRUE(std::isinf(792.0 / s.fillCenter.y));

  const Dictionary placed{{"TextCenter", Value::Array{2, 4}}};
  const AnchorRatio anchor = GetPresetSettingsFrom(&placed).textCenter;
  EXPECT_EQ(600 / anchor.x, 300);
  EXPECT_EQ(800 / anchor.y, 200);
}

TEST(WatermarkSettings, DefaultPresetRoundTripsThroughAFile) {
  Dictionary preset;
  GetDefaultWatermarkOptions(preset, "Dots");
  EXPECT_EQ(preset.size(), 28u);
  EXPECT_EQ(preset.count("Image") + preset.count("WaterMarkImagePath"), 0u);

  test::ScratchHome home;
  ASSERT_TRUE(WritePropertyListFile(home.path() / "p.plist", Value(preset)));
  const auto read = ReadPropertyListFile(home.path() / "p.plist");
  ASSERT_TRUE(read.value && read.value->DictionaryValue());
  EXPECT_EQ(*read.value->DictionaryValue(), preset);

  const WatermarkSettings s = GetPresetSettingsFrom(read.value->DictionaryValue());
  EXPECT_EQ(s.rotationAngle, 0);
  EXPECT_TRUE(s.dropShadow);
  EXPECT_EQ(s.textColor, kGrey);
  EXPECT_EQ(s.textFont, DefaultUserFontPostScriptName());
  EXPECT_EQ(s.patternName, "Dots");
  EXPECT_EQ(s.textOpacity, static_cast<double>(0.9f));
  // A new preset's anchors differ from the ones used when the key is absent.
  EXPECT_EQ(s.textCenter, (AnchorRatio{20, 20}));
  EXPECT_EQ(s.fillCenter, (AnchorRatio{0, 0}));
}

TEST(WatermarkSettings, OwnColourAndFontFormRoundTrip) {
  const Rgba teal{0.0, 0.5, 0.5, 0.25};
  const Dictionary preset{{"TextFontColor", ColorValue(teal)},
                          {"textFont", "DejaVuSerif-Bold"},
                          {"BackColor", Value::Array{2.0, -1.0, 0.5, 1}}};
  const auto parsed = ParsePropertyList(PropertyListXml(Value(preset)));
  const WatermarkSettings s = GetPresetSettingsFrom(parsed->DictionaryValue());
  EXPECT_EQ(s.textColor, teal);
  EXPECT_EQ(s.textFont, "DejaVuSerif-Bold");
  EXPECT_EQ(s.backColor, (Rgba{1.0, 0.0, 0.5, 1.0}));  // clamped into range
}

TEST(WatermarkSettings, ImageComesFromMemoryFirstThenFromTheFile) {
  test::ScratchHome home;
  const auto path = (home.path() / "picture").string();  // no extension
  ASSERT_TRUE(QImage(30, 20, QImage::Format_RGB32).save(QString::fromStdString(path), "PNG"));

  Dictionary preset{{"WaterMarkImagePath", path}};
  ASSERT_NE(GetPresetSettingsFrom(&preset).fillImage, nullptr);
  EXPECT_EQ(GetPresetSettingsFrom(&preset).fillImage->width(), 30);

  auto inMemory = std::make_shared<QImage>(5, 5, QImage::Format_RGB32);
  preset.insert_or_assign("Image", Value::Image(inMemory));
  EXPECT_EQ(GetPresetSettingsFrom(&preset).fillImage, inMemory);

  std::ofstream(home.path() / "broken") << "not an image";
  const Dictionary broken{{"WaterMarkImagePath", (home.path() / "broken").string()}};
  EXPECT_EQ(GetPresetSettingsFrom(&broken).fillImage, nullptr);
  const Dictionary missing{{"WaterMarkImagePath", (home.path() / "gone").string()}};
  EXPECT_EQ(GetPresetSettingsFrom(&missing).fillImage, nullptr);
}

}  // namespace
}  // namespace quillsheet

namespace quillsheet {

TEST(TextFields, AreFilledInAndUnknownOnesNamed) {
  const FieldValues values{{"page", "3"}, {"pages", "10"}, {"recipient", "Ann"}};
  std::string problem;
  EXPECT_EQ(ExpandTextFields("Page {page} of {pages} for {recipient}", values, &problem),
            "Page 3 of 10 for Ann");
  EXPECT_EQ(ExpandTextFields("{{page}} }}{{", values, &problem), "{page} }{");
  EXPECT_FALSE(ExpandTextFields("for {who}", values, &problem));
  EXPECT_EQ(problem, "unknown field {who}");
  EXPECT_FALSE(ExpandTextFields("a } b", values, &problem));
  EXPECT_FALSE(ExpandTextFields("a {page", values, &problem));
  EXPECT_FALSE(GetPresetSettingsFrom(nullptr).textFields) << "off unless a preset asks";
  std::vector<std::string> names{"x"};
  AddFieldsWithoutValue("{who} {page} {{when}} {x} {who} {where}", values, names);
  EXPECT_EQ(names, (std::vector<std::string>{"x", "who", "where"}));
  // A preview shows what it cannot fill in as written.
  EXPECT_EQ(PreviewTextFields("{page} for {who} } {{ {pa", values), "3 for {who} } { {pa");
}

}  // namespace quillsheet
