#include "platform/gui/canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "platform/gui/bitmap.h"
#include "platform/gui/raster_internal.h"

namespace plotvik {

using raster::ClampToFarCoordinate;
using raster::Ink;
using raster::Mask;

namespace {

__extension__ typedef __int128 Int128;

Int128 FloorDiv(Int128 a, Int128 b) {
  Int128 q = a / b;
  if (a % b != 0 && a < 0) --q;
  return q;
}
Int128 CeilDiv(Int128 a, Int128 b) {
  return -FloorDiv(-a, b);
}

// Calls f(x, y, i) for the pixels of the line from (x0, y0) towards (x1, y1): the start pixel
// and every pixel up to, not including, the end; i counts from 0 at the start. Only the stretch
// whose major coordinate lies inside `box` is walked, so far-away end points cost nothing.
// The minor coordinate is the exact line's value rounded to the nearest pixel, halves going
// to the smaller coordinate; that rule is taken from the left (or upper) end whichever way the
// line runs, so a line drawn backwards covers the same pixels apart from its ends.
template <class F>
void WalkLine(int x0, int y0, int x1, int y1, const TRect& box, F&& f) {
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
    offset = CeilDiv(2 * steps - D, 2 * D);
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

// On/off runs of the broken styles: one-pixel pens in pixels, geometric pens in pen widths.
std::vector<std::uint8_t> PatternOf(TPenStyle style, bool geometric, int unit) {
  std::vector<int> runs;
  if (geometric) {
    switch (style) {
      case psDash:
        runs = {3, 1};
        break;
      case psDot:
        runs = {1, 1};
        break;
      case psDashDot:
        runs = {3, 1, 1, 1};
        break;
      case psDashDotDot:
        runs = {3, 1, 1, 1, 1, 1};
        break;
      default:
        break;
    }
  } else {
    switch (style) {
      case psDash:
        runs = {18, 6};
        break;
      case psDot:
        runs = {3, 3};
        break;
      case psDashDot:
        runs = {9, 6, 3, 6};
        break;
      case psDashDotDot:
        runs = {9, 3, 3, 3, 3, 3};
        break;
      default:
        break;
    }
  }
  std::vector<std::uint8_t> on;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    on.insert(on.end(), static_cast<std::size_t>(runs[r] * unit), r % 2 == 0 ? 1 : 0);
  }
  return on;
}

// A pen wider than this covers any buffer anyway.
constexpr int kWidestPen = 4096;

}  // namespace

// The current pen, brush and clip turned into what the pixel loops need.
class TRasterizer {
 public:
  explicit TRasterizer(TCanvas& c) : c_(c), bitmap_(c.target_) {
    clip_ = bitmap_.Bounds();
    if (c.clip_) clip_ = clip_.Intersected(*c.clip_);

    const TPen& pen = c.pen_;
    const bool geometric = c.penKind_ == pkGeometric;
    TPenStyle style = pen.Style();
    width_ = c.penKind_ == pkAlternate ? 1 : std::clamp(pen.Width(), 1, kWidestPen);
    visible_ = style != psClear;
    insideFrame_ = style == psInsideFrame;
    if (c.penKind_ == pkAlternate) {
      pattern_ = {1, 0};
    } else if (geometric || width_ == 1) {
      pattern_ = PatternOf(style, geometric, geometric ? width_ : 1);
    }
    // (A plain pen wider than one pixel draws solid whatever its style, as the platform's.)
    ink_ = raster::MakeInk(pen.Color(), pen.Mode());
    fillGaps_ = c.backMode_ == TTextBackMode::Opaque;
    gapInk_ = raster::MakeInk(c.backColor_, pen.Mode());
    brushVisible_ = c.brush_.Style() == bsSolid;
    brushInk_ = raster::MakeInk(c.brush_.Color(), pen.Mode());
  }

  const TRect& Clip() const { return clip_; }
  bool PenVisible() const { return visible_; }
  int PenWidth() const { return width_; }

  bool PatternOn(int i) const {
    return pattern_.empty() || pattern_[static_cast<std::size_t>(i) % pattern_.size()] != 0;
  }

  // A one-pixel line; `phase` carries the broken-style pattern on to the next line.
  void ThinLine(int x0, int y0, int x1, int y1, int& phase) {
    const int start = phase;
    const long long len = std::max(std::llabs(static_cast<long long>(x1) - x0),
                                   std::llabs(static_cast<long long>(y1) - y0));
    if (clip_.IsEmpty()) {
      phase = static_cast<int>((start + len) % std::max<std::size_t>(1, pattern_.size()));
      return;
    }
    const bool inside = clip_.Contains(x0, y0) && clip_.Contains(x1, y1);
    if (pattern_.empty() && inside) {
      // Both ends inside the clip: so is every pixel between them.
      WalkLine(x0, y0, x1, y1, clip_, [&](int x, int y, int) { ink_(bitmap_.Row(y)[x]); });
    } else if (pattern_.empty()) {
      WalkLine(x0, y0, x1, y1, clip_, [&](int x, int y, int) {
        if (y >= clip_.Top && y < clip_.Bottom && x >= clip_.Left && x < clip_.Right)
          ink_(bitmap_.Row(y)[x]);
      });
    } else {
      WalkLine(x0, y0, x1, y1, clip_, [&](int x, int y, int i) {
        if (!clip_.Contains(x, y)) return;
        if (PatternOn(start + i))
          ink_(bitmap_.Row(y)[x]);
        else if (fillGaps_)
          gapInk_(bitmap_.Row(y)[x]);
      });
    }
    phase = static_cast<int>((start + len) % std::max<std::size_t>(1, pattern_.size()));
  }

  // Marks the stroke of a path into `mask` (2 = pen pixel, 1 = gap to fill with the background
  // colour). One-pixel strokes take each segment's pixels without its end; wider ones put a
  // square of the pen's width on every pixel of the path, both ends included (square caps).
  void StrokePath(std::span<const TPoint> pts, bool closed, Mask& mask) const {
    if (pts.empty()) return;
    std::vector<TPoint> path(pts.begin(), pts.end());
    if (closed) path.push_back(pts.front());
    const int w = width_;
    const int half = w / 2;
    TRect walkBox = mask.Box();
    walkBox = {walkBox.Left - w, walkBox.Top - w, walkBox.Right + w, walkBox.Bottom + w};
    int phase = 0;
    auto put = [&](int x, int y, bool on) {
      if ((!on && !fillGaps_) || !walkBox.Contains(x, y)) return;  // too far to reach the box
      const std::uint8_t v = on ? 2 : 1;
      if (w == 1) {
        mask.Mark(x, y, v);
      } else {
        const TRect square =
            TRect{x - half, y - half, x - half + w, y - half + w}.Intersected(mask.Box());
        for (int yy = square.Top; yy < square.Bottom; ++yy)
          for (int xx = square.Left; xx < square.Right; ++xx) mask.Mark(xx, yy, v);
      }
    };
    for (std::size_t k = 0; k + 1 < path.size(); ++k) {
      const TPoint a = path[k], b = path[k + 1];
      const long long len = std::max(std::llabs(static_cast<long long>(b.X) - a.X),
                                     std::llabs(static_cast<long long>(b.Y) - a.Y));
      const int start = phase;
      WalkLine(a.X, a.Y, b.X, b.Y, walkBox,
               [&](int x, int y, int i) { put(x, y, PatternOn(start + i)); });
      phase = static_cast<int>((start + len) % std::max<std::size_t>(1, pattern_.size()));
    }
    if (w > 1) put(path.back().X, path.back().Y, PatternOn(phase));
  }

  void ApplyStroke(const Mask& mask) {
    const TRect box = mask.Box().Intersected(clip_);
    for (int y = box.Top; y < box.Bottom; ++y) {
      TRGB* row = bitmap_.Row(y);
      for (int x = box.Left; x < box.Right; ++x) {
        const auto v = mask.Get(x, y);
        if (v == 2)
          ink_(row[x]);
        else if (v == 1)
          gapInk_(row[x]);
      }
    }
  }

  // Fills the pixels of r (within the clip) that the stroke left alone, with the brush.
  template <class Inside>
  void FillExcept(const TRect& r, const Mask& stroke, Inside&& inside) {
    if (!brushVisible_) return;
    const TRect box = r.Intersected(clip_);
    for (int y = box.Top; y < box.Bottom; ++y) {
      TRGB* row = bitmap_.Row(y);
      for (int x = box.Left; x < box.Right; ++x)
        if (stroke.Get(x, y) == 0 && inside(x, y)) brushInk_(row[x]);
    }
  }

  void FillRect(const TRect& r, const Ink& ink) {
    const TRect box = r.Normalized().Intersected(clip_);
    for (int y = box.Top; y < box.Bottom; ++y) {
      TRGB* row = bitmap_.Row(y);
      for (int x = box.Left; x < box.Right; ++x) ink(row[x]);
    }
  }

  bool BrushVisible() const { return brushVisible_; }
  bool Solid() const { return pattern_.empty(); }
  const Ink& PenInk() const { return ink_; }
  const Ink& BrushInk() const { return brushInk_; }
  bool InsideFrame() const { return insideFrame_; }

  // A box around the points grown by the pen, cut to the clip.
  TRect StrokeBox(std::span<const TPoint> pts) const {
    if (pts.empty()) return {};
    long long left = pts[0].X, top = pts[0].Y, right = left, bottom = top;
    for (const auto& p : pts) {
      left = std::min<long long>(left, p.X);
      top = std::min<long long>(top, p.Y);
      right = std::max<long long>(right, p.X);
      bottom = std::max<long long>(bottom, p.Y);
    }
    const long long w = width_;
    const TRect b{ClampToFarCoordinate(left - w), ClampToFarCoordinate(top - w),
                  ClampToFarCoordinate(right + 1 + w), ClampToFarCoordinate(bottom + 1 + w)};
    return b.Intersected(clip_);
  }

 private:
  TCanvas& c_;
  TBitmap& bitmap_;
  TRect clip_;
  int width_ = 1;
  bool visible_ = true;
  bool insideFrame_ = false;
  std::vector<std::uint8_t> pattern_;
  Ink ink_;
  bool fillGaps_ = false;
  Ink gapInk_;
  bool brushVisible_ = true;
  Ink brushInk_;
};

int TCanvas::Width() const {
  return target_.Width();
}
int TCanvas::Height() const {
  return target_.Height();
}

void TCanvas::SelectAlternatePen(TColor color) {
  selectingPen_ = true;
  pen_.SetColor(color);
  pen_.SetWidth(1);
  pen_.SetStyle(psSolid);
  selectingPen_ = false;
  penKind_ = pkAlternate;
}

void TCanvas::SelectGeometricPen(TColor color, int width, TPenStyle style, TPenMode mode) {
  selectingPen_ = true;
  pen_.SetColor(color);
  pen_.SetWidth(width);
  pen_.SetStyle(style);
  pen_.SetMode(mode);
  selectingPen_ = false;
  penKind_ = pkGeometric;
}

void TCanvas::LineTo(int x, int y) {
  const TPoint from = penPos_;
  penPos_ = {x, y};
  const TPoint pts[2] = {from, {x, y}};
  Polyline(pts);
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  if (points.size() < 2) return;
  TRasterizer r(*this);
  if (!r.PenVisible()) return;
  if (r.PenWidth() == 1) {
    int phase = 0;
    for (std::size_t k = 0; k + 1 < points.size(); ++k)
      r.ThinLine(points[k].X, points[k].Y, points[k + 1].X, points[k + 1].Y, phase);
  } else {
    Mask mask(r.StrokeBox(points));
    r.StrokePath(points, false, mask);
    r.ApplyStroke(mask);
  }
  Changed();
}

void TCanvas::Rectangle(int x0, int y0, int x1, int y1) {
  const TRect rect = TRect{ClampToFarCoordinate(x0), ClampToFarCoordinate(y0),
                           ClampToFarCoordinate(x1), ClampToFarCoordinate(y1)}
                         .Normalized();
  if (rect.IsEmpty()) return;
  TRasterizer r(*this);
  if (!r.PenVisible()) {
    if (r.BrushVisible()) r.FillRect(rect, r.BrushInk());
    Changed();
    return;
  }
  const int w = r.PenWidth();
  // The path the pen runs along: the outermost pixels for a one-pixel pen and for a pen kept
  // inside the frame; a wider pen is centred on them.
  int inset = 0, insetFar = 0;
  if (w > 1 && r.InsideFrame()) {
    inset = w / 2;
    insetFar = w - 1 - w / 2;
  }
  // The path's corner pixels; right and bottom are the last column and row it covers.
  const int left = rect.Left + inset, top = rect.Top + inset;
  const int right = std::max(left, rect.Right - 1 - insetFar);
  const int bottom = std::max(top, rect.Bottom - 1 - insetFar);
  if (w == 1 && r.Solid() && right > left && bottom > top) {
    // The common case (every pointer of a series): each pixel once, no mask needed.
    const Ink& ink = r.PenInk();
    r.FillRect({left, top, right + 1, top + 1}, ink);
    r.FillRect({left, bottom, right + 1, bottom + 1}, ink);
    r.FillRect({left, top + 1, left + 1, bottom}, ink);
    r.FillRect({right, top + 1, right + 1, bottom}, ink);
    if (r.BrushVisible()) r.FillRect({left + 1, top + 1, right, bottom}, r.BrushInk());
    Changed();
    return;
  }
  const TPoint path[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  const TRect grown{rect.Left - w, rect.Top - w, rect.Right + w, rect.Bottom + w};
  Mask mask(grown.Intersected(r.Clip()));
  r.StrokePath(path, true, mask);
  // (A rectangle one pixel thin is all outline; the closed path walks some of its pixels
  // twice, and the mask makes each count once.)
  r.FillExcept(TRect{left + 1, top + 1, right, bottom}, mask, [](int, int) { return true; });
  r.ApplyStroke(mask);
  Changed();
}

void TCanvas::FillRect(const TRect& rect) {
  if (brush_.Style() != bsSolid) return;
  TRasterizer r(*this);
  // Fills copy the brush whatever the pen mode (the platform fills rectangles by pattern copy).
  r.FillRect(rect, raster::MakeInk(brush_.Color(), pmCopy));
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  if (points.empty()) return;
  TRasterizer r(*this);
  Mask mask(r.PenVisible() ? r.StrokeBox(points) : TRect{});
  if (r.PenVisible()) r.StrokePath(points, true, mask);
  if (r.BrushVisible() && points.size() >= 3) {
    TRect box{points[0].X, points[0].Y, points[0].X, points[0].Y};
    for (const auto& p : points) {
      box.Left = std::min(box.Left, p.X);
      box.Top = std::min(box.Top, p.Y);
      box.Right = std::max(box.Right, p.X);
      box.Bottom = std::max(box.Bottom, p.Y);
    }
    box = box.Intersected(r.Clip());
    // Alternate rule at pixel centres, one row at a time.
    std::vector<double> xs;
    for (int y = box.Top; y < box.Bottom; ++y) {
      const double yc = y + 0.5;
      xs.clear();
      for (std::size_t k = 0; k < points.size(); ++k) {
        const TPoint a = points[k], b = points[(k + 1) % points.size()];
        if (a.Y == b.Y) continue;
        const double ya = a.Y, yb = b.Y;
        if ((yc >= ya && yc < yb) || (yc >= yb && yc < ya))
          xs.push_back(a.X + (yc - ya) * (static_cast<double>(b.X) - a.X) / (yb - ya));
      }
      std::sort(xs.begin(), xs.end());
      // With an outline, the fill stays between the row's outline pixels: centre sampling
      // alone would let it peek out past a steep edge's rounding.
      int lo = box.Left, hi = box.Right;
      if (r.PenVisible()) {
        lo = box.Right;
        hi = box.Left;
        for (int x = mask.Box().Left; x < mask.Box().Right; ++x)
          if (mask.Get(x, y) != 0) {
            lo = std::min(lo, x);
            hi = std::max(hi, x + 1);
          }
      }
      for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
        const double limit = raster::kFarCoordinate;
        int from =
            std::max(lo, static_cast<int>(std::ceil(std::clamp(xs[k], -limit, limit) - 0.5)));
        int to =
            std::min(hi, static_cast<int>(std::ceil(std::clamp(xs[k + 1], -limit, limit) - 0.5)));
        if (r.PenVisible()) {
          // The outline's pixels are rounded to the nearest pixel, the centres are not: a pixel
          // between the two (never more than one) belongs to the inside.
          if (from - 1 >= lo && mask.Get(from - 1, y) == 0) --from;
          if (to < hi && mask.Get(to, y) == 0) ++to;
        }
        r.FillExcept(TRect{from, y, to, y + 1}, mask, [](int, int) { return true; });
      }
    }
  }
  r.ApplyStroke(mask);
  Changed();
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  const TRect clip = clip_ ? clip_->Intersected(target_.Bounds()) : target_.Bounds();
  if (!clip.Contains(x, y)) return;
  target_.Row(y)[x] = raster::PixelOf(color);
  Changed();
}

TColor TCanvas::Pixel(int x, int y) const {
  return target_.Pixel(x, y);
}

void TCanvas::IntersectClip(const TRect& r) {
  // Without a clip the rectangle is cut to itself, which turns an empty one into (0, 0, 0, 0).
  const TRect n = r.Normalized();
  clip_ = (clip_ ? *clip_ : n).Intersected(n);
}

void TCanvas::Draw(int x, int y, const TBitmap& source) {
  if (&source == &target_) return;
  TRect clip = clip_ ? clip_->Intersected(target_.Bounds()) : target_.Bounds();
  const TRect dest = TRect{x, y, x + source.Width(), y + source.Height()}.Intersected(clip);
  if (dest.IsEmpty()) return;
  for (int yy = dest.Top; yy < dest.Bottom; ++yy) {
    const TRGB* from = source.Row(yy - y) + (dest.Left - x);
    std::copy(from, from + (dest.Right - dest.Left), target_.Row(yy) + dest.Left);
  }
  Changed();
}

}  // namespace plotvik
