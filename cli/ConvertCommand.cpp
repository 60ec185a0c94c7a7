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
#include "output/Destination.h"
#include "output/DocumentList.h"
#include "output/PageSelection.h"
#include "output/SavePipeline.h"

namespace quillsheet::cli {
namespace {

CancelFlag interrupted{false};
volatile std::sig_atomic_t interruptingSignal = 0;
static_assert(CancelFlag::is_always_lock_free);

extern "C" void OnInterrupt(int signal) {
  interruptingSignal = signal;
  interrupted.store(true);
}

// Ctrl-C, SIGTERM and SIGHUP cancel the run (temporary files are removed and
// the summary printed); a closed output pipe does not stop the conversion.
class SignalHandling {
 public:
  SignalHandling() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, OnInterrupt);
    std::signal(SIGPIPE, SIG_IGN);
  }
  ~SignalHandling() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, SIG_DFL);
  }
  // 128 + the signal, as a shell reports a program ended by it.
  static int ExitStatus() { return 128 + static_cast<int>(interruptingSignal); }
};

// The page selection: a selection tag, with the range text for tag 6.
bool ReadPages(const std::string& pages, GeneralPreferences& preferences) {
  if (const auto tag = SelectionTagNamed(pages)) {
    preferences.pageRangeOptionTag = *tag;
    return true;
  }
  if (PageRangeProblem(pages)) return false;
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
  std::string problem;
  const auto stored = ReadGeneralPrefOptions(&problem);
  if (!problem.empty()) std::cerr << "quillsheet-cli: " << problem << "\n";
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
  options.keepMarks = arguments.flags.count("keep-marks") > 0;
  options.nameTemplate = arguments.Option("name-template");
  if (arguments.flags.count("folder-per-preset"))
    preferences.createSeparateFolderForEachFile = true;
  if (arguments.flags.count("no-folder-per-preset")) {
    preferences.createSeparateFolderForEachFile = false;
  }
  for (const std::string& field : arguments.Values("field")) {
    const size_t equals = field.find('=');
    if (equals == 0 || equals == std::string::npos) return "--field takes NAME=VALUE";
    options.fields.insert_or_assign(field.substr(0, equals), field.substr(equals + 1));
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
      if (!libraryLoaded) LoadLibrary(library), libraryLoaded = true;
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
    LoadLibrary(library);
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

  Answer Ask(const std::filesystem::path& file, int attempt) override {
    const auto tried = static_cast<size_t>(attempt - 1);
    if (tried < passwords_.size()) return {Answer::Kind::Password, passwords_[tried]};
    if (!isatty(STDIN_FILENO) || !isatty(STDERR_FILENO) || interrupted.load()) {
      return {Answer::Kind::Skip, {}};
    }
    const std::string typed = ReadHidden("Password for " + file.string() + " (Enter skips): ");
    return typed.empty() ? Answer{Answer::Kind::Skip, {}} : Answer{Answer::Kind::Password, typed};
  }

 private:
  static std::string ReadHidden(const std::string& question) {
    std::cerr << question << std::flush;
    const char* line = getpass("");
    return line ? line : "";
  }

  std::vector<std::string> passwords_;
};

// Progress on the terminal: a bar redrawn in place on a terminal, one line
// per document otherwise.
class TerminalReport : public ConversionObserver {
 public:
  explicit TerminalReport(bool allowWithoutWatermark)
      : allowWithoutWatermark_(allowWithoutWatermark), terminal_(isatty(STDERR_FILENO)) {}

  void Progress(const ProgressState& state) override {
    if (state.status != kStatusDocumentStarts) return;
    const std::string line =
        state.HasPreset() ? state.PresetText() + " | " + state.FileText() : state.FileText();
    if (!terminal_) {
      std::cerr << line << "\n";
      return;
    }
    constexpr int kWidth = 24;
    const auto filled =
        static_cast<int>(kWidth * state.value / std::max<std::uint64_t>(1, state.maximum));
    std::cerr << "\r\033[K[" << std::string(filled, '#') << std::string(kWidth - filled, '.')
              << "] " << line << std::flush;
  }

  bool ContinueWithoutWatermark(const std::string& presetName) override {
    if (!allowWithoutWatermark_) {
      std::cerr << (terminal_ ? "\n" : "") << "quillsheet-cli: the preset \"" << presetName
                << "\" has no watermark layer switched on; stopping (use --allow-no-watermark "
                   "to convert anyway)\n";
    }
    return allowWithoutWatermark_;
  }

  // Inputs that could not be listed count as failed too.
  void Finished(const RunReport& report) override {
    if (terminal_) std::cerr << "\r\033[K";
    if (!report.refused.empty()) std::cerr << "quillsheet-cli: " << report.refused << "\n";
    const auto failures = report.Failures();
    std::cerr << report.OutputsMade() << " output(s) made, " << failures.size() + leftOut_.size()
              << " failed";
    if (const size_t warnings = report.WarningCount())
      std::cerr << ", " << warnings << " warning(s)";
    const auto seconds = std::chrono::duration<double>(report.elapsed).count();
    std::cerr << ", in " << std::fixed << std::setprecision(1) << seconds << " s\n";
    if (report.cancelled) std::cerr << "interrupted: the document in progress was discarded\n";
    for (const auto& [path, reason] : leftOut_) {
      std::cerr << "  failed: " << path.string() << ": " << reason << "\n";
    }
    for (const OutputResult* failure : failures) {
      const bool removal = failure->preset == kMarkRemovalName;
      std::cerr << "  failed: " << failure->source
                << (removal ? "" : " with \"" + failure->preset + "\"") << ": "
                << failure->outcome.message() << "\n";
    }
    for (const OutputResult& result : report.results) {
      for (const std::string& warning : result.warnings) {
        std::cerr << "  warning: " << result.output.string() << ": " << warning << "\n";
      }
    }
  }

  void SetLeftOut(std::vector<std::pair<std::filesystem::path, std::string>> leftOut) {
    leftOut_ = std::move(leftOut);
  }

 private:
  std::vector<std::pair<std::filesystem::path, std::string>> leftOut_;
  bool allowWithoutWatermark_;
  bool terminal_;
};

std::vector<std::filesystem::path> Inputs(const Arguments& arguments) {
  return {arguments.positional.begin(), arguments.positional.end()};
}

std::optional<EncryptionOptions> ReadEncryption(const std::string& passwordFile,
                                                std::string& error) {
  std::string why;
  const auto bytes = ReadWholeFile(passwordFile, &why, 1 << 16);
  if (!bytes) {
    error = "cannot read the password file: " + why;
    return std::nullopt;
  }
  const std::string password = bytes->substr(0, bytes->find_first_of("\r\n"));
  if (const auto problem = EncryptionRequestProblem(true, password, password)) {
    error = *problem + " (first line of " + passwordFile + "); nothing was converted";
    return std::nullopt;
  }
  return EncryptionOptions{password};
}

// Converts, or with removeMarksOnly only removes earlier marks.
int Convert(const Arguments& arguments, bool removeMarksOnly) {
  ConversionOptions options;
  options.removeMarksOnly = removeMarksOnly;
  if (const auto problem = ReadOptions(arguments, options)) {
    return FailUsage(*problem, removeMarksOnly ? kUnmarkUsage : kConvertUsage);
  }
  std::string error;
  const auto presets =
      removeMarksOnly ? std::vector<PresetChoice>{} : ReadPresets(arguments, error);
  if (!presets) return Fail(error);
  if (const auto fieldsFile = arguments.Option("fields-file")) {
    auto copies = ReadFieldsFile(*fieldsFile, &error);
    if (!copies) return Fail(error + "; nothing was converted");
    options.copies = std::move(*copies);
  }
  options.keepInputPassword = arguments.flags.count("keep-input-password") > 0;
  if (const auto passwordFile = arguments.Option("encrypt-password-file")) {
    options.encryption = ReadEncryption(*passwordFile, error);
    if (!options.encryption) return Fail(error);
  }
  if (const auto problem = QualityFilterProblem(options.preferences.filterTag)) {
    std::cerr << "quillsheet-cli: " << *problem << "\n";
  }
  const std::string destinationText = *arguments.Option("o");
  const std::filesystem::path destination = destinationText;
  std::error_code ignored;
  options.toFolder = DestinationIsFolder(
      destinationText, removeMarksOnly ? 1 : presets->size(), arguments.positional.size(),
      !arguments.positional.empty() &&
          std::filesystem::is_directory(arguments.positional.front(), ignored),
      std::max<size_t>(1, options.copies.size()));
  if (const auto problem = DestinationProblem(destination, *options.toFolder,
                                              options.preferences.replaceExistFile)) {
    return Fail(*problem + "; add --replace to replace it; nothing was converted");
  }

  const SignalHandling interruptions;
  DocumentList documents(false);
  CommandLinePasswords passwords(arguments.Values("input-password"));
  const AddReport added = documents.Add(Inputs(arguments), arguments.flags.count("recursive") > 0,
                                        &passwords, &interrupted);
  if (interrupted.load()) {
    std::cerr << "quillsheet-cli: interrupted while listing the inputs; nothing was converted\n";
    return SignalHandling::ExitStatus();
  }
  std::vector<DocumentEntry> entries;
  for (const ListedDocument& listed : documents.Snapshot()) entries.push_back(listed.Entry());

  if (!entries.empty()) {
    if (const auto problem = PrepareDestination(destination, *options.toFolder)) {
      return Fail(*problem + "; nothing was converted");
    }
  }
  TerminalReport report(arguments.flags.count("allow-no-watermark") > 0);
  report.SetLeftOut(added.leftOut);
  const RunReport run =
      ConvertSelectedOrAllfiles(*presets, entries, destination, options, report, interrupted);
  if (interrupted.load()) return SignalHandling::ExitStatus();
  const bool allConverted = added.leftOut.empty() && run.Failures().empty() &&
                            run.refused.empty() && !run.stoppedWithoutWatermark && !entries.empty();
  return allConverted ? kExitOk : kExitFailure;
}

// Parses and checks a command's words; the exit status when it cannot run.
std::optional<Arguments> CommandArguments(const std::vector<std::string>& words,
                                          const std::string& command,
                                          const std::set<std::string>& options,
                                          const std::set<std::string>& flags, const char* usage,
                                          int& status) {
  std::string error;
  auto arguments = ParseArguments(words, options, error);
  status = kExitOk;
  if (!arguments) {
    status = FailUsage(error, usage);
  } else if (AskedForHelp(*arguments, usage)) {
    return std::nullopt;
  } else if (const auto unknown =
                 std::find_if(arguments->flags.begin(), arguments->flags.end(),
                              [&](const auto& flag) { return !flags.count(flag); });
             unknown != arguments->flags.end()) {
    status = FailUsage("unknown option --" + *unknown, usage);
  } else if (arguments->positional.empty()) {
    status = FailUsage(command + " needs at least one input", usage);
  } else if (!arguments->Option("o")) {
    status = FailUsage(command + " needs -o DEST", usage);
  } else {
    return arguments;
  }
  return std::nullopt;
}

}  // namespace

int RunConvertCommand(const std::vector<std::string>& words) {
  int status = kExitOk;
  const auto arguments = CommandArguments(
      words, "convert",
      {"o", "preset", "preset-file", "name", "pages", "quality", "encrypt-password-file",
       "input-password", "name-position", "separator", "jobs", "field", "fields-file",
       "name-template"},
      {"recursive", "no-separator", "replace", "folder-per-preset", "no-folder-per-preset",
       "allow-no-watermark", "keep-marks", "keep-input-password"},
      kConvertUsage, status);
  return arguments ? Convert(*arguments, false) : status;
}

int RunUnmarkCommand(const std::vector<std::string>& words) {
  int status = kExitOk;
  const auto arguments =
      CommandArguments(words, "unmark", {"o", "encrypt-password-file", "input-password", "jobs"},
                       {"recursive", "replace", "keep-input-password"}, kUnmarkUsage, status);
  return arguments ? Convert(*arguments, true) : status;
}

}  // namespace quillsheet::cli
