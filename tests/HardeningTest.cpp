// Faults found by trying the core as careless users and attackers would:
// full disks, damaged and hostile files, odd names and numbers.
#include <gtest/gtest.h>
#include <plist/plist.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFNameTreeObjectHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <fstream>

#include "common/AtomicFile.h"
#include "common/PropertyList.h"
#include "common/SettingsStore.h"
#include "editor/PresetLibrary.h"
#include "output/ConversionDriver.h"
#include "output/DocumentList.h"
#include "output/PageGeometry.h"
#include "output/PageSelection.h"
#include "output/SavePipeline.h"
#include "tests/TestPdf.h"
#include "tests/TestSupport.h"

namespace quillsheet {
namespace {

namespace fs = std::filesystem;

WatermarkSettings Marked() {
  WatermarkSettings s = GetPresetSettingsFrom(nullptr);
  s.viewScale = 1;
  return s;
}

// A document that compresses badly, so its output is large.
fs::path NoisyPdf(const fs::path& path, int pages) {
  std::string noise;
  std::uint32_t seed = 1;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 1664525u + 1013904223u;
    noise += std::to_string(seed % 600) + " " + std::to_string(seed / 600 % 780) + " m ";
  }
  return test::WriteTestPdf(path, std::vector<test::TestPage>(pages, {612, 792, 0, "", noise}));
}

// Answers yes and listens to nothing.
struct Quiet : ConversionObserver {
  void Progress(const ProgressState&) override {}
  bool ContinueWithoutWatermark(const std::string&) override { return true; }
  void Finished(const RunReport&) override {}
};

class Hardening : public ::testing::Test {
 protected:
  test::ScratchHome home_;

  Result Save(const fs::path& input, const fs::path& output,
              std::optional<EncryptionOptions> encryption = std::nullopt,
              SaveNotes* notes = nullptr, const std::string& range = "") {
    SaveRequest request;
    request.source = {input.string(), ""};
    request.settings = Marked();
    request.destination = output;
    request.encryption = std::move(encryption);
    if (!range.empty()) {
      request.selectionTag = kPageRange;
      request.rangeString = range;
    }
    return SaveAsPDFFileOfSelectedDict(request, nullptr, notes);
  }

  // Only the named entries are in the folder: no staged file was left.
  void ExpectOnly(const fs::path& folder, std::set<std::string> names) {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
      found.insert(entry.path().filename().string());
    }
    EXPECT_EQ(found, names);
  }
};

TEST_F(Hardening, AFullDiskFailsTheOutputAndKeepsTheOldFile) {
  const fs::path input = NoisyPdf(home_.path() / "in.pdf", 3);
  const fs::path out = home_.path() / "out";
  fs::create_directories(out);
  std::ofstream(out / "kept.pdf") << "the user's good file";
  {
    test::FileSizeLimit full(64 * 1024);
    const Result failed = Save(input, out / "kept.pdf");
    EXPECT_FALSE(failed);
    EXPECT_NE(
        failed.message().find("cannot write " + (out / "kept.pdf").string() + ": File too large"),
        std::string::npos)
        << failed.message();
    EXPECT_FALSE(Save(input, out / "new.pdf"));
    // A batch: every output fails, none is reported as made.
    CancelFlag cancel{false};
    Quiet quiet;
    const RunReport run = ConvertSelectedOrAllfiles({{"A", Marked()}, {"B", Marked()}},
                                                    {{input.string(), ""}}, out, {}, quiet, cancel);
    EXPECT_EQ(run.OutputsMade(), 0u);
    EXPECT_EQ(run.Failures().size(), 2u);
    // Settings too.
    EXPECT_FALSE(WriteSettingsPlist({{"big", std::string(100000, 'x')}}, kPresetLibraryFileFormat));
  }
  EXPECT_EQ(*ReadWholeFile(out / "kept.pdf"), "the user's good file");
  ExpectOnly(out, {"kept.pdf", "A", "B"});
  EXPECT_TRUE(fs::is_empty(out / "A"));
  ASSERT_TRUE(Save(input, out / "kept.pdf"));  // and with room it works
}

TEST_F(Hardening, OutputPasswordsThatCannotProtectAreRefused) {
  EXPECT_TRUE(EncryptionRequestProblem(true, std::string("\0abc", 4), std::string("\0abc", 4)));
  EXPECT_TRUE(EncryptionRequestProblem(true, std::string("ab\0c", 4), std::string("ab\0c", 4)));
  EXPECT_TRUE(EncryptionRequestProblem(true, std::string(128, 'p'), std::string(128, 'p')));
  const std::string longest(127, 'p');
  EXPECT_FALSE(EncryptionRequestProblem(true, longest, longest));
  const fs::path input = test::WriteTestPdf(home_.path() / "in.pdf", {{}});
  ASSERT_TRUE(Save(input, home_.path() / "out.pdf", EncryptionOptions{longest}));
  QPDF out;
  out.processFile((home_.path() / "out.pdf").c_str(), longest.c_str());
  EXPECT_TRUE(out.isEncrypted());
}

TEST_F(Hardening, ADocumentWithoutPagesIsNeverDelivered) {
  const fs::path input = home_.path() / "nopages.pdf";
  test::WriteTestPdf(input, {{}});
  std::string bytes = *ReadWholeFile(input);
  bytes.replace(bytes.find("/Pages 2 0 R"), 12, "/Pages 9 0 R");
  std::ofstream(input, std::ios::binary) << bytes;
  const Result failed = Save(input, home_.path() / "out.pdf");
  EXPECT_FALSE(failed);
  EXPECT_NE(failed.message().find(kNoPagesRecovered), std::string::npos) << failed.message();
  ExpectOnly(home_.path(), {"nopages.pdf"});
}

TEST_F(Hardening, TheSaveRestoreScannerEndsOnEveryInput) {
  for (const char* content : {"q <41", "q (unclosed", "q BI /W 1 ID xx", "q %comment", "q /Name",
                              "q <", "q <<", "q (\\"}) {
    EXPECT_EQ(CountSaveRestore(content).depth, 1) << content;
  }
  CancelFlag cancel{true};
  EXPECT_EQ(CountSaveRestore(std::string(1 << 21, 'q'), &cancel).depth, 0);
}

TEST_F(Hardening, APageWithoutMediaBoxIsTurnedAsALetterPage) {
  const fs::path input =
      test::WriteTestPdf(home_.path() / "in.pdf", {{612, 792, 90, "", "", false}});
  ASSERT_TRUE(Save(input, home_.path() / "out.pdf"));
  QPDF out;
  out.processFile((home_.path() / "out.pdf").c_str());
  QPDFPageObjectHelper page = QPDFPageDocumentHelper(out).getAllPages().front();
  EXPECT_FALSE(page.getObjectHandle().hasKey("/Rotate"));
  const auto box = page.getObjectHandle().getKey("/MediaBox").getArrayAsRectangle();
  EXPECT_EQ(box.urx - box.llx, 792);
  EXPECT_EQ(box.ury - box.lly, 612);
}

TEST_F(Hardening, OutputNamesUpToTheFileSystemLimitWork) {
  const fs::path input = test::WriteTestPdf(home_.path() / "in.pdf", {{}});
  const fs::path longest = home_.path() / (std::string(251, 'n') + ".pdf");
  EXPECT_TRUE(Save(input, longest));
  EXPECT_TRUE(fs::exists(longest));
}

TEST_F(Hardening, ARunNeverWritesOverItsOwnInputs) {
  const fs::path folder = home_.path() / "docs";
  fs::create_directories(folder);
  const fs::path input = test::WriteTestPdf(folder / "a.pdf", {{}});
  const std::string before = *ReadWholeFile(input);
  ConversionOptions options;
  options.preferences.replaceExistFile = true;
  options.preferences.addLabelPosition = LabelPosition::None;
  options.preferences.createSeparateFolderForEachFile = false;
  CancelFlag cancel{false};
  Quiet quiet;
  const RunReport run = ConvertSelectedOrAllfiles(
      {{"A", Marked()}, {"B", Marked()}}, {{input.string(), ""}}, folder, options, quiet, cancel);
  EXPECT_NE(run.refused.find("would replace the input"), std::string::npos);
  EXPECT_TRUE(run.results.empty());
  EXPECT_EQ(*ReadWholeFile(input), before);
}

// Running out of memory inside a conversion fails that document with the
// reason; the process lives and the run goes on. (Address space limits and
// the sanitizers' shadow memory do not mix: skipped in that build.)
TEST_F(Hardening, RunningOutOfMemoryFailsOneDocumentNotTheRun) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "address space limits do not work under AddressSanitizer";
#endif
  // A page whose content unpacks to 400 MB from a few hundred kilobytes.
  const fs::path bomb = home_.path() / "bomb.pdf";
  {
    QPDF pdf;
    pdf.emptyPDF();
    QPDFObjectHandle page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>");
    page.replaceKey("/Contents",
                    QPDFObjectHandle::newStream(&pdf, std::string(std::size_t(400) << 20, ' ')));
    QPDFPageDocumentHelper(pdf).addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(page)), false);
    QPDFWriter writer(pdf, bomb.c_str());
    writer.write();
  }
  ASSERT_LT(fs::file_size(bomb), std::uintmax_t(4) << 20);
  const fs::path good = test::WriteTestPdf(home_.path() / "good.pdf", {{}});
  EXPECT_EXIT(
      {
        rlimit limit{};
        ::getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = std::uintmax_t(1) << 30;
        ::setrlimit(RLIMIT_AS, &limit);
        ConversionOptions options;
        CancelFlag cancel{false};
        Quiet quiet;
        const fs::path out = home_.path() / "out";
        fs::create_directories(out);
        const RunReport run =
            ConvertSelectedOrAllfiles({{"A", Marked()}}, {{bomb.string(), ""}, {good.string(), ""}},
                                      out, options, quiet, cancel);
        const auto failures = run.Failures();
        const bool said =
            failures.size() == 1 && failures.front()->source == bomb.string() &&
            failures.front()->outcome.message().find("bad_alloc") != std::string::npos;
        std::exit(said && run.OutputsMade() == 1 ? 0 : 3);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(Hardening, UnmarkedOutputsAndMissingPicturesAreReported) {
  const fs::path input = test::WriteTestPdf(home_.path() / "in.pdf", {{}, {}});
  SaveNotes notes;
  ASSERT_TRUE(Save(input, home_.path() / "out.pdf", std::nullopt, &notes, "5-9"));
  EXPECT_EQ(notes.markedPages, 0u);

  Dictionary preset;
  preset["FillWatermarkOption"] = 2;
  preset["WaterMarkImagePath"] = (home_.path() / "gone.png").string();
  EXPECT_EQ(GetPresetSettingsFrom(&preset).fillImageProblem,
            "picture " + (home_.path() / "gone.png").string() + " not found: fill layer skipped");
  preset["WaterMarkImagePath"] = std::string("/dev/zero");
  EXPECT_NE(GetPresetSettingsFrom(&preset).fillImageProblem.find("not a regular file"),
            std::string::npos);
  ::mkfifo((home_.path() / "fifo").c_str(), 0600);
  preset["WaterMarkImagePath"] = (home_.path() / "fifo").string();
  EXPECT_NE(GetPresetSettingsFrom(&preset).fillImageProblem.find("not a regular file"),
            std::string::npos);
  preset["FillWatermarkOption"] = 1;  // a pattern fill never needs the picture
  EXPECT_EQ(GetPresetSettingsFrom(&preset).fillImageProblem, "");
}

TEST_F(Hardening, ExtremeNumbersInAPresetAreKeptWithinBounds) {
  Dictionary preset{{"textDistance", std::numeric_limits<std::int64_t>::max()},
                    {"textFontSize", std::numeric_limits<std::int64_t>::min()},
                    {"textOpacity", 1e300},
                    {"TextCenter", Value::Array{1e300, -1e300}}};
  const WatermarkSettings s = GetPresetSettingsFrom(&preset);
  EXPECT_EQ(s.textDistance, kLongestLength);
  EXPECT_EQ(s.textFontSize, 0);
  EXPECT_EQ(s.textOpacity, 1.0);
  EXPECT_TRUE(std::isfinite(s.textCenter.x) && std::isfinite(s.textCenter.y));
}

// A binary property list made by libplist, then changed byte by byte.
std::string Binary(plist_t root) {
  char* bytes = nullptr;
  uint32_t length = 0;
  plist_to_bin(root, &bytes, &length);
  std::string binary(bytes, length);
  plist_to_bin_free(bytes);
  plist_free(root);
  return binary;
}

TEST_F(Hardening, HostilePropertyListsAreRefusedNotCrashed) {
  // A UTF-16 key and a string holding U+0000.
  for (const bool inKey : {true, false}) {
    plist_t root = plist_new_dict();
    plist_dict_set_item(root, inKey ? "k\xC3\xA9X" : "k", plist_new_string("a\xC3\xA9X"));
    std::string binary = Binary(root);
    const size_t at = binary.find(std::string("\0X", 2));
    ASSERT_NE(at, std::string::npos);
    binary[at + 1] = '\0';
    EXPECT_FALSE(ParsePropertyList(binary)) << inKey;
  }
  const auto nested = [](int depth) {
    std::string xml = "<plist>";
    for (int i = 0; i < depth; ++i) xml += "<array>";
    for (int i = 0; i < depth; ++i) xml += "</array>";
    return xml + "</plist>";
  };
  EXPECT_TRUE(ParsePropertyList(nested(64)));
  EXPECT_FALSE(ParsePropertyList(nested(100000)));
  EXPECT_TRUE(ParsePropertyList(Binary([] {
    plist_t root = plist_new_array();
    for (int i = 1; i < 64; ++i) {
      plist_t inner = plist_new_array();
      plist_array_append_item(inner, root);
      root = inner;
    }
    return root;
  }())));
  plist_t deep = plist_new_array();
  for (int i = 1; i < 65; ++i) {
    plist_t inner = plist_new_array();
    plist_array_append_item(inner, deep);
    deep = inner;
  }
  EXPECT_FALSE(ParsePropertyList(Binary(deep)));
}

TEST_F(Hardening, RecursiveAddsVisitEachFolderOnce) {
  const fs::path root = home_.path() / "root";
  fs::create_directories(root / "sub");
  test::WriteTestPdf(root / "sub" / "a.pdf", {{}});
  fs::create_directory_symlink(root, root / "sub" / "loop");
  fs::create_directory_symlink(root / "sub", root / "again");
  DocumentList list(false);
  EXPECT_EQ(list.Add({root}, true, nullptr).added, 1u);
  CancelFlag cancel{true};
  EXPECT_TRUE(list.Add({root}, true, nullptr, &cancel).cancelled);
}

TEST_F(Hardening, OnePasswordOpensLockedFilesOfTheSameNameInTwoFolders) {
  struct Recorder : PasswordPrompt {
    Answer Ask(const fs::path& file, int attempt) override {
      asked.push_back(file.string() + "#" + std::to_string(attempt));
      return {Answer::Kind::Password, attempt == 1 ? "user" : "stop"};
    }
    std::vector<std::string> asked;
  } prompt;
  std::vector<fs::path> files;
  for (const char* folder : {"one", "two"}) {
    fs::create_directories(home_.path() / folder);
    const fs::path plain = test::WriteTestPdf(home_.path() / folder / "plain.pdf", {{}});
    QPDF pdf;
    pdf.processFile(plain.c_str());
    const fs::path locked = home_.path() / folder / "same.pdf";
    QPDFWriter writer(pdf, locked.c_str());
    writer.setR6EncryptionParameters("user", "owner", true, true, true, true, true, true,
                                     qpdf_r3p_full, true);
    writer.write();
    files.push_back(locked);
  }
  DocumentList list(false);
  EXPECT_EQ(list.Add(files, false, &prompt).added, 2u);
  EXPECT_EQ(prompt.asked,
            (std::vector<std::string>{files[0].string() + "#1", files[1].string() + "#1"}));
}

TEST(Sample, TheLinkLeadsToTheAppendix) {
  QPDF sample;
  sample.processFile((fs::path(QUILLSHEET_SOURCE_DIR) / "resources/samples/sample.pdf").c_str());
  auto pages = QPDFPageDocumentHelper(sample).getAllPages();
  auto links = pages.front().getAnnotations("/Link");
  ASSERT_EQ(links.size(), 1u);
  const std::string name = links.front().getObjectHandle().getKey("/Dest").getUTF8Value();
  QPDFNameTreeObjectHelper dests(sample.getRoot().getKey("/Names").getKey("/Dests"), sample);
  QPDFObjectHandle destination;
  ASSERT_TRUE(dests.findObject(name, destination));
  EXPECT_EQ(destination.getArrayItem(0).getObjGen(), pages[2].getObjectHandle().getObjGen());
}

class LibraryStores : public ::testing::Test {
 protected:
  test::ScratchHome home_;
  PresetLibrary library_;
  fs::path Images() { return home_.path() / "data" / "Brightleaf"; }
};

TEST_F(LibraryStores, OnlyTheLibrarysOwnPicturesAreEverDeleted) {
  const fs::path mine = home_.path() / "holiday.png";
  std::ofstream(mine) << "the user's photo";
  ASSERT_TRUE(library_.Load());
  library_.setObjectToSelectedPreset(Value(mine.string()), "WaterMarkImagePath");
  ASSERT_TRUE(library_.SaveSelectedRow());
  ASSERT_TRUE(library_.RemoveRows({0}));
  EXPECT_TRUE(fs::exists(mine));
  EXPECT_FALSE(PresetLibrary::IsOwnImageFile(mine.string()));
  fs::create_directories(Images());
  EXPECT_TRUE(PresetLibrary::IsOwnImageFile((Images() / "watermark_image3").string()));
  EXPECT_FALSE(PresetLibrary::IsOwnImageFile((Images() / "watermark_image3.png").string()));
}

TEST_F(LibraryStores, ListenersHearWhichRowsChangedAndCanLeave) {
  ASSERT_TRUE(library_.Load());
  std::vector<PresetLibrary::Update> heard;
  const ListenerToken token = library_.AddListener([&](const PresetLibrary::Update& update) {
    if (update.change == PresetLibrary::Change::Table) heard.push_back(update);
  });
  library_.SetSelection({1, 3}, 1);
  heard.clear();
  library_.setObjectToSelectedPreset(Value("edited"), "textString");
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard.front().rows, (std::vector<size_t>{1, 3}));  // only those rows' stars
  heard.clear();
  ASSERT_TRUE(library_.RemoveRows({0}));
  ASSERT_FALSE(heard.empty());
  EXPECT_TRUE(heard.front().rows.empty());  // the rows themselves changed
  library_.RemoveListener(token);
  heard.clear();
  library_.setObjectToSelectedPreset(Value("again"), "textString");
  EXPECT_TRUE(heard.empty());

  test::ScratchHome home;
  DocumentList list(false);
  std::vector<DocumentList::Update> updates;
  list.AddListener([&](const DocumentList::Update& update) { updates.push_back(update); });
  std::vector<fs::path> files;
  for (const char* name : {"a.pdf", "b.pdf", "c.pdf"}) {
    files.push_back(test::WriteTestPdf(home.path() / name, {{}}));
  }
  ASSERT_EQ(list.Add(files, false, nullptr).added, 3u);
  list.Remove({0, 2, 7});
  ASSERT_EQ(updates.size(), 4u);
  EXPECT_EQ(updates[2].kind, DocumentList::Update::Kind::Appended);
  EXPECT_EQ(updates[2].rows, (std::vector<size_t>{2}));
  EXPECT_EQ(updates[3].kind, DocumentList::Update::Kind::Removed);
  EXPECT_EQ(updates[3].rows, (std::vector<size_t>{0, 2}));
}

TEST_F(LibraryStores, ThePickersPatternIsPassedInNotGlobal) {
  ASSERT_TRUE(library_.Load());
  EXPECT_EQ(library_.GetPresetSettingsForIndex(-1).patternName, InitialPatternName());
  library_.SetCurrentPatternName("Dots");
  EXPECT_EQ(library_.GetPresetSettingsForIndex(-1).patternName, "Dots");
  PresetLibrary other;
  EXPECT_EQ(other.GetPresetSettingsForIndex(-1).patternName, InitialPatternName());
}

TEST_F(LibraryStores, AFailedStoreChangesNothingAndKeepsTheMark) {
  ASSERT_TRUE(library_.Load());
  const auto names = library_.waterMarkPresetData();
  library_.setObjectToSelectedPreset(Value("changed"), "textString");
  {
    test::FileSizeLimit full(0);
    EXPECT_FALSE(library_.SaveSelectedRow());
    EXPECT_TRUE(library_.IsModified(0));
    EXPECT_FALSE(library_.RemoveRows({1}));
    EXPECT_FALSE(library_.CommitRename(2, "Renamed"));
    EXPECT_FALSE(library_.AddToEndOfTable("New"));
    EXPECT_EQ(library_.CheckAndSetModifiedPresetRow([] { return QuitAnswer::Save; }).status(),
              Result::Status::Failed);
  }
  EXPECT_EQ(library_.waterMarkPresetData(), names);
  PresetLibrary stored;
  ASSERT_TRUE(stored.Load());
  EXPECT_EQ(stored.waterMarkPresetData(), names);
  EXPECT_TRUE(library_.SaveSelectedRow());
  EXPECT_FALSE(library_.IsModified(0));
}

}  // namespace
}  // namespace quillsheet
