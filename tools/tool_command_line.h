#pragma once

// The command-line handling both tools share. It reads the arguments as bytes, so a file name
// comes back exactly as given, whatever the locale.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/version.h"

namespace plotvik {

inline void Print(std::FILE* out, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), out);
}

// `--help` (also `-h`), `--version`, `--` ending the options, `--name=value` or `--name value`
// for an option with a value, and a word after one dash (`-x.txt`) taken as one long option
// rather than a row of one-letter ones. An option given twice (`-h` and `--help` are one) is
// refused. The refusal texts are the ones the tools have always printed, so scripts that match
// them keep working.
class TToolCommandLine {
 public:
  TToolCommandLine();

  void AddFlag(std::string name);
  void AddValueOption(std::string name);

  // Parses argv; on a refused command line prints the reason and `usage` on standard error and
  // returns false.
  bool Parse(int argc, char** argv, std::string_view usage);

  bool IsSet(std::string_view name) const;
  // The option's value, if it was given.
  std::optional<std::string> Value(std::string_view name) const;
  bool HelpWanted() const { return IsSet("help"); }
  bool VersionWanted() const { return IsSet("version"); }
  const std::vector<std::string>& Positional() const { return positional_; }

 private:
  struct Option {
    std::vector<std::string> names;
    bool takesValue = false;
    bool set = false;
    std::string value;
  };

  Option* Find(std::string_view name);
  const Option* Find(std::string_view name) const;

  std::vector<Option> options_;
  std::vector<std::string> positional_;
};

// What `--version` prints: "plotvik-check 0.2.0".
inline std::string VersionLine(std::string_view program) {
  return std::string(program) + " " + kVersion + "\n";
}

}  // namespace plotvik
