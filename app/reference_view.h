#pragma once

#include <array>
#include <memory>
#include <string>

#include "app/chart_pages.h"
#include "chart/chart_point_finder.h"

namespace plotvik {

class TChartSeries;
class TComponent;
class TCustomAxisPanel;
class TCustomMemTable;
class TReferenceRun;
class TSweepFileUi;

// The text the value tip puts before the values of a reference point.
inline constexpr const char* kReferenceTipPrefix = "эталон: ";
// The reference's line: a mid grey, apart from every page's own colour on the white back.
inline constexpr TColor kReferenceColor = clGray;

// The reference run on the six chart pages: each page's chart draws it under its own run, as a
// grey line without markers, and its automatic ranges cover both. The window and the render tool
// both put it on their pages through this class, so both draw it alike.
class TReferenceView {
 public:
  // `pages` owns the six page charts and their series (the main window).
  explicit TReferenceView(TComponent& pages);
  ~TReferenceView();
  TReferenceView(const TReferenceView&) = delete;
  TReferenceView& operator=(const TReferenceView&) = delete;

  bool Present() const;
  // Whether the charts draw it (they do from the moment there is one until Toggle hides it).
  bool Shown() const { return shown_; }

  // Keeps a copy of `run`'s stored records as the reference, shown; a closed `run` (no file
  // loaded yet) changes nothing.
  void Keep(const TCustomMemTable& run);
  // Loads the file `ui` names as the reference, shown; raises as File > Open does when the file
  // cannot be opened, keeping what there was.
  void Load(TSweepFileUi& ui);
  // Hides a shown reference, shows a hidden one; nothing without a reference.
  void Toggle();

 private:
  void PutOnPages();
  void SetShown(bool shown);

  TComponent& pages_;
  std::unique_ptr<TReferenceRun> run_;
  // Owns the reference's series; they go before the run whose table they read.
  std::unique_ptr<TComponent> seriesOwner_;
  std::array<TChartSeries*, kChartPageCount> series_{};
  bool shown_ = true;
};

// Whether `series` draws a reference run.
bool IsReferenceSeries(const TChartSeries& series);

// `hit` (a point of `chart` nearest to (x, y)), or, when it is a reference point, a point of the
// current run just as near: where both runs coincide the tip reads the run drawn in front.
TChartPointHit CurrentRunOnATie(const TCustomAxisPanel& chart, const TChartPointHit& hit, int x,
                                int y);

}  // namespace plotvik
