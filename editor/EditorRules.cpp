#include "editor/EditorRules.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <numbers>

#include "engine/WatermarkSettings.h"

namespace quillsheet {
namespace {

using Enablement = std::map<std::string_view, ControlState>;

void Set(Enablement& states, std::initializer_list<std::string_view> names, ControlState state) {
  for (const std::string_view name : names) states[name] = state;
}

void AddTextRules(Enablement& states, const EditorChoices& c) {
  Set(states,
      {"textTextFieldOutlet",
       "textFieldsCheckBox",
       "watermarkTextLabel",
       "fontLabelOutlet",
       "fontComboBoxOutlet",
       "fontStyleLabelOutlet",
       "fontStylePopupButtonOutlet",
       "showFontPanelButtonOutlet",
       "fillTypeLabel",
       "fillTypePopupOutlet",
       "fillColorLabel",
       "fillColorWellOutlet",
       "opacityLabelOutlet",
       "opacitySliderOutlet",
       "opacityTextFieldOutlet",
       "oLabelOutlet",
       "dropShadowCheckBoxOutlet",
       "textDrawingTypeLabel",
       "textDrawingTypePopupButtonOutlet",
       "textFrontBackOptionSegmentedOutlet"},
      {c.textOn, std::nullopt});
  Set(states, {"strokeWidthLabel", "strokeWidthTextFieldOutlet", "strokeWidthStepperOutlet"},
      {c.textOn && c.drawingMode != 0, std::nullopt});
  Set(states,
      {"shadowColorWellOutlet", "xOffsetLabel", "xOffsetStepperOutlet", "xOffsetTextFieldOutlet",
       "yOffsetLabel", "yOffsetStepperOutlet", "yOffsetTextFieldOutlet", "blurLabel",
       "blurStepperOutlet", "blurTextFieldOutlet"},
      {c.textOn && c.shadow, std::nullopt});

  // Several lines or tiles have a distance between them; one line may be
  // fitted to the page instead, which then decides its size and angle.
  const bool severalLines = c.layout == 2 || c.layout == 3 || c.layout == 4;
  const auto shown = [&](bool visible) {
    return c.textOn ? std::optional<bool>(visible) : std::nullopt;
  };
  Set(states, {"distanceTextLabel", "distanceTextFieldOutlet", "distanceStepperOutlet"},
      {c.textOn, shown(severalLines)});
  Set(states, {"textFitDrawingTypeTextLabel", "textFitDrawingTypePopupButtonOutlet"},
      {c.textOn, shown(!severalLines)});
  Set(states,
      {"fontSizeLabelOutlet", "fontSizeTextFieldOutlet", "fontSizeStepperOutlet",
       "angleLabelOutlet", "angleSliderOutlet", "angleTextFieldOutlet", "aLabelOutlet"},
      {c.textOn && (severalLines || c.fit == 0), std::nullopt});
}

void AddFillRules(Enablement& states, const EditorChoices& c) {
  Set(states,
      {"backgroundOpacitySliderOutlet", "backgroundOpacityTextFieldOutlet",
       "backgroundDrawTypePoopupOutlet", "fillFrontBackOptionSegmentedOutlet",
       "backgroundDrawTypeLabelOutlet", "backgroundOpacityTextLabel", "backgroundPercentTextLabel"},
      {c.fillOn, std::nullopt});
  // Styles 3 and 4 cover the page whatever the size.
  Set(states,
      {"backgroundSizeTextLabel", "backgroundSizeSliderOutlet", "backgroundSizeTextFieldOutlet",
       "backgroundPercentTextLabel1"},
      {c.fillOn && c.fillStyle != 3 && c.fillStyle != 4, std::nullopt});
}

bool IsPercent(EditorNumber number) {
  return number == EditorNumber::TextOpacity || number == EditorNumber::FillSize ||
         number == EditorNumber::FillOpacity;
}

std::int64_t UpperLimit(EditorNumber number, std::int64_t fontSize) {
  switch (number) {
    case EditorNumber::FontSize:
      return 1000;
    case EditorNumber::Distance:
    case EditorNumber::XOffset:
    case EditorNumber::YOffset:
      return 5000;
    case EditorNumber::StrokeWidth:
      return fontSize;
    case EditorNumber::Angle:
      return 359;
    default:
      return 100;
  }
}

// The leading whole number of the text, as a field reads it: 0 without one,
// and beyond every limit when it does not fit.
std::int64_t LeadingInteger(std::string_view text) {
  size_t at = text.find_first_not_of(" \t");
  if (at == std::string_view::npos) return 0;
  if (text[at] == '+') ++at;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    return text[at] == '-' ? std::numeric_limits<std::int64_t>::min()
                           : std::numeric_limits<std::int64_t>::max();
  }
  return error == std::errc() ? value : 0;
}

}  // namespace

Enablement EditorEnablement(const EditorChoices& choices) {
  Enablement states;
  AddTextRules(states, choices);
  AddFillRules(states, choices);
  return states;
}

std::string_view KeyOf(EditorNumber number) {
  switch (number) {
    case EditorNumber::FontSize:
      return presetkey::kTextFontSize;
    case EditorNumber::Distance:
      return presetkey::kTextDistance;
    case EditorNumber::StrokeWidth:
      return presetkey::kStrokeWidthName;
    case EditorNumber::TextOpacity:
      return presetkey::kTextOpacity;
    case EditorNumber::Angle:
      return presetkey::kTextRotationAngle;
    case EditorNumber::ShadowBlur:
      return presetkey::kShadowBlur;
    case EditorNumber::XOffset:
      return presetkey::kXOffset;
    case EditorNumber::YOffset:
      return presetkey::kYOffset;
    case EditorNumber::FillSize:
      return presetkey::kBackSize;
    case EditorNumber::FillOpacity:
      return presetkey::kBackOpacity;
  }
  return {};
}

std::optional<TypedNumber> TypeNumber(EditorNumber number, std::string_view text, double mirrorNow,
                                      std::int64_t fontSize) {
  if (text.empty()) return std::nullopt;
  const std::int64_t typed = LeadingInteger(text);
  const bool within = typed <= UpperLimit(number, fontSize);
  if (IsPercent(number)) {
    const double slider = within ? static_cast<float>(typed / 100.0) : mirrorNow;
    const SliderMove move = MovePercentSlider(number, slider);
    return TypedNumber{slider, move.stored,
                       within ? std::nullopt : std::optional<std::int64_t>(move.field)};
  }
  if (number == EditorNumber::Angle) {
    const double dial = within ? static_cast<double>(typed) : std::round(mirrorNow);
    const SliderMove move = MoveAngleSlider(dial);
    return TypedNumber{dial, move.stored,
                       within ? std::nullopt : std::optional<std::int64_t>(move.field)};
  }
  const auto stepper = static_cast<std::int64_t>(mirrorNow);
  if (within) return TypedNumber{static_cast<double>(typed), Value(typed), std::nullopt};
  return TypedNumber{mirrorNow, Value(stepper), stepper};
}

SliderMove MovePercentSlider(EditorNumber number, double sliderValue) {
  const auto value = static_cast<float>(sliderValue);
  const double stored = number == EditorNumber::FillSize ? std::max(value, 0.05f) : value;
  // Rounded, not truncated: a slider at 0.29 shows 29, not 28.
  return {Value(stored), std::lround(value * 100.0)};
}

SliderMove MoveAngleSlider(double dialValue) {
  const std::int64_t angle = ((std::llround(dialValue) % 360) + 360) % 360;
  return {Value(angle), angle};
}

std::string CompleteFamily(const std::vector<std::string>& families, std::string_view typed) {
  const auto lower = [](std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
  };
  const std::string prefix = lower(typed);
  for (const std::string& family : families) {
    if (lower(family).starts_with(prefix)) return family;
  }
  return std::string(typed);
}

std::optional<Rgba> SwatchColour(int index) {
  static constexpr Rgba kSwatches[kSwatchCount] = {
      {0.5, 0.5, 0.5, 1}, {0.5, 0, 0.5, 1}, {0, 0, 1, 1}, {0, 1, 0, 1},
      {1, 1, 0, 1},       {1, 0.5, 0, 1},   {1, 0, 0, 1}, {0, 0, 0, 1}};
  if (index < 1 || index > kSwatchCount) return std::nullopt;
  return kSwatches[index - 1];
}

std::optional<Rgba> SwatchHoverShade(int index) {
  if (index == 1) return Rgba{2.0 / 3, 2.0 / 3, 2.0 / 3, 1};
  if (index == kSwatchCount) return Rgba{1.0 / 3, 1.0 / 3, 1.0 / 3, 1};
  const auto colour = SwatchColour(index);
  if (!colour) return std::nullopt;
  // The same hue, saturation 0.6 lower, full brightness.
  const double high = std::max({colour->red, colour->green, colour->blue});
  const double low = std::min({colour->red, colour->green, colour->blue});
  const double saturation = high > 0 ? (high - low) / high : 0;
  const double paler = std::max(0.0, saturation - 0.6);
  const auto shade = [&](double component) {
    return high > low ? 1 - paler * (high - component) / (high - low) : 1.0;
  };
  return Rgba{shade(colour->red), shade(colour->green), shade(colour->blue), colour->alpha};
}

std::int64_t DialAngleAt(double dx, double dy) {
  if (dx == 0 && dy == 0) return 0;
  const double degrees = std::atan2(-dy, dx) * 180 / std::numbers::pi;
  return ((std::llround(degrees) % 360) + 360) % 360;
}

}  // namespace quillsheet
