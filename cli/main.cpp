// quillsheet-cli: the headless side of Quillsheet.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/ConvertCommand.h"
#include "cli/PresetsCommand.h"
#include "cli/RenderCommand.h"
#include "common/AppPaths.h"

namespace {

int Run(const std::string& command, const std::vector<std::string>& rest,
        const std::string& usage) {
  using namespace quillsheet::cli;
  if (command == "presets") return RunPresetsCommand(rest);
  if (command == "render") return RunRenderCommand(rest);
  if (command == "convert") return RunConvertCommand(rest);
  if (command == "unmark") return RunUnmarkCommand(rest);
  return FailUsage("unknown command " + command, usage.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quillsheet::cli;
  const std::vector<std::string> words(argv + 1, argv + argc);
  const std::string usage =
      std::string(kPresetsUsage) + kRenderUsage + kConvertUsage + kUnmarkUsage;
  if (words.empty() || words.front() == "--help" || words.front() == "-h" ||
      words.front() == "help") {
    if (words.size() == 2) return Run(words[1], {"--help"}, usage);
    (words.empty() ? std::cerr : std::cout) << usage;
    return words.empty() ? kExitUsage : kExitOk;
  }
  if (words.front() == "--version") {
    std::cout << "quillsheet-cli " << QUILLSHEET_VERSION << "\n";
    return kExitOk;
  }
  if (const auto resources = quillsheet::CheckResourceFolder(); !resources.ok()) {
    return Fail(resources.message());
  }
  return Run(words.front(), {words.begin() + 1, words.end()}, usage);
}
