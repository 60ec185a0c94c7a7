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
  bool optionsEnded = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (!optionsEnded && word == "--") {
      optionsEnded = true;
      continue;
    }
    const bool longOption = !optionsEnded && word.size() > 2 && word.compare(0, 2, "--") == 0;
    const bool shortOption = !optionsEnded && word.size() == 2 && word[0] == '-' && word[1] != '-';
    if (!longOption && !shortOption) {
      parsed.positional.push_back(word);
      continue;
    }
    std::string name = word.substr(longOption ? 2 : 1);
    std::optional<std::string> value;
    if (const size_t equals = name.find('='); longOption && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.erase(equals);
    }
    if (!withValue.count(name)) {
      if (value) {
        error = "option --" + name + " takes no value";
        return std::nullopt;
      }
      parsed.flags.insert(name);
      continue;
    }
    if (!value) {
      if (i + 1 >= words.size()) {
        error = "option " + word + " needs a value";
        return std::nullopt;
      }
      value = words[++i];
    }
    parsed.options[name] = *value;
    parsed.ordered.emplace_back(name, *value);
  }
  return parsed;
}

int Fail(const std::string& message) {
  std::cerr << "quillsheet-cli: " << message << "\n";
  return kExitFailure;
}

bool AskedForHelp(const Arguments& arguments, const char* usage) {
  if (!arguments.flags.count("help") && !arguments.flags.count("h")) return false;
  std::cout << usage;
  return true;
}

int FailUsage(const std::string& message, const char* usage) {
  std::cerr << "quillsheet-cli: " << message << "\n" << usage;
  return kExitUsage;
}

}  // namespace quillsheet::cli
