#pragma once

#include <array>
#include <memory>

#include "app/chart_pages.h"
#include "session/session_listener.h"

namespace plotvik {

class TChartSeries;
class TComponent;
class TSweepSession;

// The text the value tip puts before the values of a reference point.
inline constexpr const char* kReferenceTipPrefix = "эталон: ";
// The reference's line: a mid grey, apart from every page's own colour on the white back.
inline constexpr TColor kReferenceColor = clGray;

// The session's reference run on the six chart pages: each page's chart draws it under its own
// run, as a grey line without markers, and its automatic ranges cover both. The window and the
// render tool both put it on their pages through this class, so both draw it alike.
class TReferenceView : private TSessionListener {
 public:
  // `pages` owns the six page charts and their series (the main window); `session` has no
  // reference yet.
  TReferenceView(TSweepSession& session, TComponent& pages);
  ~TReferenceView() override;
  TReferenceView(const TReferenceView&) = delete;
  TReferenceView& operator=(const TReferenceView&) = delete;

 private:
  void SessionChanged(TSessionChange change) override;
  void PutOnPages();
  void SetShown(bool shown);

  TSweepSession& session_;
  TComponent& pages_;
  // Owns the reference's series; they go before the session's table they read.
  std::unique_ptr<TComponent> seriesOwner_;
  std::array<TChartSeries*, kChartPageCount> series_{};
};

// Whether `series` draws a reference run.
bool IsReferenceSeries(const TChartSeries& series);

}  // namespace plotvik
