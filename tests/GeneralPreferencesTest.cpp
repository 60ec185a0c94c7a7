#include <gtest/gtest.h>

#include "common/GeneralPreferences.h"
#include "tests/TestSupport.h"

namespace quillsheet {
namespace {

TEST(GeneralPreferences, MissingAndUnusableValuesTakeTheirFallbacks) {
  const GeneralPreferences fromEmpty = ApplyPreferenceDictionary({});
  EXPECT_EQ(fromEmpty.addLabelPosition, LabelPosition::None);
  EXPECT_TRUE(fromEmpty.addSeparator);  // on when missing, unlike the reset value
  EXPECT_EQ(fromEmpty.separatorString, "_");
  EXPECT_FALSE(fromEmpty.replaceExistFile);
  EXPECT_TRUE(fromEmpty.createSeparateFolderForEachFile);
  EXPECT_EQ(fromEmpty.filterTag, 0);
  EXPECT_EQ(fromEmpty.pageRangeOptionTag, 1);
  EXPECT_EQ(fromEmpty.pageRangeString, "");

  const GeneralPreferences odd = ApplyPreferenceDictionary({{"AddLabelPosition", 2},
                                                            {"SeparatorString", ""},
                                                            {"FilterTag", 4},
                                                            {"PageRangeOptionTag", 10},
                                                            {"PageRangeString", 7},
                                                            {"AddSeparator", "yes"}});
  EXPECT_EQ(odd.addLabelPosition, LabelPosition::None);
  EXPECT_EQ(odd.separatorString, "");  // a stored empty separator stays empty
  EXPECT_EQ(odd.filterTag, 0);
  EXPECT_EQ(odd.pageRangeOptionTag, 1);
  EXPECT_EQ(odd.pageRangeString, "");
  EXPECT_TRUE(odd.addSeparator);

  EXPECT_EQ(ApplyPreferenceDictionary({{"PageRangeOptionTag", 0}}).pageRangeOptionTag, 1);
  EXPECT_EQ(ApplyPreferenceDictionary({{"PageRangeOptionTag", 9}}).pageRangeOptionTag, 9);
  EXPECT_EQ(ApplyPreferenceDictionary({{"AddLabelPosition", 0}}).addLabelPosition,
            LabelPosition::BeforeFileName);
  EXPECT_EQ(ApplyPreferenceDictionary({{"FilterTag", 3}}).filterTag, 3);
}

TEST(GeneralPreferences, ResetHoldsFiveEntriesAndLeavesTheRestAtTheirFallbacks) {
  const Dictionary reset = DefaultGeneralPreferences();
  EXPECT_EQ(reset.size(), 5u);
  const GeneralPreferences applied = ApplyPreferenceDictionary(reset);
  EXPECT_EQ(applied, GeneralPreferences{});
  EXPECT_FALSE(applied.addSeparator);
  EXPECT_EQ(applied.filterTag, 0);
  EXPECT_EQ(applied.pageRangeOptionTag, 1);
  EXPECT_EQ(applied.pageRangeString, "");
}

// Preferences are kept without a selected preset too (an empty library):
// only the preset's row is left out then.
TEST(GeneralPreferences, WritesAllNineKeysAndTheEightWithoutASelectedPreset) {
  test::ScratchHome home;
  GeneralPreferences preferences;
  preferences.pageRangeOptionTag = 6;
  preferences.pageRangeString = "1-3";
  ASSERT_TRUE(WriteGeneralPrefOptions(preferences, -1));
  auto stored = ReadGeneralPrefOptions();
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->size(), 8u);
  EXPECT_EQ(ApplyPreferenceDictionary(*stored), preferences);

  ASSERT_TRUE(WriteGeneralPrefOptions(preferences, 2));
  stored = ReadGeneralPrefOptions();
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->size(), 9u);
  // The dialogs' folders are kept once set.
  GeneralPreferences withFolders = preferences;
  withFolders.addFolder = "/srv/in";
  withFolders.destinationFolder = "/srv/out";
  ASSERT_TRUE(WriteGeneralPrefOptions(withFolders, 2));
  EXPECT_EQ(ApplyPreferenceDictionary(*ReadGeneralPrefOptions()), withFolders);
  ASSERT_TRUE(WriteGeneralPrefOptions(preferences, 2));
  stored = ReadGeneralPrefOptions();
  EXPECT_EQ(stored->size(), 9u);
  EXPECT_EQ(IntegerFor(*stored, "WaterMarkPresetIndex"), 2);
  EXPECT_EQ(ApplyPreferenceDictionary(*stored), preferences);
}

TEST(GeneralPreferences, EnablingRulesQualityKeysAndNamingOptions) {
  EXPECT_FALSE(SeparatorCheckboxEnabled(LabelPosition::None));
  EXPECT_FALSE(SeparatorFieldEnabled(LabelPosition::None, true));
  EXPECT_TRUE(SeparatorFieldEnabled(LabelPosition::AfterFileName, true));
  EXPECT_FALSE(SeparatorFieldEnabled(LabelPosition::BeforeFileName, false));

  EXPECT_EQ(QualityDetailKey(0), "KeepOriginal");
  EXPECT_EQ(QualityDetailKey(2), "MediumQuality");
  EXPECT_EQ(QualityDetailKey(9), "KeepOriginal");

  GeneralPreferences preferences;
  preferences.addSeparator = true;
  preferences.separatorString = "--";
  LabelPosition position{};
  EXPECT_EQ(GetAppFilePrefOptions(preferences, position), "");
  EXPECT_EQ(position, LabelPosition::None);
  preferences.addLabelPosition = LabelPosition::AfterFileName;
  EXPECT_EQ(GetAppFilePrefOptions(preferences, position), "--");
  preferences.addSeparator = false;
  EXPECT_EQ(GetAppFilePrefOptions(preferences, position), "");
}

}  // namespace
}  // namespace quillsheet
