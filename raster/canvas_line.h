#pragma once

// Stepping along a line and the on/off patterns of the broken pen styles; not for use outside
// raster/.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "raster/geometry.h"
#include "raster/graphic_objects.h"

namespace plotvik::raster {

namespace line_detail {

__extension__ typedef __int128 Int128;

inline Int128 FloorDiv(Int128 a, Int128 b) {
  Int128 q = a / b;
  if (a % b != 0 && a < 0) --q;
  return q;
}
inline Int128 CeilDiv(Int128 a, Int128 b) {
  return -FloorDiv(-a, b);
}

}  // namespace line_detail

// Pixels of the line along its longer axis: the start pixel counts, the end does not.
inline long long LineSteps(int x0, int y0, int x1, int y1) {
  return std::max(std::llabs(static_cast<long long>(x1) - x0),
                  std::llabs(static_cast<long long>(y1) - y0));
}

// Calls f(x, y, i) for the line's pixels, i counting from 0 at the start, within `box` only so
// that far-away ends cost nothing. Halves round from the left (upper) end whichever way the
// line runs, so a line drawn backwards covers the same pixels apart from its ends.
template <class F>
void WalkLine(int x0, int y0, int x1, int y1, const TRect& box, F&& f) {
  using line_detail::Int128;
  const long long dx = static_cast<long long>(x1) - x0;
  const long long dy = static_cast<long long>(y1) - y0;
  if (dx == 0 && dy == 0) return;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  // Work in (major, minor) coordinates.
  const long long m0 = xMajor ? x0 : y0;
  const long long n0 = xMajor ? y0 : x0;
  const long long dm = xMajor ? dx : dy;
  const long long dn = xMajor ? dy : dx;
  const long long lo = xMajor ? box.Left : box.Top;
  const long long hi = xMajor ? box.Right : box.Bottom;  // exclusive
  const long long count = std::llabs(dm);
  const int s = dm > 0 ? 1 : -1;
  long long iLo, iHi;
  if (s > 0) {
    iLo = std::max(0LL, lo - m0);
    iHi = std::min(count, hi - m0);
  } else {
    iLo = std::max(0LL, m0 - hi + 1);
    iHi = std::min(count, m0 - lo + 1);
  }
  if (iLo >= iHi) return;
  // Canonical direction: from the end with the smaller major coordinate.
  const long long ma = s > 0 ? m0 : m0 + dm;
  const long long na = s > 0 ? n0 : n0 + dn;
  const Int128 D = count;             // > 0
  const Int128 N = s > 0 ? dn : -dn;  // minor change from the canonical start
  long long m = m0 + s * iLo;
  // offset = the nearest integer to steps / D with halves rounded down (the smallest k with
  // 2kD >= 2 steps - D), e = 2 offset D - 2 steps, kept in [-D, D). At an end point the
  // division is exact; only a line entering the box part-way needs it.
  Int128 offset = s > 0 ? 0 : N;
  Int128 e = 0;
  if (iLo != 0) {
    const Int128 steps = static_cast<Int128>(m - ma) * N;
    offset = line_detail::CeilDiv(2 * steps - D, 2 * D);
    e = 2 * offset * D - 2 * steps;
  }
  long long n = na + static_cast<long long>(offset);
  // From here on everything fits 64 bits: |e| < 2D and both steps are below 2^34.
  const long long d = count;
  long long e64 = static_cast<long long>(e);
  const long long stepE = 2 * s * static_cast<long long>(N);
  const long long twoD = 2 * d;
  for (long long i = iLo; i < iHi; ++i) {
    if (xMajor)
      f(static_cast<int>(m), static_cast<int>(n), static_cast<int>(i));
    else
      f(static_cast<int>(n), static_cast<int>(m), static_cast<int>(i));
    m += s;
    e64 -= stepE;
    if (e64 < -d) {
      ++n;
      e64 += twoD;
    } else if (e64 >= d) {
      --n;
      e64 -= twoD;
    }
  }
}

// Which pixels of a stroke the pen sets, counted from the stroke's start; the pattern runs on
// across the corners of a path.
class DashPattern {
 public:
  // Solid: every pixel on.
  DashPattern() = default;
  // One-pixel pens measure the runs in pixels, geometric pens in pen widths (`unit`).
  static DashPattern Of(TPenStyle style, bool geometric, int unit);
  // Every other pixel, starting with the first.
  static DashPattern Alternate() { return DashPattern({1, 0}); }

  bool Solid() const { return on_.empty(); }
  bool On(int i) const { return on_.empty() || on_[static_cast<std::size_t>(i) % on_.size()] != 0; }
  // Where the pattern stands after `steps` more pixels from `phase`.
  int PhaseAfter(int phase, long long steps) const {
    return static_cast<int>((phase + steps) % std::max<std::size_t>(1, on_.size()));
  }

 private:
  explicit DashPattern(std::vector<std::uint8_t> on) : on_(std::move(on)) {}
  std::vector<std::uint8_t> on_;
};

}  // namespace plotvik::raster
