#include "platform/name_watch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/import/temp_dir.h"

namespace plotvik {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::pair<std::string, std::string>>;

class NameWatchTest : public ::testing::Test {
 protected:
  // The folder by its name free of symbolic links, as the resolution gives folders.
  void SetUp() override { root_ = fs::canonical(dir_.Path()).string(); }

  std::string Make(const std::string& name, const std::string& bytes = "1 2\n") {
    const fs::path file = fs::path(root_) / name;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::app) << bytes;
    return file.string();
  }
  std::string At(const std::string& name) const { return root_ + "/" + name; }

  // The entries below the temporary folder.
  Entries Below(const TNamePath& path) const {
    Entries below;
    for (const auto& entry : path.entries) {
      if (entry.first.starts_with(root_)) below.push_back(entry);
    }
    return below;
  }

  testing::TempDir dir_;
  std::string root_;
};

TEST_F(NameWatchTest, ResolutionGoesThroughEveryEntryAndLink) {
  Make("a/sweep.txt");
  Make("b/other.txt");
  fs::create_directory_symlink("a", At("dirlink"));
  fs::create_symlink("../b/other.txt", At("a/link"));
  fs::create_symlink("loop", At("loop"));

  struct Case {
    const char* name;
    std::string given;
    Entries entries;
    std::string file;
    bool complete;
  };
  const Case cases[] = {
      {"plain", At("a/sweep.txt"), {{root_, "a"}, {At("a"), "sweep.txt"}}, At("a/sweep.txt"), true},
      {"dots",
       At("a/./../a/sweep.txt"),
       {{root_, "a"}, {root_, "a"}, {At("a"), "sweep.txt"}},
       At("a/sweep.txt"),
       true},
      // A link's own folder, then the way its target goes.
      {"link to another folder",
       At("a/link"),
       {{root_, "a"}, {At("a"), "link"}, {root_, "b"}, {At("b"), "other.txt"}},
       At("b/other.txt"),
       true},
      {"link in the way",
       At("dirlink/sweep.txt"),
       {{root_, "dirlink"}, {root_, "a"}, {At("a"), "sweep.txt"}},
       At("a/sweep.txt"),
       true},
      // What is missing is watched for in the folder that is there.
      {"missing folder", At("gone/sweep.txt"), {{root_, "gone"}}, "", true},
      {"missing file", At("a/none.txt"), {{root_, "a"}, {At("a"), "none.txt"}}, "", true},
      {"loop", At("loop"), Entries(41, {root_, "loop"}), "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TNamePath path = ResolveName(c.given);
    EXPECT_EQ(Below(path), c.entries);
    EXPECT_EQ(path.file, c.file);
    EXPECT_EQ(path.complete, c.complete);
  }
}

// Each case changes something after the watch is set up: whether the name's watch must hear of
// it, and whether, once brought up to date, it hears of a write to the file named then.
TEST_F(NameWatchTest, HearsWhatChangesWhatTheNameStandsFor) {
  struct Case {
    const char* name;
    std::string followed;
    void (*change)(const std::string& root);
    bool heard;
  };
  const Case cases[] = {
      {"file written", "d/sweep.txt",
       [](const std::string& root) { std::ofstream(root + "/d/sweep.txt", std::ios::app) << "x"; },
       true},
      {"another file written", "d/sweep.txt",
       [](const std::string& root) { std::ofstream(root + "/d/other.txt") << "x"; }, false},
      {"folder made again", "d/sweep.txt",
       [](const std::string& root) {
         fs::remove_all(root + "/d");
         fs::create_directory(root + "/d");
         std::ofstream(root + "/d/sweep.txt") << "x";
       },
       true},
      {"folder renamed away and back", "d/sweep.txt",
       [](const std::string& root) {
         fs::rename(root + "/d", root + "/away");
         fs::rename(root + "/away", root + "/d");
       },
       true},
      {"link pointed elsewhere", "link",
       [](const std::string& root) {
         fs::create_symlink("e/sweep.txt", root + "/link.new");
         fs::rename(root + "/link.new", root + "/link");
       },
       true},
      {"name not in UTF-8", "d/caf\xe9.txt",
       [](const std::string& root) {
         std::ofstream(root + "/d/caf\xe9.txt", std::ios::app) << "x";
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(root_);
    fs::create_directory(root_);
    Make("d/sweep.txt");
    Make("d/caf\xe9.txt");
    Make("e/sweep.txt");
    fs::create_symlink("d/sweep.txt", At("link"));

    TNameWatch watch(At(c.followed));
    ASSERT_GE(watch.Descriptor(), 0);
    EXPECT_TRUE(watch.Update());
    EXPECT_FALSE(watch.TakeChanges());
    c.change(root_);
    EXPECT_EQ(watch.TakeChanges(), c.heard);
    EXPECT_TRUE(watch.Update());
    EXPECT_FALSE(watch.TakeChanges());
    const std::string named = fs::canonical(At(c.followed)).string();
    std::ofstream(named, std::ios::app) << "1 2\n";
    EXPECT_TRUE(watch.TakeChanges()) << named;
  }
}

}  // namespace
}  // namespace plotvik
