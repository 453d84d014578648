#pragma once

#include <optional>
#include <string>
#include <vector>

namespace plotvik {

// What the viewer was asked to do on its command line: show its help or its version, load one
// file at start, or neither. `error` is set when the line is not understood; the program then
// prints the usage line and ends with status 2 before any window opens.
struct TCommandLine {
  bool help = false;
  bool version = false;
  bool analysis = false;  // --analysis: the analysis marks shown from the start
  std::optional<std::string> fileName;
  // The toolkit's own options (-platform NAME, -display HOST:N, ...) with their values, in the
  // order given: the application object gets these and nothing else.
  std::vector<std::string> toolkitArguments;
  // --ref REF: the reference run to start with.
  std::optional<std::string> referenceFile;
  // --follow: FILE is followed as it grows.
  bool follow = false;
  std::optional<std::string> error;
};

// `arguments` are the program's arguments without the program's own name, as the file system's
// bytes; nothing needs the toolkit. "--" ends the options: what follows is a file name even when
// it begins with '-'. An option of ours given twice is an error; the toolkit's own are its
// business.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// "Usage: PROGRAM [--ref REF] [--follow] [--analysis] [--] [FILE]" and the longer explanation
// that --help prints.
std::string UsageLine(const std::string& program);
std::string HelpText(const std::string& program);

}  // namespace plotvik
