#include "engine/WatermarkSettings.h"

#include <QImage>
#include <algorithm>
#include <limits>

#include "common/AtomicFile.h"
#include "engine/FontLookup.h"
#include "engine/PatternNameProvider.h"

namespace quillsheet {
namespace {

using namespace presetkey;

std::int32_t Int32For(const Dictionary& preset, std::string_view key, std::int32_t fallback) {
  const auto value = IntegerFor(preset, key);
  if (!value) return fallback;
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(*value, kMin, kMax));
}

// Single-precision numbers, as the preset stores them, widened to double.
double FloatFor(const Dictionary& preset, std::string_view key, float fallback) {
  const auto value = RealFor(preset, key);
  return static_cast<double>(value ? static_cast<float>(*value) : fallback);
}

std::string StringOr(const Dictionary& preset, std::string_view key, std::string fallback) {
  const std::string* value = StringFor(preset, key);
  return value ? *value : fallback;
}

std::string FontFor(const Dictionary& preset) {
  const std::string* name = StringFor(preset, kTextFont);
  return name && !name->empty() ? *name : DefaultUserFontPostScriptName();
}

Rgba ColorFor(const Dictionary& preset, std::string_view key, const Rgba& fallback) {
  const Value* value = Find(preset, key);
  return value ? ColorFromValue(*value).value_or(fallback) : fallback;
}

std::optional<float> ArrayItemAsFloat(const Value::Array& items, size_t index) {
  if (index >= items.size()) return std::nullopt;
  const auto value = items[index].RealValue();
  return value ? std::optional<float>(static_cast<float>(*value)) : std::nullopt;
}

AnchorRatio AnchorFor(const Dictionary& preset, std::string_view key, AnchorRatio fallback) {
  const Value* value = Find(preset, key);
  const Value::Array* items = value ? value->ArrayValue() : nullptr;
  if (!items) return fallback;
  const auto x = ArrayItemAsFloat(*items, 0);
  const auto y = ArrayItemAsFloat(*items, 1);
  return {x ? static_cast<double>(*x) : fallback.x, y ? static_cast<double>(*y) : fallback.y};
}

Value::Image ImageFor(const Dictionary& preset) {
  if (const Value* image = Find(preset, kImage); image && image->ImageValue()) {
    if (*image->ImageValue()) return *image->ImageValue();
  }
  const std::string* path = StringFor(preset, kWaterMarkImagePath);
  return path ? DecodeImageFile(*path) : nullptr;
}

Value FloatArray(double x, double y) { return Value(Value::Array{x, y}); }

}  // namespace

WatermarkSettings GetPresetSettingsFrom(const Dictionary* presetOrNull) {
  static const Dictionary kEmpty;
  const Dictionary& preset = presetOrNull ? *presetOrNull : kEmpty;
  WatermarkSettings s;
  s.textEnabled = BooleanFor(preset, kWatermarkOptionsState).value_or(true);
  s.textString = StringOr(preset, kTextString, "Quillsheet");
  s.drawingType = Int32For(preset, kDrawingType, 1);
  s.textDistance = IntegerFor(preset, kTextDistance).value_or(30);
  s.fitDrawingType = Int32For(preset, kFitDrawingType, 0);
  s.textFont = FontFor(preset);
  s.textFontSize = IntegerFor(preset, kTextFontSize).value_or(36);
  s.drawingMode = Int32For(preset, kDrawingMode, 0);
  s.textColor = ColorFor(preset, kTextFontColor, kGrey);
  s.strokeWidth = IntegerFor(preset, kStrokeWidthName).value_or(1);
  s.textOpacity = FloatFor(preset, kTextOpacity, 0.9f);
  s.rotationAngle = IntegerFor(preset, kTextRotationAngle).value_or(0);
  s.dropShadow = BooleanFor(preset, kIsDropShadowApplied).value_or(true);
  s.shadowColor = ColorFor(preset, kShadowFontColor, kBlack);
  s.shadowXOffset = IntegerFor(preset, kXOffset).value_or(3);
  s.shadowYOffset = IntegerFor(preset, kYOffset).value_or(-3);
  s.shadowBlur = IntegerFor(preset, kShadowBlur).value_or(3);
  s.fillEnabled = BooleanFor(preset, kWatermarkbackGroundOptionsState).value_or(true);
  s.backStyle = Int32For(preset, kBackStyle, 4);
  s.fillImage = ImageFor(preset);
  s.patternName = StringOr(preset, kPatternImagePath, CurrentPatternName());
  s.backColor = ColorFor(preset, kBackColor, kYellow);
  s.backSize = FloatFor(preset, kBackSize, 0.5f);
  s.backOpacity = FloatFor(preset, kBackOpacity, 0.5f);
  s.fillOption = Int32For(preset, kFillWatermarkOption, 0);
  s.textBehind = BooleanFor(preset, kTextFrontOrBackState).value_or(false);
  s.fillBehind = BooleanFor(preset, kFillFrontOrBackState).value_or(true);
  s.textCenter = AnchorFor(preset, kTextCenter, kAbsentTextCenter);
  s.fillCenter = AnchorFor(preset, kFillCenter, kAbsentFillCenter);
  return s;
}

void GetDefaultWatermarkOptions(Dictionary& preset) {
  const auto set = [&preset](std::string_view key, Value value) {
    preset.insert_or_assign(std::string(key), std::move(value));
  };
  set(kTextFont, DefaultUserFontPostScriptName());
  set(kTextFontSize, 36);
  set(kTextOpacity, 0.9);
  set(kTextString, "Quillsheet");
  set(kTextRotationAngle, 0);
  set(kIsDropShadowApplied, true);
  set(kShadowFontColor, ColorValue(kBlack));
  set(kShadowBlur, 3);
  set(kXOffset, 3);
  set(kYOffset, -3);
  set(kDrawingMode, 0);
  set(kStrokeWidthName, 1);
  set(kTextFontColor, ColorValue(kGrey));
  set(kTextDistance, 30);
  set(kDrawingType, 1);
  set(kFitDrawingType, 0);
  set(kTextFrontOrBackState, false);
  set(kWatermarkOptionsState, true);
  set(kBackStyle, 4);
  set(kBackOpacity, 0.5);
  set(kBackSize, 0.5);
  set(kBackColor, ColorValue(kYellow));
  set(kPatternImagePath, CurrentPatternName());
  set(kFillWatermarkOption, 0);
  set(kFillFrontOrBackState, true);
  set(kWatermarkbackGroundOptionsState, true);
  set(kTextCenter, FloatArray(20.0, 20.0));
  set(kFillCenter, FloatArray(0.0, 0.0));
}

Value::Image DecodeImageFile(const std::string& path) {
  const auto bytes = ReadWholeFile(path);
  if (!bytes || bytes->size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
    return nullptr;
  }
  auto image = std::make_shared<QImage>();
  if (!image->loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                           static_cast<int>(bytes->size())) ||
      image->isNull()) {
    return nullptr;
  }
  return image;
}

}  // namespace quillsheet
