#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/form1.h"
#include "marks/analysis_marks.h"
#include "platform/gui/application.h"
#include "platform/locale_settings.h"
#include "platform/program_start.h"
#include "platform/version.h"

namespace {

std::string ProgramName(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash == nullptr ? path : slash + 1;
}

}  // namespace

int main(int originalArgc, char** originalArgv) {
  using namespace plotvik;
  UseStandardStreamsAsTheyAre();
  std::vector<std::string> arguments = ProgramArguments(originalArgc, originalArgv);
  std::vector<char*> argvOfArguments = ArgvOf(arguments);
  const int argc = static_cast<int>(arguments.size());
  char** argv = argvOfArguments.data();
  const std::string program = ProgramName(argc > 0 ? argv[0] : "plotvik");

  // The whole line is decided before the toolkit connects to a desktop: help, version and refusals
  // need none, and a name reaches the loader as the file system's bytes.
  const TCommandLine commandLine =
      ParseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  if (commandLine.help) {
    std::fputs(HelpText(program).c_str(), stdout);
    return 0;
  }
  if (commandLine.version) {
    std::printf("plotvik %s\n", kVersion);
    return 0;
  }
  if (commandLine.error) {
    std::fprintf(stderr, "%s: %s\n%s\n", program.c_str(), commandLine.error->c_str(),
                 UsageLine(program).c_str());
    return 2;
  }
  // The toolkit sees only its own options, so a file name never reads as one of them. It keeps
  // argv for its whole life.
  std::vector<std::string> toolkitArguments = commandLine.toolkitArguments;
  static char defaultName[] = "plotvik";
  std::vector<char*> toolkitArgv{argc > 0 ? argv[0] : defaultName};
  for (std::string& argument : toolkitArguments) toolkitArgv.push_back(argument.data());
  toolkitArgv.push_back(nullptr);
  int toolkitArgc = int(toolkitArgv.size()) - 1;

  // The number separators come first: the window and its charts are built with them.
  ReadLocaleSettings();
  TApplication application(toolkitArgc, toolkitArgv.data());

  // A change of the user's locale takes effect from the next load on.
  application.OnSettingChange = [] { ReadLocaleSettings(); };
  auto form = std::make_unique<TForm1>(application);
  if (commandLine.analysis) form->AnalysisMarks().SetVisible(true);
  // A file named on the command line is loaded once the window is up, as File > Open would
  // load it: its error box and warning appear over the window. The reference comes first, in a
  // command of its own, so that a box about it leaves the file's load to follow.
  if (commandLine.referenceFile) {
    application.QueueCommand(
        [&form, name = *commandLine.referenceFile] { form->LoadReference(name); });
  }
  if (commandLine.fileName && commandLine.follow) {
    application.QueueCommand([&form, name = *commandLine.fileName] { form->Follow(name); });
  } else if (commandLine.fileName) {
    application.QueueCommand([&form, name = *commandLine.fileName] { form->OpenFile(name); });
  }
  const int exitCode = application.Run();
  // The window and all its components go before the application object; nothing is written.
  form.reset();
  return exitCode;
}
