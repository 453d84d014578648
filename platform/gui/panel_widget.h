#pragma once

// The Qt side of a panel, for the application shell only.

#include <memory>

class QPalette;
class QWidget;

namespace plotvik {

class TCustomPanel;

// A widget that shows `panel`: its paint events show the panel's window image (running the
// panel's Paint first when a paint is pending) and never erase the background; its size is
// the panel's size; mouse and wheel input go to the panel, which keeps the mouse while a button
// is held. The caller (or the widget's Qt parent) owns the widget; either side may go first:
// a panel without a widget runs headless, a widget without a panel shows nothing new.
// A panel has at most one widget; creating another one detaches the first.
std::unique_ptr<QWidget> CreatePanelWidget(TCustomPanel& panel);

// The widget currently showing `panel`, or nullptr.
QWidget* PanelWidgetOf(const TCustomPanel& panel);

// Takes the system colours (button face, highlight, shadow, window, text ...) from a desktop
// palette. The program calls it at start and when the desktop's palette changes; without it
// the fixed light scheme stays.
void SyncSystemColorsWithPalette(const QPalette& palette);

}  // namespace plotvik
