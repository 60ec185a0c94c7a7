#include "common/GeneralPreferences.h"

#include "common/SettingsStore.h"

namespace quillsheet {
namespace {

LabelPosition LabelPositionFrom(std::optional<std::int64_t> stored) {
  if (stored == 0) return LabelPosition::BeforeFileName;
  if (stored == 1) return LabelPosition::AfterFileName;
  return LabelPosition::None;
}

int FilterTagFrom(std::optional<std::int64_t> stored) {
  return stored && *stored >= 1 && *stored <= 3 ? static_cast<int>(*stored) : 0;
}

int PageRangeOptionTagFrom(std::optional<std::int64_t> stored) {
  return stored && *stored >= 1 && *stored <= 9 ? static_cast<int>(*stored) : 1;
}

}  // namespace

Dictionary DefaultGeneralPreferences() {
  return {
      {std::string(prefkey::kAddLabelPosition), 3},
      {std::string(prefkey::kAddSeparator), false},
      {std::string(prefkey::kSeparatorString), "_"},
      {std::string(prefkey::kReplaceExistFile), false},
      {std::string(prefkey::kCreateSeparateFolderForEachFile), true},
  };
}

GeneralPreferences ApplyPreferenceDictionary(const Dictionary& dictionary) {
  GeneralPreferences result;
  result.addLabelPosition = LabelPositionFrom(IntegerFor(dictionary, prefkey::kAddLabelPosition));
  result.addSeparator = BooleanFor(dictionary, prefkey::kAddSeparator).value_or(true);
  const std::string* separator = StringFor(dictionary, prefkey::kSeparatorString);
  result.separatorString = separator ? *separator : "_";
  result.replaceExistFile = BooleanFor(dictionary, prefkey::kReplaceExistFile).value_or(false);
  result.createSeparateFolderForEachFile =
      BooleanFor(dictionary, prefkey::kCreateSeparateFolderForEachFile).value_or(true);
  result.filterTag = FilterTagFrom(IntegerFor(dictionary, prefkey::kFilterTag));
  result.pageRangeOptionTag =
      PageRangeOptionTagFrom(IntegerFor(dictionary, prefkey::kPageRangeOptionTag));
  const std::string* range = StringFor(dictionary, prefkey::kPageRangeString);
  result.pageRangeString = range ? *range : "";
  const std::pair<std::string_view, std::string*> folders[] = {
      {prefkey::kLastAddFolder, &result.addFolder},
      {prefkey::kLastPictureFolder, &result.pictureFolder},
      {prefkey::kLastDestinationFolder, &result.destinationFolder}};
  for (const auto& [key, folder] : folders) {
    if (const std::string* stored = StringFor(dictionary, key)) *folder = *stored;
  }
  return result;
}

Dictionary GetPreferenceValue(const GeneralPreferences& preferences) {
  return {
      {std::string(prefkey::kAddLabelPosition), static_cast<int>(preferences.addLabelPosition)},
      {std::string(prefkey::kAddSeparator), preferences.addSeparator},
      {std::string(prefkey::kSeparatorString), preferences.separatorString},
      {std::string(prefkey::kReplaceExistFile), preferences.replaceExistFile},
      {std::string(prefkey::kCreateSeparateFolderForEachFile),
       preferences.createSeparateFolderForEachFile},
      {std::string(prefkey::kFilterTag), preferences.filterTag},
      {std::string(prefkey::kPageRangeOptionTag), preferences.pageRangeOptionTag},
      {std::string(prefkey::kPageRangeString), preferences.pageRangeString},
  };
}

Dictionary BuildGeneralPrefOptions(const GeneralPreferences& preferences,
                                   std::int64_t selectedPresetRow) {
  Dictionary dictionary = GetPreferenceValue(preferences);
  if (selectedPresetRow >= 0) {
    dictionary.insert_or_assign(std::string(prefkey::kWaterMarkPresetIndex), selectedPresetRow);
  }
  const std::pair<std::string_view, const std::string*> folders[] = {
      {prefkey::kLastAddFolder, &preferences.addFolder},
      {prefkey::kLastPictureFolder, &preferences.pictureFolder},
      {prefkey::kLastDestinationFolder, &preferences.destinationFolder}};
  for (const auto& [key, folder] : folders) {
    if (!folder->empty()) dictionary.insert_or_assign(std::string(key), *folder);
  }
  return dictionary;
}

Result WriteGeneralPrefOptions(const GeneralPreferences& preferences,
                               std::int64_t selectedPresetRow) {
  return WriteSettingsPlist(BuildGeneralPrefOptions(preferences, selectedPresetRow),
                            kGeneralPreferencesFileFormat);
}

std::optional<Dictionary> ReadGeneralPrefOptions(std::string* problem) {
  Dictionary dictionary;
  if (!ReadSettingsPlist(dictionary, kGeneralPreferencesFileFormat, problem)) return std::nullopt;
  return dictionary;
}

bool SeparatorCheckboxEnabled(LabelPosition position) { return position != LabelPosition::None; }

bool SeparatorFieldEnabled(LabelPosition position, bool separatorChecked) {
  return SeparatorCheckboxEnabled(position) && separatorChecked;
}

std::string_view QualityDetailKey(int filterTag) {
  switch (filterTag) {
    case 1:
      return "HighQuality";
    case 2:
      return "MediumQuality";
    case 3:
      return "LowQuality";
    default:
      return "KeepOriginal";
  }
}

std::string GetAppFilePrefOptions(const GeneralPreferences& preferences, LabelPosition& position) {
  position = preferences.addLabelPosition;
  const bool labelled =
      position == LabelPosition::BeforeFileName || position == LabelPosition::AfterFileName;
  return labelled && preferences.addSeparator ? preferences.separatorString : std::string();
}

}  // namespace quillsheet
