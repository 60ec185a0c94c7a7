// quillsheet-cli: the headless side of Quillsheet.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/PresetsCommand.h"

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty() || words.front() == "--help" || words.front() == "-h") {
    (words.empty() ? std::cerr : std::cout) << quillsheet::cli::kPresetsUsage;
    return words.empty() ? quillsheet::cli::kExitUsage : quillsheet::cli::kExitOk;
  }
  const std::vector<std::string> rest(words.begin() + 1, words.end());
  if (words.front() == "presets") return quillsheet::cli::RunPresetsCommand(rest);
  std::cerr << "quillsheet-cli: unknown command " << words.front() << "\n"
            << quillsheet::cli::kPresetsUsage;
  return quillsheet::cli::kExitUsage;
}
