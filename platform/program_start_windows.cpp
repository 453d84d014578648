#include <fcntl.h>
#include <io.h>
#include <windows.h>
// Needs windows.h first.
#include <shellapi.h>

#include <cstdio>
#include <memory>

#include "platform/program_start.h"

namespace plotvik {

namespace {

std::string Utf8Of(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(n - 1));
  return out;
}

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + (argc > 0 ? argc : 0));
  const std::unique_ptr<wchar_t*, decltype(&LocalFree)> owner(wide, &LocalFree);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8Of(wide[i]));
  return arguments;
}

void UseStandardStreamsAsTheyAre() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
}

}  // namespace plotvik
