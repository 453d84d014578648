#pragma once

#include <stdio.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/import/temp_dir.h"

namespace plotvik::testing {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs one of the built command-line tools (tools/<tool>) through the shell and collects its
// exit status, standard output and standard error. `environment` goes before the command, for
// example "LC_ALL=de_DE.UTF-8".
inline RunResult RunTool(const std::string& tool, const std::string& arguments,
                         const std::string& environment = "") {
  TempDir dir;
  const std::string errPath = (dir.Path() / "stderr").string();
  const std::string command =
      environment + " " PLOTVIK_BINARY_DIR "/tools/" + tool + " " + arguments + " 2>" + errPath;
  RunResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    result.out.append(buffer, n);
  }
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ostringstream err;
  err << std::ifstream(errPath).rdbuf();
  result.err = err.str();
  return result;
}

}  // namespace plotvik::testing
