#include "platform/gui/runtime_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>

namespace plotvik {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

// A temporary folder of the test's own, and the two variables as the case wants them; all
// put back afterwards.
class RuntimeFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedRuntime_ = Environment("XDG_RUNTIME_DIR");
    savedTmp_ = Environment("TMPDIR");
    char name[] = "/tmp/plotvik-runtime-test.XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    tmp_ = name;
    setenv("TMPDIR", name, 1);
    unsetenv("XDG_RUNTIME_DIR");
  }
  void TearDown() override {
    Restore("XDG_RUNTIME_DIR", savedRuntime_);
    Restore("TMPDIR", savedTmp_);
    fs::remove_all(tmp_);
  }
  static void Restore(const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  bool TmpIsEmpty() const { return fs::is_empty(tmp_); }

  fs::path tmp_;
  std::optional<std::string> savedRuntime_, savedTmp_;
};

TEST_F(RuntimeFolderTest, LentPrivatelyWhereTheSessionHasNoneAndNeverLeftBehind) {
  // Unset, or set to nothing: the toolkit takes both as none.
  for (const bool emptyName : {false, true}) {
    SCOPED_TRACE(emptyName ? "XDG_RUNTIME_DIR=" : "no XDG_RUNTIME_DIR");
    if (emptyName) setenv("XDG_RUNTIME_DIR", "", 1);
    {
      TRuntimeFolder folder;
      ASSERT_FALSE(folder.Path().empty());
      EXPECT_EQ(fs::path(folder.Path()).parent_path(), tmp_);
      EXPECT_EQ(Environment("XDG_RUNTIME_DIR"), folder.Path());
      // What the toolkit demands of the folder, or it warns and makes its own.
      struct stat info {};
      ASSERT_EQ(stat(folder.Path().c_str(), &info), 0);
      EXPECT_TRUE(S_ISDIR(info.st_mode));
      EXPECT_EQ(info.st_mode & 07777, 0700u);
      EXPECT_EQ(info.st_uid, geteuid());

      folder.ToolkitStarted();
      EXPECT_TRUE(TmpIsEmpty());
      // A later user of the name makes the folder again, and puts something in it.
      fs::create_directory(folder.Path());
      fs::create_directory(fs::path(folder.Path()) / "dconf");
    }
    EXPECT_TRUE(TmpIsEmpty());
    EXPECT_EQ(Environment("XDG_RUNTIME_DIR"), std::nullopt);
  }
}

TEST_F(RuntimeFolderTest, TheSessionsOwnFolderIsLeftAlone) {
  const fs::path own = tmp_ / "own";
  fs::create_directory(own);
  setenv("XDG_RUNTIME_DIR", own.c_str(), 1);
  {
    TRuntimeFolder folder;
    EXPECT_TRUE(folder.Path().empty());
    folder.ToolkitStarted();
  }
  EXPECT_EQ(Environment("XDG_RUNTIME_DIR"), own.string());
  EXPECT_TRUE(fs::exists(own));
  EXPECT_EQ(std::distance(fs::directory_iterator(tmp_), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace plotvik
