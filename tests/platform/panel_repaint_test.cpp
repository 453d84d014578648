// How a panel turns repaint requests into window paint requests: a pending paint absorbs every
// further request, and the paint itself re-arms the next one.
#include <gtest/gtest.h>

#include <functional>

#include "platform/gui/custom_panel.h"

namespace plotvik {
namespace {

// Counts what the panel asks of its window.
class CountingHost : public TPanelHost {
 public:
  int scheduled = 0;
  void ScheduleRepaint() override { ++scheduled; }
  void RefreshFromImage() override {}
  void CursorChanged(TCursor) override {}
  void BoundsChanged() override {}
  void PanelDestroyed() override {}
};

class CountingPanel : public TCustomPanel {
 public:
  int paints = 0;
  std::function<void()> duringPaint;

 protected:
  void Paint() override {
    ++paints;
    if (duringPaint) duringPaint();
  }
};

class PanelRepaint : public ::testing::Test {
 protected:
  PanelRepaint() {
    panel.AttachHost(&host);
    panel.Update();  // the first frame of a new window
    host.scheduled = 0;
  }
  ~PanelRepaint() override { panel.AttachHost(nullptr); }

  CountingHost host;
  CountingPanel panel;
};

TEST_F(PanelRepaint, ManyRequestsBeforeAPaintAskTheWindowOnceAndPaintOnce) {
  for (int i = 0; i < 1000; ++i) panel.Invalidate();
  EXPECT_EQ(host.scheduled, 1);
  EXPECT_TRUE(panel.PaintPending());
  panel.Update();
  panel.Update();
  EXPECT_EQ(panel.paints, 2);  // the first frame and this one
  EXPECT_FALSE(panel.PaintPending());

  // The paint clears the mark: the next request reaches the window again.
  panel.Invalidate();
  panel.Invalidate();
  EXPECT_EQ(host.scheduled, 2);
}

TEST_F(PanelRepaint, ARequestDuringAPaintGetsAFrameOfItsOwn) {
  panel.Invalidate();
  panel.duringPaint = [this] { panel.Invalidate(); };
  panel.Update();
  panel.duringPaint = nullptr;
  EXPECT_TRUE(panel.PaintPending());
  EXPECT_GE(host.scheduled, 2);
  panel.Update();
  EXPECT_EQ(panel.paints, 3);
  EXPECT_FALSE(panel.PaintPending());
}

TEST_F(PanelRepaint, AWindowAttachedWhileAPaintIsPendingIsAskedForIt) {
  panel.AttachHost(nullptr);
  panel.Invalidate();
  panel.Invalidate();
  CountingHost other;
  panel.AttachHost(&other);
  EXPECT_EQ(other.scheduled, 1);
  panel.AttachHost(&host);
}

}  // namespace
}  // namespace plotvik
