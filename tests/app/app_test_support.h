#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "raster/bitmap.h"

class QPoint;
class QWidget;

namespace plotvik {
class TCustomChartPanel;
class TForm1;
class TMemTable;
}  // namespace plotvik

namespace plotvik::testing {

// Answers the program's dialogs from a script and records what they were asked.
class ScriptedDialogs : public TDialogs {
 public:
  struct Message {
    TMsgDlgType type;
    std::string caption;
    std::string text;
  };

  std::optional<std::string> ChooseFileToOpen(const std::string& initialFileName) override {
    offered.push_back(initialFileName);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }

  void ShowMessage(TMsgDlgType type, const std::string& caption, const std::string& text) override {
    messages.push_back({type, caption, text});
  }

  std::deque<std::optional<std::string>> answers;  // nullopt: the user cancels
  std::vector<std::string> offered;
  std::vector<Message> messages;
};

// The full name of a fixture file in tests/data.
inline std::string Fixture(const char* name) {
  return std::string(PLOTVIK_TEST_DATA) + "/" + name;
}

// The process's one application object, created before the first test.
TApplication& TestApplication();

// Installs fresh scripted dialogs in the application and returns them (owned by it).
ScriptedDialogs& InstallScriptedDialogs();

// A left-button drag through `widget` as the mouse makes it: press, a move halfway, a move to
// the end, release there.
void DragWithLeftButton(QWidget& widget, QPoint from, QPoint to);

// A drag through the chart's window over the middle half of its chart rectangle: towards the
// lower right it zooms in, back towards the upper left it restores the automatic ranges.
void ZoomIntoMiddle(TCustomChartPanel& chart);
void ZoomBackOut(TCustomChartPanel& chart);

// The heights of the table's records in its order (none while it is closed); walks the cursor.
std::vector<double> Heights(TMemTable& table);

// The frame the chart of `page` shows now, painted as the window's paint does.
std::vector<TRGB> PagePixels(TForm1& form, int page);

}  // namespace plotvik::testing
