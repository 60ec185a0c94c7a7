#include "output/QualityFilter.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "common/AppPaths.h"
#include "common/PropertyList.h"

extern char** environ;

namespace quillsheet {
namespace {

constexpr const char* kGhostscript = "gs";

std::optional<QualityFilter> ReadFilter(const std::string& name) {
  const auto read = ReadPropertyListFile(ResourceFolder() / "filters" / (name + ".qfilter"));
  const Dictionary* entries = read.value ? read.value->DictionaryValue() : nullptr;
  if (!entries) return std::nullopt;
  QualityFilter filter;
  filter.name = name;
  const auto image = IntegerFor(*entries, "ImageResolution");
  const auto mono = IntegerFor(*entries, "MonoImageResolution");
  if (!image || !mono || *image < 1 || *mono < 1 || *image > 4800 || *mono > 4800) {
    return std::nullopt;
  }
  filter.imageResolution = static_cast<int>(*image);
  filter.monoImageResolution = static_cast<int>(*mono);
  return filter;
}

std::vector<std::string> GhostscriptArguments(const QualityFilter& filter,
                                              const DocumentEntry& source,
                                              const std::filesystem::path& output) {
  const std::string image = std::to_string(filter.imageResolution);
  const std::string mono = std::to_string(filter.monoImageResolution);
  std::vector<std::string> arguments = {
      kGhostscript,
      "-q",
      "-dSAFER",
      "-dBATCH",
      "-dNOPAUSE",
      "-dAutoRotatePages=/None",
      "-sDEVICE=pdfwrite",
      "-dDownsampleColorImages=true",
      "-dColorImageDownsampleType=/Bicubic",
      "-dColorImageResolution=" + image,
      "-dColorImageDownsampleThreshold=1.0",
      "-dDownsampleGrayImages=true",
      "-dGrayImageDownsampleType=/Bicubic",
      "-dGrayImageResolution=" + image,
      "-dGrayImageDownsampleThreshold=1.0",
      "-dDownsampleMonoImages=true",
      "-dMonoImageResolution=" + mono,
      "-dAutoFilterColorImages=false",
      "-dColorImageFilter=/DCTEncode",
      "-dAutoFilterGrayImages=false",
      "-dGrayImageFilter=/DCTEncode",
      "-sOutputFile=" + std::filesystem::absolute(output).string()};
  if (!source.password.empty()) arguments.push_back("-sPDFPassword=" + source.password);
  arguments.push_back("-f");
  arguments.push_back(std::filesystem::absolute(source.path).string());
  return arguments;
}

// Runs a program found on PATH; no shell is involved. The exit status, or no
// value when it could not start or was cancelled (and killed).
std::optional<int> RunChild(const std::vector<std::string>& arguments, const CancelFlag* cancel,
                            bool& cancelled) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return std::nullopt;
  cancelled = false;
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0 && errno != EINTR) return std::nullopt;
    if (IsCancelled(cancel)) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      cancelled = true;
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace

std::optional<QualityFilter> QualityFilterForTag(int filterTag) {
  switch (filterTag) {
    case 1:
      return ReadFilter("High");
    case 2:
      return ReadFilter("Medium");
    case 3:
      return ReadFilter("Low");
    default:
      return std::nullopt;
  }
}

std::optional<std::string> QualityFilterProblem(int filterTag) {
  if (filterTag == 0 || (QualityFilterForTag(filterTag) && QualityFilterAvailable())) {
    return std::nullopt;
  }
  return "the quality filter is not available (is Ghostscript installed?); converted without it";
}

bool QualityFilterAvailable() {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    const size_t end = std::min(folders.find(':', start), folders.size());
    const auto candidate = std::filesystem::path(folders.substr(start, end - start)) / kGhostscript;
    if (::access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

Result ApplyQualityFilter(const QualityFilter& filter, const DocumentEntry& source,
                          const std::filesystem::path& output, const CancelFlag* cancel) {
  bool cancelled = false;
  const auto status = RunChild(GhostscriptArguments(filter, source, output), cancel, cancelled);
  if (cancelled) return Result::Cancelled();
  if (!status) return Result::Failed("the quality filter program (gs) could not be run");
  if (*status != 0) return Result::Failed("the quality filter could not read " + source.path);
  return Result::Ok();
}

}  // namespace quillsheet
