// Paints the program's lamp images, one PNG per shape and frame kind, into the folder given
// on the command line. The lamp control colours them at run time by flood fill, so the
// images keep exact colours (no antialiasing): the lamp's surface is pure $00FF00 around
// the centre, closed by a dark outline at least a pixel and a half wide so no fill leaks
// through a diagonal gap, and the unframed images have pure $C0C0C0 around the lamp,
// reaching the top-left pixel.
//
// Usage: paint_lamps <output folder>

#include <QDir>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr QRgb kSurface = 0xFF00FF00;
constexpr QRgb kBackground = 0xFFC0C0C0;
constexpr QRgb kOutline = 0xFF303030;
constexpr QRgb kShine = 0xFFFFFFFF;

struct Shape {
  const char* framed;
  const char* plain;
  int w, h;
  bool square;
};

// Signed distance from (px, py) to a rounded rectangle centred at (cx, cy).
double roundedBox(double px, double py, double cx, double cy, double hw, double hh, double r) {
  const double qx = std::fabs(px - cx) - (hw - r), qy = std::fabs(py - cy) - (hh - r);
  const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
  return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.0) - r;
}

QImage paint(const Shape& s, bool framed) {
  QImage img(s.w, s.h, QImage::Format_RGB32);
  const double cx = s.w / 2.0, cy = s.h / 2.0;
  const bool large = std::min(s.w, s.h) > 16;
  const double margin = framed ? (large ? 3.0 : 2.5) : 1.0;
  const double hw = cx - margin, hh = cy - margin;
  const double radius = s.square ? 1.5 : std::min(hw, hh);
  const double bezel = large ? 2.5 : 2.0;
  // A small reflection up and to the left of the centre; it is not part of the surface.
  const double shineX = cx - hw * 0.45, shineY = cy - hh * 0.45, shineR = large ? 1.3 : 0.9;
  for (int y = 0; y < s.h; ++y) {
    for (int x = 0; x < s.w; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double d = roundedBox(px, py, cx, cy, hw, hh, radius);
      QRgb c = kBackground;
      if (d < -1.0) {
        c = std::hypot(px - shineX, py - shineY) <= shineR ? kShine : kSurface;
      } else if (d < 0.5) {
        c = kOutline;
      } else if (framed && d < 0.5 + bezel) {
        // Light from the top left: bright on that side of the ring, dark on the other.
        const double dx = px - cx, dy = py - cy;
        const double t = -(dx + dy) / (std::fabs(dx) + std::fabs(dy) + 1e-9);
        const int g = std::clamp(static_cast<int>(std::lround(150 + 90 * t)), 64, 250);
        c = qRgb(g, g, g);
      }
      img.setPixel(x, y, c);
    }
  }
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: paint_lamps <output folder>\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(dir);
  const Shape shapes[] = {
      {"BSM", "NSM", 16, 16, false},    {"BLG", "NLG", 22, 22, false},
      {"BSQSM", "NSQSM", 16, 16, true}, {"BSQLG", "NSQLG", 22, 22, true},
      {"BVT", "NVT", 16, 22, false},    {"BHZ", "NHZ", 22, 16, false},
  };
  for (const Shape& s : shapes) {
    for (bool framed : {true, false}) {
      const QString path = dir + '/' + QString::fromLatin1(framed ? s.framed : s.plain) + ".png";
      if (!paint(s, framed).save(path, "PNG")) {
        std::fprintf(stderr, "paint_lamps: cannot write %s\n", qPrintable(path));
        return 1;
      }
    }
  }
  return 0;
}
