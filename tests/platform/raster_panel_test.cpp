#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/custom_panel.h"
#include "platform/gui/panel_widget.h"
#include "tests/support/wheel.h"

namespace plotvik {
namespace {

// Records what the window asked of it; paints a red frame with a counter-coloured centre.
class RecordingPanel : public TCustomPanel {
 public:
  int paints = 0;
  int resizes = 0;
  std::vector<std::string> events;

 protected:
  void Paint() override {
    ++paints;
    TCanvas& c = Canvas();
    c.Brush().SetColor(clRed);
    c.Rectangle(ClientRect());
  }
  void Resize() override { ++resizes; }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    events.push_back("down " + std::to_string(b) + Shift(s) + At(x, y));
  }
  void MouseMove(TShiftState s, int x, int y) override {
    events.push_back("move" + Shift(s) + At(x, y));
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    events.push_back("up " + std::to_string(b) + Shift(s) + At(x, y));
  }
  void MouseLeave() override { events.push_back("leave"); }
  void MouseWheelDown(TShiftState, int, int) override { events.push_back("wheel down"); }
  void MouseWheelUp(TShiftState, int, int) override { events.push_back("wheel up"); }

 private:
  static std::string At(int x, int y) { return " " + std::to_string(x) + "," + std::to_string(y); }
  static std::string Shift(TShiftState s) {
    std::string r;
    if (s.Contains(ssShift)) r += " shift";
    if (s.Contains(ssCtrl)) r += " ctrl";
    if (s.Contains(ssLeft)) r += " left";
    return r;
  }
};

TEST(Panel, HeadlessPaintsIntoItsWindowImageOnRequest) {
  RecordingPanel panel;
  panel.SetBounds(0, 0, 6, 4);
  EXPECT_EQ(panel.resizes, 1);
  EXPECT_EQ(panel.WindowImage().Width(), 6);
  EXPECT_EQ(panel.WindowImage().Height(), 4);
  EXPECT_EQ(panel.WindowImage().Pixel(0, 0), 0xF0F0F0);  // a new window shows the button face
  EXPECT_TRUE(panel.PaintPending());
  panel.Invalidate();
  panel.Invalidate();
  panel.Update();
  panel.Update();
  EXPECT_EQ(panel.paints, 1);  // several requests, one paint
  EXPECT_FALSE(panel.PaintPending());
  EXPECT_EQ(panel.WindowImage().Pixel(0, 0), clBlack);
  EXPECT_EQ(panel.WindowImage().Pixel(1, 1), clRed);
  // Drawing outside a paint goes straight into the window image.
  panel.Canvas().SetPixel(2, 2, clBlue);
  EXPECT_EQ(panel.WindowImage().Pixel(2, 2), clBlue);
  EXPECT_FALSE(panel.PaintPending());
  // Same size again: no resize, no paint request.
  panel.SetBounds(5, 5, 6, 4);
  EXPECT_EQ(panel.resizes, 1);
  EXPECT_FALSE(panel.PaintPending());
  panel.SetBounds(5, 5, -3, 4);
  EXPECT_EQ(panel.Width(), 0);
}

TEST(Panel, CapturesTheMouseWhileAButtonIsHeldAndCountsWheelNotches) {
  RecordingPanel panel;
  panel.DispatchMouseDown(mbLeft, {ssLeft}, 3, 4);
  EXPECT_TRUE(panel.MouseCapture());
  panel.DispatchMouseDown(mbRight, {ssLeft, ssRight}, 3, 4);
  panel.DispatchMouseUp(mbLeft, {ssRight}, -20, 400);
  EXPECT_TRUE(panel.MouseCapture());
  panel.DispatchMouseUp(mbRight, {}, -20, 400);
  EXPECT_FALSE(panel.MouseCapture());

  panel.events.clear();
  panel.DispatchMouseWheel({}, 60, 1, 1);
  panel.DispatchMouseWheel({}, 60, 1, 1);    // the remainder carries over: one notch up
  panel.DispatchMouseWheel({}, -250, 1, 1);  // two notches down, 10 left over
  panel.DispatchMouseWheel({}, -110, 1, 1);  // and one more
  EXPECT_EQ(panel.events,
            (std::vector<std::string>{"wheel up", "wheel down", "wheel down", "wheel down"}));
}

class PanelWidgetTest : public ::testing::Test {
 protected:
  static QImage Grab(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
};

TEST_F(PanelWidgetTest, ShowsTheWindowImageAndFollowsTheSize) {
  RecordingPanel panel;
  panel.SetBounds(0, 0, 12, 9);
  std::unique_ptr<QWidget> widget = CreatePanelWidget(panel);
  EXPECT_EQ(PanelWidgetOf(panel), widget.get());
  EXPECT_EQ(widget->size(), QSize(12, 9));

  QImage shot = Grab(*widget);
  EXPECT_EQ(panel.paints, 1);
  EXPECT_EQ(shot.pixel(0, 0) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(shot.pixel(5, 5) & 0xFFFFFF, 0xFF0000u);
  // A paint without a pending request shows the image as it is, without calling Paint.
  panel.Canvas().SetPixel(5, 5, clBlue);
  shot = Grab(*widget);
  EXPECT_EQ(panel.paints, 1);
  EXPECT_EQ(shot.pixel(5, 5) & 0xFFFFFF, 0x0000FFu);

  widget->show();  // a hidden widget hears of its new size only when shown
  widget->resize(20, 15);
  EXPECT_EQ(panel.Width(), 20);
  EXPECT_EQ(panel.Height(), 15);
  EXPECT_TRUE(panel.PaintPending());
  panel.SetBounds(0, 0, 7, 6);
  EXPECT_EQ(widget->size(), QSize(7, 6));
}

TEST_F(PanelWidgetTest, PassesMouseInputToThePanel) {
  RecordingPanel panel;
  panel.SetBounds(0, 0, 50, 50);
  std::unique_ptr<QWidget> widget = CreatePanelWidget(panel);
  const QPoint at(10, 12), outside(-5, 70);
  QTest::mousePress(widget.get(), Qt::LeftButton, Qt::ShiftModifier, at);
  EXPECT_TRUE(panel.MouseCapture());
  QTest::mouseMove(widget.get(), outside);
  QTest::mouseRelease(widget.get(), Qt::LeftButton, Qt::ControlModifier, outside);
  testing::TurnWheel(*widget, at, -1);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(widget.get(), &leave);
  EXPECT_EQ(panel.events, (std::vector<std::string>{"down 0 shift left 10,12", "move left -5,70",
                                                    "up 0 ctrl -5,70", "wheel down", "leave"}));
  EXPECT_FALSE(panel.MouseCapture());
}

TEST_F(PanelWidgetTest, EitherSideMayGoFirst) {
  {
    RecordingPanel panel;
    { std::unique_ptr<QWidget> widget = CreatePanelWidget(panel); }
    EXPECT_EQ(PanelWidgetOf(panel), nullptr);
    panel.Invalidate();  // headless again
    panel.Update();
    EXPECT_EQ(panel.paints, 1);
  }
  std::unique_ptr<QWidget> orphan;
  {
    RecordingPanel panel;
    panel.SetBounds(0, 0, 4, 4);
    orphan = CreatePanelWidget(panel);
  }
  const QImage shot = Grab(*orphan);  // shows nothing new, and does not touch the dead panel
  EXPECT_EQ(shot.width(), 4);
  // A second widget for the same panel takes over from the first.
  RecordingPanel panel;
  std::unique_ptr<QWidget> first = CreatePanelWidget(panel);
  std::unique_ptr<QWidget> second = CreatePanelWidget(panel);
  EXPECT_EQ(PanelWidgetOf(panel), second.get());
  first.reset();
  EXPECT_EQ(PanelWidgetOf(panel), second.get());
}

}  // namespace
}  // namespace plotvik
