#pragma once

#include <memory>

#include "raster/bitmap.h"
#include "raster/graphic_objects.h"

namespace plotvik {

// A brush of a chart element; defaults to the owner's colour, solid. Changes notify through
// OnChange.
class TChartBrush : public TBrush {
 public:
  TChartBrush();
  // A picture to fill with instead of the colour; empty by default.
  const TBitmap* Image() const { return image_.get(); }
  void SetImage(std::shared_ptr<const TBitmap> image);
  void Assign(const TChartBrush& source);

 private:
  std::shared_ptr<const TBitmap> image_;
};

class TChartZoomBrush : public TChartBrush {
 public:
  TChartZoomBrush();
};

}  // namespace plotvik
