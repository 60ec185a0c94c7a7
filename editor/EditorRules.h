// The editor's rules, free of widgets: which controls are enabled and shown
// for the choices made, what a typed number stores and shows, and how the
// circular angle slider maps to degrees. The window's editor panel reads
// them; controls are named by their object names. Thread-free.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Value.h"
#include "engine/PresetValues.h"

namespace quillsheet {

// The choices that decide the enablement of the editor's controls.
struct EditorChoices {
  bool textOn = false;
  int layout = 1;       // "drawingType": 1 to 3 lines, 4 tiled
  int fit = 0;          // "fitDrawingType": 0 no fitting
  int drawingMode = 0;  // 0 fill, 1 stroke, 2 both
  bool shadow = false;
  bool fillOn = false;
  int fillStyle = 1;  // "backStyle" 1 to 6
};

struct ControlState {
  bool enabled = true;
  std::optional<bool> visible;  // none: as it is
  bool operator==(const ControlState&) const = default;
};

// Every control and label that the choices affect, by object name. Labels
// are disabled with their controls, which dims them.
std::map<std::string_view, ControlState> EditorEnablement(const EditorChoices& choices);

// The numbers the editor takes in a field mirrored by a stepper or slider.
enum class EditorNumber {
  FontSize,
  Distance,
  StrokeWidth,
  TextOpacity,  // percent field, slider 0..1
  Angle,        // degrees field, dial 0..359
  ShadowBlur,
  XOffset,
  YOffset,
  FillSize,     // percent field, slider 0..1, stored at least 0.05
  FillOpacity,  // percent field, slider 0..1
};

std::string_view KeyOf(EditorNumber number);

// What a typed number does. Within the field's upper limit it moves the
// mirror and is stored; above it the field is set back from the mirror,
// whose value is stored.
struct TypedNumber {
  double mirror = 0;                       // the stepper's or slider's new value
  Value stored;                            // the value stored under KeyOf(number)
  std::optional<std::int64_t> fieldSetTo;  // set when the typed text is replaced
};
// Empty text, or text that does not start with a number: nothing happens.
// mirrorNow is the stepper's or slider's value; fontSize the font-size
// stepper's, which is the stroke width's upper limit.
std::optional<TypedNumber> TypeNumber(EditorNumber number, std::string_view text, double mirrorNow,
                                      std::int64_t fontSize);

// What moving a slider stores, and what its field then shows.
struct SliderMove {
  Value stored;
  std::int64_t field = 0;
};
SliderMove MovePercentSlider(EditorNumber number, double sliderValue);  // the percent sliders
SliderMove MoveAngleSlider(double dialValue);  // any whole turn is taken off

// The family typed text completes to: the first of families (in their
// order) whose name starts with the text in any case; the text itself when
// none does.
std::string CompleteFamily(const std::vector<std::string>& families, std::string_view typed);

// The fill colour swatches, numbered from 1: grey, purple, blue, green,
// yellow, orange, red, black; none for any other number.
std::optional<Rgba> SwatchColour(int index);
// What a swatch shows under the pointer: a paler shade of its colour (the
// greys: light grey for grey, dark grey for black).
std::optional<Rgba> SwatchHoverShade(int index);
inline constexpr int kSwatchCount = 8;

// The angle dial holds the angle itself, 0..359, counter-clockwise from
// the three o'clock position as the text turns, so its notch points where
// the text runs. The angle a point at (dx, dy) from the dial's centre picks
// (screen pixels, y down).
std::int64_t DialAngleAt(double dx, double dy);

}  // namespace quillsheet
