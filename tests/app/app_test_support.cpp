#include "app_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace plotvik::testing {

namespace {

// The application object lives from before the first test to after the last, and goes before
// the process's exit: the toolkit cannot be torn down by static destructors.
class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { application = std::make_unique<TApplication>(argc_, argv_); }
  void TearDown() override { application.reset(); }

  std::unique_ptr<TApplication> application;

 private:
  int argc_ = 1;
  char name_[18] = "plotvik_app_tests";
  char* argv_[2] = {name_, nullptr};
};

// GoogleTest owns the environment.
ApplicationEnvironment* const environment = static_cast<ApplicationEnvironment*>(
    ::testing::AddGlobalTestEnvironment(std::make_unique<ApplicationEnvironment>().release()));

}  // namespace

TApplication& TestApplication() {
  return *environment->application;
}

ScriptedDialogs& InstallScriptedDialogs() {
  auto dialogs = std::make_unique<ScriptedDialogs>();
  ScriptedDialogs& ref = *dialogs;
  TestApplication().SetDialogs(std::move(dialogs));
  return ref;
}

}  // namespace plotvik::testing
