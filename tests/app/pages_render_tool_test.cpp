// Runs the built plotvik-render and compares its pictures with the main window's own charts
// painted in this process, and its exit status and messages with those of plotvik-check.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/chart_pages.h"
#include "app/form1.h"
#include "app_test_support.h"
#include "chart/db_chart.h"
#include "platform/gui/action_list.h"
#include "platform/locale_settings.h"
#include "raster/bitmap.h"
#include "tests/import/run_tool.h"
#include "tests/import/temp_dir.h"
#include "tests/support/locale_separators.h"

namespace plotvik {
namespace {

using testing::Fixture;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::RunResult;
using testing::RunTool;
using testing::TempDir;

RunResult RunRender(const std::vector<std::string>& arguments,
                    const std::vector<std::string>& environment = {},
                    const std::string& workingDir = {}) {
  return RunTool("plotvik-render", arguments, environment, workingDir);
}

const std::string kUsage =
    "Usage: plotvik-render [--size WxH] [--scale S] [--ref REF] [--analysis]\n"
    "                      [--] FILE OUTDIR\n"
    "(plotvik-render --help tells more)\n";

std::set<std::string> FilesIn(const std::filesystem::path& dir) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::set<std::string> AllPictures() {
  std::set<std::string> names;
  for (const TChartPageDecl& decl : kChartPages) names.insert(decl.imageFile);
  return names;
}

struct StatusCase {
  const char* name;
  std::string file;
  std::vector<std::string> extra;  // arguments after OUTDIR
  int status;
  std::string message;  // a line expected on standard error ("" for none of ours)
  bool pictures;
  friend void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }
};

class RenderStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(RenderStatus, ExitsAndWritesLikeTheCheckTool) {
  const StatusCase& c = GetParam();
  TempDir dir;
  const std::filesystem::path out = dir.Path() / "charts" / "nested";
  std::vector<std::string> arguments = {c.file, out.string()};
  arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
  const RunResult r = RunRender(arguments);
  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.out, "");
  if (c.message.empty()) {
    EXPECT_THAT(r.err, Not(HasSubstr("Invalid file format")));
    EXPECT_THAT(r.err, Not(HasSubstr("Cannot")));
  } else {
    EXPECT_THAT(r.err, HasSubstr(c.message));
  }
  EXPECT_EQ(FilesIn(out), c.pictures ? AllPictures() : std::set<std::string>{});
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Files, RenderStatus,
    ::testing::Values(
        StatusCase{"whole_file",               Fixture("app_three_sweeps.txt"),   {},                                    0, "",                                                                true},
        StatusCase{"bad_third_line",           Fixture("app_bad_third_line.txt"), {},                                    1, "Invalid file format\n",                                           true},
        StatusCase{"missing_file",             Fixture("no_such_sweep.txt"),      {},                                    2, "File not found.\n",                                               false},
        StatusCase{"size_zero",                Fixture("app_three_sweeps.txt"),   {"--size", "0x100"},                   2, "Invalid size '0x100'",                                            false},
        StatusCase{"size_too_large",           Fixture("app_three_sweeps.txt"),   {"--size", "4097x100"},                2, "Invalid size '4097x100'",                                         false},
        StatusCase{"smallest_size",            Fixture("app_three_sweeps.txt"),   {"--size", "1x1"},                     0, "",                                                                true},
        StatusCase{"size_without_value",       Fixture("app_three_sweeps.txt"),   {"--size"},                            2, "Missing value after '--size'",                                    false},
        StatusCase{"size_with_junk",           Fixture("app_three_sweeps.txt"),   {"--size", "20x30px"},                 2, "Invalid size",                                                    false},
        StatusCase{"scale_zero",               Fixture("app_three_sweeps.txt"),   {"--scale", "0"},                      2, "Invalid scale '0'",                                               false},
        StatusCase{"scale_fraction",           Fixture("app_three_sweeps.txt"),   {"--scale=1.5"},                       2, "Invalid scale '1.5'",                                             false},
        StatusCase{"scale_too_large",          Fixture("app_three_sweeps.txt"),   {"--scale", "17"},                     2, "Invalid scale '17'",                                              false},
        StatusCase{"scaled_picture_too_large", Fixture("app_three_sweeps.txt"),   {"--size", "2049x10", "--scale", "2"}, 2, "Pictures of 4098x20 are too large",                               false},
        StatusCase{"largest_scaled_picture",   Fixture("app_three_sweeps.txt"),   {"--size", "2048x1", "--scale", "2"},  0, "",                                                                true},
        StatusCase{"unknown_option",           Fixture("app_three_sweeps.txt"),   {"--colour"},                          2, "Unknown option 'colour'",                                         false},
        StatusCase{"dashed_word_is_an_option", "-x.txt",                          {},                                    2, "Unknown option 'x.txt'",                                          false},
        StatusCase{"third_argument",           Fixture("app_three_sweeps.txt"),   {"extra"},                             2, kUsage,                                                            false},
        StatusCase{"reference_twice",          Fixture("app_three_sweeps.txt"),   {"--ref", Fixture("app_two_sweeps.txt"), "--ref=" + Fixture("app_bad_third_line.txt")}, 2, "Option '--ref' is given more than once.\n" + kUsage, false},
        StatusCase{"size_twice",               Fixture("app_three_sweeps.txt"),   {"--size", "10x10", "--size", "20x20"}, 2, "Option '--size' is given more than once.\n" + kUsage,      false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(RenderTool, HelpExplainsTheToolAndItsExitStatus) {
  const RunResult r = RunRender({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind(kUsage.substr(0, kUsage.find("(plotvik-render")), 0), 0u);
  EXPECT_THAT(r.out, HasSubstr("elevation.png"));
  EXPECT_THAT(r.out, HasSubstr("Exit status"));
  EXPECT_EQ(RunRender({"-h"}).out, r.out);
}

// After `--` a leading dash is part of a name: here both the file and the folder.
TEST(RenderTool, TakesDashedNamesAfterTheEndOfOptions) {
  TempDir dir;
  std::filesystem::copy_file(Fixture("app_three_sweeps.txt"), dir.Path() / "-x.txt");
  const RunResult r = RunRender({"--", "-x.txt", "-out"}, {}, dir.Path().string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(FilesIn(dir.Path() / "-out"), AllPictures());
}

TEST(RenderTool, AnOutputFolderThatCannotBeMadeIsReported) {
  TempDir dir;
  const std::string blocker = dir.Write("file", "not a folder");
  const RunResult r = RunRender({Fixture("app_three_sweeps.txt"), blocker + "/charts"});
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("Cannot create"));
}

TEST(RenderTool, APictureThatCannotBeWrittenIsReported) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path() / "gain.png");
  const RunResult r = RunRender({Fixture("app_three_sweeps.txt"), dir.Path().string()});
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("Cannot write " + (dir.Path() / "gain.png").string() +
                               ": Is a directory\n"));
}

// Pixels of the PNG file that differ from the chart's window image with each of its pixels
// enlarged to a `scale` x `scale` block; -1 when the sizes differ.
int DifferingPixels(const std::filesystem::path& png, const TBitmap& window, int scale = 1) {
  const QImage picture(QString::fromStdString(png.string()));
  if (picture.width() != window.Width() * scale || picture.height() != window.Height() * scale) {
    return -1;
  }
  int differing = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      differing += (picture.pixel(x, y) | 0xFF000000u) != window.Row(y / scale)[x / scale];
    }
  }
  return differing;
}

// A main window in this process with `file` loaded through File > Open.
std::unique_ptr<TForm1> LoadedForm(const std::string& file) {
  testing::ScriptedDialogs& dialogs = testing::InstallScriptedDialogs();
  auto form = std::make_unique<TForm1>(testing::TestApplication());
  dialogs.answers.push_back(file);
  form->actOpenFile.Execute();
  return form;
}

struct SizeCase {
  const char* name;
  std::vector<std::string> options;
  int width;
  int height;
  int scale;
  friend void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }
};

// The pictures must be what the window shows: the same sample loaded into a main window in this
// process, each chart given the picture's size and painted as the window's paint does.
class RenderPictures : public ::testing::TestWithParam<SizeCase> {};

TEST_P(RenderPictures, AreThePagesPaintedByTheWindowPixelForPixel) {
  const SizeCase& c = GetParam();
  const std::string sample = std::string(PLOTVIK_TEST_DATA) + "/sample_dipole.txt";
  TempDir dir;
  std::vector<std::string> arguments = c.options;
  arguments.insert(arguments.end(), {sample, dir.Path().string()});
  const RunResult r = RunRender(arguments);
  ASSERT_EQ(r.status, 0) << r.err;

  auto form = LoadedForm(sample);
  for (int page = 0; page < kChartPageCount; ++page) {
    SCOPED_TRACE(kChartPages[page].imageFile);
    TDBChart& chart = PageChart(*form, page);
    chart.SetBounds(0, 0, c.width, c.height);
    chart.PaintWindow();
    EXPECT_EQ(
        DifferingPixels(dir.Path() / kChartPages[page].imageFile, chart.WindowImage(), c.scale), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, RenderPictures,
    ::testing::Values(SizeCase{"designed", {}, 623, 379, 1},
                      SizeCase{"small", {"--size", "300x200"}, 300, 200, 1},
                      SizeCase{"large", {"--size=1000X700"}, 1000, 700, 1},
                      SizeCase{"designed_doubled", {"--scale", "2"}, 623, 379, 2},
                      SizeCase{"small_tripled", {"--scale=3", "--size", "300x200"}, 300, 200, 3}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plotvik

namespace plotvik {
namespace {

// The axis labels follow the user's number separators, as in the viewer.
TEST(RenderToolLocale, LabelsWithTheUsersSeparatorsAsTheWindowDoes) {
  TempDir dir;
  const std::filesystem::path locales = dir.Path() / "locales";
  if (!testing::CompileLocale(locales, "de_DE.UTF-8")) {
    GTEST_SKIP() << "localedef or the de_DE locale source is not available";
  }
  const std::vector<std::string> german = testing::LocaleEnvironment(locales, "de_DE.UTF-8");
  // R climbs by 0.001 a line: its labels carry decimals.
  const std::string file = Fixture("pages_flat.txt");
  const RunResult r = RunRender({file, (dir.Path() / "de").string()}, german);
  ASSERT_EQ(r.status, 0) << r.err;

  auto form = LoadedForm(file);
  TDBChart& chart = PageChart(*form, 1);
  const std::filesystem::path picture = dir.Path() / "de" / "r.png";
  chart.PaintWindow();
  EXPECT_GT(DifferingPixels(picture, chart.WindowImage()), 0);

  testing::SeparatorsScope germanSeparators(',', ".");
  chart.Repaint();
  chart.PaintWindow();
  EXPECT_EQ(DifferingPixels(picture, chart.WindowImage()), 0);
}

}  // namespace
}  // namespace plotvik
