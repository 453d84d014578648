#include "platform/gui/shrunk_image.h"

#include <QPainter>
#include <QRgb>
#include <QTransform>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

namespace plotvik {

namespace {

// The image pixels the screen pixels 0, 1, ... of a row or column show.
std::vector<int> Sources(int imageSize, double ratio) {
  const int screenSize = std::max(1, static_cast<int>(std::ceil(imageSize * ratio - 1e-9)));
  std::vector<int> sources(static_cast<std::size_t>(screenSize));
  for (int i = 0; i < screenSize; ++i) {
    // The small allowance keeps a corner that falls exactly on a pixel's edge in that pixel.
    sources[static_cast<std::size_t>(i)] =
        std::min(imageSize - 1, static_cast<int>(std::floor(i / ratio + 1e-9)));
  }
  return sources;
}

}  // namespace

QImage ShrunkImage(const QImage& image, double ratio) {
  if (image.isNull()) return image;
  const QImage source = image.convertToFormat(QImage::Format_RGB32);
  const std::vector<int> columns = Sources(source.width(), ratio);
  const std::vector<int> rows = Sources(source.height(), ratio);
  QImage result(static_cast<int>(columns.size()), static_cast<int>(rows.size()),
                QImage::Format_RGB32);
  for (int y = 0; y < result.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(rows[std::size_t(y)]));
    auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x) out[x] = in[columns[std::size_t(x)]];
  }
  return result;
}

void DrawShrunk(QPainter& painter, const QImage& image, double ratio) {
  // The painter puts the widget at its offset in the window unscaled; the screen has it scaled.
  const QTransform device = painter.deviceTransform();
  painter.setWorldTransform(
      QTransform::fromTranslate(std::round(device.dx() * ratio) - device.dx(),
                                std::round(device.dy() * ratio) - device.dy()));
  painter.drawImage(QPoint(0, 0), ShrunkImage(image, ratio));
}

void PaintShrunk(QWidget& widget, double ratio, const std::function<void(QPainter&)>& draw) {
  QImage whole(widget.size(), QImage::Format_RGB32);
  const QWidget& window = *widget.window();
  whole.fill(window.palette().color(window.backgroundRole()));
  {
    QPainter painter(&whole);
    draw(painter);
  }
  QPainter painter(&widget);
  DrawShrunk(painter, whole, ratio);
}

}  // namespace plotvik
