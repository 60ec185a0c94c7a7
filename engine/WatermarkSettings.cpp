#include "engine/WatermarkSettings.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
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

// A whole number kept within limits no drawing needs to pass, so no
// arithmetic on it can overflow, whatever a preset file holds.
std::int64_t BoundedFor(const Dictionary& preset, std::string_view key, std::int64_t fallback,
                        std::int64_t lowest, std::int64_t highest) {
  return std::clamp(IntegerFor(preset, key).value_or(fallback), lowest, highest);
}

// Single-precision numbers, as the preset stores them, widened to double;
// within the given limits (and the fallback for a value that is not a number).
double FloatFor(const Dictionary& preset, std::string_view key, float fallback,
                double lowest = -1e6, double highest = 1e6) {
  const auto value = RealFor(preset, key);
  if (!value || std::isnan(*value)) return static_cast<double>(fallback);
  return static_cast<double>(static_cast<float>(std::clamp(*value, lowest, highest)));
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

std::optional<double> ArrayItemAsFloat(const Value::Array& items, size_t index) {
  if (index >= items.size()) return std::nullopt;
  const auto value = items[index].RealValue();
  if (!value || std::isnan(*value)) return std::nullopt;
  constexpr double kLargest = std::numeric_limits<float>::max();
  return static_cast<double>(static_cast<float>(std::clamp(*value, -kLargest, kLargest)));
}

AnchorRatio AnchorFor(const Dictionary& preset, std::string_view key, AnchorRatio fallback) {
  const Value* value = Find(preset, key);
  const Value::Array* items = value ? value->ArrayValue() : nullptr;
  if (!items) return fallback;
  const auto x = ArrayItemAsFloat(*items, 0);
  const auto y = ArrayItemAsFloat(*items, 1);
  return {x ? *x : fallback.x, y ? *y : fallback.y};
}

Value::Image ImageFor(const Dictionary& preset, std::string& problem) {
  if (const Value* image = Find(preset, kImage); image && image->ImageValue()) {
    if (*image->ImageValue()) return *image->ImageValue();
  }
  const std::string* path = StringFor(preset, kWaterMarkImagePath);
  if (!path || path->empty()) {
    problem = "no picture was chosen";
    return nullptr;
  }
  return DecodeImageFile(*path, &problem);
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
  s.textDistance = BoundedFor(preset, kTextDistance, 30, -kLongestLength, kLongestLength);
  s.fitDrawingType = Int32For(preset, kFitDrawingType, 0);
  s.textFont = FontFor(preset);
  s.textFontSize = BoundedFor(preset, kTextFontSize, 36, 0, kLongestLength);
  s.drawingMode = Int32For(preset, kDrawingMode, 0);
  s.textColor = ColorFor(preset, kTextFontColor, kGrey);
  s.strokeWidth = BoundedFor(preset, kStrokeWidthName, 1, 0, kLongestLength);
  s.textOpacity = FloatFor(preset, kTextOpacity, 0.9f, 0.0, 1.0);
  s.rotationAngle = BoundedFor(preset, kTextRotationAngle, 0, -kLongestLength, kLongestLength);
  s.dropShadow = BooleanFor(preset, kIsDropShadowApplied).value_or(true);
  s.shadowColor = ColorFor(preset, kShadowFontColor, kBlack);
  s.shadowXOffset = BoundedFor(preset, kXOffset, 3, -kLongestLength, kLongestLength);
  s.shadowYOffset = BoundedFor(preset, kYOffset, -3, -kLongestLength, kLongestLength);
  s.shadowBlur = BoundedFor(preset, kShadowBlur, 3, 0, kLongestLength);
  s.fillEnabled = BooleanFor(preset, kWatermarkbackGroundOptionsState).value_or(true);
  s.backStyle = Int32For(preset, kBackStyle, 4);
  s.fillOption = Int32For(preset, kFillWatermarkOption, 0);
  std::string imageProblem;
  s.fillImage = ImageFor(preset, imageProblem);
  if (s.fillEnabled && s.fillOption == kFillWithImage && !s.fillImage) {
    s.fillImageProblem = imageProblem + ": fill layer skipped";
  }
  s.patternName = StringOr(preset, kPatternImagePath, CurrentPatternName());
  s.backColor = ColorFor(preset, kBackColor, kYellow);
  s.backSize = FloatFor(preset, kBackSize, 0.5f, 0.0, 1e4);
  s.backOpacity = FloatFor(preset, kBackOpacity, 0.5f, 0.0, 1.0);
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

Value::Image DecodeImageFile(const std::string& path, std::string* why) {
  std::string reason;
  const auto bytes = ReadWholeFile(path, &reason, kLargestPictureFile);
  if (!bytes) {
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) reason = "picture " + path + " not found";
    if (why) *why = reason;
    return nullptr;
  }
  auto image = std::make_shared<QImage>();
  if (!image->loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                           static_cast<int>(bytes->size())) ||
      image->isNull()) {
    if (why) *why = "picture " + path + " cannot be decoded";
    return nullptr;
  }
  return image;
}

}  // namespace quillsheet
