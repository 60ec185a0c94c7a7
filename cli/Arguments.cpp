#include "cli/Arguments.h"

#include <iostream>

namespace quillsheet::cli {

std::optional<std::string> Arguments::Option(const std::string& name) const {
  const auto found = options.find(name);
  return found == options.end() ? std::nullopt : std::optional<std::string>(found->second);
}

std::vector<std::string> Arguments::Values(const std::string& name) const {
  std::vector<std::string> values;
  for (const auto& [option, value] : ordered) {
    if (option == name) values.push_back(value);
  }
  return values;
}

std::optional<Arguments> ParseArguments(const std::vector<std::string>& words,
                                        const std::set<std::string>& withValue,
                                        std::string& error) {
  Arguments parsed;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    const bool longOption = word.size() > 2 && word.compare(0, 2, "--") == 0;
    const bool shortOption = word.size() == 2 && word[0] == '-' && word[1] != '-';
    if (!longOption && !shortOption) {
      parsed.positional.push_back(word);
      continue;
    }
    const std::string name = word.substr(longOption ? 2 : 1);
    if (!withValue.count(name)) {
      parsed.flags.insert(name);
      continue;
    }
    if (i + 1 >= words.size()) {
      error = "option " + word + " needs a value";
      return std::nullopt;
    }
    parsed.options[name] = words[++i];
    parsed.ordered.emplace_back(name, words[i]);
  }
  return parsed;
}

int Fail(const std::string& message) {
  std::cerr << "quillsheet-cli: " << message << "\n";
  return kExitFailure;
}

int FailUsage(const std::string& message, const char* usage) {
  std::cerr << "quillsheet-cli: " << message << "\n" << usage;
  return kExitUsage;
}

}  // namespace quillsheet::cli
