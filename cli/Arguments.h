// Command-line arguments: positional words and "--option value" pairs.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quillsheet::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;  // "--file F" as {"file", "F"}; the last given
  std::vector<std::pair<std::string, std::string>> ordered;  // every option, in order
  std::set<std::string> flags;                               // "--replace" as "replace"

  std::optional<std::string> Option(const std::string& name) const;
  std::vector<std::string> Values(const std::string& name) const;
};

// Splits argv. "--name" and "-n" are options; those listed in withValue
// (without dashes) take a value, as "--name value" or "--name=value"; the
// others are flags. "--" ends the options: every later word is positional.
// No value on failure, with the reason in error.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& words,
                                        const std::set<std::string>& withValue, std::string& error);

// Print "quillsheet-cli: message" (and the usage) on standard error and
// give the exit status for it.
int Fail(const std::string& message);
int FailUsage(const std::string& message, const char* usage);

// Prints the usage on standard output when --help or -h was given.
bool AskedForHelp(const Arguments& arguments, const char* usage);

}  // namespace quillsheet::cli
