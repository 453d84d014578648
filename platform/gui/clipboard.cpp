#include "platform/gui/clipboard.h"

#include <QBuffer>
#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QWidget>
#include <cmath>
#include <memory>

#include "platform/gui/custom_panel.h"
#include "platform/gui/panel_widget.h"
#include "platform/gui/shrunk_image.h"

namespace plotvik {

void CopyPanelToClipboard(TCustomPanel& panel) {
  panel.Update();
  const TBitmap& image = panel.WindowImage();
  // A deep copy: the panel may paint again while the clipboard still holds the picture.
  QImage picture = QImage(reinterpret_cast<const uchar*>(image.Pixels().data()), image.Width(),
                          image.Height(), image.Width() * 4, QImage::Format_RGB32)
                       .copy();
  const QWidget* widget = PanelWidgetOf(panel);
  const double scale = widget != nullptr ? widget->devicePixelRatioF() : 1.0;
  if (scale < 1.0) {
    picture = ShrunkImage(picture, scale);
  } else if (scale > 1.0 && !picture.isNull()) {
    // Blocks, never a blend of neighbours, as the widget draws it on such a screen.
    picture = picture.scaled(static_cast<int>(std::lround(image.Width() * scale)),
                             static_cast<int>(std::lround(image.Height() * scale)),
                             Qt::IgnoreAspectRatio, Qt::FastTransformation);
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  auto data = std::make_unique<QMimeData>();
  data->setData(QStringLiteral("image/png"), png);
  // The clipboard takes the data over.
  QGuiApplication::clipboard()->setMimeData(data.release());
}

void CopyTextToClipboard(const std::string& text) {
  QGuiApplication::clipboard()->setText(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace plotvik
