#include "skin/SkinDraw.h"

#include <QHash>
#include <QPainter>
#include <algorithm>

#include "skin/SkinBitmaps.h"

namespace ruto {

namespace {

bool negative(const QRect& r) { return r.width() < 0 || r.height() < 0; }

// Nearest-pixel copy of a source rectangle onto a target rectangle.
void blit(QPainter& p, const QRect& to, const QImage& img, const QRect& from) {
  if (to.isEmpty() || from.isEmpty()) return;
  p.drawImage(to, img, from);
}

void tileInto(QPainter& p, const QRect& to, const QImage& img, const QRect& from) {
  if (to.isEmpty() || from.isEmpty()) return;
  p.save();
  p.setClipRect(to, Qt::IntersectClip);
  for (int y = to.top(); y <= to.bottom(); y += from.height())
    for (int x = to.left(); x <= to.right(); x += from.width())
      p.drawImage(QPoint(x, y), img, from);
  p.restore();
}

// Draws the nine parts of frame f of img into the target rectangle t.
void drawNine(QPainter& p, const QRect& t, const QImage& img, const QRect& f, SkinEdges e,
              bool tile) {
  int l = std::clamp(e.left, 0, f.width()), r = std::clamp(e.right, 0, f.width());
  int tp = std::clamp(e.top, 0, f.height()), b = std::clamp(e.bottom, 0, f.height());
  if (l + r > t.width() || l + r > f.width()) l = r = 0;
  if (tp + b > t.height() || tp + b > f.height()) tp = b = 0;
  const int W = t.width(), H = t.height(), fw = f.width(), fh = f.height();
  const int x0 = f.left(), y0 = f.top(), X = t.left(), Y = t.top();
  // Corners.
  blit(p, QRect(X, Y, l, tp), img, QRect(x0, y0, l, tp));
  blit(p, QRect(X + W - r, Y, r, tp), img, QRect(x0 + fw - r, y0, r, tp));
  blit(p, QRect(X, Y + H - b, l, b), img, QRect(x0, y0 + fh - b, l, b));
  blit(p, QRect(X + W - r, Y + H - b, r, b), img, QRect(x0 + fw - r, y0 + fh - b, r, b));
  // Edges, stretched along their length.
  blit(p, QRect(X + l, Y, W - l - r, tp), img, QRect(x0 + l, y0, fw - l - r, tp));
  blit(p, QRect(X + l, Y + H - b, W - l - r, b), img, QRect(x0 + l, y0 + fh - b, fw - l - r, b));
  blit(p, QRect(X, Y + tp, l, H - tp - b), img, QRect(x0, y0 + tp, l, fh - tp - b));
  blit(p, QRect(X + W - r, Y + tp, r, H - tp - b), img,
       QRect(x0 + fw - r, y0 + tp, r, fh - tp - b));
  // Middle.
  const QRect mt(X + l, Y + tp, W - l - r, H - tp - b);
  const QRect ms(x0 + l, y0 + tp, fw - l - r, fh - tp - b);
  if (tile)
    tileInto(p, mt, img, ms);
  else
    blit(p, mt, img, ms);
}

}  // namespace

QRect FrameRect(const QSize& image, int frameIndex, int frameCount, bool vertical) {
  const int n = std::max(frameCount, 1);
  const int k = std::clamp(frameIndex, 1, n) - 1;
  if (vertical) {
    const int fh = image.height() / n;
    return QRect(0, k * fh, image.width(), fh);
  }
  const int fw = image.width() / n;
  return QRect(k * fw, 0, fw, image.height());
}

const QImage& KeyedImage(const QImage& img) {
  // Skin images live as long as their skin; a small cache keyed by the image's identity
  // avoids re-keying on every paint. Old entries go when the cache grows past its limit.
  static QHash<qint64, QImage> cache;
  auto it = cache.find(img.cacheKey());
  if (it != cache.end()) return *it;
  if (cache.size() > 256) cache.clear();
  return *cache.insert(img.cacheKey(), MagentaKeyed(img));
}

QImage StretchSkinImage(const QSize& target, const QImage& img, SkinEdges e, bool tile,
                        bool vertical, int frameCount, int frameIndex) {
  QImage out(target.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
  if (out.isNull()) return out;
  out.fill(Qt::magenta);
  if (img.isNull()) return out;
  QPainter p(&out);
  drawNine(p, out.rect(), img, FrameRect(img.size(), frameIndex, frameCount, vertical), e, tile);
  return out;
}

void DrawSkinImage(QPainter& p, const QRect& r, const QImage& img, SkinEdges e, int frameIndex,
                   int frameCount, bool trans, bool tile, bool vertical) {
  if (negative(r) || r.isEmpty() || img.isNull()) return;
  const QRect f = FrameRect(img.size(), frameIndex, frameCount, vertical);
  drawNine(p, r, trans ? KeyedImage(img) : img, f, e, tile);
}

void DrawThreePartImage(QPainter& p, const QRect& r, const QImage& img, SkinEdges e, int frameIndex,
                        int frameCount, bool trans, bool vertical) {
  if (negative(r) || r.isEmpty() || img.isNull()) return;
  const QImage& src = trans ? KeyedImage(img) : img;
  const QRect f = FrameRect(img.size(), frameIndex, frameCount, vertical);
  const int L = std::clamp(e.left, 0, f.width()), R = std::clamp(e.right, 0, f.width());
  const int m = f.width() - L - R;
  if (m < 1) {
    blit(p, r, src, f);
    return;
  }
  const int W = r.width(), H = r.height();
  p.save();
  p.setClipRect(r, Qt::IntersectClip);
  blit(p, QRect(r.left(), r.top(), L, H), src, QRect(f.left(), f.top(), L, f.height()));
  for (int x = L; x < W - R; x += m)
    blit(p, QRect(r.left() + x, r.top(), m, H), src, QRect(f.left() + L, f.top(), m, f.height()));
  blit(p, QRect(r.left() + W - R, r.top(), R, H), src,
       QRect(f.left() + f.width() - R, f.top(), R, f.height()));
  p.restore();
}

void DrawImageFrame(QPainter& p, const QRect& r, const QImage& img, int frameIndex, int frameCount,
                    bool trans) {
  if (negative(r) || img.isNull()) return;
  blit(p, r, trans ? KeyedImage(img) : img, FrameRect(img.size(), frameIndex, frameCount));
}

void DrawImageFrameCentered(QPainter& p, const QRect& r, const QImage& img, int frameIndex,
                            int frameCount, bool trans) {
  if (negative(r) || img.isNull()) return;
  const QRect f = FrameRect(img.size(), frameIndex, frameCount);
  const QPoint at(r.left() + (r.width() - f.width()) / 2, r.top() + (r.height() - f.height()) / 2);
  p.drawImage(at, trans ? KeyedImage(img) : img, f);
}

void StretchThreePartImage(QPainter& p, const QRect& r, const QImage& img, SkinEdges e,
                           int frameIndex, int frameCount, bool vertical) {
  if (img.isNull()) return;
  const QRect f = FrameRect(img.size(), frameIndex, frameCount, vertical);
  if (f.width() > r.width()) {
    blit(p, r, img, f);
    return;
  }
  const int L = std::clamp(e.left, 0, f.width()), R = std::clamp(e.right, 0, f.width() - L);
  const int W = r.width(), H = r.height();
  blit(p, QRect(r.left(), r.top(), L, H), img, QRect(f.left(), f.top(), L, f.height()));
  blit(p, QRect(r.left() + L, r.top(), W - L - R, H), img,
       QRect(f.left() + L, f.top(), f.width() - L - R, f.height()));
  blit(p, QRect(r.left() + W - R, r.top(), R, H), img,
       QRect(f.left() + f.width() - R, f.top(), R, f.height()));
}

void DrawTransparentBitmap(QPainter& p, const QRect& r, const QImage& img, QRgb colour) {
  if (negative(r) || img.isNull()) return;
  const QRect from(0, 0, std::min(r.width(), img.width()), std::min(r.height(), img.height()));
  if (isMagenta(colour)) {
    p.drawImage(r.topLeft(), KeyedImage(img), from);
    return;
  }
  QImage keyed = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < keyed.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x)
      if ((line[x] & 0xFFFFFFu) == (colour & 0xFFFFFFu)) line[x] = 0;
  }
  p.drawImage(r.topLeft(), keyed, from);
}

}  // namespace ruto
