#include <gtest/gtest.h>

#include <fstream>

#include "common/AppPaths.h"
#include "common/AtomicFile.h"
#include "common/SettingsStore.h"
#include "tests/TestSupport.h"

namespace quillsheet {
namespace {

std::vector<std::string> FileNamesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SettingsStore, FilesLiveInTheConfigFolderUnderTheBundleName) {
  test::ScratchHome home;
  EXPECT_EQ(PreferencesFolder(), home.path() / "config" / "quillsheet");
  EXPECT_EQ(SettingsFilePath(kPresetLibraryFileFormat),
            home.path() / "config" / "quillsheet" / "org.quillsheet.Quillsheet-PresetPref.plist");
  EXPECT_EQ(SettingsFileName(kGeneralPreferencesFileFormat),
            "org.quillsheet.Quillsheet-Pref.plist");
  EXPECT_EQ(GetApplicationSupportFolder("Brightleaf"), home.path() / "data" / "Brightleaf");
  EXPECT_TRUE(std::filesystem::is_directory(home.path() / "data" / "Brightleaf"));
}

TEST(SettingsStore, WriteThenReadGivesTheSameDictionary) {
  test::ScratchHome home;
  Dictionary out{{"untouched", true}};
  EXPECT_FALSE(ReadSettingsPlist(out, kGeneralPreferencesFileFormat));
  EXPECT_EQ(out, (Dictionary{{"untouched", true}}));

  const Dictionary written{{"FilterTag", 2}, {"SeparatorString", "-"}};
  ASSERT_TRUE(WriteSettingsPlist(written, kGeneralPreferencesFileFormat));
  ASSERT_TRUE(ReadSettingsPlist(out, kGeneralPreferencesFileFormat));
  EXPECT_EQ(out, written);
  EXPECT_EQ(FileNamesIn(PreferencesFolder()),
            std::vector<std::string>{"org.quillsheet.Quillsheet-Pref.plist"});
}

TEST(SettingsStore, UnreadableFileReadsEmptyAndIsKeptBeforeItIsReplaced) {
  test::ScratchHome home;
  std::filesystem::create_directories(PreferencesFolder());
  const auto file = SettingsFilePath(kPresetLibraryFileFormat);
  std::ofstream(file) << "<plist><dict><key>half a libr";

  Dictionary out{{"stale", 1}};
  ASSERT_TRUE(ReadSettingsPlist(out, kPresetLibraryFileFormat));
  EXPECT_TRUE(out.empty());

  ASSERT_TRUE(WriteSettingsPlist({{"Draft", Dictionary{}}}, kPresetLibraryFileFormat));
  const auto names = FileNamesIn(PreferencesFolder());
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], file.filename().string());
  EXPECT_EQ(names[1].rfind(file.filename().string() + ".unreadable-", 0), 0u);
  EXPECT_EQ(*ReadWholeFile(PreferencesFolder() / names[1]), "<plist><dict><key>half a libr");

  // A readable file is simply replaced: nothing more is kept.
  ASSERT_TRUE(WriteSettingsPlist({}, kPresetLibraryFileFormat));
  EXPECT_EQ(FileNamesIn(PreferencesFolder()).size(), 2u);
}

TEST(SettingsStore, AFileInPlaceOfTheFolderFailsCleanly) {
  test::ScratchHome home;
  std::filesystem::create_directories(home.path() / "config");
  std::ofstream(home.path() / "config" / "quillsheet") << "in the way";
  Dictionary out;
  EXPECT_FALSE(ReadSettingsPlist(out, kGeneralPreferencesFileFormat));
  EXPECT_FALSE(WriteSettingsPlist({{"a", 1}}, kGeneralPreferencesFileFormat));
  EXPECT_EQ(*ReadWholeFile(home.path() / "config" / "quillsheet"), "in the way");
}

}  // namespace
}  // namespace quillsheet
