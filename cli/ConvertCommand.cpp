#include "cli/ConvertCommand.h"

#include <csignal>
#include <iostream>
#include <map>

#include "cli/Arguments.h"
#include "cli/PresetSource.h"
#include "common/AtomicFile.h"
#include "output/PageSelection.h"
#include "output/SavePipeline.h"

namespace quillsheet::cli {
namespace {

constexpr int kExitInterrupted = 130;

CancelFlag interrupted{false};
static_assert(CancelFlag::is_always_lock_free);

extern "C" void OnInterrupt(int) { interrupted.store(true); }

// The page selection: a selection tag, with the range text for tag 6.
bool ReadPages(const std::string& pages, SaveRequest& request) {
  static const std::map<std::string, int> kTags = {{"all", kAllPages},
                                                   {"even", kEvenPages},
                                                   {"odd", kOddPages},
                                                   {"portrait", kPortraitPages},
                                                   {"landscape", kLandscapePages},
                                                   {"first", kFirstPage},
                                                   {"last", kLastPage},
                                                   {"first-last", kFirstAndLastPage}};
  if (const auto tag = kTags.find(pages); tag != kTags.end()) {
    request.selectionTag = tag->second;
    return true;
  }
  if (pages.empty() || pages.find_first_not_of("0123456789,-") != std::string::npos) return false;
  request.selectionTag = kPageRange;
  request.rangeString = pages;
  return true;
}

bool ReadQuality(const std::string& quality, int& tag) {
  static const std::map<std::string, int> kTags = {
      {"keep", 0}, {"high", 1}, {"medium", 2}, {"low", 3}};
  const auto found = kTags.find(quality);
  if (found == kTags.end()) return false;
  tag = found->second;
  return true;
}

// The first line of the password file.
std::optional<std::string> ReadPasswordFile(const std::string& path, std::string& error) {
  const auto bytes = ReadWholeFile(path);
  if (!bytes) {
    error = "cannot read the password file " + path;
    return std::nullopt;
  }
  std::string password = bytes->substr(0, bytes->find_first_of("\r\n"));
  if (password.empty()) {
    error = "the password file " + path + " holds no password on its first line";
    return std::nullopt;
  }
  return password;
}

int Convert(const Arguments& arguments) {
  SaveRequest request;
  request.source.path = arguments.positional.front();
  request.destination = *arguments.Option("o");
  request.source.password = arguments.Option("input-password").value_or("");
  if (!ReadPages(arguments.Option("pages").value_or("all"), request)) {
    return FailUsage(
        "--pages is all, even, odd, portrait, landscape, first, last, first-last "
        "or a page range such as 1-3,7",
        kConvertUsage);
  }
  int qualityTag = 0;
  if (!ReadQuality(arguments.Option("quality").value_or("keep"), qualityTag)) {
    return FailUsage("--quality is keep, high, medium or low", kConvertUsage);
  }
  const auto presetFile = arguments.Option("preset-file");
  if (arguments.Option("name") && !presetFile) {
    return FailUsage("--name needs --preset-file", kConvertUsage);
  }

  std::string error;
  std::optional<Dictionary> preset;
  if (presetFile) {
    preset = ReadPreset(*presetFile, arguments.Option("name"), error);
    if (!preset) return Fail(error);
  }
  if (const auto passwordFile = arguments.Option("encrypt-password-file")) {
    const auto password = ReadPasswordFile(*passwordFile, error);
    if (!password) return Fail(error);
    request.encryption = EncryptionOptions{*password};
  }
  if (qualityTag != 0) {
    request.filter = QualityFilterForTag(qualityTag);
    if (!request.filter || !QualityFilterAvailable()) {
      std::cerr << "quillsheet-cli: the quality filter is not available (is Ghostscript "
                   "installed?); writing without it\n";
      request.filter.reset();
    }
  }
  request.settings = GetPresetSettingsFrom(preset ? &*preset : nullptr);
  request.settings.viewScale = 1.0f;
  request.settings.showMarker = false;

  std::signal(SIGINT, OnInterrupt);
  const WriteOutcome outcome = SaveAsPDFFileOfSelectedDict(request, &interrupted);
  std::signal(SIGINT, SIG_DFL);
  if (outcome.status == WriteOutcome::Status::Cancelled) {
    std::cerr << "quillsheet-cli: interrupted; " << request.destination.string()
              << " was not written\n";
    return kExitInterrupted;
  }
  return outcome.ok() ? kExitOk : Fail(outcome.message);
}

}  // namespace

int RunConvertCommand(const std::vector<std::string>& words) {
  std::string error;
  const auto arguments = ParseArguments(
      words,
      {"o", "preset-file", "name", "pages", "quality", "encrypt-password-file", "input-password"},
      error);
  if (!arguments) return FailUsage(error, kConvertUsage);
  if (arguments->positional.size() != 1) {
    return FailUsage("convert needs exactly one input file", kConvertUsage);
  }
  if (!arguments->flags.empty()) {
    return FailUsage("unknown option " + *arguments->flags.begin(), kConvertUsage);
  }
  if (!arguments->Option("o")) return FailUsage("convert needs -o OUTPUT.pdf", kConvertUsage);
  return Convert(*arguments);
}

}  // namespace quillsheet::cli
