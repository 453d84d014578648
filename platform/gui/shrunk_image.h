#pragma once

// Below a device pixel ratio of 1 the toolkit's painter draws in screen pixels and never scales
// down: a widget drawn in its own pixels shows only its top-left part. Such a widget draws its
// picture at full size and shows it shrunk.

#include <QImage>
#include <functional>

class QPainter;
class QWidget;

namespace plotvik {

// `image` shrunk by `ratio` (0 < ratio < 1), never smoothed: each screen pixel shows the image
// pixel under its top-left corner, the pixel the mouse there addresses.
QImage ShrunkImage(const QImage& image, double ratio);

// Shows `image`, a widget's whole picture, shrunk by `ratio` at the widget's place on the screen,
// through a painter the toolkit made for that widget's paint event.
void DrawShrunk(QPainter& painter, const QImage& image, double ratio);

// For a widget's paint event below a ratio of 1: `draw` paints the widget's whole picture at
// full size over its window's colour, and the widget shows that picture shrunk by `ratio`.
void PaintShrunk(QWidget& widget, double ratio, const std::function<void(QPainter&)>& draw);

}  // namespace plotvik
