#include "tools/tool_command_line.h"

#include <algorithm>

namespace plotvik {

TToolCommandLine::TToolCommandLine() {
  options_.push_back({{"h", "help"}, false, false, {}});
  // Accepted and ignored, as the tools always have: a script passing it must not start failing.
  options_.push_back({{"help-all"}, false, false, {}});
  options_.push_back({{"version"}, false, false, {}});
}

void TToolCommandLine::AddFlag(std::string name) {
  options_.push_back({{std::move(name)}, false, false, {}});
}

void TToolCommandLine::AddValueOption(std::string name) {
  options_.push_back({{std::move(name)}, true, false, {}});
}

TToolCommandLine::Option* TToolCommandLine::Find(std::string_view name) {
  for (Option& option : options_) {
    if (std::find(option.names.begin(), option.names.end(), name) != option.names.end()) {
      return &option;
    }
  }
  return nullptr;
}

const TToolCommandLine::Option* TToolCommandLine::Find(std::string_view name) const {
  return const_cast<TToolCommandLine*>(this)->Find(name);
}

bool TToolCommandLine::Parse(int argc, char** argv, std::string_view usage) {
  std::vector<std::string> unknown;
  // Of several refusals of an option's use (a value missing or not wanted, the option given
  // again), the last one is reported, ahead of unknown names.
  std::string valueError;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      positional_.emplace_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    const std::string_view word = argument.substr(argument[1] == '-' ? 2 : 1);
    const size_t assign = word.find('=');
    const std::string_view name = word.substr(0, assign);
    Option* option = Find(name);
    if (option == nullptr) {
      unknown.emplace_back(name);
      continue;
    }
    // Given twice, neither may silently win, whatever the values.
    if (option->set) {
      valueError = "Option '" +
                   std::string(argument.substr(0, argument.size() - word.size() + name.size())) +
                   "' is given more than once.";
    }
    option->set = true;
    if (!option->takesValue) {
      if (assign != std::string_view::npos) {
        valueError = "Unexpected value after '" +
                     std::string(argument.substr(0, argument.size() - word.size() + assign)) + "'.";
      }
    } else if (assign != std::string_view::npos) {
      option->value = std::string(word.substr(assign + 1));
    } else if (i + 1 < argc) {
      option->value = argv[++i];
    } else {
      valueError = "Missing value after '" + std::string(argument) + "'.";
    }
  }
  std::string error = valueError;
  if (error.empty() && unknown.size() == 1) error = "Unknown option '" + unknown.front() + "'.";
  if (error.empty() && unknown.size() > 1) {
    error = "Unknown options: ";
    for (size_t i = 0; i < unknown.size(); ++i) error += (i > 0 ? ", " : "") + unknown[i];
    error += ".";
  }
  if (error.empty() && unknown.empty()) return true;
  Print(stderr, error + "\n");
  Print(stderr, usage);
  return false;
}

bool TToolCommandLine::IsSet(std::string_view name) const {
  const Option* option = Find(name);
  return option != nullptr && option->set;
}

std::optional<std::string> TToolCommandLine::Value(std::string_view name) const {
  const Option* option = Find(name);
  if (option == nullptr || !option->set) return std::nullopt;
  return option->value;
}

}  // namespace plotvik
