#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "tests/import/temp_dir.h"

extern char** environ;

namespace plotvik::testing {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

namespace detail {

inline std::string ReadWhole(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// This process's environment with `overrides` ("NAME=value") put in place of, or beside, the
// variables of the same name.
inline std::vector<std::string> Environment(const std::vector<std::string>& overrides) {
  std::vector<std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    const std::string name = variable.substr(0, variable.find('=') + 1);
    bool replaced = false;
    for (const std::string& o : overrides) replaced = replaced || o.starts_with(name);
    if (!replaced) variables.push_back(variable);
  }
  variables.insert(variables.end(), overrides.begin(), overrides.end());
  return variables;
}

inline std::vector<char*> NullTerminated(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace detail

// Runs one of the built command-line tools (tools/<tool>) with exactly `arguments`, each one
// argument whatever characters it holds (no shell sees them), and collects its exit status,
// standard output and standard error. `environment` entries ("LC_ALL=de_DE.UTF-8") are set for
// the tool on top of this process's environment; `workingDir`, when given, is the tool's current
// folder. A tool that does not end normally (a signal,
// a sanitizer abort) gives status -1.
inline RunResult RunTool(const std::string& tool, std::vector<std::string> arguments,
                         const std::vector<std::string>& environment = {},
                         const std::string& workingDir = {}) {
  TempDir dir;
  const std::string outPath = (dir.Path() / "stdout").string();
  const std::string errPath = (dir.Path() / "stderr").string();
  std::string program = PLOTVIK_BINARY_DIR "/tools/" + tool;
  arguments.insert(arguments.begin(), program);
  std::vector<std::string> variables = detail::Environment(environment);
  std::vector<char*> argv = detail::NullTerminated(arguments);
  std::vector<char*> envp = detail::NullTerminated(variables);

  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  if (!workingDir.empty()) ::posix_spawn_file_actions_addchdir_np(&actions, workingDir.c_str());
  ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  const int spawned =
      ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  ::posix_spawn_file_actions_destroy(&actions);
  RunResult result;
  if (spawned != 0) {
    result.err = "cannot start " + program;
    return result;
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = detail::ReadWhole(outPath);
  result.err = detail::ReadWhole(errPath);
  return result;
}

}  // namespace plotvik::testing
