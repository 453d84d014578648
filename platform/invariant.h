#pragma once

// PLOTVIK_ASSERT(condition): an invariant the code around it relies on and a reader would
// otherwise have to work out. Checked in debug builds and in the sanitizer build (a broken one
// prints its place and aborts); a release build does not evaluate the condition.

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace plotvik {

[[noreturn]] inline void InvariantBroken(const char* condition, const char* file, int line) {
  char number[16];
  const auto end = std::to_chars(number, number + sizeof number, line).ptr;
  std::fputs(file, stderr);
  std::fputc(':', stderr);
  std::fwrite(number, 1, static_cast<size_t>(end - number), stderr);
  std::fputs(": invariant broken: ", stderr);
  std::fputs(condition, stderr);
  std::fputc('\n', stderr);
  std::abort();
}

}  // namespace plotvik

#if !defined(NDEBUG) || defined(PLOTVIK_CHECK_INVARIANTS)
#define PLOTVIK_ASSERT(condition) \
  ((condition) ? void(0) : ::plotvik::InvariantBroken(#condition, __FILE__, __LINE__))
#else
#define PLOTVIK_ASSERT(condition) ((void)sizeof(condition))
#endif
