#include "platform/gui/screen_cursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMetaObject>
#include <QPointer>

namespace plotvik {

namespace {

// What the program last set.
TCursor current = crDefault;
// What the toolkit's override stack shows: at most one cursor of ours is pushed there.
TCursor shown = crDefault;
// The application a pending catch-up is queued in; null when none is pending (or the
// application it was queued in is gone, taking the queued call with it).
QPointer<QCoreApplication> catchUpQueuedIn;

void Show(TCursor cursor) {
  if (cursor == shown) return;
  if (shown != crDefault) QGuiApplication::restoreOverrideCursor();
  if (cursor != crDefault) {
    QGuiApplication::setOverrideCursor(
        QCursor(cursor == crHourGlass ? Qt::WaitCursor : Qt::ArrowCursor));
  }
  shown = cursor;
}

}  // namespace

TCursor ScreenCursor() {
  return current;
}

void SetScreenCursor(TCursor cursor) {
  if (cursor == current) return;
  current = cursor;
  QCoreApplication* app = QGuiApplication::instance();
  if (app == nullptr) {
    shown = crDefault;
    return;
  }
  if (cursor != crDefault) {
    Show(cursor);
    return;
  }
  // Restored only once the loop is idle, so a run of short busy steps shows one steady hourglass.
  if (catchUpQueuedIn == app) return;
  catchUpQueuedIn = app;
  QMetaObject::invokeMethod(
      app,
      [] {
        catchUpQueuedIn = nullptr;
        Show(current);
      },
      Qt::QueuedConnection);
}

}  // namespace plotvik
