// quillsheet-cli: the headless side of Quillsheet.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/ConvertCommand.h"
#include "cli/PresetsCommand.h"
#include "cli/RenderCommand.h"

int main(int argc, char** argv) {
  using namespace quillsheet::cli;
  const std::vector<std::string> words(argv + 1, argv + argc);
  const std::string usage = std::string(kPresetsUsage) + kRenderUsage + kConvertUsage;
  if (words.empty() || words.front() == "--help" || words.front() == "-h") {
    (words.empty() ? std::cerr : std::cout) << usage;
    return words.empty() ? kExitUsage : kExitOk;
  }
  const std::vector<std::string> rest(words.begin() + 1, words.end());
  if (words.front() == "presets") return RunPresetsCommand(rest);
  if (words.front() == "render") return RunRenderCommand(rest);
  if (words.front() == "convert") return RunConvertCommand(rest);
  return FailUsage("unknown command " + words.front(), usage.c_str());
}
