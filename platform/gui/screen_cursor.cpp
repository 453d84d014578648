#include "platform/gui/screen_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace plotvik {

namespace {

TCursor current = crDefault;
// Whether we pushed an override cursor that is still on Qt's stack; we keep at most one there.
bool overridden = false;

}  // namespace

TCursor ScreenCursor() {
  return current;
}

void SetScreenCursor(TCursor cursor) {
  if (cursor == current) return;
  current = cursor;
  if (QGuiApplication::instance() == nullptr) {
    overridden = false;
    return;
  }
  if (overridden) {
    QGuiApplication::restoreOverrideCursor();
    overridden = false;
  }
  if (cursor != crDefault) {
    QGuiApplication::setOverrideCursor(
        QCursor(cursor == crHourGlass ? Qt::WaitCursor : Qt::ArrowCursor));
    overridden = true;
  }
}

}  // namespace plotvik
