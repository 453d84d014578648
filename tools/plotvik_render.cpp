// plotvik-render FILE OUTDIR [--size WxH]: builds the viewer's main window without showing it,
// loads FILE through its File > Open command and writes each page's chart as a PNG file, painted
// by the same code that paints the window. Charts for reports, and a way to look at a file on a
// machine without a display.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/chart_pages.h"
#include "app/form1.h"
#include "chart/db_chart.h"
#include "platform/exceptions.h"
#include "platform/gui/action_list.h"
#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/dialogs.h"
#include "platform/locale_settings.h"

namespace plotvik {
namespace {

constexpr std::string_view kHelp =
    "Usage: plotvik-render FILE OUTDIR [--size WxH]\n"
    "\n"
    "Loads the sweep file FILE the way the viewer's File > Open does and writes the six\n"
    "charts, exactly as the viewer paints them, as PNG files into OUTDIR (created if needed):\n"
    "  swr.png  r.png  jx.png  gain.png  fb.png  elevation.png\n"
    "Each picture is W x H pixels (1 to 4096 each), the size of the chart in the viewer's\n"
    "page; without --size it is 623 x 379, the page at the window's designed size. No display\n"
    "is needed.\n"
    "Numbers in FILE use '.' as decimal point; the decimal separator of your locale\n"
    "(LC_NUMERIC) is accepted as well and labels the axes, as in the viewer.\n"
    "\n"
    "Exit status:\n"
    "  0  the whole file loaded and the six pictures were written;\n"
    "  1  a line could not be taken: the pictures show the records before it, and\n"
    "     'Invalid file format' goes to standard error;\n"
    "  2  the file could not be opened (nothing is written), a picture could not be written\n"
    "     or the command line is wrong: the reason on standard error.\n";

constexpr std::string_view kUsage =
    "Usage: plotvik-render FILE OUTDIR [--size WxH] (plotvik-render --help tells more)\n";

// Larger pictures are refused rather than allocated: every chart keeps a window image and a
// frame buffer of the picture's size, and a typing slip must not eat the machine's memory.
constexpr int kMaxSide = 4096;

struct Options {
  std::string file;
  std::string outDir;
  int width = kChartDesignedWidth;
  int height = kChartDesignedHeight;
};

void Print(std::FILE* out, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), out);
}

std::optional<int> ParseSide(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value < 1 || value > kMaxSide) {
    return std::nullopt;
  }
  return value;
}

// "623x379" (an upper-case X is taken too).
bool ParseSize(std::string_view text, Options& options) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return false;
  const auto width = ParseSide(text.substr(0, x));
  const auto height = ParseSide(text.substr(x + 1));
  if (!width || !height) return false;
  options.width = *width;
  options.height = *height;
  return true;
}

// Returns false, with the reason on standard error, when the command line is not usable.
bool ParseArguments(const std::vector<std::string_view>& args, Options& options) {
  std::vector<std::string_view> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--size" || arg.starts_with("--size=")) {
      std::string_view value;
      if (arg == "--size") {
        if (i + 1 == args.size()) {
          Print(stderr, "--size needs a value such as 623x379\n");
          return false;
        }
        value = args[++i];
      } else {
        value = arg.substr(7);
      }
      if (!ParseSize(value, options)) {
        Print(stderr, "Invalid size '" + std::string(value) + "': expected WxH, each side 1 to " +
                          std::to_string(kMaxSide) + "\n");
        return false;
      }
    } else if (arg.size() > 1 && arg.front() == '-' && arg != "-") {
      Print(stderr, "Unknown option '" + std::string(arg) + "'\n");
      return false;
    } else {
      positional.push_back(arg);
    }
  }
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

bool WritePng(const TBitmap& image, const std::filesystem::path& path) {
  // The bitmap's rows are 0xFFRRGGBB words without padding: the toolkit's RGB32 layout.
  const QImage view(reinterpret_cast<const uchar*>(image.Pixels().data()), image.Width(),
                    image.Height(), image.Width() * 4, QImage::Format_RGB32);
  return view.save(QString::fromStdString(path.string()), "PNG");
}

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
  try {
    form->actOpenFile.Execute();
  } catch (const EAbort&) {
    return 2;
  } catch (const std::exception& e) {
    Print(stderr, ErrorBoxText(ExceptionMessage(e)) + "\n");
    return 2;
  }

  std::error_code error;
  const std::filesystem::path outDir(options.outDir);
  std::filesystem::create_directories(outDir, error);
  if (error) {
    Print(stderr, "Cannot create " + options.outDir + ": " + error.message() + "\n");
    return 2;
  }
  for (int page = 0; page < kChartPageCount; ++page) {
    TDBChart& chart = PageChart(*form, page);
    // What the window does when the page is shown at this size: a size change gives a whole
    // new frame, and the paint copies it to the window image.
    chart.SetBounds(0, 0, options.width, options.height);
    chart.PaintWindow();
    const std::filesystem::path path = outDir / kChartPages[page].imageFile;
    if (!WritePng(chart.WindowImage(), path)) {
      Print(stderr, "Cannot write " + path.string() + "\n");
      return 2;
    }
  }
  form.reset();

  if (!dialogs.Messages().empty()) {
    Print(stderr, dialogs.Messages().front() + "\n");
    return 1;
  }
  return 0;
}

int Run(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    Print(stdout, kHelp);
    return 0;
  }
  Options options;
  if (!ParseArguments(args, options)) return 2;
  return Render(options);
}

}  // namespace
}  // namespace plotvik

int main(int argc, char** argv) {
  try {
    return plotvik::Run(argc, argv);
  } catch (const std::exception& e) {
    plotvik::Print(stderr, plotvik::ExceptionMessage(e) + "\n");
    return 2;
  }
}
