#include <gtest/gtest.h>
#include <sys/stat.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <fstream>
#include <functional>
#include <set>

#include "common/AtomicFile.h"
#include "common/CsvTable.h"
#include "output/ConversionDriver.h"
#include "output/Destination.h"
#include "output/DocumentList.h"
#include "output/HiddenMarks.h"
#include "output/OutputNaming.h"
#include "output/SavePipeline.h"
#include "tests/TestPdf.h"
#include "tests/TestSupport.h"

namespace quillsheet {
namespace {

namespace fs = std::filesystem;

TEST(OutputNaming, NamesFollowThePreferences) {
  EXPECT_EQ(GetFullFileNameForPresetIndex("Draft", LabelPosition::BeforeFileName, "_", "Report"),
            "Draft_Report");
  EXPECT_EQ(GetFullFileNameForPresetIndex("Draft", LabelPosition::AfterFileName, "_", "Report"),
            "Report_Draft");
  EXPECT_EQ(GetFullFileNameForPresetIndex("Draft", LabelPosition::AfterFileName, "", "Report"),
            "ReportDraft");
  EXPECT_EQ(GetFullFileNameForPresetIndex("Draft", LabelPosition::None, "_", "Report"), "Report");
  // Names cannot climb out of the destination or hide control characters.
  EXPECT_EQ(GetFullFileNameForPresetIndex("../../x", LabelPosition::BeforeFileName, "", "r"),
            ".._.._xr");
  EXPECT_EQ(SafeNameComponent(".."), "_");
  EXPECT_EQ(SafeNameComponent("a\nb/c"), "a_b_c");
}

// The command line and the window decide a destination the same way.
TEST(Destination, FileOrFolderWhatExistsAndTheFolderMade) {
  test::ScratchHome home;
  const fs::path folder = home.path();
  EXPECT_FALSE(DestinationIsFolder((folder / "out.pdf").string(), 1, 1, false, 1));
  EXPECT_TRUE(DestinationIsFolder((folder / "out").string() + "/", 1, 1, false, 1));
  EXPECT_TRUE(DestinationIsFolder(folder.string(), 1, 1, false, 1));  // one already
  EXPECT_TRUE(DestinationIsFolder((folder / "x").string(), 2, 1, false, 1));
  EXPECT_TRUE(DestinationIsFolder((folder / "x").string(), 1, 1, true, 1));
  EXPECT_TRUE(DestinationIsFolder((folder / "x").string(), 1, 1, false, 3));

  std::ofstream(folder / "taken.pdf") << "x";
  EXPECT_EQ(DestinationProblem(folder / "taken.pdf", false, false),
            (folder / "taken.pdf").string() + " exists");
  EXPECT_FALSE(DestinationProblem(folder / "taken.pdf", false, true));
  EXPECT_FALSE(DestinationProblem(folder, true, false));

  EXPECT_FALSE(PrepareDestination(folder / "a" / "b" / "out.pdf", false));
  EXPECT_TRUE(fs::is_directory(folder / "a" / "b"));
  const auto blocked = PrepareDestination(folder / "taken.pdf" / "inner", true);
  ASSERT_TRUE(blocked);
  EXPECT_NE(blocked->find("cannot create the folder"), std::string::npos);
}

TEST(OutputNaming, ExistingFilesGetNumberedNamesUnlessReplaced) {
  test::ScratchHome home;
  const fs::path folder = home.path();
  std::ofstream(folder / "Report_Draft.pdf") << "x";
  EXPECT_EQ(OutputPathInFolder(folder, "Report_Draft", false, {}), folder / "Report_Draft1.pdf");
  std::ofstream(folder / "Report_Draft1.pdf") << "x";
  EXPECT_EQ(OutputPathInFolder(folder, "Report_Draft", false, {}), folder / "Report_Draft2.pdf");
  EXPECT_EQ(OutputPathInFolder(folder, "Report_Draft", true, {}), folder / "Report_Draft.pdf");
  // An earlier output of the same run counts as taken, even when replacing.
  EXPECT_EQ(OutputPathInFolder(folder, "New", true, {folder / "New.pdf"}), folder / "New1.pdf");

  std::ofstream(folder / "Draft") << "a plain file";
  EXPECT_EQ(GetDestURLWithPresetName("Draft", folder), folder / "Draft1");
  EXPECT_TRUE(fs::is_directory(folder / "Draft1"));
  EXPECT_EQ(GetDestURLWithPresetName("Draft", folder), folder / "Draft1");  // reused
  EXPECT_EQ(GetDestURLWithPresetName("../up", folder), folder / ".._up");
  EXPECT_TRUE(DestinationIsFile(1, 1));
  EXPECT_FALSE(DestinationIsFile(1, 2));
  EXPECT_FALSE(DestinationIsFile(2, 1));
}

TEST(OutputNaming, EncryptionRequestsAreCheckedBeforeARun) {
  EXPECT_FALSE(EncryptionRequestProblem(false, "", "x"));
  EXPECT_TRUE(EncryptionRequestProblem(true, "", ""));
  EXPECT_TRUE(EncryptionRequestProblem(true, "a", "b"));
  EXPECT_FALSE(EncryptionRequestProblem(true, "a", "a"));
}

// Records what a run tells its caller.
class Recorder : public ConversionObserver {
 public:
  std::vector<ProgressState> progress;
  int questions = 0;
  bool answer = true;
  std::function<void(const ProgressState&)> onProgress;
  std::optional<RunReport> finished;

  // Keeps the run's and the documents' steps; page steps only reach
  // onProgress (their number depends on the writer).
  void Progress(const ProgressState& state) override {
    if (state.status != kStatusDocumentMoves) progress.push_back(state);
    if (onProgress) onProgress(state);
  }
  bool ContinueWithoutWatermark(const std::string&) override {
    ++questions;
    return answer;
  }
  void Finished(const RunReport& report) override { finished = report; }
};

class Batch : public ::testing::Test {
 protected:
  test::ScratchHome home_;
  CancelFlag cancel_{false};

  std::vector<DocumentEntry> Documents(int count) {
    std::vector<DocumentEntry> documents;
    for (int i = 1; i <= count; ++i) {
      const auto path = home_.path() / ("Doc" + std::to_string(i) + ".pdf");
      test::WriteTestPdf(path, {{}, {300, 300, 90, "", "0 0 1 rg 0 0 50 50 re f"}});
      documents.push_back({path.string(), ""});
    }
    return documents;
  }
  static PresetChoice Preset(const std::string& name, bool layers = true) {
    WatermarkSettings settings = GetPresetSettingsFrom(nullptr);
    settings.textEnabled = settings.fillEnabled = layers;
    return {name, settings};
  }
  fs::path Out() {
    fs::create_directories(home_.path() / "out");
    return home_.path() / "out";
  }
  static ConversionOptions Options(int jobs = 1) {
    ConversionOptions options;
    options.jobs = jobs;
    return options;
  }
};

TEST_F(Batch, EveryPresetConvertsEveryDocumentInOrder) {
  Recorder recorder;
  const RunReport report = ConvertSelectedOrAllfiles(
      {Preset("Draft"), Preset("Paid")}, Documents(3), Out(), Options(), recorder, cancel_);
  EXPECT_EQ(report.OutputsMade(), 6u);
  EXPECT_TRUE(report.LastSaveSucceeded());
  ASSERT_EQ(recorder.progress.size(), 8u);
  EXPECT_EQ(recorder.progress.front().maximum, 8u);
  EXPECT_EQ(recorder.progress.front().status, kStatusRunStarts);
  EXPECT_EQ(recorder.progress.back().status, kStatusRunEnds);
  EXPECT_EQ(recorder.progress.back().value, 8u);
  const std::string folder = home_.path().filename().string() + "/";
  EXPECT_EQ(recorder.progress[1].FileText(), "Processing File (1/3): " + folder + "Doc1.pdf");
  EXPECT_EQ(recorder.progress[1].PresetText(), "Preset Name (1/2): Draft");
  EXPECT_EQ(recorder.progress[6].FileText(), "Processing File (3/3): " + folder + "Doc3.pdf");
  EXPECT_EQ(recorder.progress[6].PresetText(), "Preset Name (2/2): Paid");
  EXPECT_TRUE(fs::exists(Out() / "Draft" / "Doc2.pdf"));
  EXPECT_TRUE(fs::exists(Out() / "Paid" / "Doc3.pdf"));
  ASSERT_TRUE(recorder.finished);
}

// A staged file that no live writer holds is what a killed run left: a run
// into that folder removes it, and never one that is being written.
TEST_F(Batch, StaleStagedFilesOfAKilledRunAreRemoved) {
  fs::create_directories(Out());
  std::ofstream(Out() / ".qs-AbC123") << "a decrypted copy a killed run left";
  Result failure;
  const auto live = StagedFile::Create(Out() / "live.pdf", failure);
  ASSERT_TRUE(live);
  RemoveStaleStagedFiles(Out());
  EXPECT_FALSE(fs::exists(Out() / ".qs-AbC123"));
  EXPECT_TRUE(fs::exists(live->path()));

  std::ofstream(Out() / ".qs-XyZ789") << "left again";
  Recorder recorder;
  ConversionOptions options = Options();
  options.toFolder = true;
  options.preferences.createSeparateFolderForEachFile = false;
  ConvertSelectedOrAllfiles({Preset("Draft")}, Documents(1), Out(), options, recorder, cancel_);
  EXPECT_FALSE(fs::exists(Out() / ".qs-XyZ789"));
  EXPECT_TRUE(fs::exists(live->path()));
}

// A long document reports its pages as it goes, and a cancel while it is
// marked or written stops it there: nothing is delivered, nothing staged is
// left behind.
TEST_F(Batch, ALongDocumentMovesByPagesAndStopsInsideWhenCancelled) {
  const auto path = home_.path() / "long.pdf";
  test::WriteTestPdf(path, std::vector<test::TestPage>(300));
  for (const double stopAt : {0.3, 0.75}) {  // while marking, while writing
    SCOPED_TRACE(stopAt);
    cancel_ = false;
    Recorder recorder;
    std::vector<double> parts;
    recorder.onProgress = [&](const ProgressState& state) {
      if (state.status != kStatusDocumentMoves) return;
      parts.push_back(state.documentPart);
      if (state.documentPart >= stopAt) cancel_ = true;
    };
    const fs::path out = Out() / "long.pdf";
    const RunReport report = ConvertSelectedOrAllfiles({Preset("Draft")}, {{path.string(), ""}},
                                                       out, Options(), recorder, cancel_);
    EXPECT_TRUE(report.cancelled);
    ASSERT_GE(parts.size(), 5u);
    EXPECT_TRUE(std::is_sorted(parts.begin(), parts.end()));
    EXPECT_LT(parts.back(), stopAt + 0.1);  // it stopped right there
    EXPECT_FALSE(fs::exists(out));
    for (const auto& entry : fs::directory_iterator(Out())) {
      ADD_FAILURE() << "left behind: " << entry.path();
    }
  }
}

// A text too long to draw refuses the run before anything is written; the
// record holds it cut at the limit, on a character's boundary.
TEST_F(Batch, ATextTooLongIsRefused) {
  std::string text;
  for (size_t i = 0; i < kLongestText + 5; ++i) text += "\u00e9";
  Dictionary preset = {{"WatermarkOptionsState", true}, {"textString", text}};
  const WatermarkSettings cut = GetPresetSettingsFrom(&preset);
  EXPECT_EQ(cut.textString.size(), 2 * kLongestText);
  EXPECT_NE(cut.textProblem.find("longer than 10000 characters"), std::string::npos);
  preset["textString"] = std::string(kLongestText, 'x');
  EXPECT_TRUE(GetPresetSettingsFrom(&preset).textProblem.empty());

  Recorder recorder;
  const RunReport report =
      ConvertSelectedOrAllfiles({{"Long", cut}}, Documents(1), Out(), Options(), recorder, cancel_);
  EXPECT_NE(report.refused.find("the preset \"Long\": the text is longer"), std::string::npos)
      << report.refused;
  EXPECT_TRUE(report.results.empty());
}

// A mark mostly hidden is worth a word: four fifths of a page covered by an
// opaque box warns, a third does not.
TEST_F(Batch, AMarkMostlyHiddenBehindThePageIsReported) {
  const auto path = home_.path() / "form.pdf";
  test::WriteTestPdf(path, {{612, 792, 0, "", "1 1 1 rg 0 0 612 634 re f"},
                            {612, 792, 0, "", "1 1 1 rg 0 0 612 264 re f"}});
  PresetChoice behind = Preset("Tint");
  behind.settings.textEnabled = false;
  behind.settings.fillBehind = true;
  behind.settings.fillOption = 0;
  behind.settings.backStyle = 4;
  Recorder recorder;
  const RunReport report = ConvertSelectedOrAllfiles(
      {behind}, {{path.string(), ""}}, Out() / "form.pdf", Options(), recorder, cancel_);
  ASSERT_TRUE(report.results[0].outcome.ok());
  ASSERT_EQ(report.results[0].warnings.size(), 1u);
  EXPECT_NE(report.results[0].warnings[0].find("hidden on page 1 of form.pdf"), std::string::npos)
      << report.results[0].warnings[0];

  // A mark only for print is an annotation over the page: never hidden.
  behind.settings.markVisibility = 1;
  const RunReport printOnly = ConvertSelectedOrAllfiles(
      {behind}, {{path.string(), ""}}, Out() / "print.pdf", Options(), recorder, cancel_);
  ASSERT_TRUE(printOnly.results[0].outcome.ok());
  EXPECT_TRUE(printOnly.results[0].warnings.empty());
}

// A fill behind pages whose content paints an opaque background is hidden
// there: the report says on which pages, and only those.
TEST_F(Batch, AMarkHiddenBehindOpaquePagesIsReported) {
  const std::string opaque = "1 1 1 rg 0 0 612 792 re f 0 0 0 rg 72 700 200 20 re f";
  const auto path = home_.path() / "report.pdf";
  test::WriteTestPdf(path, {{612, 792, 0, "", opaque},
                            {612, 792, 0, "", opaque},
                            {612, 792, 0, "", "0 0 0 rg 72 700 200 20 re f"},
                            {612, 792, 0, "", opaque}});
  PresetChoice behind = Preset("Tint");
  behind.settings.textEnabled = false;
  behind.settings.fillBehind = true;
  behind.settings.fillOption = 0;
  behind.settings.backStyle = 4;
  behind.settings.backColor = Rgba{0.2, 0.4, 0.8, 1};
  Recorder recorder;
  const fs::path marked = Out() / "marked.pdf";
  RunReport report = ConvertSelectedOrAllfiles({behind}, {{path.string(), ""}}, marked, Options(),
                                               recorder, cancel_);
  ASSERT_EQ(report.results.size(), 1u);
  ASSERT_TRUE(report.results[0].outcome.ok()) << report.results[0].outcome.message();
  ASSERT_EQ(report.results[0].warnings.size(), 1u);
  EXPECT_EQ(report.results[0].warnings[0],
            "the mark behind the page is hidden on pages 1-2, 4 of report.pdf (opaque "
            "background); put it in front?");

  behind.settings.fillBehind = false;  // in front (and opaque): nothing to say
  behind.settings.backOpacity = 1;
  report = ConvertSelectedOrAllfiles({behind}, {{path.string(), ""}}, marked, Options(), recorder,
                                     cancel_);
  ASSERT_TRUE(report.results[0].outcome.ok());
  EXPECT_TRUE(report.results[0].warnings.empty());

  // The front mark that run placed is replaced, not looked through: only the
  // pages' own backgrounds hide the new mark behind them.
  behind.settings.fillBehind = true;
  behind.settings.backOpacity = 0.5;
  report = ConvertSelectedOrAllfiles({behind}, {{marked.string(), ""}}, Out() / "again.pdf",
                                     Options(), recorder, cancel_);
  ASSERT_TRUE(report.results[0].outcome.ok());
  ASSERT_EQ(report.results[0].warnings.size(), 1u);
  EXPECT_NE(report.results[0].warnings[0].find("on pages 1-2, 4 of marked.pdf"), std::string::npos)
      << report.results[0].warnings[0];
  EXPECT_EQ(DescribePages({3}), "3");
  EXPECT_EQ(DescribePages({1, 2, 3, 5, 7, 8}), "1-3, 5, 7-8");
}

// Texts with fields get each page's own text (one form per distinct text
// and page size); a field without a value refuses the run before anything
// is written.
TEST_F(Batch, FieldsAreFilledInPerPageAndUnknownOnesRefuseTheRun) {
  const auto path = home_.path() / "report.pdf";
  test::WriteTestPdf(path, {{}, {}, {}});
  PresetChoice fields = Preset("Fields");
  fields.settings.fillEnabled = false;
  fields.settings.textFields = true;
  fields.settings.textString = "{file} {page}/{pages} for {recipient} {date}";
  EXPECT_EQ(UserFieldsNeeded({fields, Preset("Static")}), std::vector<std::string>{"recipient"});
  ConversionOptions options = Options();
  options.fields = {{"recipient", "Ann"}};
  Recorder recorder;
  const fs::path marked = Out() / "marked.pdf";
  RunReport report = ConvertSelectedOrAllfiles({fields}, {{path.string(), ""}}, marked, options,
                                               recorder, cancel_);
  ASSERT_EQ(report.OutputsMade(), 1u);
  QPDF pdf;
  pdf.processFile(marked.c_str());
  std::set<QPDFObjGen> forms;
  // The forms inside each page's mark: its glyphs, drawn once for all pages.
  std::vector<std::set<QPDFObjGen>> inner;
  const std::function<void(QPDFObjectHandle, std::set<QPDFObjGen>&)> collect =
      [&](QPDFObjectHandle form, std::set<QPDFObjGen>& found) {
        QPDFObjectHandle xobjects = form.getDict().getKey("/Resources").getKey("/XObject");
        if (!xobjects.isDictionary()) return;
        for (const std::string& name : xobjects.getKeys()) {
          if (found.insert(xobjects.getKey(name).getObjGen()).second) {
            collect(xobjects.getKey(name), found);
          }
        }
      };
  for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
    for (const auto& [name, form] : page.getFormXObjects()) {
      if (!name.starts_with("/Qsw")) continue;
      forms.insert(form.getObjGen());
      collect(form, inner.emplace_back());
    }
  }
  EXPECT_EQ(forms.size(), 3u) << "each page has its own text";
  ASSERT_EQ(inner.size(), 3u);
  std::set<QPDFObjGen> all;
  for (const auto& page : inner) all.insert(page.begin(), page.end());
  EXPECT_LT(all.size(), inner[0].size() + 6) << "pages share the glyphs of their texts";

  fields.settings.textString = "for {who}";
  report = ConvertSelectedOrAllfiles({fields}, {{path.string(), ""}}, Out() / "none.pdf", options,
                                     recorder, cancel_);
  EXPECT_EQ(report.refused, "the preset \"Fields\": unknown field {who}; nothing was converted");
  EXPECT_FALSE(fs::exists(Out() / "none.pdf"));
}

// A fields file makes one copy per row; the name template names them, and a
// field it does not know refuses the run.
TEST_F(Batch, AFieldsFileMakesOneNamedCopyPerRow) {
  const auto path = home_.path() / "report.pdf";
  test::WriteTestPdf(path, {{}, {}});
  PresetChoice fields = Preset("Fields");
  fields.settings.fillEnabled = false;
  fields.settings.textFields = true;
  fields.settings.textString = "for {recipient}, page {page}";
  ConversionOptions options = Options(2);
  options.copies = {{{"recipient", "Ann"}}, {{"recipient", "Bob/Eve"}}};
  options.nameTemplate = "{file}-{recipient}";
  Recorder recorder;
  RunReport report =
      ConvertSelectedOrAllfiles({fields}, {{path.string(), ""}}, Out(), options, recorder, cancel_);
  ASSERT_EQ(report.OutputsMade(), 2u);
  EXPECT_EQ(report.results[0].output.filename(), "report-Ann.pdf");
  EXPECT_EQ(report.results[1].output.filename(), "report-Bob_Eve.pdf");
  EXPECT_NE(ReadWholeFile(report.results[0].output), ReadWholeFile(report.results[1].output));

  options.nameTemplate = "{file}-{who}";
  report =
      ConvertSelectedOrAllfiles({fields}, {{path.string(), ""}}, Out(), options, recorder, cancel_);
  EXPECT_EQ(report.refused, "the name template: unknown field {who}; nothing was converted");
  EXPECT_TRUE(report.results.empty());
}

TEST(FieldsFile, TablesAreReadAsSpreadsheetsWriteThem) {
  std::string problem;
  const auto rows = ParseCsv(
      "\xEF\xBB\xBFname,note\r\n\n\"Smith, Ann\",\"said \"\"hi\"\"\nthen left\"\nBob", &problem);
  ASSERT_TRUE(rows) << problem;
  EXPECT_EQ(*rows, (std::vector<CsvRow>{
                       {"name", "note"}, {"Smith, Ann", "said \"hi\"\nthen left"}, {"Bob"}}));
  EXPECT_FALSE(ParseCsv("a\n\"open", &problem));
  EXPECT_EQ(problem, "line 2: a quote is not closed");
  EXPECT_FALSE(ParseCsv("\"a\"b,c", &problem));
  EXPECT_EQ(problem, "line 1: text follows a closing quote");

  test::ScratchHome home;
  const auto file = [&](const std::string& text) {
    std::ofstream(home.path() / "people.csv") << text;
    return home.path() / "people.csv";
  };
  const auto copies = ReadFieldsFile(file("recipient,email\nAnn\nBob,b@x\n"), &problem);
  ASSERT_TRUE(copies) << problem;
  EXPECT_EQ(*copies, (std::vector<FieldValues>{{{"recipient", "Ann"}, {"email", ""}},
                                               {{"recipient", "Bob"}, {"email", "b@x"}}}));
  for (const auto& [text, reason] : std::vector<std::pair<std::string, std::string>>{
           {"a,a\n1,2\n", "the name \"a\" is given twice"},
           {"a,\n1,2\n", "the names row has an empty name or one with a brace"},
           {"a\n1\n1,2\n", "row 3 has 2 values for 1 names"},
           {"a,b\n", "no row of values under the names"}}) {
    EXPECT_FALSE(ReadFieldsFile(file(text), &problem)) << text;
    EXPECT_EQ(problem, (home.path() / "people.csv").string() + ": " + reason);
  }
}

TEST_F(Batch, OneOutputGoesExactlyToTheChosenFile) {
  Recorder recorder;
  const fs::path file = home_.path() / "chosen.pdf";
  ConvertSelectedOrAllfiles({Preset("Draft")}, Documents(1), file, Options(), recorder, cancel_);
  EXPECT_TRUE(fs::is_regular_file(file));
}

TEST_F(Batch, PresetsWithoutALayerAreAskedAboutOnce) {
  Recorder goOn;
  const auto documents = Documents(2);
  auto report =
      ConvertSelectedOrAllfiles({Preset("Draft"), Preset("Empty", false), Preset("Blank", false)},
                                documents, Out(), Options(), goOn, cancel_);
  EXPECT_EQ(goOn.questions, 1);
  EXPECT_EQ(report.OutputsMade(), 6u);

  Recorder stop;
  stop.answer = false;
  const fs::path other = home_.path() / "other";
  fs::create_directories(other);
  report = ConvertSelectedOrAllfiles({Preset("Draft"), Preset("Empty", false), Preset("Paid")},
                                     documents, other, Options(), stop, cancel_);
  EXPECT_EQ(stop.questions, 1);
  EXPECT_TRUE(report.stoppedWithoutWatermark);
  EXPECT_EQ(report.OutputsMade(), 2u);
  EXPECT_FALSE(fs::exists(other / "Empty"));
  EXPECT_FALSE(fs::exists(other / "Paid"));
}

TEST_F(Batch, CancelKeepsFinishedOutputsAndDiscardsTheRest) {
  std::ofstream(Out() / "Doc2.pdf") << "existing";
  Recorder recorder;
  recorder.onProgress = [this](const ProgressState& state) {
    if (state.status == kStatusDocumentStarts && state.fileProcessingIndex == 2) cancel_ = true;
  };
  ConversionOptions options = Options();
  options.preferences.createSeparateFolderForEachFile = false;
  options.preferences.replaceExistFile = true;
  const RunReport report =
      ConvertSelectedOrAllfiles({Preset("Draft")}, Documents(3), Out(), options, recorder, cancel_);
  EXPECT_TRUE(report.cancelled);
  EXPECT_EQ(report.OutputsMade(), 1u);
  EXPECT_TRUE(fs::exists(Out() / "Doc1.pdf"));
  EXPECT_EQ(*ReadWholeFile(Out() / "Doc2.pdf"), "existing");
  EXPECT_FALSE(fs::exists(Out() / "Doc3.pdf"));
  EXPECT_EQ(std::distance(fs::directory_iterator(Out()), {}), 2);  // no temporary file left
}

TEST_F(Batch, ParallelRunsGiveTheSameFilesAsSequentialOnes) {
  const auto documents = Documents(4);
  const fs::path sequential = home_.path() / "one";
  const fs::path parallel = home_.path() / "two";
  fs::create_directories(sequential);
  fs::create_directories(parallel);
  Recorder first, second;
  ConvertSelectedOrAllfiles({Preset("Draft"), Preset("Paid")}, documents, sequential, Options(1),
                            first, cancel_);
  ConvertSelectedOrAllfiles({Preset("Draft"), Preset("Paid")}, documents, parallel, Options(2),
                            second, cancel_);
  for (const char* preset : {"Draft", "Paid"}) {
    for (int i = 1; i <= 4; ++i) {
      const std::string name = "Doc" + std::to_string(i) + ".pdf";
      EXPECT_EQ(*ReadWholeFile(sequential / preset / name),
                *ReadWholeFile(parallel / preset / name))
          << preset << "/" << name;
    }
  }
  ASSERT_EQ(first.progress.size(), second.progress.size());
  for (size_t i = 0; i < first.progress.size(); ++i) {
    EXPECT_EQ(first.progress[i].FileText(), second.progress[i].FileText());
  }
}

TEST_F(Batch, FailuresAreReportedWithTheirReasons) {
  auto documents = Documents(2);
  documents.insert(documents.begin() + 1, {(home_.path() / "gone.pdf").string(), ""});
  Recorder recorder;
  const RunReport report =
      ConvertSelectedOrAllfiles({Preset("Draft")}, documents, Out(), Options(), recorder, cancel_);
  ASSERT_EQ(report.Failures().size(), 1u);
  EXPECT_NE(report.Failures()[0]->outcome.message().find("gone.pdf"), std::string::npos);
  EXPECT_EQ(report.OutputsMade(), 2u);
}

// Answers password questions from a script.
class ScriptedPrompt : public PasswordPrompt {
 public:
  explicit ScriptedPrompt(std::vector<Answer> answers) : answers_(std::move(answers)) {}
  Answer Ask(const std::filesystem::path& file, int attempt) override {
    asked.push_back(file.filename().string() + "#" + std::to_string(attempt));
    if (answers_.empty()) return {Answer::Kind::Skip, {}};
    Answer answer = answers_.front();
    answers_.erase(answers_.begin());
    return answer;
  }
  std::vector<std::string> asked;

 private:
  std::vector<Answer> answers_;
};

using Kind = PasswordPrompt::Answer::Kind;

class List : public Batch {
 protected:
  fs::path Plain(const std::string& name) {
    return test::WriteTestPdf(home_.path() / name, {{}, {}});
  }
  // A copy of a plain PDF protected by user password "user" and owner "owner".
  fs::path Locked(const std::string& name, bool userMayPrint) {
    const fs::path plain = Plain(name + ".plain");
    QPDF pdf;
    pdf.processFile(plain.c_str());
    const fs::path locked = home_.path() / name;
    QPDFWriter writer(pdf, locked.c_str());
    writer.setR6EncryptionParameters("user", "owner", true, true, true, true, true, true,
                                     userMayPrint ? qpdf_r3p_full : qpdf_r3p_none, true);
    writer.write();
    fs::remove(plain);
    return home_.path() / name;
  }
  DocumentList list_;
};

TEST_F(List, FoldersAreSearchedWithAndWithoutRecursion) {
  fs::create_directories(home_.path() / "folder" / "sub");
  fs::create_directories(home_.path() / "folder" / "Viewer.app");
  test::WriteTestPdf(home_.path() / "folder" / "a.PDF", {{}});
  test::WriteTestPdf(home_.path() / "folder" / "noextension", {{}});
  test::WriteTestPdf(home_.path() / "folder" / ".hidden.pdf", {{}});
  test::WriteTestPdf(home_.path() / "folder" / "sub" / "b.pdf", {{}});
  test::WriteTestPdf(home_.path() / "folder" / "Viewer.app" / "c.pdf", {{}});
  std::ofstream(home_.path() / "folder" / "notes.txt") << "words";

  AddReport flat = list_.Add({home_.path() / "folder"}, false, nullptr);
  EXPECT_EQ(flat.added, 2u);
  EXPECT_TRUE(flat.leftOut.empty());  // the text file is passed over silently
  AddReport deep = list_.Add({home_.path() / "folder"}, true, nullptr);
  EXPECT_EQ(deep.added, 1u);  // the two of the flat add are listed already
  EXPECT_EQ(deep.alreadyListed.size(), 2u);
  const auto entries = list_.Snapshot();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].path.filename(), "a.PDF");
  EXPECT_EQ(entries[2].path.filename(), "b.pdf");
  EXPECT_EQ(entries[0].pages, 1);
  EXPECT_EQ(list_.CountLabel(), "Total Files: 3");
}

// A pipe named like a PDF is said to be one, not "no such file", and never read.
TEST_F(List, APipeNamedLikeAPdfIsNotRead) {
  const fs::path pipe = home_.path() / "pipe.pdf";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const AddReport report = list_.Add({pipe}, false, nullptr);
  ASSERT_EQ(report.leftOut.size(), 1u);
  EXPECT_EQ(report.leftOut[0].second, "not a regular file (a pipe or a device)");
  EXPECT_EQ(list_.Count(), 0u);
}

TEST_F(List, SameFileTwiceRemoveAndMoveRows) {
  EXPECT_EQ(list_.CountLabel(), "Total File: 0");
  const fs::path file = Plain("one.pdf");
  // One file is listed once, however it is named.
  AddReport added = list_.Add({file, file}, false, nullptr);
  EXPECT_EQ(list_.CountLabel(), "Total File: 1");
  EXPECT_EQ(added.alreadyListed, std::vector<fs::path>{file});
  EXPECT_TRUE(added.leftOut.empty());
  added = list_.Add({file.parent_path() / "." / file.filename()}, false, nullptr);
  EXPECT_EQ(added.alreadyListed.size(), 1u);
  EXPECT_EQ(list_.CountLabel(), "Total File: 1");
  EXPECT_FALSE(list_.MoveRows({0}, 0));  // the only row cannot be dragged
  list_.Remove({0});
  EXPECT_EQ(list_.CountLabel(), "Total File: 0");
  list_.RemoveAll();

  std::vector<fs::path> files;
  for (int i = 0; i < 5; ++i) files.push_back(Plain("f" + std::to_string(i) + ".pdf"));
  list_.Add(files, false, nullptr);
  EXPECT_TRUE(list_.MoveRows({0, 1}, 4));
  std::vector<std::string> order;
  for (const auto& entry : list_.Snapshot()) order.push_back(entry.path.filename().string());
  EXPECT_EQ(order, (std::vector<std::string>{"f2.pdf", "f3.pdf", "f0.pdf", "f1.pdf", "f4.pdf"}));

  DocumentList closed(false);
  closed.Add({file}, false, nullptr);
  EXPECT_EQ(closed.Snapshot().at(0).pages, 2);
  EXPECT_FALSE(closed.Snapshot().at(0).document);  // released after listing

  const AddReport named = list_.Add({home_.path() / "missing.pdf", home_.path()}, false, nullptr);
  ASSERT_FALSE(named.leftOut.empty());
  EXPECT_EQ(named.leftOut.front().second, "no such file");
}

// A locked document's copy is unprotected unless asked otherwise, and the
// result says so; asked, it keeps the document's own password (removing
// marks the same).
TEST_F(List, CopiesOfLockedFilesSayTheyAreOpenOrKeepTheirPassword) {
  const fs::path locked = Locked("secret.pdf", true);
  const auto opensWithout = [](const fs::path& file) {
    QPDF pdf;
    try {
      pdf.processFile(file.c_str());
      return true;
    } catch (const std::exception&) {
      return false;
    }
  };
  Recorder recorder;
  RunReport report = ConvertSelectedOrAllfiles({Preset("Draft")}, {{locked.string(), "user"}},
                                               Out() / "open.pdf", Options(), recorder, cancel_);
  ASSERT_TRUE(report.results[0].outcome.ok()) << report.results[0].outcome.message();
  ASSERT_FALSE(report.results[0].warnings.empty());
  EXPECT_EQ(report.results[0].warnings[0], "secret.pdf was password-protected; its copy is not");
  EXPECT_TRUE(opensWithout(Out() / "open.pdf"));

  for (const bool removing : {false, true}) {
    ConversionOptions options = Options();
    options.keepInputPassword = true;
    options.removeMarksOnly = removing;
    const fs::path out = Out() / (removing ? "unmarked.pdf" : "kept.pdf");
    report = ConvertSelectedOrAllfiles({Preset("Draft")}, {{locked.string(), "user"}}, out, options,
                                       recorder, cancel_);
    ASSERT_TRUE(report.results[0].outcome.ok()) << report.results[0].outcome.message();
    for (const std::string& warning : report.results[0].warnings) {
      EXPECT_EQ(warning.find("password"), std::string::npos) << warning;
    }
    EXPECT_FALSE(opensWithout(out));
    QPDF opened;
    opened.processFile(out.c_str(), "user");
  }
}

TEST_F(List, LockedFilesAskUntilSkipSkipAllOrCancel) {
  const fs::path first = Locked("first.pdf", true);
  const fs::path second = Locked("second.pdf", true);
  const fs::path third = Locked("third.pdf", true);
  const fs::path plain = Plain("plain.pdf");

  ScriptedPrompt skip({{Kind::Skip, {}},
                       {Kind::Password, "wrong"},
                       {Kind::Password, "user"},
                       {Kind::Password, "owner"}});
  AddReport report = list_.Add({first, second, third}, false, &skip);
  EXPECT_EQ(report.added, 2u);
  EXPECT_EQ(skip.asked, (std::vector<std::string>{"first.pdf#1", "second.pdf#1", "second.pdf#2",
                                                  "third.pdf#1"}));
  EXPECT_EQ(list_.Snapshot()[0].password, "user");

  ScriptedPrompt skipAll({{Kind::SkipAll, {}}});
  report = list_.Add({first, second, third, plain}, false, &skipAll);
  EXPECT_EQ(skipAll.asked.size(), 1u);
  EXPECT_EQ(report.added, 1u);  // only the plain file

  ScriptedPrompt cancel({{Kind::Cancel, {}}});
  report = list_.Add({first, plain, second}, false, &cancel);
  EXPECT_TRUE(report.cancelled);
  EXPECT_EQ(report.added, 0u);

  ScriptedPrompt again({{Kind::Password, "owner"}});
  EXPECT_EQ(list_.Add({first}, false, &again).added, 1u);  // a new add asks again
}

TEST_F(List, APasswordThatForbidsPrintingIsNotEnough) {
  const fs::path noPrint = Locked("noprint.pdf", false);
  ScriptedPrompt prompt({{Kind::Password, "user"}, {Kind::Password, "owner"}});
  EXPECT_EQ(list_.Add({noPrint}, false, &prompt).added, 1u);
  EXPECT_EQ(prompt.asked.size(), 2u);
  EXPECT_EQ(list_.Snapshot().back().password, "owner");
  EXPECT_TRUE(IsPdfFile(noPrint));
  list_.RemoveAll();
  EXPECT_FALSE(list_.Add({noPrint}, false, nullptr).leftOut.empty());  // never waits unasked
}

}  // namespace
}  // namespace quillsheet
