#include "raster/canvas_rasterizer.h"

#include <algorithm>

namespace plotvik {

using raster::ClampToFarCoordinate;
using raster::DashPattern;
using raster::LineSteps;
using raster::Mask;
using raster::WalkLine;

namespace raster {

namespace {
bool fastPaths = true;
}  // namespace

bool FastPaths() {
  return fastPaths;
}
void SetFastPaths(bool on) {
  fastPaths = on;
}

}  // namespace raster

namespace {

// A pen wider than this covers any buffer anyway.
constexpr int kWidestPen = 4096;

}  // namespace

TRasterizer::TRasterizer(TCanvas& c) : bitmap_(c.target_), pixels_(c.target_.Pixels().data()) {
  bounds_ = bitmap_.Bounds();
  clip_ = bounds_;
  if (c.clip_) clip_ = clip_.Intersected(*c.clip_);
  CheckInsideTarget(clip_);

  const TPen& pen = c.pen_;
  const bool geometric = c.penKind_ == pkGeometric;
  TPenStyle style = pen.Style();
  width_ = c.penKind_ == pkAlternate ? 1 : std::clamp(pen.Width(), 1, kWidestPen);
  visible_ = style != psClear;
  insideFrame_ = style == psInsideFrame;
  if (c.penKind_ == pkAlternate) {
    pattern_ = DashPattern::Alternate();
  } else if ((geometric || width_ == 1) && style != psSolid && style != psInsideFrame) {
    pattern_ = DashPattern::Of(style, geometric, geometric ? width_ : 1);
  }
  // (A plain pen wider than one pixel draws solid whatever its style, as the platform's.)
  ink_ = raster::MakeInk(pen.Color(), pen.Mode());
  fillGaps_ = c.backMode_ == TTextBackMode::Opaque;
  gapInk_ = raster::MakeInk(c.backColor_, pen.Mode());
  brushVisible_ = c.brush_.Style() == bsSolid;
  brushInk_ = raster::MakeInk(c.brush_.Color(), pen.Mode());
}

void TRasterizer::ThinLine(int x0, int y0, int x1, int y1, int& phase) {
  const int start = phase;
  phase = pattern_.PhaseAfter(start, LineSteps(x0, y0, x1, y1));
  if (clip_.IsEmpty()) return;
  const bool inside = clip_.Contains(x0, y0) && clip_.Contains(x1, y1);
  if (pattern_.Solid() && inside) {
    // Both ends inside the clip: so is every pixel between them.
    WalkLine(x0, y0, x1, y1, clip_, [&](int x, int y, int) { ink_(Row(y)[x]); });
  } else if (pattern_.Solid()) {
    WalkLine(x0, y0, x1, y1, clip_, [&](int x, int y, int) {
      if (y >= clip_.Top && y < clip_.Bottom && x >= clip_.Left && x < clip_.Right) ink_(Row(y)[x]);
    });
  } else {
    WalkLine(x0, y0, x1, y1, clip_, [&](int x, int y, int i) {
      if (!clip_.Contains(x, y)) return;
      if (pattern_.On(start + i))
        ink_(Row(y)[x]);
      else if (fillGaps_)
        gapInk_(Row(y)[x]);
    });
  }
}

void TRasterizer::StrokePath(std::span<const TPoint> pts, bool closed, Mask& mask) const {
  if (pts.empty()) return;
  // A closed path runs on from its last point back to its first.
  const std::size_t segments = pts.size() - (closed ? 0 : 1);
  const auto at = [&](std::size_t k) { return k == pts.size() ? pts.front() : pts[k]; };
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
  for (std::size_t k = 0; k < segments; ++k) {
    const TPoint a = at(k), b = at(k + 1);
    const int start = phase;
    WalkLine(a.X, a.Y, b.X, b.Y, walkBox,
             [&](int x, int y, int i) { put(x, y, pattern_.On(start + i)); });
    phase = pattern_.PhaseAfter(start, LineSteps(a.X, a.Y, b.X, b.Y));
  }
  if (w > 1) put(at(segments).X, at(segments).Y, pattern_.On(phase));
}

void TRasterizer::ApplyStroke(const Mask& mask) {
  const TRect box = mask.Box().Intersected(clip_);
  CheckInsideTarget(box);
  for (int y = box.Top; y < box.Bottom; ++y) {
    TRGB* row = Row(y);
    const std::uint8_t* bits = mask.Row(y);
    const int left = mask.Box().Left;
    for (int x = box.Left; x < box.Right; ++x) {
      const auto v = bits[x - left];
      if (v == 2)
        ink_(row[x]);
      else if (v == 1)
        gapInk_(row[x]);
    }
  }
}

void TRasterizer::FillExcept(const TRect& r, const Mask& stroke) {
  if (!brushVisible_) return;
  const TRect box = r.Intersected(clip_);
  CheckInsideTarget(box);
  if (!raster::FastPaths()) {
    for (int y = box.Top; y < box.Bottom; ++y)
      for (int x = box.Left; x < box.Right; ++x)
        if (stroke.Get(x, y) == 0) brushInk_(Row(y)[x]);
    return;
  }
  const TRect& marked = stroke.Box();
  for (int y = box.Top; y < box.Bottom; ++y) {
    TRGB* row = Row(y);
    if (y < marked.Top || y >= marked.Bottom) {
      for (int x = box.Left; x < box.Right; ++x) brushInk_(row[x]);
      continue;
    }
    // Left of the stroke's box, across it where the stroke left a pixel alone, right of it.
    const int a = std::clamp(marked.Left, box.Left, box.Right);
    const int b = std::clamp(marked.Right, a, box.Right);
    for (int x = box.Left; x < a; ++x) brushInk_(row[x]);
    const std::uint8_t* bits = stroke.Row(y);
    for (int x = a; x < b; ++x)
      if (bits[x - marked.Left] == 0) brushInk_(row[x]);
    for (int x = b; x < box.Right; ++x) brushInk_(row[x]);
  }
}

void TRasterizer::FillRect(const TRect& r, const raster::Ink& ink) {
  const TRect box = r.Normalized().Intersected(clip_);
  CheckInsideTarget(box);
  for (int y = box.Top; y < box.Bottom; ++y) {
    TRGB* row = Row(y);
    for (int x = box.Left; x < box.Right; ++x) ink(row[x]);
  }
}

TRect TRasterizer::StrokeBox(std::span<const TPoint> pts, const TRect& area) const {
  if (pts.empty()) return {};
  const auto [left, top, right, bottom] = raster::BoundsOf(pts);
  const long long w = width_;
  const TRect b{ClampToFarCoordinate(left - w), ClampToFarCoordinate(top - w),
                ClampToFarCoordinate(right + 1 + w), ClampToFarCoordinate(bottom + 1 + w)};
  return b.Intersected(area);
}

}  // namespace plotvik
