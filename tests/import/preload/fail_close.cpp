// Preloaded into a tool started by a test: the close of the file named by PLOTVIK_FAIL_CLOSE_OF
// closes the descriptor and then reports EIO, as a network file system may when data written
// by another machine cannot be committed. Every other close passes through unchanged.

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool IsTheNamedFile(int fd) {
  const char* name = std::getenv("PLOTVIK_FAIL_CLOSE_OF");
  if (name == nullptr) return false;
  char link[64];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  char target[4096];
  const ssize_t length = ::readlink(link, target, sizeof target - 1);
  if (length <= 0) return false;
  target[length] = '\0';
  return std::strcmp(target, name) == 0;
}

}  // namespace

extern "C" int close(int fd) {
  using Close = int (*)(int);
  static const auto realClose = reinterpret_cast<Close>(::dlsym(RTLD_NEXT, "close"));
  const bool fail = IsTheNamedFile(fd);
  const int result = realClose(fd);
  if (fail && result == 0) {
    errno = EIO;
    return -1;
  }
  return result;
}
