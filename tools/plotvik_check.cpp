// plotvik-check [--analysis] [--] FILE: loads a sweep file exactly as File > Open does and prints
// what the table then holds, so a file can be checked before (or instead of) opening it in the
// viewer.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/sweep_analysis.h"
#include "analysis/sweep_records.h"
#include "import/sweep_file_loader.h"
#include "platform/component.h"
#include "platform/exceptions.h"
#include "platform/locale_settings.h"
#include "platform/number_text.h"
#include "platform/program_start.h"
#include "table/field.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"
#include "tools/tool_command_line.h"

namespace plotvik {
namespace {

constexpr std::string_view kHelp =
    "Usage: plotvik-check [--analysis] [--] FILE\n"
    "\n"
    "Loads the sweep file FILE the way the viewer's File > Open does, into the same record\n"
    "table, and prints every record stored, one line per record in table order: the nine\n"
    "fields Id, Val, height, R, jX, SWR, Ga, FB, Elevation separated by one tab, each either\n"
    "'null' or the stored number in its shortest form that reads back to the same double\n"
    "(a whole number up to 2^53 in all its digits, such as 1000000).\n"
    "Numbers in FILE use '.' as decimal point; the decimal separator of your locale\n"
    "(LC_NUMERIC) is accepted as well, as in the viewer.\n"
    "\n"
    "Options:\n"
    "  --analysis  prints, instead of the records, the analysis of what was loaded, one item\n"
    "              a line, fields separated by one tab, numbers as above:\n"
    "                points     N                  points with a height and an SWR\n"
    "                min_swr    HEIGHT SWR         the lowest SWR (none without points)\n"
    "                resonance  HEIGHT             each zero crossing of jX, by height\n"
    "                band       T LOW HIGH OPEN    each span with SWR below T, T = 2 then\n"
    "                                              1.5; OPEN is -, low, high or both: the\n"
    "                                              span reaches that end of the sweep\n"
    "  -h, --help  this text\n"
    "  --version   prints the program's name and version\n"
    "  --          ends the options: a FILE whose name begins with '-' goes after it\n"
    "\n"
    "Exit status:\n"
    "  0  the whole file loaded;\n"
    "  1  a line could not be taken: the records before it are printed, then\n"
    "     'Invalid file format' on standard error;\n"
    "  2  the file could not be opened (or the command line is wrong): the viewer's error\n"
    "     text, such as 'File not found.', on standard error, and no records; or the file\n"
    "     was read but could not be closed: the records the table holds are printed (as for\n"
    "     status 0 or 1, then 'Invalid file format' if a line could not be taken), then the\n"
    "     error text; or the records could not be written out.\n";

constexpr std::string_view kUsage =
    "Usage: plotvik-check [--analysis] [--] FILE (plotvik-check --help tells more)\n";

void WriteRecords(TDataSet& table, std::FILE* out) {
  // A failed load leaves its last record pending; it was never stored, so it is dropped here
  // just as the viewer's next load would drop it, and the walk below cannot post it.
  table.Cancel();
  std::string line;
  for (table.First(); !table.Eof(); table.Next()) {
    line.clear();
    for (int i = 0; i < table.FieldCount(); ++i) {
      if (i > 0) line += '\t';
      const TField& field = table.Fields(i);
      if (field.IsNull()) {
        line += "null";
        continue;
      }
      line += ShortestNumberText(field.AsFloat());
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), out);
  }
}

void WriteAnalysis(TMemTable& table, std::FILE* out) {
  const std::string text = AnalysisText(AnalyseSweep(TStoredSweepRecords(table)));
  std::fwrite(text.data(), 1, text.size(), out);
}

int Run(int argc, char** argv) {
  TToolCommandLine commandLine;
  commandLine.AddFlag("analysis");
  if (!commandLine.Parse(argc, argv, kUsage)) return 2;
  if (commandLine.HelpWanted()) {
    Print(stdout, kHelp);
    return 0;
  }
  if (commandLine.VersionWanted()) {
    Print(stdout, VersionLine("plotvik-check"));
    return 0;
  }
  if (commandLine.Positional().size() != 1) {
    Print(stderr, kUsage);
    return 2;
  }
  ReadLocaleSettings();
  TComponent owner("Form1");
  TMemTable& table = CreateSweepTable(owner);
  TSweepFileLoader loader(table);
  // The one file named on the command line takes the place of the open dialog, and the warning
  // is kept for the end, after the records.
  TNamedFileUi ui(commandLine.Positional().front());
  std::string error;
  try {
    loader.actOpenFileExecute(ui);
  } catch (const EAbort&) {
    return 2;
  } catch (const std::exception& e) {
    error = ErrorBoxText(ExceptionMessage(e)) + "\n";
  }
  // The table is opened only once the file is: when it is open, the failure came after the
  // lines (the close), and what was loaded is shown as after a clean close.
  if (!error.empty() && !table.Active()) {
    Print(stderr, error);
    return 2;
  }
  if (commandLine.IsSet("analysis")) {
    WriteAnalysis(table, stdout);
  } else {
    WriteRecords(table, stdout);
  }
  if (std::fflush(stdout) != 0) {
    Print(stderr, commandLine.IsSet("analysis") ? "Cannot write the analysis.\n"
                                                : "Cannot write the records.\n");
    return 2;
  }
  if (ui.Warning()) Print(stderr, *ui.Warning() + "\n");
  if (!error.empty()) {
    Print(stderr, error);
    return 2;
  }
  return ui.Warning() ? 1 : 0;
}

}  // namespace
}  // namespace plotvik

int main(int argc, char** argv) {
  plotvik::UseStandardStreamsAsTheyAre();
  std::vector<std::string> arguments = plotvik::ProgramArguments(argc, argv);
  std::vector<char*> argvOfArguments = plotvik::ArgvOf(arguments);
  try {
    return plotvik::Run(static_cast<int>(arguments.size()), argvOfArguments.data());
  } catch (const std::exception& e) {
    plotvik::Print(stderr, plotvik::ExceptionMessage(e) + "\n");
    return 2;
  }
}
