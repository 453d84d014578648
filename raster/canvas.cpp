#include "raster/canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "raster/bitmap.h"
#include "raster/canvas_rasterizer.h"

namespace plotvik {

using raster::ClampToFarCoordinate;
using raster::Ink;
using raster::Mask;

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
  if (raster::FastPaths() && r.Solid() && right > left && bottom > top) {
    // The common case (every pointer of a series): the pen's squares along the path make a
    // frame, outer box less inner box, each pixel written once without a mask.
    const int half = w / 2;
    const TRect outer{left - half, top - half, right - half + w, bottom - half + w};
    const TRect inner{left - half + w, top - half + w, right - half, bottom - half};
    const Ink& ink = r.PenInk();
    if (inner.IsEmpty()) {
      r.FillRect(outer, ink);
    } else {
      r.FillRect({outer.Left, outer.Top, outer.Right, inner.Top}, ink);
      r.FillRect({outer.Left, inner.Bottom, outer.Right, outer.Bottom}, ink);
      r.FillRect({outer.Left, inner.Top, inner.Left, inner.Bottom}, ink);
      r.FillRect({inner.Right, inner.Top, outer.Right, inner.Bottom}, ink);
      if (r.BrushVisible())
        r.FillRect(TRect{left + 1, top + 1, right, bottom}.Intersected(inner), r.BrushInk());
    }
    Changed();
    return;
  }
  const TPoint path[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  const TRect grown{rect.Left - w, rect.Top - w, rect.Right + w, rect.Bottom + w};
  Mask mask(grown.Intersected(r.Clip()));
  r.StrokePath(path, true, mask);
  // (A rectangle one pixel thin is all outline; the closed path walks some of its pixels
  // twice, and the mask makes each count once.)
  r.FillExcept(TRect{left + 1, top + 1, right, bottom}, mask);
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

const TCanvas::PolygonStamps::Stamp* TCanvas::PolygonStamps::Find(std::span<const TPoint> points,
                                                                  int penWidth, bool pen,
                                                                  bool brush) const {
  for (const Stamp& s : stamps_) {
    if (s.penWidth != penWidth || s.pen != pen || s.brush != brush ||
        s.shape.size() + 1 != points.size())
      continue;
    bool same = true;
    for (std::size_t k = 0; k < s.shape.size() && same; ++k)
      same = s.shape[k].X == points[k + 1].X - points[0].X &&
             s.shape[k].Y == points[k + 1].Y - points[0].Y;
    if (same) return &s;
  }
  return nullptr;
}

TCanvas::PolygonStamps::Stamp& TCanvas::PolygonStamps::Add(Stamp stamp) {
  if (stamps_.size() < kKept) return stamps_.emplace_back(std::move(stamp));
  Stamp& slot = stamps_[next_];
  next_ = (next_ + 1) % kKept;
  slot = std::move(stamp);
  return slot;
}

bool TCanvas::DrawStampedPolygon(TRasterizer& r, std::span<const TPoint> points) {
  if (points.size() > PolygonStamps::kMaxPoints || penKind_ != pkNormal || !r.Solid()) return false;
  const auto [left, top, right, bottom] = raster::BoundsOf(points);
  // Everything the general drawing may touch, which must lie inside the clip: a cut shape would
  // set other pixels. Far shapes are left to the general drawing.
  const int w = r.PenWidth();
  if (left < -raster::kFarCoordinate || top < -raster::kFarCoordinate ||
      right > raster::kFarCoordinate || bottom > raster::kFarCoordinate)
    return false;
  const TRect reach{static_cast<int>(left) - w, static_cast<int>(top) - w,
                    static_cast<int>(right) + 1 + w, static_cast<int>(bottom) + 1 + w};
  if (!raster::LiesWithin(reach, r.Clip())) return false;

  if (!stamps_) stamps_ = std::make_unique<PolygonStamps>();
  const bool pen = r.PenVisible(), brush = r.BrushVisible();
  const PolygonStamps::Stamp* stamp = stamps_->Find(points, w, pen, brush);
  if (stamp == nullptr) {
    // Drawn once by the general rasterizer on a scratch buffer of its own, in colours that tell
    // the pen's pixels from the brush's.
    PolygonStamps::Stamp made;
    made.penWidth = w;
    made.pen = pen;
    made.brush = brush;
    for (std::size_t k = 1; k < points.size(); ++k)
      made.shape.push_back({points[k].X - points[0].X, points[k].Y - points[0].Y});
    TBitmap scratch(reach.Width(), reach.Height(), clBlack);
    TCanvas& c = scratch.Canvas();
    c.Pen().SetColor(clRed);
    c.Pen().SetWidth(pen_.Width());
    c.Pen().SetStyle(pen_.Style());
    c.Brush().SetColor(clLime);
    c.Brush().SetStyle(brush_.Style());
    std::vector<TPoint> moved(points.begin(), points.end());
    for (TPoint& p : moved) p = {p.X - reach.Left, p.Y - reach.Top};
    TRasterizer scratchRaster(c);
    c.DrawPolygon(scratchRaster, moved);
    const TRGB penPixel = raster::PixelOf(clRed), brushPixel = raster::PixelOf(clLime);
    for (int y = 0; y < scratch.Height(); ++y)
      for (int x = 0; x < scratch.Width(); ++x) {
        const TRGB v = scratch.Row(y)[x];
        if (v == penPixel || v == brushPixel)
          made.pixels.push_back({x - moved[0].X, y - moved[0].Y, v == penPixel});
      }
    stamp = &stamps_->Add(std::move(made));
  }
  const Ink& penInk = r.PenInk();
  const Ink& brushInk = r.BrushInk();
  for (const PolygonStamps::Pixel& p : stamp->pixels) {
    TRGB& pixel = target_.Row(points[0].Y + p.dy)[points[0].X + p.dx];
    if (p.pen)
      penInk(pixel);
    else
      brushInk(pixel);
  }
  return true;
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  if (points.empty()) return;
  TRasterizer r(*this);
  if (raster::FastPaths() && DrawStampedPolygon(r, points)) {
    Changed();
    return;
  }
  DrawPolygon(r, points);
  Changed();
}

void TCanvas::DrawPolygon(TRasterizer& r, std::span<const TPoint> points) {
  const std::span<const TPoint> one[] = {points};
  DrawPolygons(r, one);
}

void TCanvas::DrawPolygons(TRasterizer& r, std::span<const std::span<const TPoint>> contours) {
  // The outline is marked on the clip's rows across the whole target, not just within the clip:
  // a row's fill stays between its outermost outline pixels, which a clip cutting the figure may
  // leave outside, and a clip may only cut what the figure draws, never change it.
  const TRect& clip = r.Clip();
  const TRect rows{r.TargetBounds().Left, clip.Top, r.TargetBounds().Right, clip.Bottom};
  std::size_t pointCount = 0;
  TRect strokeBox;
  bool reachesClip = false;
  for (const auto& points : contours) {
    pointCount += points.size();
    if (!r.PenVisible() || points.empty()) continue;
    const TRect b = r.StrokeBox(points, rows);
    if (b.IsEmpty()) continue;
    // The clip lies within `rows`, so the box cut to the clip is this one cut again.
    reachesClip = reachesClip || !b.Intersected(clip).IsEmpty();
    strokeBox =
        strokeBox.IsEmpty()
            ? b
            : TRect{std::min(strokeBox.Left, b.Left), std::min(strokeBox.Top, b.Top),
                    std::max(strokeBox.Right, b.Right), std::max(strokeBox.Bottom, b.Bottom)};
  }
  // With an outline, the fill lies within the outline's box: a figure whose outline cannot reach
  // the clip leaves every pixel alone.
  if (r.PenVisible() && !reachesClip) return;
  Mask mask(strokeBox);
  if (r.PenVisible())
    for (const auto& points : contours) r.StrokePath(points, true, mask);
  bool fill = false;
  TRect box;
  for (const auto& points : contours) {
    if (points.size() < 3) continue;
    for (const auto& p : points) {
      if (!fill) box = {p.X, p.Y, p.X, p.Y};
      fill = true;
      box.Left = std::min(box.Left, p.X);
      box.Top = std::min(box.Top, p.Y);
      box.Right = std::max(box.Right, p.X);
      box.Bottom = std::max(box.Bottom, p.Y);
    }
  }
  if (r.BrushVisible() && fill) {
    const bool several = contours.size() > 1;
    box = box.Intersected(r.Clip());
    // Alternate rule at pixel centres, one row at a time, over the edges of every contour. A row
    // crosses at most one edge per point: a pointer's few fit on the stack.
    std::array<double, 16> few;
    std::vector<double> many(pointCount > few.size() ? pointCount : 0);
    double* const xs = many.empty() ? few.data() : many.data();
    for (int y = box.Top; y < box.Bottom; ++y) {
      const double yc = y + 0.5;
      std::size_t crossings = 0;
      for (const auto& points : contours) {
        if (points.size() < 3) continue;
        for (std::size_t k = 0; k < points.size(); ++k) {
          const TPoint a = points[k], b = points[k + 1 == points.size() ? 0 : k + 1];
          if (a.Y == b.Y) continue;
          const double ya = a.Y, yb = b.Y;
          if ((yc >= ya && yc < yb) || (yc >= yb && yc < ya))
            xs[crossings++] = a.X + (yc - ya) * (static_cast<double>(b.X) - a.X) / (yb - ya);
        }
      }
      std::sort(xs, xs + crossings);
      // With an outline, the fill stays between the row's outline pixels: centre sampling
      // alone would let it peek out past a steep edge's rounding.
      int lo = box.Left, hi = box.Right;
      if (r.PenVisible()) {
        lo = box.Right;
        hi = box.Left;
        if (mask.Contains(mask.Box().Left, y)) {
          const std::uint8_t* bits = mask.Row(y);
          for (int x = mask.Box().Left; x < mask.Box().Right; ++x)
            if (bits[x - mask.Box().Left] != 0) {
              lo = std::min(lo, x);
              hi = std::max(hi, x + 1);
            }
        }
      }
      for (std::size_t k = 0; k + 1 < crossings; k += 2) {
        const double limit = raster::kFarCoordinate;
        int from =
            std::max(lo, static_cast<int>(std::ceil(std::clamp(xs[k], -limit, limit) - 0.5)));
        int to =
            std::min(hi, static_cast<int>(std::ceil(std::clamp(xs[k + 1], -limit, limit) - 0.5)));
        if (r.PenVisible()) {
          // The outline's pixels are rounded to the nearest pixel, the centres are not: a pixel
          // between the two (never more than one) belongs to the inside. Among several contours
          // a gap may be a hole or the room between two glyphs: there only a pixel right beside
          // its edge's outline counts.
          if (from - 1 >= lo && mask.Get(from - 1, y) == 0 &&
              (!several || mask.Get(from - 2, y) != 0))
            --from;
          if (to < hi && mask.Get(to, y) == 0 && (!several || mask.Get(to + 1, y) != 0)) ++to;
        }
        r.FillExcept(TRect{from, y, to, y + 1}, mask);
      }
    }
  }
  r.ApplyStroke(mask);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  const TRect clip = clip_ ? clip_->Intersected(target_.Bounds()) : target_.Bounds();
  if (!clip.Contains(x, y)) return;
  PLOTVIK_ASSERT(raster::LiesWithin(clip, target_.Bounds()));
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
  PLOTVIK_ASSERT(raster::LiesWithin(dest, target_.Bounds()));
  PLOTVIK_ASSERT(raster::LiesWithin({dest.Left - x, dest.Top - y, dest.Right - x, dest.Bottom - y},
                                    source.Bounds()));
  for (int yy = dest.Top; yy < dest.Bottom; ++yy) {
    const TRGB* from = source.Row(yy - y) + (dest.Left - x);
    std::copy(from, from + (dest.Right - dest.Left), target_.Row(yy) + dest.Left);
  }
  Changed();
}

}  // namespace plotvik
