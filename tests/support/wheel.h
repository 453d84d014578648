#pragma once

// The toolkit's test library sends mouse and key input but has no wheel helper; this sends what
// a mouse wheel sends.

#include <QApplication>
#include <QPoint>
#include <QPointF>
#include <QWheelEvent>
#include <QWidget>

namespace plotvik::testing {

// Turns the wheel over `at` (in the widget's coordinates) by `notches`: positive away from the
// user, negative towards the user.
inline void TurnWheel(QWidget& widget, QPoint at, int notches,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QPointF local(at);
  QWheelEvent wheel(local, widget.mapToGlobal(local), QPoint(), QPoint(0, 120 * notches),
                    Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&widget, &wheel);
}

}  // namespace plotvik::testing
