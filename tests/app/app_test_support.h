#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"

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

}  // namespace plotvik::testing
