#include "app/command_line.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace plotvik {

namespace {

// One option of ours. An option with a value takes the next argument or the text after '='.
struct TOption {
  std::string_view shortName;  // empty when there is none
  std::string_view longName;
  bool takesValue;
  void (*apply)(TCommandLine& line, const std::string& value);
};

const TOption kOptions[] = {
    {"-h", "--help", false, [](TCommandLine& line, const std::string&) { line.help = true; }},
    {"", "--version", false, [](TCommandLine& line, const std::string&) { line.version = true; }},
    {"", "--ref", true,
     [](TCommandLine& line, const std::string& value) { line.referenceFile = value; }},
    {"", "--follow", false, [](TCommandLine& line, const std::string&) { line.follow = true; }},
    {"", "--analysis", false, [](TCommandLine& line, const std::string&) { line.analysis = true; }},
};

// The toolkit's options, which it takes with one dash or two. Those with a value take the next
// argument; the toolkit reads `attached` ones only as "-name=value".
enum class TToolkitValue { None, Next, Attached };

struct TToolkitOption {
  std::string_view name;
  TToolkitValue value;
};

constexpr TToolkitOption kToolkitOptions[] = {
    {"platform", TToolkitValue::Next},
    {"platformpluginpath", TToolkitValue::Next},
    {"platformtheme", TToolkitValue::Next},
    {"plugin", TToolkitValue::Next},
    {"qwindowgeometry", TToolkitValue::Next},
    {"geometry", TToolkitValue::Next},
    {"qwindowtitle", TToolkitValue::Next},
    {"title", TToolkitValue::Next},
    {"qwindowicon", TToolkitValue::Next},
    {"icon", TToolkitValue::Next},
    {"session", TToolkitValue::Next},
    {"display", TToolkitValue::Next},
    {"name", TToolkitValue::Next},
    {"visual", TToolkitValue::Next},
    {"style", TToolkitValue::Next},
    {"stylesheet", TToolkitValue::Next},
    {"style", TToolkitValue::Attached},
    {"stylesheet", TToolkitValue::Attached},
    {"qmljsdebugger", TToolkitValue::Attached},
    {"reverse", TToolkitValue::None},
    {"testability", TToolkitValue::None},
    {"widgetcount", TToolkitValue::None},
    {"nograb", TToolkitValue::None},
    {"dograb", TToolkitValue::None},
    {"sync", TToolkitValue::None},
};

const TToolkitOption* FindToolkitOption(std::string_view argument) {
  std::string_view name = argument.substr(argument.rfind("--", 0) == 0 ? 2 : 1);
  const std::size_t equals = name.find('=');
  const bool attached = equals != std::string_view::npos;
  if (attached) name = name.substr(0, equals);
  for (const TToolkitOption& option : kToolkitOptions) {
    if (option.name == name && (option.value == TToolkitValue::Attached) == attached) {
      return &option;
    }
  }
  return nullptr;
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  TCommandLine result;
  std::vector<std::string> files;
  auto fail = [&result](std::string message) {
    if (!result.error) result.error = std::move(message);
  };

  // Each of ours counts once: of two --ref, neither may silently win.
  std::vector<const TOption*> given;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    // A lone "-" is a name, as in other programs.
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      files.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }

    const std::size_t equals = argument.find('=');
    const std::string_view name = std::string_view(argument).substr(0, equals);
    const TOption* ours = nullptr;
    for (const TOption& option : kOptions) {
      if (name == option.longName || (!option.shortName.empty() && name == option.shortName)) {
        ours = &option;
      }
    }
    if (ours != nullptr) {
      if (std::find(given.begin(), given.end(), ours) != given.end()) {
        fail("the option " + std::string(ours->longName) + " is given more than once");
      }
      given.push_back(ours);
      if (!ours->takesValue) {
        if (equals != std::string::npos)
          fail("the option " + std::string(name) + " takes no value");
        ours->apply(result, std::string());
      } else if (equals != std::string::npos) {
        ours->apply(result, argument.substr(equals + 1));
      } else if (i + 1 < arguments.size()) {
        ours->apply(result, arguments[++i]);
      } else {
        fail("the option " + argument + " needs a value");
      }
      continue;
    }

    const TToolkitOption* toolkit = FindToolkitOption(argument);
    if (toolkit == nullptr) {
      fail("unknown option " + argument);
      continue;
    }
    result.toolkitArguments.push_back(argument);
    if (toolkit->value == TToolkitValue::Next) {
      if (i + 1 < arguments.size()) {
        result.toolkitArguments.push_back(arguments[++i]);
      } else {
        fail("the option " + argument + " needs a value");
      }
    }
  }

  // Help wins over everything else on the line: whoever asks for it learns what went wrong.
  if (result.help) {
    result.error.reset();
    result.version = false;
    return result;
  }
  if (result.version) {
    result.error.reset();
    return result;
  }
  if (files.size() > 1) {
    fail("more than one file given");
  } else if (files.size() == 1) {
    if (files.front().empty()) {
      fail("the file name is empty");
    } else {
      result.fileName = files.front();
    }
  }
  if (result.referenceFile && result.referenceFile->empty()) {
    fail("the reference file name is empty");
  }
  if (result.follow && !result.fileName) fail("--follow needs a FILE");
  if (result.error) {
    result.fileName.reset();
    result.referenceFile.reset();
  }
  return result;
}

std::string UsageLine(const std::string& program) {
  return "Usage: " + program + " [--ref REF] [--follow] [--analysis] [--] [FILE]";
}

std::string HelpText(const std::string& program) {
  return UsageLine(program) +
         "\n"
         "Shows a Korvel sweep file as six charts: SWR, R, jX, gain, F/B and elevation angle\n"
         "against the swept parameter.\n"
         "\n"
         "  FILE        loaded at start as File > Open would load it; a file can also be\n"
         "              dropped onto the window\n"
         "  --ref REF   starts with REF as the reference run, drawn in grey under the\n"
         "              current one (loaded as File > Open would load it)\n"
         "  --follow    follows FILE as it is written: new lines are added as they arrive,\n"
         "              a file replaced or renamed over it is loaded anew\n"
         "  --          ends the options: a FILE beginning with '-' follows it\n"
         "  -h, --help  shows this text and ends\n"
         "  --version   prints the program's name and version and ends\n"
         "  --analysis  shows the analysis marks from the start (the key A shows and\n"
         "              hides them)\n"
         "\n"
         "The toolkit's own options (-platform NAME, -display HOST:N, ...) are accepted.\n"
         "The window follows the desktop's scale factor (QT_SCALE_FACTOR,\n"
         "QT_SCREEN_SCALE_FACTORS or the screen's own). Resting the mouse on a point of a\n"
         "chart shows its values.\n"
         "\n"
         "Keys: F5 loads the current file again; L follows it as it grows, or stops\n"
         "following; S keeps the run shown as the reference run; R hides and shows the\n"
         "reference. A shows and hides the analysis: the spans with SWR below 2 and 1.5\n"
         "and the lowest SWR on the SWR page, the resonances on the jX page. Left and\n"
         "Right (Shift: by 10), Home and End step a cursor through the page's points and\n"
         "show every field of the step's record; Esc hides it. Ctrl+C copies the chart\n"
         "shown as a picture, Ctrl+Shift+C the records as tab-separated text.\n";
}

}  // namespace plotvik
