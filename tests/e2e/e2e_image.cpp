// Small picture helper for the end-to-end test script:
//   e2e_image locate SCREEN PICTURE   prints "X Y", where PICTURE lies in SCREEN pixel for pixel
//                                     (exit 0), or the closest place and its count of differing
//                                     pixels (exit 1)
//   e2e_image crop SCREEN X Y W H OUT writes that part of SCREEN to OUT
//   e2e_image differ A B [X Y W H]    prints how many pixels differ (exit 0 when none; a size
//                                     mismatch counts as every pixel), not counting those inside
//                                     the rectangle given
//   e2e_image marker PICTURE R G B    prints "X Y", the centre of the first 3 x 3 block of that
//                                     colour (a filled point marker; a line is thinner), exit 1
//                                     when there is none
//   e2e_image halve PICTURE OUT       writes PICTURE at half size to OUT, each pixel the one at
//                                     the even place (2X, 2Y), never a blend
// Only colours are compared; the alpha channel of the files is ignored.

#include <QImage>
#include <QRect>
#include <QString>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace {

QImage Load(const char* path) {
  QImage image(QString::fromLocal8Bit(path));
  if (image.isNull()) {
    std::fprintf(stderr, "cannot read %s\n", path);
    std::exit(2);
  }
  return image.convertToFormat(QImage::Format_RGB32);
}

int Number(const char* text) {
  int value = 0;
  const std::string_view s(text);
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (error != std::errc{} || end != s.data() + s.size()) {
    std::fprintf(stderr, "not a number: %s\n", text);
    std::exit(2);
  }
  return value;
}

// Pixels of `part` that differ from `whole` at (ox, oy); stops counting above `limit`.
long long Differences(const QImage& whole, const QImage& part, int ox, int oy, long long limit) {
  long long count = 0;
  for (int y = 0; y < part.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(whole.constScanLine(oy + y)) + ox;
    const auto* b = reinterpret_cast<const QRgb*>(part.constScanLine(y));
    for (int x = 0; x < part.width(); ++x) {
      if ((a[x] & 0xFFFFFFu) != (b[x] & 0xFFFFFFu) && ++count > limit) return count;
    }
  }
  return count;
}

int Locate(const char* screenPath, const char* picturePath) {
  const QImage screen = Load(screenPath);
  const QImage picture = Load(picturePath);
  // An exact match is looked for first: each place is left at its first differing pixel, so
  // even a large picture on a large screen is found quickly. Only when there is none does the
  // slow search for the closest place run, for the failure message.
  for (int oy = 0; oy + picture.height() <= screen.height(); ++oy) {
    for (int ox = 0; ox + picture.width() <= screen.width(); ++ox) {
      if (Differences(screen, picture, ox, oy, 0) == 0) {
        std::printf("%d %d\n", ox, oy);
        return 0;
      }
    }
  }
  long long best = std::numeric_limits<long long>::max();
  int bx = -1, by = -1;
  for (int oy = 0; oy + picture.height() <= screen.height(); ++oy) {
    for (int ox = 0; ox + picture.width() <= screen.width(); ++ox) {
      const long long d = Differences(screen, picture, ox, oy, best);
      if (d < best) {
        best = d;
        bx = ox;
        by = oy;
        if (best == 0) {
          std::printf("%d %d\n", bx, by);
          return 0;
        }
      }
    }
  }
  std::printf("%d %d %lld\n", bx, by, bx < 0 ? -1 : best);
  return 1;
}

int Crop(char** argv) {
  const QImage screen = Load(argv[0]);
  const QImage part =
      screen.copy(Number(argv[1]), Number(argv[2]), Number(argv[3]), Number(argv[4]));
  if (!part.save(QString::fromLocal8Bit(argv[5]), "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", argv[5]);
    return 2;
  }
  return 0;
}

int Halve(const char* inPath, const char* outPath) {
  const QImage in = Load(inPath);
  QImage out((in.width() + 1) / 2, (in.height() + 1) / 2, QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y) {
    for (int x = 0; x < out.width(); ++x) out.setPixel(x, y, in.pixel(2 * x, 2 * y));
  }
  if (!out.save(QString::fromLocal8Bit(outPath), "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", outPath);
    return 2;
  }
  return 0;
}

int Differ(const char* aPath, const char* bPath, QRect ignored = {}) {
  QImage a = Load(aPath);
  QImage b = Load(bPath);
  if (!ignored.isNull() && a.size() == b.size()) {
    // Both sides get the same colour inside the rectangle, so it counts as no difference.
    for (QImage* image : {&a, &b}) {
      for (int y = std::max(0, ignored.top()); y <= std::min(image->height() - 1, ignored.bottom());
           ++y) {
        auto* row = reinterpret_cast<QRgb*>(image->scanLine(y));
        for (int x = std::max(0, ignored.left());
             x <= std::min(image->width() - 1, ignored.right()); ++x) {
          row[x] = 0;
        }
      }
    }
  }
  if (a.size() != b.size()) {
    std::printf("%lld\n",
                static_cast<long long>(std::max(a.width() * a.height(), b.width() * b.height())));
    return 1;
  }
  const long long d = Differences(a, b, 0, 0, std::numeric_limits<long long>::max());
  std::printf("%lld\n", d);
  return d == 0 ? 0 : 1;
}

int Marker(const char* path, const char* r, const char* g, const char* b) {
  const QImage image = Load(path);
  const QRgb colour = qRgb(Number(r), Number(g), Number(b)) & 0xFFFFFFu;
  auto is = [&](int x, int y) { return (image.pixel(x, y) & 0xFFFFFFu) == colour; };
  for (int y = 0; y + 2 < image.height(); ++y) {
    for (int x = 0; x + 2 < image.width(); ++x) {
      bool block = true;
      for (int dy = 0; dy < 3 && block; ++dy) {
        for (int dx = 0; dx < 3 && block; ++dx) block = is(x + dx, y + dy);
      }
      if (block) {
        std::printf("%d %d\n", x + 1, y + 1);
        return 0;
      }
    }
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc > 1 ? argv[1] : "";
  if (command == "locate" && argc == 4) return Locate(argv[2], argv[3]);
  if (command == "crop" && argc == 8) return Crop(argv + 2);
  if (command == "differ" && argc == 4) return Differ(argv[2], argv[3]);
  if (command == "differ" && argc == 8) {
    return Differ(argv[2], argv[3],
                  QRect(Number(argv[4]), Number(argv[5]), Number(argv[6]), Number(argv[7])));
  }
  if (command == "marker" && argc == 6) return Marker(argv[2], argv[3], argv[4], argv[5]);
  if (command == "halve" && argc == 4) return Halve(argv[2], argv[3]);
  std::fputs(
      "usage: e2e_image locate SCREEN PICTURE | crop SCREEN X Y W H OUT |"
      " differ A B [X Y W H] | marker PICTURE R G B | halve PICTURE OUT\n",
      stderr);
  return 2;
}
