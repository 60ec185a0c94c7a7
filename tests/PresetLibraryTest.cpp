#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <fstream>
#include <set>

#include "common/AppPaths.h"
#include "common/GeneralPreferences.h"
#include "common/SettingsStore.h"
#include "editor/PresetLibrary.h"
#include "tests/TestSupport.h"

namespace quillsheet {
namespace {

Dictionary Preset(std::int64_t index, const std::string& text) {
  return {{"WaterMarkPresetIndex", index}, {"DirtyFlag", false}, {"textString", text}};
}

class Library : public ::testing::Test {
 protected:
  test::ScratchHome home_;
  PresetLibrary library_;

  void StoreLibrary(const Dictionary& file) {
    ASSERT_TRUE(WriteSettingsPlist(file, kPresetLibraryFileFormat));
  }
  Dictionary File() {
    Dictionary file;
    EXPECT_TRUE(ReadSettingsPlist(file, kPresetLibraryFileFormat));
    return file;
  }
  // Four presets A..D at rows 0..3, loaded.
  void LoadFour() {
    StoreLibrary({{"A", Preset(0, "a")},
                  {"B", Preset(1, "b")},
                  {"C", Preset(2, "c")},
                  {"D", Preset(3, "d")}});
    ASSERT_TRUE(library_.Load());
  }
  std::int64_t IndexIn(const Dictionary& presets, const std::string& name) {
    return *IntegerFor(*DictionaryFor(presets, name), "WaterMarkPresetIndex");
  }
  std::filesystem::path ImageFolder() { return home_.path() / "data" / "Brightleaf"; }
  static QImage Picture(QColor color) {
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(color);
    return image;
  }
};

TEST_F(Library, FirstStartSeedsFromTheBundledListInItsOrder) {
  ASSERT_TRUE(library_.Load());
  const auto& names = library_.waterMarkPresetData();
  ASSERT_GE(names.size(), 5u);
  EXPECT_EQ(names.front(), "Confidential");
  EXPECT_EQ(library_.selectedRow(), 0);
  EXPECT_EQ(File().size(), names.size());  // written at once
  for (size_t row = 0; row < names.size(); ++row) {
    EXPECT_EQ(IndexIn(library_.allPresetDictionary(), names[row]), static_cast<long>(row));
  }
}

TEST_F(Library, StoredSelectionIsClampedAndAnEmptyLibraryShowsDefaults) {
  StoreLibrary({{"C", Preset(2, "c")}, {"A", Preset(0, "a")}, {"B", Preset(1, "b")}});
  for (std::int64_t stored : {7, -5}) {
    ASSERT_TRUE(WriteGeneralPrefOptions(GeneralPreferences{}, stored < 0 ? 0 : stored));
    if (stored < 0) {
      Dictionary prefs = *ReadGeneralPrefOptions();
      prefs.insert_or_assign("WaterMarkPresetIndex", stored);
      ASSERT_TRUE(WriteSettingsPlist(prefs, kGeneralPreferencesFileFormat));
    }
    ASSERT_TRUE(library_.Load());
    EXPECT_EQ(library_.waterMarkPresetData(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(library_.selectedRow(), 0) << stored;
    EXPECT_EQ(*StringFor(library_.currentWatermarkOptionsDictionary(), "textString"), "a");
  }

  std::filesystem::remove(SettingsFilePath(kGeneralPreferencesFileFormat));
  StoreLibrary({});
  ASSERT_TRUE(library_.Load());
  EXPECT_TRUE(library_.waterMarkPresetData().empty());
  EXPECT_EQ(library_.selectedRow(), -1);
  EXPECT_EQ(library_.currentWatermarkOptionsDictionary().size(), 28u);  // the default preset
  EXPECT_EQ(library_.GetPresetSettingsForIndex(-1).textString, "Quillsheet");
}

TEST_F(Library, AnEditGoesToEverySelectedPresetButNotToTheFile) {
  LoadFour();
  library_.SetSelection({1, 3}, 3);
  library_.setObjectToSelectedPreset(Value(72), "textFontSize");
  for (const char* name : {"B", "D"}) {
    const Dictionary& preset = *DictionaryFor(library_.allPresetDictionary(), name);
    EXPECT_EQ(IntegerFor(preset, "textFontSize"), 72);
    EXPECT_EQ(BooleanFor(preset, "DirtyFlag"), true);
  }
  EXPECT_FALSE(library_.IsModified(0));
  EXPECT_EQ(library_.DisplayName(1),
            "\xE2\x98\x85"
            "B");
  EXPECT_TRUE(library_.SaveAndRevertEnabled());
  EXPECT_FALSE(IntegerFor(*DictionaryFor(File(), "B"), "textFontSize"));
  EXPECT_EQ(library_.GetPresetSettingsForIndex(3).textFontSize, 72);
}

TEST_F(Library, AddingFromAModifiedPresetReturnsTheSourceToItsSavedState) {
  LoadFour();
  library_.SelectRowStartingAtRow(1);
  library_.setObjectToSelectedPreset(Value("edited"), "textString");
  EXPECT_EQ(library_.NewPresetName("b"), "b");
  std::string name;
  ASSERT_TRUE(library_.AddToEndOfTable("B", &name));
  EXPECT_EQ(name, "B 1");
  EXPECT_EQ(library_.selectedRow(), 4);
  const Dictionary file = File();
  EXPECT_EQ(*StringFor(*DictionaryFor(file, "B 1"), "textString"), "edited");
  EXPECT_EQ(IndexIn(file, "B 1"), 4);
  EXPECT_FALSE(library_.IsModified(1));
  EXPECT_EQ(*StringFor(*DictionaryFor(library_.allPresetDictionary(), "B"), "textString"), "b");
  EXPECT_EQ(library_.NewPresetName(""), "Preset");
}

TEST_F(Library, RemovingRenumbersFollowersAndKeepsTheirEdits) {
  LoadFour();
  library_.SetSelection({2}, 2);
  library_.setObjectToSelectedPreset(Value("pending"), "textString");
  ASSERT_TRUE(library_.RemoveRows({1}));
  EXPECT_EQ(library_.waterMarkPresetData(), (std::vector<std::string>{"A", "C", "D"}));
  const Dictionary file = File();
  EXPECT_FALSE(DictionaryFor(file, "B"));
  EXPECT_EQ(IndexIn(file, "C"), 1);
  EXPECT_EQ(IndexIn(file, "D"), 2);
  EXPECT_EQ(IndexIn(library_.allPresetDictionary(), "C"), 1);
  EXPECT_TRUE(library_.IsModified(1));
  EXPECT_EQ(*StringFor(*DictionaryFor(library_.allPresetDictionary(), "C"), "textString"),
            "pending");
  EXPECT_EQ(library_.selectedRow(), 1);

  ASSERT_TRUE(library_.RemoveRows({0, 2}));
  EXPECT_EQ(library_.waterMarkPresetData(), std::vector<std::string>{"C"});
  EXPECT_EQ(library_.selectedRow(), 0);
  ASSERT_TRUE(library_.RemoveRows({0}));
  EXPECT_TRUE(library_.waterMarkPresetData().empty());
  EXPECT_FALSE(library_.RemoveButtonEnabled());
  EXPECT_TRUE(File().empty());
}

// Indexes stay 0..n-1 in table order after removing several rows and adding
// one, so a restart shows the same order; a file with gaps and a shared
// index reads in a stable order and is numbered again at its next write.
TEST_F(Library, IndexesStayTheTableOrderAcrossRemovesAddsAndRestarts) {
  LoadFour();
  ASSERT_TRUE(library_.RemoveRows({0, 2}));  // B, D left
  library_.SetSelection({0}, 0);
  ASSERT_TRUE(library_.AddPreset("E"));
  const std::vector<std::string> order{"B", "D", "E"};
  EXPECT_EQ(library_.waterMarkPresetData(), order);
  const Dictionary file = File();
  for (size_t row = 0; row < order.size(); ++row) {
    EXPECT_EQ(IndexIn(file, order[row]), static_cast<std::int64_t>(row)) << order[row];
  }
  PresetLibrary restarted;
  ASSERT_TRUE(restarted.Load());
  EXPECT_EQ(restarted.waterMarkPresetData(), order);

  StoreLibrary({{"P", Preset(7, "p")}, {"Q", Preset(3, "q")}, {"R", Preset(3, "r")}});
  PresetLibrary gapped;
  ASSERT_TRUE(gapped.Load());
  EXPECT_EQ(gapped.waterMarkPresetData(), (std::vector<std::string>{"Q", "R", "P"}));
  gapped.SetSelection({0}, 0);
  ASSERT_TRUE(gapped.SaveSelectedRow());
  EXPECT_EQ(IndexIn(File(), "Q"), 0);
  EXPECT_EQ(IndexIn(File(), "R"), 1);
  EXPECT_EQ(IndexIn(File(), "P"), 2);
}

// Two programs on one library file (two library objects here, each as a
// process has it): neither loses what the other wrote, a name taken
// meanwhile is refused, and saving writes only what was modified.
TEST_F(Library, TwoWritersKeepEachOthersPresets) {
  LoadFour();
  PresetLibrary other;
  ASSERT_TRUE(other.Load());
  library_.SetSelection({0}, 0);
  other.SetSelection({1}, 1);
  std::string first, second;
  ASSERT_TRUE(library_.AddToEndOfTable("New", &first));
  ASSERT_TRUE(other.AddToEndOfTable("New", &second));
  EXPECT_NE(first, second);  // the second picked a name free on disk
  const Dictionary file = File();
  ASSERT_TRUE(DictionaryFor(file, first) && DictionaryFor(file, second));
  std::set<std::int64_t> indexes;
  for (const auto& [name, preset] : file) indexes.insert(IndexIn(file, name));
  EXPECT_EQ(indexes.size(), file.size());  // no index shared

  ASSERT_TRUE(library_.AddPreset("Taken"));
  const Result taken = other.AddPreset("Taken");
  ASSERT_FALSE(taken.ok());
  EXPECT_NE(taken.message().find("exists already"), std::string::npos);

  // The first edits A and saves everything; meanwhile the other removed B
  // and added C2: both stay as the other left them.
  library_.SetSelection({0}, 0);
  library_.setObjectToSelectedPreset(Value("edited"), "textString");
  const size_t b = static_cast<size_t>(
      std::find(other.waterMarkPresetData().begin(), other.waterMarkPresetData().end(), "B") -
      other.waterMarkPresetData().begin());
  ASSERT_TRUE(other.RemoveRows({b}));
  other.SetSelection({0}, 0);
  ASSERT_TRUE(other.AddPreset("C2"));
  ASSERT_TRUE(library_.SaveAll());
  const Dictionary after = File();
  EXPECT_EQ(*StringFor(*DictionaryFor(after, "A"), "textString"), "edited");
  EXPECT_FALSE(DictionaryFor(after, "B"));
  EXPECT_TRUE(DictionaryFor(after, "C2"));

  // A refresh takes in the other's changes: the removed preset leaves the
  // table, the added one comes.
  library_.Refresh();
  const auto& names = library_.waterMarkPresetData();
  EXPECT_EQ(std::count(names.begin(), names.end(), "B"), 0);
  EXPECT_EQ(std::count(names.begin(), names.end(), "C2"), 1);
}

TEST_F(Library, SavingTurnsAPictureIntoTheNextFreeImageFile) {
  LoadFour();
  std::filesystem::create_directories(ImageFolder());
  std::ofstream(ImageFolder() / "watermark_image1") << "taken";
  std::ofstream(ImageFolder() / "watermark_image9") << "previous picture";
  library_.SelectRowStartingAtRow(0);
  library_.setObjectToSelectedPreset(Value((ImageFolder() / "watermark_image9").string()),
                                     "WaterMarkImagePath");
  library_.setObjectToSelectedPreset(Value(std::make_shared<QImage>(Picture(Qt::blue))), "Image");
  ASSERT_TRUE(library_.SaveSelectedRow());
  const Dictionary saved = *DictionaryFor(File(), "A");
  EXPECT_EQ(*StringFor(saved, "WaterMarkImagePath"), (ImageFolder() / "watermark_image2").string());
  EXPECT_FALSE(Find(saved, "Image"));
  EXPECT_EQ(BooleanFor(saved, "DirtyFlag"), false);
  EXPECT_FALSE(std::filesystem::exists(ImageFolder() / "watermark_image9"));
  EXPECT_EQ(QImage(QString::fromStdString((ImageFolder() / "watermark_image2").string()))
                .pixelColor(0, 0),
            QColor(Qt::blue));
  EXPECT_EQ(library_.GetPresetSettingsForIndex(0).fillImage->width(), 8);
  EXPECT_FALSE(library_.IsModified(0));
}

TEST_F(Library, APictureThatCannotBeWrittenIsKept) {
  LoadFour();
  // A file where the image folder should be: nothing can be stored there.
  std::filesystem::create_directories(ImageFolder().parent_path());
  std::ofstream(ImageFolder()) << "in the way";
  library_.SelectRowStartingAtRow(2);
  auto picture = std::make_shared<QImage>(Picture(Qt::red));
  library_.setObjectToSelectedPreset(Value(Value::Image(picture)), "Image");
  library_.setObjectToSelectedPreset(Value(std::int64_t{2}), "FillWatermarkOption");
  // Save says why; the file keeps the saved preset, not an image fill
  // without its picture.
  const Result saved = library_.SaveSelectedRow();
  ASSERT_FALSE(saved.ok());
  EXPECT_NE(saved.message().find("the picture of \"C\" could not be stored"), std::string::npos)
      << saved.message();
  EXPECT_FALSE(library_.lastImageError().empty());
  const Dictionary& working = *DictionaryFor(library_.allPresetDictionary(), "C");
  EXPECT_EQ(*Find(working, "Image")->ImageValue(), picture);
  EXPECT_TRUE(library_.IsModified(2));  // still unsaved, so it can be saved again
  EXPECT_EQ(*DictionaryFor(File(), "C"), Preset(2, "c"));
  EXPECT_FALSE(library_.SaveAll().ok());
  EXPECT_EQ(*DictionaryFor(File(), "C"), Preset(2, "c"));
  EXPECT_TRUE(library_.IsModified(2));
}

// A library file that cannot be read is said once and kept aside; the
// bundled presets are used instead of an empty table.
TEST_F(Library, ADamagedLibraryIsReportedKeptAndReplacedByTheBundledOnes) {
  const std::filesystem::path file = SettingsFilePath(kPresetLibraryFileFormat);
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file) << "<?xml version=\"1.0\"?><plist><dict><key>broken";
  const Result loaded = library_.Load();
  ASSERT_FALSE(loaded.ok());
  EXPECT_NE(loaded.message().find("could not read"), std::string::npos) << loaded.message();
  EXPECT_NE(loaded.message().find("the bundled presets are used"), std::string::npos);
  EXPECT_NE(loaded.message().find(".unreadable-"), std::string::npos);
  EXPECT_FALSE(library_.waterMarkPresetData().empty());
  bool kept = false;
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
    kept |= entry.path().filename().string().starts_with(file.filename().string() + ".unreadable-");
  }
  EXPECT_TRUE(kept);
  PresetLibrary again;
  EXPECT_TRUE(again.Load());  // said once
}

TEST_F(Library, RevertRestoresTheSavedState) {
  LoadFour();
  library_.SelectRowStartingAtRow(3);
  library_.setObjectToSelectedPreset(Value("changed"), "textString");
  library_.RevertSelectedRow();
  EXPECT_FALSE(library_.IsModified(3));
  EXPECT_EQ(*StringFor(library_.currentWatermarkOptionsDictionary(), "textString"), "d");
  EXPECT_EQ(BooleanFor(library_.currentWatermarkOptionsDictionary(), "DirtyFlag"), false);
}

TEST_F(Library, RenameChecksAndReplacesAnotherPreset) {
  LoadFour();
  std::filesystem::create_directories(ImageFolder());
  std::ofstream(ImageFolder() / "watermark_image5") << "b";
  Dictionary file = File();
  file.at("B").DictionaryValue()->insert_or_assign("WaterMarkImagePath",
                                                   (ImageFolder() / "watermark_image5").string());
  StoreLibrary(file);
  ASSERT_TRUE(library_.Load());

  library_.SelectRowStartingAtRow(3);
  library_.setObjectToSelectedPreset(Value("edited d"), "textString");
  EXPECT_EQ(library_.ValidateRename(3, ""), RenameCheck::EmptyName);
  EXPECT_EQ(library_.ValidateRename(3, "\xE2\x98\x85"), RenameCheck::EmptyName);
  EXPECT_EQ(library_.ValidateRename(3,
                                    "\xE2\x98\x85"
                                    "D"),
            RenameCheck::Accept);
  EXPECT_EQ(library_.ValidateRename(3, "E"), RenameCheck::Accept);
  EXPECT_EQ(library_.ValidateRename(3, "B"), RenameCheck::NameTaken);

  ASSERT_TRUE(library_.CommitRename(3, "B"));  // the user chose to replace
  EXPECT_EQ(library_.waterMarkPresetData(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(library_.selectedRow(), 1);
  EXPECT_FALSE(std::filesystem::exists(ImageFolder() / "watermark_image5"));
  const Dictionary after = File();
  EXPECT_EQ(after.size(), 3u);
  EXPECT_EQ(*StringFor(*DictionaryFor(after, "B"), "textString"), "edited d");
  EXPECT_FALSE(library_.IsModified(1));
  // The stored order is the table's, so the next start shows the same.
  PresetLibrary reloaded;
  ASSERT_TRUE(reloaded.Load());
  EXPECT_EQ(reloaded.waterMarkPresetData(), library_.waterMarkPresetData());
}

TEST_F(Library, QuitCheckAsksOnlyForModifiedPresets) {
  LoadFour();
  int asked = 0;
  const auto answer = [&](QuitAnswer a) {
    return [&asked, a] {
      ++asked;
      return a;
    };
  };
  EXPECT_TRUE(library_.CheckAndSetModifiedPresetRow(answer(QuitAnswer::Cancel)));
  EXPECT_EQ(asked, 0);
  library_.SelectRowStartingAtRow(0);
  library_.setObjectToSelectedPreset(Value("x"), "textString");
  EXPECT_FALSE(library_.CheckAndSetModifiedPresetRow(answer(QuitAnswer::Cancel)));
  EXPECT_TRUE(library_.CheckAndSetModifiedPresetRow(answer(QuitAnswer::DontSave)));
  EXPECT_EQ(*StringFor(*DictionaryFor(File(), "A"), "textString"), "a");
  EXPECT_TRUE(library_.CheckAndSetModifiedPresetRow(answer(QuitAnswer::Save)));
  EXPECT_EQ(*StringFor(*DictionaryFor(File(), "A"), "textString"), "x");
  EXPECT_EQ(asked, 3);
}

TEST_F(Library, NoDataDirectoryIsAnErrorNotAnExit) {
  ::setenv("XDG_DATA_HOME", "/proc/no-such-place", 1);
  std::string error;
  EXPECT_FALSE(GetApplicationSupportFolder("Brightleaf", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(library_.saveCustomWatermarkImage(Picture(Qt::red), error));
}

}  // namespace
}  // namespace quillsheet
