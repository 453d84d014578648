#pragma once

namespace plotvik {

class TComponent;
class TCustomMemTable;
class TPageControl;

// Ctrl+C: the chart of the page `pageControl` shows (one of the page charts under `pages`), as
// the window shows it, onto the clipboard as a picture.
void CopyCurrentChart(const TPageControl& pageControl, const TComponent& pages);

// Ctrl+Shift+C: the records of `run` onto the clipboard as tab-separated text, with the locale's
// decimal separator so that a spreadsheet in that locale reads the numbers.
void CopyRecords(TCustomMemTable& run);

}  // namespace plotvik
