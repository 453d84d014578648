#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/form1.h"
#include "platform/gui/application.h"
#include "platform/locale_settings.h"

namespace {

std::string ProgramName(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash == nullptr ? path : slash + 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace plotvik;
  const std::string program = ProgramName(argc > 0 ? argv[0] : "plotvik");

  // Help needs no desktop: it is answered before the toolkit connects to one.
  if (ParseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc)).help) {
    std::fputs(HelpText(program).c_str(), stdout);
    return 0;
  }
  // The toolkit takes its own options (-platform, -display ...) out of the line, but it does
  // not know "--": what follows that is kept from it, so a file named like one of its options
  // still reaches us.
  int toolkitArgc = 0;
  while (toolkitArgc < argc && std::strcmp(argv[toolkitArgc], "--") != 0) ++toolkitArgc;
  std::vector<std::string> afterOptions(argv + toolkitArgc, argv + argc);

  // The number separators come first: the window and its charts are built with them.
  ReadLocaleSettings();
  TApplication application(toolkitArgc, argv);

  std::vector<std::string> arguments(argv + (toolkitArgc > 0 ? 1 : 0), argv + toolkitArgc);
  arguments.insert(arguments.end(), afterOptions.begin(), afterOptions.end());
  const TCommandLine commandLine = ParseCommandLine(arguments);
  if (commandLine.error) {
    std::fprintf(stderr, "%s: %s\n%s\n", program.c_str(), commandLine.error->c_str(),
                 UsageLine(program).c_str());
    return 2;
  }

  // A change of the user's locale takes effect from the next load on.
  application.OnSettingChange = [] { ReadLocaleSettings(); };
  auto form = std::make_unique<TForm1>(application);
  // A file named on the command line is loaded once the window is up, as File > Open would
  // load it: its error box and warning appear over the window.
  if (commandLine.fileName) {
    application.QueueCommand([&form, name = *commandLine.fileName] { form->OpenFile(name); });
  }
  const int exitCode = application.Run();
  // The window and all its components go before the application object; nothing is written.
  form.reset();
  return exitCode;
}
