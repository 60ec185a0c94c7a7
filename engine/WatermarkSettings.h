// The flat record that the drawing code reads: one preset dictionary with
// every absent or unusable entry replaced by its default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/Value.h"
#include "engine/PatternCatalog.h"
#include "engine/PresetValues.h"

namespace quillsheet {

// The longest text a mark may have, in characters: longer texts would take
// unbounded time and memory to lay out and draw.
inline constexpr size_t kLongestText = 10000;

namespace presetkey {
inline constexpr std::string_view kWatermarkOptionsState = "WatermarkOptionsState";
inline constexpr std::string_view kTextString = "textString";
inline constexpr std::string_view kDrawingType = "drawingType";
inline constexpr std::string_view kTextDistance = "textDistance";
inline constexpr std::string_view kFitDrawingType = "fitDrawingType";
inline constexpr std::string_view kTextFont = "textFont";
inline constexpr std::string_view kTextFontSize = "textFontSize";
inline constexpr std::string_view kDrawingMode = "drawingMode";
inline constexpr std::string_view kTextFontColor = "TextFontColor";
inline constexpr std::string_view kStrokeWidthName = "strokeWidthName";
inline constexpr std::string_view kTextOpacity = "textOpacity";
inline constexpr std::string_view kTextRotationAngle = "textRotationAngle";
inline constexpr std::string_view kIsDropShadowApplied = "isDropShadowApplied";
inline constexpr std::string_view kShadowFontColor = "ShadowFontColor";
inline constexpr std::string_view kXOffset = "xOffset";
inline constexpr std::string_view kYOffset = "yOffset";
inline constexpr std::string_view kShadowBlur = "shadowBlur";
inline constexpr std::string_view kWatermarkbackGroundOptionsState =
    "WatermarkbackGroundOptionsState";
inline constexpr std::string_view kBackStyle = "backStyle";
inline constexpr std::string_view kImage = "Image";
inline constexpr std::string_view kWaterMarkImagePath = "WaterMarkImagePath";
inline constexpr std::string_view kPatternImagePath = "PatternImagePath";
inline constexpr std::string_view kBackColor = "BackColor";
inline constexpr std::string_view kBackSize = "backSize";
inline constexpr std::string_view kBackOpacity = "backOpacity";
inline constexpr std::string_view kFillWatermarkOption = "FillWatermarkOption";
inline constexpr std::string_view kTextFrontOrBackState = "textFrontOrBackState";
inline constexpr std::string_view kFillFrontOrBackState = "fillFrontOrBackState";
inline constexpr std::string_view kTextCenter = "TextCenter";
inline constexpr std::string_view kFillCenter = "FillCenter";
inline constexpr std::string_view kMarkVisibility = "markVisibility";
inline constexpr std::string_view kTextFields = "textFields";
}  // namespace presetkey

// An anchor stored as ratios (box width / x, box height / y): the anchor
// point inside a W x H rectangle is (W / x, H / y). A 0 ratio puts the point
// at infinity, which the drawing code has to cope with.
struct AnchorRatio {
  double x = 0;
  double y = 0;

  bool operator==(const AnchorRatio&) const = default;
};

struct WatermarkSettings {
  bool textEnabled = false;
  std::string textString;
  std::int32_t drawingType = 0;  // 1..3 lines, 4 tiled
  std::int64_t textDistance = 0;
  std::int32_t fitDrawingType = 0;  // 0 no fitting
  std::string textFont;             // PostScript name
  std::int64_t textFontSize = 0;
  std::int32_t drawingMode = 0;  // 0 fill, 1 stroke, 2 fill and stroke
  std::optional<Rgba> textColor;
  std::int64_t strokeWidth = 0;
  double textOpacity = 0;
  std::int64_t rotationAngle = 0;  // degrees, counter-clockwise
  bool dropShadow = false;
  std::optional<Rgba> shadowColor;
  std::int64_t shadowXOffset = 0;
  std::int64_t shadowYOffset = 0;
  std::int64_t shadowBlur = 0;
  bool fillEnabled = false;
  std::int32_t backStyle = 0;  // placement style 1..6
  Value::Image fillImage;
  std::string patternName;
  std::optional<Rgba> backColor;
  double backSize = 0;
  double backOpacity = 0;
  std::int32_t fillOption = 0;  // 1 pattern, 2 image, else colour
  // Why an image fill has no picture ("picture X not found"); empty otherwise.
  std::string fillImageProblem;
  // Why the text was cut to kLongestText characters; empty otherwise.
  std::string textProblem;
  bool textBehind = false;
  bool fillBehind = false;
  AnchorRatio textCenter;
  AnchorRatio fillCenter;
  std::int32_t markVisibility = 0;  // 0 on screen and in print, 1 print only, 2 screen only
  bool textFields = false;          // the text holds fields ("{page}") filled in per page
  // Set by the caller, never read from a preset.
  float viewScale = 0;
  bool showMarker = false;
  bool markerOnText = false;
};

// The anchors used when a preset has none.
inline constexpr AnchorRatio kAbsentTextCenter{30.0, 42.0};
inline constexpr AnchorRatio kAbsentFillCenter{612.0, 792.0};

// Builds the record; a missing dictionary gives the all-defaults record. A
// preset without a pattern takes currentPattern, the pattern picker's choice
// (by default the first shipped pattern, the picker's initial one).
WatermarkSettings GetPresetSettingsFrom(const Dictionary* preset,
                                        std::string_view currentPattern = InitialPatternName());

// Writes the entries of a new preset into the dictionary, with the pattern
// picker's current pattern.
void GetDefaultWatermarkOptions(Dictionary& preset,
                                std::string_view currentPattern = InitialPatternName());

inline constexpr std::int32_t kFillWithImage = 2;

// Lengths, sizes, offsets and angles of a record stay within +-this, so no
// arithmetic on them can overflow.
inline constexpr std::int64_t kLongestLength = 1'000'000;

// Picture files larger than this are not read.
inline constexpr std::uintmax_t kLargestPictureFile = std::uintmax_t(256) << 20;

// Decodes an image file (a regular file of at most kLargestPictureFile
// bytes); no image, with the reason in why, when it cannot be read or
// decoded.
Value::Image DecodeImageFile(const std::string& path, std::string* why = nullptr);

}  // namespace quillsheet
