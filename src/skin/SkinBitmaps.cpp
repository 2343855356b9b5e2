#include "skin/SkinBitmaps.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace ruto {

namespace {

int clampChannel(long long v) { return static_cast<int>(std::clamp<long long>(v, 0, 255)); }

QImage rgb32(const QImage& img) {
  return img.format() == QImage::Format_RGB32 ? img : img.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

TColor ResolveColor(SkinColor c) {
  if (c >= 0) return static_cast<TColor>(c) & 0xFFFFFFu;
  switch (c & 0xFF) {
    case COLOR_SCROLLBAR:
      return clSilver;
    case COLOR_ACTIVECAPTION:
      return clNavy;
    case COLOR_INACTIVECAPTION:
      return clGray;
    case COLOR_MENU:
      return clBtnFace;
    case COLOR_WINDOW:
      return clWindow;
    case COLOR_MENUTEXT:
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
      return clWindowText;
    case COLOR_CAPTIONTEXT:
      return clWhite;
    case COLOR_HIGHLIGHT:
      return clHighlight;
    case COLOR_HIGHLIGHTTEXT:
      return clHighlightText;
    case COLOR_BTNFACE:
      return clBtnFace;
    case COLOR_BTNSHADOW:
    case COLOR_GRAYTEXT:
      return clBtnShadow;
    case COLOR_INACTIVECAPTIONTEXT:
      return clSilver;
    case COLOR_BTNHIGHLIGHT:
      return clBtnHighlight;
    case COLOR_3DDKSHADOW:
      return cl3DDkShadow;
    case COLOR_3DLIGHT:
      return cl3DLight;
    default:
      return clBtnFace;
  }
}

TColor BlendColors(SkinColor c1, SkinColor c2, int amount) {
  const TColor a = ResolveColor(c1), b = ResolveColor(c2);
  const long long scale = amount < 100 ? 100 : 1000, round = scale / 2;
  auto mix = [&](int ca, int cb) {
    return clampChannel((static_cast<long long>(cb) * (scale - amount) +
                         static_cast<long long>(ca) * amount + round) /
                        scale);
  };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
             mix(GetBValue(a), GetBValue(b)));
}

std::vector<TColor> MakeGradient(int n, TColor c1, TColor c2) {
  auto channel = [&](int a, int b, int k) {
    const int d = b - a;
    if (n <= 1) return clampChannel(a + d / 2);
    return clampChannel(a + (d * k + (n - 1) / 2) / (n - 1));  // C++ truncates toward zero
  };
  std::vector<TColor> out(static_cast<size_t>(std::max(n, 1)));
  for (int k = 0; k < static_cast<int>(out.size()); ++k)
    out[static_cast<size_t>(k)] =
        RGB(channel(GetRValue(c1), GetRValue(c2), k), channel(GetGValue(c1), GetGValue(c2), k),
            channel(GetBValue(c1), GetBValue(c2), k));
  return out;
}

int GradientCache::GetGradient(int n, TColor c1, TColor c2) {
  for (int i = Slots - 1; i >= 0; --i) {
    const auto& s = slots_[i];
    if (static_cast<int>(s.size()) == std::max(n, 1) && s.front() == c1 && s.back() == c2) return i;
  }
  const int i = next_;
  next_ = (next_ + 1) % Slots;
  slots_[i] = MakeGradient(n, c1, c2);
  return i;
}

GradientCache& gradientCache() {
  static GradientCache cache;
  return cache;
}

void FillGradient(QPainter& p, const QRect& rect, SkinColor c1, bool vertical, SkinColor c2) {
  const int n = vertical ? rect.height() : rect.width();
  if (n < 1) return;
  // The device's box is in device pixels; the rectangle and the clip are in the painter's
  // coordinates, so the box is taken back through the painter's transform first.
  QRect clip = rect;
  if (p.device()) {
    const QRect device(0, 0, p.device()->width(), p.device()->height());
    bool invertible = false;
    const QTransform back = p.combinedTransform().inverted(&invertible);
    if (invertible) clip = back.mapRect(QRectF(device)).toAlignedRect();
  }
  if (p.hasClipping()) clip = clip.intersected(p.clipBoundingRect().toAlignedRect());
  const QRect visible = clip.intersected(rect);
  if (visible.isEmpty()) return;
  const auto& colors = gradientCache().slot(GetGradient(n, ResolveColor(c1), ResolveColor(c2)));
  const int first = vertical ? visible.top() - rect.top() : visible.left() - rect.left();
  const int last = vertical ? visible.bottom() - rect.top() : visible.right() - rect.left();
  for (int k = first; k <= last; ++k) {
    const QColor col = toQColor(colors[static_cast<size_t>(k)]);
    if (vertical)
      p.fillRect(QRect(rect.left(), rect.top() + k, rect.width(), 1), col);
    else
      p.fillRect(QRect(rect.left() + k, rect.top(), 1, rect.height()), col);
  }
}

HueSat ColorHueSat(SkinColor c) {
  const TColor v = ResolveColor(c);
  const double r = GetRValue(v), g = GetGValue(v), b = GetBValue(v);
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b}), delta = mx - mn;
  const double s = mx == 0 ? 0 : delta / mx;
  double h = 0;
  if (s != 0) {
    if (mx == r)
      h = 60 * (g - b) / delta;
    else if (mx == g)
      h = 120 + 60 * (b - r) / delta;
    else
      h = 240 + 60 * (r - g) / delta;
    if (h < 0) h += 360;
  }
  HueSat out;
  out.hue = static_cast<int>(std::lround(h * 255 / 360));
  out.saturation = (r < 160 && g < 160 && b < 160) ? 200 : static_cast<int>(std::lround(s * 255));
  return out;
}

QImage GrayBitmap(const QImage& img) {
  QImage out = rgb32(img).copy();
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const int v = (qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3;
      line[x] = qRgb(v, v, v);
    }
  }
  return out;
}

QImage ReplaceMagenta(const QImage& img, SkinColor c) {
  // A system colour's bytes go in as they are, unresolved, as the derived images expect.
  const auto raw = static_cast<TColor>(c);
  const QRgb with = toQRgb(raw);
  QImage out = rgb32(img).copy();
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if (isMagenta(line[x])) line[x] = with;
  }
  return out;
}

// Per pixel, whatever the source format, so no channel bytes are shuffled.
QImage MirrorBitmap(const QImage& img) {
  const QImage src = rgb32(img);
  QImage out(src.size(), QImage::Format_RGB32);
  for (int y = 0; y < src.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < src.width(); ++x) line[x] = in[src.width() - 1 - x];
  }
  return out;
}

QImage FlipBitmap(const QImage& img) {
  const QImage src = rgb32(img);
  QImage out(src.size(), QImage::Format_RGB32);
  for (int y = 0; y < src.height(); ++y)
    std::copy_n(reinterpret_cast<const QRgb*>(src.constScanLine(src.height() - 1 - y)), src.width(),
                reinterpret_cast<QRgb*>(out.scanLine(y)));
  return out;
}

QImage RotateBitmapLeft(const QImage& img) {
  const QImage src = rgb32(img);
  QImage out(src.height(), src.width(), QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) out.setPixel(x, y, src.pixel(src.width() - 1 - y, x));
  return out;
}

QImage RotateBitmapRight(const QImage& img) {
  const QImage src = rgb32(img);
  QImage out(src.height(), src.width(), QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) out.setPixel(x, y, src.pixel(y, src.height() - 1 - x));
  return out;
}

QImage MagentaKeyed(const QImage& img) {
  QImage out = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if (isMagenta(line[x])) line[x] = 0;
  }
  return out;
}

QImage MenuGlyphsBitmap() {
  QImage img(64, 16, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setPen(Qt::black);
  // 0 restore: two overlapping windows.
  p.drawRect(6, 3, 6, 5);
  p.drawLine(6, 4, 12, 4);
  p.fillRect(3, 6, 7, 6, Qt::white);
  p.drawRect(3, 6, 6, 5);
  p.drawLine(3, 7, 9, 7);
  // 1 maximize: one window with a thick title line.
  p.drawRect(16 + 3, 3, 9, 9);
  p.drawLine(16 + 3, 4, 16 + 12, 4);
  // 2 minimize: a bar at the bottom.
  p.fillRect(32 + 4, 10, 7, 2, Qt::black);
  // 3 close: a cross.
  p.drawLine(48 + 4, 4, 48 + 11, 11);
  p.drawLine(48 + 5, 4, 48 + 12, 11);
  p.drawLine(48 + 11, 4, 48 + 4, 11);
  p.drawLine(48 + 12, 4, 48 + 5, 11);
  return img;
}

QImage TrackBitmap(bool vertical) {
  // A sunken groove with a three-pixel frame on every side, so it stretches cleanly.
  QImage img(12, 12, QImage::Format_RGB32);
  img.fill(toQColor(clBtnFace));
  QPainter p(&img);
  p.setPen(toQColor(clBtnShadow));
  p.drawLine(1, 1, 10, 1);
  p.drawLine(1, 1, 1, 10);
  p.setPen(toQColor(cl3DDkShadow));
  p.drawLine(2, 2, 9, 2);
  p.drawLine(2, 2, 2, 9);
  p.setPen(toQColor(clBtnHighlight));
  p.drawLine(1, 10, 10, 10);
  p.drawLine(10, 1, 10, 10);
  p.fillRect(3, 3, 6, 6, toQColor(cl3DLight));
  p.end();
  return vertical ? RotateBitmapRight(img) : img;
}

namespace {

QImage paintApplicationIcon() {
  // A meridian ring with the probe's tip: slate on white, like the skin.
  QImage img(32, 32, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x1F, 0x34, 0x4D), 2));
  p.setBrush(QColor(0x3C, 0x6A, 0x9E));
  p.drawEllipse(QRectF(2, 2, 28, 28));
  p.setPen(QPen(Qt::white, 2.5));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(8, 8, 16, 16), 30 * 16, 300 * 16);
  p.setBrush(Qt::white);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QRectF(13.5, 13.5, 5, 5));
  return img;
}

}  // namespace

QImage ApplicationIcon() {
  // Asked for by the application and by every skin load; painted once.
  static const QImage icon = paintApplicationIcon();
  return icon;
}

}  // namespace ruto
