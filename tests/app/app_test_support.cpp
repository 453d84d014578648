#include "app_test_support.h"

#include <memory>

namespace plotvik::testing {

TApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "plotvik_app_tests";
  static char* argv[] = {name, nullptr};
  static TApplication application(argc, argv);
  return application;
}

ScriptedDialogs& InstallScriptedDialogs() {
  auto dialogs = std::make_unique<ScriptedDialogs>();
  ScriptedDialogs& ref = *dialogs;
  TestApplication().SetDialogs(std::move(dialogs));
  return ref;
}

}  // namespace plotvik::testing
