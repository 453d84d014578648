// plotvik-render [--size WxH] [--scale S] [--ref REF] [--analysis] [--] FILE OUTDIR: builds the
// viewer's main window without showing it, loads FILE through its File > Open command and writes
// each page's chart as a PNG file, painted by the same code that paints the window. Charts for
// reports, and a way to look at a file on a machine without a display.

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <QByteArray>
#include <QtGlobal>

#include "app/chart_pages.h"
#include "app/form1.h"
#include "chart/chart_canvas3d.h"
#include "chart/db_chart.h"
#include "marks/analysis_marks.h"
#include "platform/exceptions.h"
#include "platform/file_path.h"
#include "platform/gui/action_list.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/locale_settings.h"
#include "platform/program_start.h"
#include "raster/bitmap.h"
#include "tools/png_file.h"
#include "tools/tool_command_line.h"

namespace plotvik {
namespace {

constexpr std::string_view kHelp =
    "Usage: plotvik-render [--size WxH] [--scale S] [--ref REF] [--analysis]\n"
    "                      [--] FILE OUTDIR\n"
    "\n"
    "Loads the sweep file FILE the way the viewer's File > Open does and writes the six\n"
    "charts, exactly as the viewer paints them, as PNG files into OUTDIR (created if needed):\n"
    "  swr.png  r.png  jx.png  gain.png  fb.png  elevation.png\n"
    "No display is needed.\n"
    "Numbers in FILE use '.' as decimal point; the decimal separator of your locale\n"
    "(LC_NUMERIC) is accepted as well and labels the axes, as in the viewer.\n"
    "\n"
    "Options:\n"
    "  --size WxH  the size of each chart, 1 to 4096 pixels a side; without it 623 x 379, the\n"
    "              chart's size in the page at the window's designed size\n"
    "  --ref REF   draws the sweep file REF as the reference run under FILE's, in grey,\n"
    "              as the viewer does with plotvik --ref REF FILE\n"
    "  --scale S   writes every pixel of the chart as an S x S block (no smoothing), as the\n"
    "              viewer shows it on a screen scaled S times: a whole number 1 (the default)\n"
    "              to 16, the picture at most 4096 pixels a side\n"
    "  --analysis  draws the analysis marks as the viewer shows them after the key A: the\n"
    "              spans with SWR below 2 and 1.5 and the lowest SWR on swr.png, the\n"
    "              resonances on jx.png\n"
    "  -h, --help  this text\n"
    "  --version   prints the program's name and version\n"
    "  --          ends the options: a FILE or OUTDIR beginning with '-' goes after it\n"
    "\n"
    "Exit status:\n"
    "  0  the whole file loaded and the six pictures were written;\n"
    "  1  a line could not be taken: the pictures show the records before it, and\n"
    "     'Invalid file format' goes to standard error;\n"
    "  2  the file could not be opened (nothing is written), a picture could not be written\n"
    "     or the command line is wrong: the reason on standard error.\n";

constexpr std::string_view kUsage =
    "Usage: plotvik-render [--size WxH] [--scale S] [--ref REF] [--analysis]\n"
    "                      [--] FILE OUTDIR\n"
    "(plotvik-render --help tells more)\n";

// Larger pictures are refused rather than allocated: every chart keeps a window image and a
// frame buffer of the picture's size, and a typing slip must not eat the machine's memory.
constexpr int kMaxSide = 4096;
constexpr int kMaxScale = 16;

struct Options {
  std::string file;
  std::string outDir;
  std::optional<std::string> reference;
  int width = kChartDesignedWidth;
  int height = kChartDesignedHeight;
  int scale = 1;
  bool analysis = false;
};

std::optional<int> ParseWhole(std::string_view text, int max) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value < 1 || value > max) {
    return std::nullopt;
  }
  return value;
}

// "623x379" (an upper-case X is taken too).
bool ParseSize(std::string_view text, Options& options) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return false;
  const auto width = ParseWhole(text.substr(0, x), kMaxSide);
  const auto height = ParseWhole(text.substr(x + 1), kMaxSide);
  if (!width || !height) return false;
  options.width = *width;
  options.height = *height;
  return true;
}

// Returns false, with the reason on standard error, when the command line is not usable;
// `help` or `version` is set when the user asked for that text instead.
bool ParseArguments(int argc, char** argv, Options& options, bool& help, bool& version) {
  TToolCommandLine commandLine;
  commandLine.AddValueOption("size");
  commandLine.AddValueOption("scale");
  commandLine.AddValueOption("ref");
  commandLine.AddFlag("analysis");
  if (!commandLine.Parse(argc, argv, kUsage)) return false;
  help = commandLine.HelpWanted();
  version = commandLine.VersionWanted();
  if (help || version) return true;
  options.analysis = commandLine.IsSet("analysis");
  if (const auto size = commandLine.Value("size")) {
    const std::string& value = *size;
    if (!ParseSize(value, options)) {
      Print(stderr, "Invalid size '" + value + "': expected WxH, each side 1 to " +
                        std::to_string(kMaxSide) + "\n");
      return false;
    }
  }
  if (const auto scale = commandLine.Value("scale")) {
    const std::string& value = *scale;
    const auto factor = ParseWhole(value, kMaxScale);
    if (!factor) {
      Print(stderr, "Invalid scale '" + value + "': expected a whole number 1 to " +
                        std::to_string(kMaxScale) + "\n");
      return false;
    }
    options.scale = *factor;
  }
  if (options.width * options.scale > kMaxSide || options.height * options.scale > kMaxSide) {
    Print(stderr, "Pictures of " + std::to_string(options.width * options.scale) + "x" +
                      std::to_string(options.height * options.scale) +
                      " are too large: --size times --scale must stay within " +
                      std::to_string(kMaxSide) + " pixels a side\n");
    return false;
  }
  if (const auto reference = commandLine.Value("ref")) options.reference = *reference;
  const std::vector<std::string>& positional = commandLine.Positional();
  if (positional.size() != 2) {
    Print(stderr, kUsage);
    return false;
  }
  options.file = positional[0];
  options.outDir = positional[1];
  return true;
}

// The command line takes the place of the open dialog; the warning is kept for the end.
class RenderDialogs : public TDialogs {
 public:
  explicit RenderDialogs(std::string fileName) : fileName_(std::move(fileName)) {}
  std::optional<std::string> ChooseFileToOpen(const std::string&) override { return fileName_; }
  void ShowMessage(TMsgDlgType, const std::string&, const std::string& text) override {
    messages_.push_back(text);
  }
  const std::vector<std::string>& Messages() const { return messages_; }

 private:
  std::string fileName_;
  std::vector<std::string> messages_;
};

int Render(const Options& options) {
  // Never a window on screen, whatever display there is: the pictures come from the same
  // off-screen buffers the window shows, drawn by the same raster and text code.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ReadLocaleSettings();
  // The toolkit gets no arguments of ours to interpret.
  static int argc = 1;
  static char name[] = "plotvik-render";
  static char* argv[] = {name, nullptr};
  TApplication application(argc, argv);
  auto dialogsOwner = std::make_unique<RenderDialogs>(options.file);
  RenderDialogs& dialogs = *dialogsOwner;
  application.SetDialogs(std::move(dialogsOwner));

  auto form = std::make_unique<TForm1>(application);
  if (options.analysis) form->AnalysisMarks().SetVisible(true);
  try {
    // The reference first, as the viewer's command line loads it.
    if (options.reference) form->LoadReference(*options.reference);
    form->actOpenFile.Execute();
  } catch (const EAbort&) {
    return 2;
  } catch (const std::exception& e) {
    Print(stderr, ErrorBoxText(ExceptionMessage(e)) + "\n");
    return 2;
  }

  std::error_code error;
  const std::filesystem::path outDir = PathOf(options.outDir);
  std::filesystem::create_directories(outDir, error);
  if (error) {
    Print(stderr, "Cannot create " + options.outDir + ": " + error.message() + "\n");
    return 2;
  }
  TPngEncoder encoder;
  for (int page = 0; page < kChartPageCount; ++page) {
    TDBChart& chart = PageChart(*form, page);
    // What the window does when the page is shown at this size. The frame is drawn straight into
    // the window image, which is painted whole, and once written its pages go to the next chart:
    // the six charts share one buffer whose pages are touched once.
    chart.Canvas3D().SetBufferedDisplay(false);
    chart.SetBounds(0, 0, options.width, options.height);
    chart.PaintWindow();
    TBitmap& image = chart.WindowImage();
    const std::filesystem::path path = outDir / kChartPages[page].imageFile;
    std::string reason;
    if (!encoder.Write(path, {image.Pixels(), image.Width(), image.Height()}, options.scale,
                       reason)) {
      Print(stderr, "Cannot write " + path.string() + ": " + reason + "\n");
      return 2;
    }
    image.SetSize(0, 0);
  }

  int status = 0;
  if (!dialogs.Messages().empty()) {
    Print(stderr, dialogs.Messages().front() + "\n");
    status = 1;
  }
  // The window was never shown and its end saves nothing, so there is nothing to take down.
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(status);
}

int Run(int argc, char** argv) {
  Options options;
  bool help = false;
  bool version = false;
  if (!ParseArguments(argc, argv, options, help, version)) return 2;
  if (help) {
    Print(stdout, kHelp);
    return 0;
  }
  if (version) {
    Print(stdout, VersionLine("plotvik-render"));
    return 0;
  }
  return Render(options);
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
