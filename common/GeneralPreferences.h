// The general preferences as a plain value: output naming, quality filter,
// page selection. The preferences sheet shows and edits one of these; the
// conversion reads it; the preferences file carries it between runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/Result.h"
#include "common/Value.h"

namespace quillsheet {

namespace prefkey {
inline constexpr std::string_view kAddLabelPosition = "AddLabelPosition";
inline constexpr std::string_view kAddSeparator = "AddSeparator";
inline constexpr std::string_view kSeparatorString = "SeparatorString";
inline constexpr std::string_view kReplaceExistFile = "ReplaceExistFile";
inline constexpr std::string_view kCreateSeparateFolderForEachFile =
    "CreateSeparateFolderForEachFile";
inline constexpr std::string_view kFilterTag = "FilterTag";
inline constexpr std::string_view kPageRangeOptionTag = "PageRangeOptionTag";
inline constexpr std::string_view kPageRangeString = "PageRangeString";
inline constexpr std::string_view kWaterMarkPresetIndex = "WaterMarkPresetIndex";
inline constexpr std::string_view kLastAddFolder = "LastAddFolder";
inline constexpr std::string_view kLastPictureFolder = "LastPictureFolder";
inline constexpr std::string_view kLastDestinationFolder = "LastDestinationFolder";
}  // namespace prefkey

// Where the preset name goes in an output file name.
enum class LabelPosition : int { BeforeFileName = 0, AfterFileName = 1, None = 3 };

struct GeneralPreferences {
  LabelPosition addLabelPosition = LabelPosition::None;
  bool addSeparator = false;
  std::string separatorString = "_";
  bool replaceExistFile = false;
  bool createSeparateFolderForEachFile = true;
  int filterTag = 0;           // 0 none, 1 high, 2 medium, 3 low quality
  int pageRangeOptionTag = 1;  // page selection tag, 1 to 9
  std::string pageRangeString;
  // The folders the window's add, picture and destination dialogs were last
  // left in (empty: none yet); stored only once set.
  std::string addFolder;
  std::string pictureFolder;
  std::string destinationFolder;

  bool operator==(const GeneralPreferences&) const = default;
};

// The five entries the reset action applies.
Dictionary DefaultGeneralPreferences();

// The state a dictionary sets the controls to: every key gives its value, or
// its fallback when it is missing or unusable (so the result does not depend on
// the state before).
GeneralPreferences ApplyPreferenceDictionary(const Dictionary& dictionary);

// The eight keys taken from the controls (all but the preset row).
Dictionary GetPreferenceValue(const GeneralPreferences& preferences);

// The dictionary the preferences file receives: all nine keys, or the eight
// without the preset's row when none is selected (a negative row), and the
// dialogs' last folders that are set.
Dictionary BuildGeneralPrefOptions(const GeneralPreferences& preferences,
                                   std::int64_t selectedPresetRow);

// Writes the preferences file.
Result WriteGeneralPrefOptions(const GeneralPreferences& preferences,
                               std::int64_t selectedPresetRow);

// Reads the preferences file; no value when there is none. A file that cannot
// be read gives an empty dictionary and, when asked, the problem in words.
std::optional<Dictionary> ReadGeneralPrefOptions(std::string* problem = nullptr);

// Enabling rules of the sheet.
bool SeparatorCheckboxEnabled(LabelPosition position);
bool SeparatorFieldEnabled(LabelPosition position, bool separatorChecked);

// The localized-string key describing a quality filter tag.
std::string_view QualityDetailKey(int filterTag);

// The naming options for one conversion: the label position and the text
// between file name and preset name (empty unless a label is added with the
// separator on).
std::string GetAppFilePrefOptions(const GeneralPreferences& preferences, LabelPosition& position);

}  // namespace quillsheet
