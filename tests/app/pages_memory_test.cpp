// Loading many files in a row in one process must not make it grow: every load replaces the
// table's records and every chart's points, so after the largest file has been loaded once, no
// later load may need more memory than that.

#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_pages.h"
#include "app/form1.h"
#include "app_test_support.h"
#include "chart/db_chart.h"
#include "chart/line_series.h"
#include "platform/gui/action_list.h"
#include "platform/gui/dialogs.h"
#include "tests/import/temp_dir.h"

namespace plotvik {
namespace {

#if !defined(__SANITIZE_ADDRESS__)

// Answers every file dialog with the next name and keeps nothing else, so that the test's own
// bookkeeping does not grow with the number of loads.
class NextFileDialogs : public TDialogs {
 public:
  std::optional<std::string> ChooseFileToOpen(const std::string&) override { return next; }
  void ShowMessage(TMsgDlgType, const std::string&, const std::string&) override { ++messages; }
  std::string next;
  int messages = 0;
};

// Bytes the allocator has handed out and not had back (heap and separately mapped blocks).
long long InUse() {
  const struct mallinfo2 info = ::mallinfo2();
  return static_cast<long long>(info.uordblks) + static_cast<long long>(info.hblkhd);
}

// A sweep file of `lines` lines whose values depend on `seed`, so that every file gives other
// labels and other pictures.
std::string SweepText(int lines, int seed) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    const int h = 100 + i * 7 + seed;
    const std::string height =
        std::to_string(h / 100) + "." + std::to_string(h % 100 / 10) + std::to_string(h % 10);
    const std::string v = std::to_string((i * 37 + seed * 11) % 997);
    text += std::to_string(i + 1) + " " + height + " " + height + " " + v + " -" + v + " 1." + v +
            " " + v + " " + std::to_string(seed) + " " + std::to_string(i % 90) + "\n";
  }
  return text;
}

#endif

TEST(PagesMemory, TwoHundredLoadsNeedNoMoreThanTheLargestFile) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer's allocator keeps its own books; its leak check covers "
                  "what this test measures";
#else
  testing::TempDir dir;
  const int sizes[] = {400, 5, 150, 1, 300, 60, 0, 220};
  const int largest = 0;
  std::vector<std::string> files;
  for (int i = 0; i < static_cast<int>(std::size(sizes)); ++i) {
    files.push_back(dir.Write("sweep" + std::to_string(i) + ".txt", SweepText(sizes[i], i)));
  }

  TApplication& application = testing::TestApplication();
  auto dialogsOwner = std::make_unique<NextFileDialogs>();
  NextFileDialogs& dialogs = *dialogsOwner;
  application.SetDialogs(std::move(dialogsOwner));
  auto form = std::make_unique<TForm1>(application);

  // Each load is followed by a frame of every page, so buffers and label texts count too.
  const auto loadAndPaint = [&](const std::string& file) {
    dialogs.next = file;
    form->actOpenFile.Execute();
    for (int page = 0; page < kChartPageCount; ++page) PageChart(*form, page).PaintWindow();
  };

  // Twice, so that caches filled on first use (fonts, glyphs, the records' free lists) are full.
  loadAndPaint(files[largest]);
  loadAndPaint(files[largest]);
  const long long baseline = InUse();

  long long peak = 0;
  for (int i = 0; i < 200; ++i) {
    loadAndPaint(files[static_cast<size_t>(i) % files.size()]);
    peak = std::max(peak, InUse());
  }
  loadAndPaint(files[largest]);
  const long long after = InUse();

  EXPECT_EQ(dialogs.messages, 0);
  EXPECT_EQ(PageSeries(*form, 0).Count(), sizes[largest]);
  // A little room for the allocator's own bookkeeping; a leak of forty bytes a load passes it.
  constexpr long long kSlack = 8 * 1024;
  EXPECT_LE(peak, baseline + kSlack) << "baseline " << baseline;
  EXPECT_LE(after, baseline + kSlack) << "baseline " << baseline;
  form.reset();
#endif
}

}  // namespace
}  // namespace plotvik
