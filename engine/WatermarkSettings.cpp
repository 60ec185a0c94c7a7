#include "engine/WatermarkSettings.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <vector>

#include "common/AtomicFile.h"
#include "engine/FontLookup.h"
#include "engine/PatternCatalog.h"

namespace quillsheet {
namespace {

using namespace presetkey;

Value FloatArray(double x, double y) { return Value(Value::Array{x, y}); }

// Every drawing key but the font and the pattern (which depend on the
// machine and the picker): the value a new preset stores and, where it
// differs, the value the record uses when a preset lacks the key.
struct KeyDefault {
  std::string_view key;
  Value forNewPreset;
  std::optional<Value> whenAbsent;
};

const std::vector<KeyDefault>& KeyDefaults() {
  static const std::vector<KeyDefault> table = {
      {kWatermarkOptionsState, true, {}},
      {kTextString, "Quillsheet", {}},
      {kDrawingType, 1, {}},
      {kTextDistance, 30, {}},
      {kFitDrawingType, 0, {}},
      {kTextFontSize, 36, {}},
      {kDrawingMode, 0, {}},
      {kTextFontColor, ColorValue(kGrey), {}},
      {kStrokeWidthName, 1, {}},
      {kTextOpacity, 0.9, {}},
      {kTextRotationAngle, 0, {}},
      {kIsDropShadowApplied, true, {}},
      {kShadowFontColor, ColorValue(kBlack), {}},
      {kXOffset, 3, {}},
      {kYOffset, -3, {}},
      {kShadowBlur, 3, {}},
      {kWatermarkbackGroundOptionsState, true, {}},
      {kBackStyle, 4, {}},
      {kBackColor, ColorValue(kYellow), {}},
      {kBackSize, 0.5, {}},
      {kBackOpacity, 0.5, {}},
      {kFillWatermarkOption, 0, {}},
      {kTextFrontOrBackState, false, {}},
      {kFillFrontOrBackState, true, {}},
      {kTextCenter, FloatArray(20.0, 20.0), FloatArray(kAbsentTextCenter.x, kAbsentTextCenter.y)},
      {kFillCenter, FloatArray(0.0, 0.0), FloatArray(kAbsentFillCenter.x, kAbsentFillCenter.y)},
  };
  return table;
}

// The value the record uses for a key the preset lacks.
const Value& Fallback(std::string_view key) {
  for (const KeyDefault& entry : KeyDefaults()) {
    if (entry.key == key) return entry.whenAbsent ? *entry.whenAbsent : entry.forNewPreset;
  }
  static const Value kNone;
  return kNone;
}

std::optional<bool> FallbackBoolean(std::string_view key) { return Fallback(key).BooleanValue(); }

std::int32_t Int32For(const Dictionary& preset, std::string_view key) {
  const auto value = IntegerFor(preset, key);
  if (!value) return static_cast<std::int32_t>(Fallback(key).IntegerValue().value_or(0));
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(*value, kMin, kMax));
}

// A whole number kept within limits no drawing needs to pass, so no
// arithmetic on it can overflow, whatever a preset file holds.
std::int64_t BoundedFor(const Dictionary& preset, std::string_view key, std::int64_t lowest,
                        std::int64_t highest) {
  const auto value = IntegerFor(preset, key);
  return std::clamp(value ? *value : Fallback(key).IntegerValue().value_or(0), lowest, highest);
}

bool BoolFor(const Dictionary& preset, std::string_view key) {
  return BooleanFor(preset, key).value_or(FallbackBoolean(key).value_or(false));
}

// Single-precision numbers, as the preset stores them, widened to double;
// within the given limits (and the default for a value that is not a number).
double FloatFor(const Dictionary& preset, std::string_view key, double lowest, double highest) {
  auto value = RealFor(preset, key);
  if (!value || std::isnan(*value)) value = Fallback(key).RealValue().value_or(0);
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

Rgba ColorFor(const Dictionary& preset, std::string_view key) {
  const Rgba fallback = ColorFromValue(Fallback(key)).value_or(kBlack);
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

AnchorRatio AnchorFor(const Dictionary& preset, std::string_view key) {
  const Value::Array& defaults = *Fallback(key).ArrayValue();
  const AnchorRatio fallback{*ArrayItemAsFloat(defaults, 0), *ArrayItemAsFloat(defaults, 1)};
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

}  // namespace

WatermarkSettings GetPresetSettingsFrom(const Dictionary* presetOrNull,
                                        std::string_view currentPattern) {
  static const Dictionary kEmpty;
  const Dictionary& preset = presetOrNull ? *presetOrNull : kEmpty;
  WatermarkSettings s;
  s.textEnabled = BoolFor(preset, kWatermarkOptionsState);
  s.textString = StringOr(preset, kTextString, *Fallback(kTextString).StringValue());
  // Cut at the start of the character past the limit (UTF-8 lead bytes).
  size_t characters = 0;
  for (size_t i = 0; i < s.textString.size(); ++i) {
    if ((static_cast<unsigned char>(s.textString[i]) & 0xC0) == 0x80) continue;
    if (++characters > kLongestText) {
      s.textString.resize(i);
      s.textProblem = "the text is longer than " + std::to_string(kLongestText) + " characters";
      break;
    }
  }
  s.drawingType = Int32For(preset, kDrawingType);
  s.textDistance = BoundedFor(preset, kTextDistance, -kLongestLength, kLongestLength);
  s.fitDrawingType = Int32For(preset, kFitDrawingType);
  s.textFont = FontFor(preset);
  s.textFontSize = BoundedFor(preset, kTextFontSize, 0, kLongestLength);
  s.drawingMode = Int32For(preset, kDrawingMode);
  s.textColor = ColorFor(preset, kTextFontColor);
  s.strokeWidth = BoundedFor(preset, kStrokeWidthName, 0, kLongestLength);
  s.textOpacity = FloatFor(preset, kTextOpacity, 0.0, 1.0);
  s.rotationAngle = BoundedFor(preset, kTextRotationAngle, -kLongestLength, kLongestLength);
  s.dropShadow = BoolFor(preset, kIsDropShadowApplied);
  s.shadowColor = ColorFor(preset, kShadowFontColor);
  s.shadowXOffset = BoundedFor(preset, kXOffset, -kLongestLength, kLongestLength);
  s.shadowYOffset = BoundedFor(preset, kYOffset, -kLongestLength, kLongestLength);
  s.shadowBlur = BoundedFor(preset, kShadowBlur, 0, kLongestLength);
  s.fillEnabled = BoolFor(preset, kWatermarkbackGroundOptionsState);
  s.backStyle = Int32For(preset, kBackStyle);
  s.fillOption = Int32For(preset, kFillWatermarkOption);
  std::string imageProblem;
  s.fillImage = ImageFor(preset, imageProblem);
  if (s.fillEnabled && s.fillOption == kFillWithImage && !s.fillImage) {
    s.fillImageProblem = imageProblem + ": fill layer skipped";
  }
  s.patternName = StringOr(preset, kPatternImagePath, std::string(currentPattern));
  s.backColor = ColorFor(preset, kBackColor);
  s.backSize = FloatFor(preset, kBackSize, 0.0, 1e4);
  s.backOpacity = FloatFor(preset, kBackOpacity, 0.0, 1.0);
  s.textBehind = BoolFor(preset, kTextFrontOrBackState);
  s.fillBehind = BoolFor(preset, kFillFrontOrBackState);
  s.textCenter = AnchorFor(preset, kTextCenter);
  s.fillCenter = AnchorFor(preset, kFillCenter);
  // Newer than the other keys: presets without it, old and new, show on
  // screen and in print.
  const std::int64_t visibility = IntegerFor(preset, kMarkVisibility).value_or(0);
  s.markVisibility = visibility == 1 || visibility == 2 ? static_cast<std::int32_t>(visibility) : 0;
  s.textFields = BooleanFor(preset, kTextFields).value_or(false);
  return s;
}

void GetDefaultWatermarkOptions(Dictionary& preset, std::string_view currentPattern) {
  for (const KeyDefault& entry : KeyDefaults()) {
    preset.insert_or_assign(std::string(entry.key), entry.forNewPreset);
  }
  preset.insert_or_assign(std::string(kTextFont), DefaultUserFontPostScriptName());
  preset.insert_or_assign(std::string(kPatternImagePath), std::string(currentPattern));
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
