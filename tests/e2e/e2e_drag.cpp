// A drag source for the end-to-end test scripts, as a file manager is one:
//   e2e_drag X Y URI   shows a small window at X, Y; a mouse press in it drags URI as the
//                      drag's text/uri-list, byte for byte. When the drag ends the program prints
//                      "taken" or "refused", as the target answered, and exits two seconds
//                      later, when the target has fetched the data of a drop.
// The script moves the pointer onto the target with the button held, through the X server.

#include <QApplication>
#include <QByteArray>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace {

class DragSource : public QWidget {
 public:
  explicit DragSource(QByteArray uriList) : uriList_(std::move(uriList)) {}

 protected:
  void mousePressEvent(QMouseEvent* /*event*/) override {
    // The drag owns its data and the window owns the drag.
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/uri-list"), uriList_);
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const Qt::DropAction action = drag->exec(Qt::CopyAction);
    std::puts(action == Qt::IgnoreAction ? "refused" : "taken");
    std::fflush(stdout);
    // The target fetches the data after the drop: the source answers for a while yet.
    QTimer::singleShot(2000, [] { QCoreApplication::exit(0); });
  }

 private:
  QByteArray uriList_;
};

bool Number(const char* text, int& value) {
  const std::string_view s(text);
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  return error == std::errc{} && end == s.data() + s.size();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  int x = 0;
  int y = 0;
  if (argc != 4 || !Number(argv[1], x) || !Number(argv[2], y)) {
    std::fputs("usage: e2e_drag X Y URI\n", stderr);
    return 2;
  }
  DragSource source(QByteArray(argv[3]) + "\r\n");
  source.setWindowTitle(QStringLiteral("plotvik-e2e-drag"));
  source.setGeometry(x, y, 80, 80);
  source.show();
  return application.exec();
}
