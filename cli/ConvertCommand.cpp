#include "cli/ConvertCommand.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <csignal>
#include <iomanip>
#include <iostream>
#include <map>
#include <thread>

#include "cli/Arguments.h"
#include "cli/PresetSource.h"
#include "common/AtomicFile.h"
#include "editor/PresetLibrary.h"
#include "output/ConversionDriver.h"
#include "output/DocumentList.h"
#include "output/PageSelection.h"

namespace quillsheet::cli {
namespace {

constexpr int kExitInterrupted = 130;

CancelFlag interrupted{false};
static_assert(CancelFlag::is_always_lock_free);

extern "C" void OnInterrupt(int) { interrupted.store(true); }

int Usage(const std::string& message) { return FailUsage(message, kConvertUsage); }

// The page selection: a selection tag, with the range text for tag 6.
bool ReadPages(const std::string& pages, GeneralPreferences& preferences) {
  static const std::map<std::string, int> kTags = {{"all", kAllPages},
                                                   {"even", kEvenPages},
                                                   {"odd", kOddPages},
                                                   {"portrait", kPortraitPages},
                                                   {"landscape", kLandscapePages},
                                                   {"first", kFirstPage},
                                                   {"last", kLastPage},
                                                   {"first-last", kFirstAndLastPage}};
  if (const auto tag = kTags.find(pages); tag != kTags.end()) {
    preferences.pageRangeOptionTag = tag->second;
    return true;
  }
  if (pages.empty() || pages.find_first_not_of("0123456789,-") != std::string::npos) return false;
  preferences.pageRangeOptionTag = kPageRange;
  preferences.pageRangeString = pages;
  return true;
}

template <typename Value>
bool Lookup(const std::map<std::string, Value>& table, const std::string& key, Value& value) {
  const auto found = table.find(key);
  if (found == table.end()) return false;
  value = found->second;
  return true;
}

// The user's preferences, with this run's flags over them (never written back).
std::optional<std::string> ReadOptions(const Arguments& arguments, ConversionOptions& options) {
  GeneralPreferences& preferences = options.preferences;
  const auto stored = ReadGeneralPrefOptions();
  preferences = stored ? ApplyPreferenceDictionary(*stored) : GeneralPreferences{};
  if (const auto pages = arguments.Option("pages"); pages && !ReadPages(*pages, preferences)) {
    return "--pages is all, even, odd, portrait, landscape, first, last, first-last or a range "
           "such as 1-3,7";
  }
  static const std::map<std::string, int> kQuality = {
      {"keep", 0}, {"high", 1}, {"medium", 2}, {"low", 3}};
  if (const auto quality = arguments.Option("quality");
      quality && !Lookup(kQuality, *quality, preferences.filterTag)) {
    return "--quality is keep, high, medium or low";
  }
  static const std::map<std::string, LabelPosition> kPositions = {
      {"before", LabelPosition::BeforeFileName},
      {"after", LabelPosition::AfterFileName},
      {"none", LabelPosition::None}};
  if (const auto position = arguments.Option("name-position");
      position && !Lookup(kPositions, *position, preferences.addLabelPosition)) {
    return "--name-position is before, after or none";
  }
  if (const auto separator = arguments.Option("separator")) {
    preferences.separatorString = *separator;
    preferences.addSeparator = true;
  }
  if (arguments.flags.count("no-separator")) preferences.addSeparator = false;
  if (arguments.flags.count("replace")) preferences.replaceExistFile = true;
  if (arguments.flags.count("folder-per-preset"))
    preferences.createSeparateFolderForEachFile = true;
  if (arguments.flags.count("no-folder-per-preset")) {
    preferences.createSeparateFolderForEachFile = false;
  }
  options.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  if (const auto jobs = arguments.Option("jobs")) {
    const auto end = jobs->data() + jobs->size();
    const auto result = std::from_chars(jobs->data(), end, options.jobs);
    if (result.ec != std::errc() || result.ptr != end || options.jobs < 1 || options.jobs > 64) {
      return "--jobs needs a number from 1 to 64";
    }
  }
  return std::nullopt;
}

// The presets of the run, in the order given: library presets by name and
// presets from files; with none given, the library's stored selection.
std::optional<std::vector<PresetChoice>> ReadPresets(const Arguments& arguments,
                                                     std::string& error) {
  PresetLibrary library;
  bool libraryLoaded = false;
  std::vector<PresetChoice> presets;
  const auto& ordered = arguments.ordered;
  for (size_t i = 0; i < ordered.size(); ++i) {
    const auto& [option, value] = ordered[i];
    if (option == "preset") {
      if (!libraryLoaded) library.Load(), libraryLoaded = true;
      const auto& names = library.waterMarkPresetData();
      const auto row = std::find(names.begin(), names.end(), value);
      if (row == names.end()) {
        error = "no preset named \"" + value + "\" in your library";
        return std::nullopt;
      }
      presets.push_back({value, library.GetPresetSettingsForIndex(row - names.begin())});
    } else if (option == "preset-file") {
      std::optional<std::string> name;
      if (i + 1 < ordered.size() && ordered[i + 1].first == "name") name = ordered[++i].second;
      const auto preset = ReadPreset(value, name, error);
      if (!preset) return std::nullopt;
      presets.push_back({name.value_or(std::filesystem::path(value).stem().string()),
                         GetPresetSettingsFrom(&*preset)});
    } else if (option == "name") {
      error = "--name goes right after a --preset-file";
      return std::nullopt;
    }
  }
  if (presets.empty()) {
    library.Load();
    if (library.waterMarkPresetData().empty()) {
      error = "your preset library is empty; name a preset file with --preset-file";
      return std::nullopt;
    }
    const auto row = std::max<std::int64_t>(0, library.selectedRow());
    presets.push_back({library.waterMarkPresetData()[static_cast<size_t>(row)],
                       library.GetPresetSettingsForIndex(row)});
  }
  return presets;
}

// Tries the passwords of the command line in order, then, on a terminal,
// asks; an empty answer skips the file. Without a terminal it never waits.
class CommandLinePasswords : public PasswordPrompt {
 public:
  explicit CommandLinePasswords(std::vector<std::string> passwords)
      : passwords_(std::move(passwords)) {}

  Answer Ask(const std::string& fileName) override {
    if (fileName != current_) {
      current_ = fileName;
      tried_ = 0;
    }
    if (tried_ < passwords_.size()) return {Answer::Kind::Password, passwords_[tried_++]};
    if (!isatty(STDIN_FILENO) || !isatty(STDERR_FILENO) || interrupted.load()) {
      return {Answer::Kind::Skip, {}};
    }
    const std::string typed = ReadHidden("Password for " + fileName + " (Enter skips): ");
    return typed.empty() ? Answer{Answer::Kind::Skip, {}} : Answer{Answer::Kind::Password, typed};
  }

 private:
  static std::string ReadHidden(const std::string& question) {
    std::cerr << question << std::flush;
    const char* line = getpass("");
    return line ? line : "";
  }

  std::vector<std::string> passwords_;
  std::string current_;
  size_t tried_ = 0;
};

// Progress on the terminal: a bar redrawn in place on a terminal, one line
// per document otherwise.
class TerminalReport : public ConversionObserver {
 public:
  explicit TerminalReport(bool allowWithoutWatermark)
      : allowWithoutWatermark_(allowWithoutWatermark), terminal_(isatty(STDERR_FILENO)) {}

  void Progress(const ProgressState& state) override {
    if (state.status != kStatusDocumentStarts) return;
    if (!terminal_) {
      std::cerr << state.PresetText() << " | " << state.FileText() << "\n";
      return;
    }
    constexpr int kWidth = 24;
    const auto filled =
        static_cast<int>(kWidth * state.value / std::max<std::uint64_t>(1, state.maximum));
    std::cerr << "\r\033[K[" << std::string(filled, '#') << std::string(kWidth - filled, '.')
              << "] " << state.PresetText() << " | " << state.FileText() << std::flush;
  }

  bool ContinueWithoutWatermark(const std::string& presetName) override {
    if (!allowWithoutWatermark_) {
      std::cerr << (terminal_ ? "\n" : "") << "quillsheet-cli: the preset \"" << presetName
                << "\" has no watermark layer switched on; stopping (use --allow-no-watermark "
                   "to convert anyway)\n";
    }
    return allowWithoutWatermark_;
  }

  void Finished(const RunReport& report) override {
    if (terminal_) std::cerr << "\r\033[K";
    const auto failures = report.Failures();
    std::cerr << report.OutputsMade() << " output(s) made, " << failures.size() << " failed";
    const auto seconds = std::chrono::duration<double>(report.elapsed).count();
    std::cerr << ", in " << std::fixed << std::setprecision(1) << seconds << " s\n";
    if (report.cancelled) std::cerr << "interrupted: the document in progress was discarded\n";
    for (const OutputResult* failure : failures) {
      std::cerr << "  failed: " << failure->source << " with \"" << failure->preset
                << "\": " << failure->outcome.message << "\n";
    }
  }

 private:
  bool allowWithoutWatermark_;
  bool terminal_;
};

std::vector<std::filesystem::path> Inputs(const Arguments& arguments) {
  return {arguments.positional.begin(), arguments.positional.end()};
}

int Convert(const Arguments& arguments) {
  ConversionOptions options;
  if (const auto problem = ReadOptions(arguments, options)) return Usage(*problem);
  std::string error;
  const auto presets = ReadPresets(arguments, error);
  if (!presets) return Fail(error);
  if (const auto passwordFile = arguments.Option("encrypt-password-file")) {
    const auto bytes = ReadWholeFile(*passwordFile);
    if (!bytes) return Fail("cannot read the password file " + *passwordFile);
    const std::string password = bytes->substr(0, bytes->find_first_of("\r\n"));
    if (const auto problem = EncryptionRequestProblem(true, password, password)) {
      return Fail(*problem + " (first line of " + *passwordFile + "); nothing was converted");
    }
    options.encryption = EncryptionOptions{password};
  }
  if (options.preferences.filterTag != 0 &&
      (!QualityFilterForTag(options.preferences.filterTag) || !QualityFilterAvailable())) {
    std::cerr << "quillsheet-cli: the quality filter is not available (is Ghostscript "
                 "installed?); converting without it\n";
  }

  std::signal(SIGINT, OnInterrupt);
  DocumentList documents(false);
  CommandLinePasswords passwords(arguments.Values("input-password"));
  const AddReport added =
      documents.Add(Inputs(arguments), arguments.flags.count("recursive") > 0, &passwords);
  for (const auto& [path, reason] : added.leftOut) {
    std::cerr << "quillsheet-cli: " << path.string() << ": " << reason << "\n";
  }
  std::vector<DocumentEntry> entries;
  for (const ListedDocument& listed : documents.Snapshot()) entries.push_back(listed.Entry());

  if (entries.empty()) return Fail("no document to convert");
  const std::filesystem::path destination = *arguments.Option("o");
  std::error_code ignored;
  if (!DestinationIsFile(presets->size(), entries.size()) &&
      !std::filesystem::is_directory(destination, ignored) &&
      !std::filesystem::create_directories(destination, ignored)) {
    return Fail("cannot create the destination folder " + destination.string());
  }
  TerminalReport report(arguments.flags.count("allow-no-watermark") > 0);
  const RunReport run =
      ConvertSelectedOrAllfiles(*presets, entries, destination, options, report, interrupted);
  std::signal(SIGINT, SIG_DFL);
  if (interrupted.load()) return kExitInterrupted;
  const bool allConverted = added.leftOut.empty() && run.Failures().empty() &&
                            !run.stoppedWithoutWatermark && !entries.empty();
  return allConverted ? kExitOk : kExitFailure;
}

}  // namespace

int RunConvertCommand(const std::vector<std::string>& words) {
  std::string error;
  const auto arguments = ParseArguments(
      words,
      {"o", "preset", "preset-file", "name", "pages", "quality", "encrypt-password-file",
       "input-password", "name-position", "separator", "jobs"},
      error);
  if (!arguments) return Usage(error);
  static const std::set<std::string> kFlags = {
      "recursive",         "no-separator",         "replace",
      "folder-per-preset", "no-folder-per-preset", "allow-no-watermark"};
  for (const std::string& flag : arguments->flags) {
    if (!kFlags.count(flag)) return Usage("unknown option --" + flag);
  }
  if (arguments->positional.empty()) return Usage("convert needs at least one input");
  if (!arguments->Option("o")) return Usage("convert needs -o DEST");
  return Convert(*arguments);
}

}  // namespace quillsheet::cli
