// A Windows writer, as the sweep program is one: it opens a file for writing with the sharing a
// writer usually grants (others may read), and either holds it open or appends lines to it.
//   plotvik_windows_writer hold FILE SECONDS
//   plotvik_windows_writer append FILE COUNT   (COUNT lines, 0.2 s apart, then exits)
// It prints "ready" once the file is open, so a test knows when to go on.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring Wide(const char* text) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
  out.resize(out.size() - 1);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: plotvik_windows_writer hold|append FILE N\n", stderr);
    return 2;
  }
  const std::string mode = argv[1];
  const int n = std::atoi(argv[3]);
  HANDLE file = CreateFileW(Wide(argv[2]).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "cannot open %s: error %lu\n", argv[2], GetLastError());
    return 1;
  }
  std::puts("ready");
  std::fflush(stdout);
  if (mode == "hold") {
    Sleep(static_cast<DWORD>(n) * 1000);
  } else {
    SetFilePointer(file, 0, nullptr, FILE_END);
    for (int i = 0; i < n; ++i) {
      char line[96];
      // Height rising by 0.1 from 20, SWR falling: a chart that visibly grows.
      const int length =
          std::snprintf(line, sizeof line, "%d 1 %d.%d 50 0 %d.%d 10 10 20\r\n", i, 20 + i / 10,
                        i % 10, 1 + (200 - i) / 100, (200 - i) % 100 / 10);
      DWORD written = 0;
      WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
      Sleep(200);
    }
  }
  CloseHandle(file);
  return 0;
}
