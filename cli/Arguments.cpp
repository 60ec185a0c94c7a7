#include "cli/Arguments.h"

namespace quillsheet::cli {

std::optional<std::string> Arguments::Option(const std::string& name) const {
  const auto found = options.find(name);
  return found == options.end() ? std::nullopt : std::optional<std::string>(found->second);
}

std::optional<Arguments> ParseArguments(const std::vector<std::string>& words,
                                        const std::set<std::string>& withValue,
                                        std::string& error) {
  Arguments parsed;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.size() <= 2 || word.compare(0, 2, "--") != 0) {
      parsed.positional.push_back(word);
      continue;
    }
    const std::string name = word.substr(2);
    if (!withValue.count(name)) {
      parsed.flags.insert(name);
      continue;
    }
    if (i + 1 >= words.size()) {
      error = "option " + word + " needs a value";
      return std::nullopt;
    }
    parsed.options[name] = words[++i];
  }
  return parsed;
}

}  // namespace quillsheet::cli
