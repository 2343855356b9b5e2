#include "base/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "base/Fonts.h"
#include "base/Numbers.h"

namespace ruto {

QFont toQFont(const TFont& font, int dpiY, bool paper) {
  if (dpiY <= 0) dpiY = 96;
  // Han text in a Traditional Chinese face whatever the named face holds.
  QFont f = paper ? WithPrintFamilies(QFont(), font.Name) : WithProgramFamilies(QFont(), font.Name);
  // Point sizes map to the em height in device pixels through the device's own resolution,
  // so text keeps its size whatever DPI Qt assumes for the device.
  f.setPixelSize(std::max(1, MulDiv(std::max(1, font.Size), dpiY, 72)));
  f.setBold(font.Style & fsBold);
  f.setItalic(font.Style & fsItalic);
  f.setUnderline(font.Style & fsUnderline);
  f.setStrikeOut(font.Style & fsStrikeOut);
  return f;
}

int FloodFill(QImage& image, int x, int y, TColor color, TColor fill, TFillStyle style) {
  if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return 0;
  const bool surface = style == TFillStyle::fsSurface;
  const QRgb key = toQRgb(color) & 0xFFFFFF;
  const QRgb paint = toQRgb(fill);
  if (surface && key == (paint & 0xFFFFFF)) return 0;  // would never finish repainting itself
  if (image.depth() != 32) image.convertTo(QImage::Format_RGB32);
  const int w = image.width(), h = image.height();
  // A border fill can meet its own colour, so it keeps track of where it has been.
  std::vector<char> seen(surface ? 0 : static_cast<size_t>(w) * h, 0);
  auto row = [&](int yy) { return reinterpret_cast<QRgb*>(image.scanLine(yy)); };
  auto inside = [&](int xx, int yy) {
    const QRgb px = row(yy)[xx] & 0xFFFFFF;
    if (surface) return px == key;
    return px != key && !seen[static_cast<size_t>(yy) * w + xx];
  };
  if (!inside(x, y)) return 0;
  int changed = 0;
  std::vector<QPoint> seeds{QPoint(x, y)};
  while (!seeds.empty()) {
    const QPoint s = seeds.back();
    seeds.pop_back();
    const int sy = s.y();
    if (!inside(s.x(), sy)) continue;
    int lx = s.x(), rx = s.x();
    while (lx > 0 && inside(lx - 1, sy)) --lx;
    while (rx < w - 1 && inside(rx + 1, sy)) ++rx;
    QRgb* line = row(sy);
    for (int i = lx; i <= rx; ++i) {
      line[i] = paint;
      if (!surface) seen[static_cast<size_t>(sy) * w + i] = 1;
    }
    changed += rx - lx + 1;
    for (int ny : {sy - 1, sy + 1}) {
      if (ny < 0 || ny >= h) continue;
      bool run = false;
      for (int i = lx; i <= rx; ++i) {
        const bool in = inside(i, ny);
        if (in && !run) seeds.emplace_back(i, ny);
        run = in;
      }
    }
  }
  return changed;
}

// ---- Canvas ----

void Canvas::LineTo(int x, int y) {
  drawLine(penPos_, QPoint(x, y));
  penPos_ = QPoint(x, y);
}

void Canvas::Polyline(const QVector<QPoint>& points) {
  if (points.isEmpty()) return;
  MoveTo(points[0].x(), points[0].y());
  for (int i = 1; i < points.size(); ++i) LineTo(points[i].x(), points[i].y());
}

void Canvas::Frame3D(const TRect& r, TColor topLeft, TColor bottomRight) {
  if (r.isEmpty()) return;
  const TPen saved = Pen;
  Pen = TPen{topLeft, 1, TPenStyle::psSolid};
  MoveTo(r.Left, r.Bottom - 1);
  LineTo(r.Left, r.Top);
  LineTo(r.Right - 1, r.Top);
  Pen.Color = bottomRight;
  LineTo(r.Right - 1, r.Bottom - 1);
  LineTo(r.Left - 1, r.Bottom - 1);
  Pen = saved;
}

// ---- QPainterCanvas ----

QPainterCanvas::QPainterCanvas(QImage* image)
    : image_(image), owned_(std::make_unique<QPainter>(image)) {
  painter_ = owned_.get();
}

QPainterCanvas::QPainterCanvas(QPainter* painter)
    : painter_(painter),
      paper_(painter->paintEngine() && painter->paintEngine()->type() == QPaintEngine::Pdf) {}

QPainterCanvas::~QPainterCanvas() {
  if (owned_ && owned_->isActive()) owned_->end();
}

int QPainterCanvas::dpiY() const {
  const QPaintDevice* d = painter_->device();
  return d ? d->logicalDpiY() : 96;
}

QFont QPainterCanvas::qfont() const { return toQFont(Font, dpiY(), paper_); }

void QPainterCanvas::applyPen() {
  if (Pen.Style == TPenStyle::psClear) {
    painter_->setPen(Qt::NoPen);
    return;
  }
  QPen p(toQColor(Pen.Color));
  p.setWidth(Pen.Width <= 1 ? 0 : Pen.Width);
  switch (Pen.Style) {
    case TPenStyle::psDash:
      p.setStyle(Qt::DashLine);
      break;
    case TPenStyle::psDot:
      p.setStyle(Qt::DotLine);
      break;
    case TPenStyle::psDashDot:
      p.setStyle(Qt::DashDotLine);
      break;
    case TPenStyle::psDashDotDot:
      p.setStyle(Qt::DashDotDotLine);
      break;
    default:
      p.setStyle(Qt::SolidLine);
      break;
  }
  p.setCapStyle(Pen.Width <= 1 ? Qt::SquareCap : Qt::RoundCap);
  p.setJoinStyle(Qt::RoundJoin);
  painter_->setPen(p);
  painter_->setBrush(Qt::NoBrush);
}

void QPainterCanvas::fillShape(const QPainterPath& path) {
  if (Brush.Style == TBrushStyle::bsClear) return;
  const QColor c = toQColor(Brush.Color);
  if (Brush.Style == TBrushStyle::bsSolid) {
    painter_->fillPath(path, c);
    return;
  }
  // Hatching as lines in the painter's own coordinates, anchored at its origin, so the pattern
  // moves with the surface (as a brush origin does) and the gaps stay transparent. Working in
  // device coordinates instead would miss the offset a widget painter keeps outside its
  // transform, and the lines would land beside the shape.
  painter_->save();
  painter_->setClipPath(path, Qt::IntersectClip);
  const QRect box = path.boundingRect().toAlignedRect();
  QPen p(c);
  p.setWidth(HatchWidth <= 1 ? 0 : HatchWidth);
  p.setCapStyle(Qt::FlatCap);
  painter_->setPen(p);
  painter_->setBrush(Qt::NoBrush);
  const int pitch = std::max(1, HatchPitch);
  const int l = box.left() - 1, t = box.top() - 1, r = box.right() + 1, b = box.bottom() + 1;
  const bool horz = Brush.Style == TBrushStyle::bsHorizontal || Brush.Style == TBrushStyle::bsCross;
  const bool vert = Brush.Style == TBrushStyle::bsVertical || Brush.Style == TBrushStyle::bsCross;
  const bool fdiag =
      Brush.Style == TBrushStyle::bsFDiagonal || Brush.Style == TBrushStyle::bsDiagCross;
  const bool bdiag =
      Brush.Style == TBrushStyle::bsBDiagonal || Brush.Style == TBrushStyle::bsDiagCross;
  auto firstMultiple = [pitch](int v) { return v - ((v % pitch) + pitch) % pitch; };
  if (horz)
    for (int y = firstMultiple(t); y <= b; y += pitch) painter_->drawLine(l, y, r, y);
  if (vert)
    for (int x = firstMultiple(l); x <= r; x += pitch) painter_->drawLine(x, t, x, b);
  const int span = (r - l) + (b - t);
  if (fdiag)  // "\": x - y constant
    for (int k = firstMultiple(l - b); k <= r - t; k += pitch)
      painter_->drawLine(k + t, t, k + t + span, t + span);
  if (bdiag)  // "/": x + y constant
    for (int k = firstMultiple(l + t); k <= r + b; k += pitch)
      painter_->drawLine(k - t, t, k - t - span, t + span);
  painter_->restore();
}

void QPainterCanvas::drawLine(QPoint from, QPoint to) {
  if (Pen.Style == TPenStyle::psClear) return;
  applyPen();
  if (Pen.Width > 1) {
    painter_->drawLine(from, to);
    return;
  }
  const int dx = to.x() - from.x(), dy = to.y() - from.y();
  const int n = std::max(std::abs(dx), std::abs(dy));
  if (n == 0) return;
  // The last pixel along the major axis is not drawn.
  const QPoint last(from.x() + nearInt(double(dx) * (n - 1) / n),
                    from.y() + nearInt(double(dy) * (n - 1) / n));
  if (n == 1)
    painter_->drawPoint(from);
  else
    painter_->drawLine(from, last);
}

void QPainterCanvas::Rectangle(const TRect& r) {
  if (r.isEmpty()) return;
  if (Pen.Style == TPenStyle::psClear) {
    // Without a pen the filled area is one pixel smaller each way.
    if (Brush.Style == TBrushStyle::bsSolid)
      painter_->fillRect(QRect(r.Left, r.Top, r.width() - 1, r.height() - 1),
                         toQColor(Brush.Color));
    else if (Brush.Style != TBrushStyle::bsClear) {
      QPainterPath p;
      p.addRect(QRectF(r.Left, r.Top, r.width() - 1, r.height() - 1));
      fillShape(p);
    }
    return;
  }
  if (Brush.Style == TBrushStyle::bsSolid)
    painter_->fillRect(QRect(r.Left, r.Top, r.width(), r.height()), toQColor(Brush.Color));
  else if (Brush.Style != TBrushStyle::bsClear) {
    QPainterPath p;
    p.addRect(QRectF(r.Left, r.Top, r.width(), r.height()));
    fillShape(p);
  }
  applyPen();
  if (r.width() == 1 || r.height() == 1)
    painter_->drawLine(r.Left, r.Top, r.Right - 1, r.Bottom - 1);
  else
    painter_->drawRect(QRect(r.Left, r.Top, r.width() - 1, r.height() - 1));
}

void QPainterCanvas::FillRect(const TRect& r) {
  if (r.isEmpty() || Brush.Style == TBrushStyle::bsClear) return;
  if (Brush.Style == TBrushStyle::bsSolid) {
    painter_->fillRect(QRect(r.Left, r.Top, r.width(), r.height()), toQColor(Brush.Color));
    return;
  }
  QPainterPath p;
  p.addRect(QRectF(r.Left, r.Top, r.width(), r.height()));
  fillShape(p);
}

void QPainterCanvas::Ellipse(const TRect& r) {
  if (r.isEmpty()) return;
  const QRectF box(r.Left, r.Top, r.width() - 1, r.height() - 1);
  QPainterPath p;
  p.addEllipse(box);
  fillShape(p);
  if (Pen.Style == TPenStyle::psClear) return;
  applyPen();
  painter_->drawEllipse(box);
}

void QPainterCanvas::Polygon(const QVector<QPoint>& points) {
  if (points.size() < 2) return;
  QPainterPath p;
  p.addPolygon(QPolygonF(QPolygon(points)));
  p.closeSubpath();
  fillShape(p);
  if (Pen.Style == TPenStyle::psClear) return;
  applyPen();
  painter_->drawPolygon(QPolygon(points));
}

void QPainterCanvas::TextOut(int x, int y, const QString& text) {
  const QFont f = qfont();
  const QFontMetrics fm(f, painter_->device());
  const int w = fm.horizontalAdvance(text);
  painter_->save();
  painter_->translate(x, y);
  if (Font.Orientation != 0) painter_->rotate(-Font.Orientation / 10.0);
  if (Brush.Style == TBrushStyle::bsSolid)
    painter_->fillRect(QRect(0, 0, w, fm.height()), toQColor(Brush.Color));
  painter_->setFont(f);
  painter_->setPen(toQColor(Font.Color));
  painter_->drawText(0, fm.ascent(), text);
  painter_->restore();
  MoveTo(x + w, y);
}

void QPainterCanvas::TextRect(const TRect& r, int x, int y, const QString& text) {
  if (r.isEmpty()) return;
  const QRect box(r.Left, r.Top, r.width(), r.height());
  if (Brush.Style == TBrushStyle::bsSolid) painter_->fillRect(box, toQColor(Brush.Color));
  painter_->save();
  painter_->setClipRect(box, Qt::IntersectClip);
  const TBrushStyle saved = Brush.Style;
  Brush.Style = TBrushStyle::bsClear;
  TextOut(x, y, text);
  Brush.Style = saved;
  painter_->restore();
}

int QPainterCanvas::TextWidth(const QString& text) {
  return QFontMetrics(qfont(), painter_->device()).horizontalAdvance(text);
}

int QPainterCanvas::TextHeight(const QString&) {
  return QFontMetrics(qfont(), painter_->device()).height();
}

void QPainterCanvas::StretchDraw(const TRect& r, const QImage& image) {
  if (r.isEmpty() || image.isNull()) return;
  painter_->drawImage(QRect(r.Left, r.Top, r.width(), r.height()), image);
}

void QPainterCanvas::Draw(int x, int y, const QImage& image, const TRect& src) {
  if (src.isEmpty() || image.isNull()) return;
  painter_->drawImage(QPoint(x, y), image, QRect(src.Left, src.Top, src.width(), src.height()));
}

void QPainterCanvas::suspend() {
  if (owned_ && owned_->isActive()) owned_->end();
}

void QPainterCanvas::resume() {
  if (!owned_ || owned_->isActive()) return;
  owned_->begin(image_);
  if (clipped_) SetClip(clip_);
}

TColor QPainterCanvas::Pixel(int x, int y) {
  if (!image_ || !image_->valid(x, y)) return 0xFFFFFFFF;
  return fromQColor(QColor(image_->pixel(x, y)));
}

void QPainterCanvas::SetPixel(int x, int y, TColor c) {
  if (!image_ || !image_->valid(x, y)) return;
  suspend();
  image_->setPixel(x, y, toQRgb(c));
  resume();
}

void QPainterCanvas::FloodFill(int x, int y, TColor color, TFillStyle style) {
  if (!image_) return;
  suspend();
  ruto::FloodFill(*image_, x, y, color, Brush.Color, style);
  resume();
}

void QPainterCanvas::SetClip(const TRect& r) {
  clipped_ = true;
  clip_ = r;
  painter_->setClipRect(QRect(r.Left, r.Top, std::max(0, r.width()), std::max(0, r.height())));
}

void QPainterCanvas::ClearClip() {
  clipped_ = false;
  painter_->setClipping(false);
}

// ---- RecordingCanvas ----

RecordingCanvas::Entry RecordingCanvas::entry(const QString& op) const {
  Entry e;
  e.Op = op;
  e.Pen = Pen;
  e.Brush = Brush;
  e.Font = Font;
  return e;
}

QVector<RecordingCanvas::Entry> RecordingCanvas::of(const QString& op) const {
  QVector<Entry> out;
  for (const Entry& e : Entries)
    if (e.Op == op) out.push_back(e);
  return out;
}

void RecordingCanvas::drawLine(QPoint from, QPoint to) {
  Entry e = entry(QStringLiteral("Line"));
  e.Points = {from, to};
  Entries.push_back(e);
}

void RecordingCanvas::Rectangle(const TRect& r) {
  Entry e = entry(QStringLiteral("Rectangle"));
  e.Rect = r;
  Entries.push_back(e);
}

void RecordingCanvas::FillRect(const TRect& r) {
  Entry e = entry(QStringLiteral("FillRect"));
  e.Rect = r;
  Entries.push_back(e);
}

void RecordingCanvas::Ellipse(const TRect& r) {
  Entry e = entry(QStringLiteral("Ellipse"));
  e.Rect = r;
  Entries.push_back(e);
}

void RecordingCanvas::Polygon(const QVector<QPoint>& points) {
  Entry e = entry(QStringLiteral("Polygon"));
  e.Points = points;
  Entries.push_back(e);
}

void RecordingCanvas::TextOut(int x, int y, const QString& text) {
  Entry e = entry(QStringLiteral("TextOut"));
  e.Points = {QPoint(x, y)};
  e.Text = text;
  Entries.push_back(e);
  MoveTo(x + TextWidth(text), y);
}

void RecordingCanvas::TextRect(const TRect& r, int x, int y, const QString& text) {
  Entry e = entry(QStringLiteral("TextRect"));
  e.Rect = r;
  e.Points = {QPoint(x, y)};
  e.Text = text;
  Entries.push_back(e);
}

int RecordingCanvas::TextWidth(const QString& text) {
  if (MeasureWidth) return MeasureWidth(Font, text);
  return QFontMetrics(toQFont(Font, 96)).horizontalAdvance(text);
}

int RecordingCanvas::TextHeight(const QString& text) {
  if (MeasureHeight) return MeasureHeight(Font, text);
  return QFontMetrics(toQFont(Font, 96)).height();
}

void RecordingCanvas::StretchDraw(const TRect& r, const QImage&) {
  Entry e = entry(QStringLiteral("StretchDraw"));
  e.Rect = r;
  Entries.push_back(e);
}

void RecordingCanvas::Draw(int x, int y, const QImage&, const TRect& src) {
  Entry e = entry(QStringLiteral("Draw"));
  e.Points = {QPoint(x, y)};
  e.Rect = src;
  Entries.push_back(e);
}

TColor RecordingCanvas::Pixel(int, int) { return 0xFFFFFFFF; }

void RecordingCanvas::SetPixel(int x, int y, TColor c) {
  Entry e = entry(QStringLiteral("SetPixel"));
  e.Points = {QPoint(x, y)};
  e.Pen.Color = c;
  Entries.push_back(e);
}

void RecordingCanvas::FloodFill(int x, int y, TColor color, TFillStyle) {
  Entry e = entry(QStringLiteral("FloodFill"));
  e.Points = {QPoint(x, y)};
  e.Pen.Color = color;
  Entries.push_back(e);
}

void RecordingCanvas::SetClip(const TRect& r) {
  Entry e = entry(QStringLiteral("SetClip"));
  e.Rect = r;
  Entries.push_back(e);
}

void RecordingCanvas::ClearClip() { Entries.push_back(entry(QStringLiteral("ClearClip"))); }

}  // namespace ruto
