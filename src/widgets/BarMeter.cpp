#include "widgets/BarMeter.h"

#include <QPainter>
#include <cmath>

#include "base/Numbers.h"

namespace ruto {

TBarMeter::TBarMeter(QWidget* parent) : QWidget(parent) {
  resize(100, 200);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TBarMeter::setValue(double v) {
  if (!std::isfinite(v) || v < valueMin_ || v > valueMax_) return;
  value_ = v;
  changed();
}

void TBarMeter::setValueMin(double v) {
  if (!std::isfinite(v) || v > value_) return;
  valueMin_ = v;
  changed();
}

void TBarMeter::setValueMax(double v) {
  if (!std::isfinite(v) || v < value_) return;
  valueMax_ = v;
  changed();
}

void TBarMeter::setIncrement(double v) {
  if (!std::isfinite(v) || v <= 0) return;
  increment_ = v;
  changed();
}

void TBarMeter::setDigits(std::uint8_t d) { digits_ = d, changed(); }
void TBarMeter::setSignalUnit(const QString& unit) { signalUnit_ = unit.left(255), changed(); }
void TBarMeter::setColorFore(TColor c) { colorFore_ = c, changed(); }
void TBarMeter::setColorBack(TColor c) { colorBack_ = c, changed(); }
void TBarMeter::setMarkerColor(TColor c) { markerColor_ = c, changed(); }
void TBarMeter::setShowIncrements(bool on) { showIncrements_ = on, changed(); }
void TBarMeter::setShowMarker(bool on) { showMarker_ = on, changed(); }
void TBarMeter::setGapTop(std::uint16_t g) { gapTop_ = g, changed(); }
void TBarMeter::setGapBottom(std::uint16_t g) { gapBottom_ = g, changed(); }
void TBarMeter::setBarThickness(std::uint16_t t) { barThickness_ = t, changed(); }
void TBarMeter::setCaption(const QString& c) { caption_ = c, changed(); }
void TBarMeter::setColor(TColor c) { color_ = c, changed(); }
void TBarMeter::setFont(const TFont& f) { font_ = f, changed(); }

void TBarMeter::setTransparent(bool on) {
  transparent_ = on;
  setAttribute(Qt::WA_OpaquePaintEvent, !on);
  changed();
}

int TBarMeter::ValueToPixel(double v) const {
  if (valueMax_ <= valueMin_) return 0;
  return nearInt(scaleTop_ +
                 (v - valueMax_) * (height() - gapBottom_ - scaleTop_) / (valueMin_ - valueMax_));
}

QString TBarMeter::valueText(double v) const {
  // Eight significant digits, then the decimals asked for.
  const double shown = QString::number(v, 'g', 8).toDouble();
  return FormatFixed(shown, digits_) + QLatin1Char(' ') + signalUnit_;
}

QImage TBarMeter::renderImage() {
  QImage img(std::max(1, width()), std::max(1, height()),
             transparent_ ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  img.fill(transparent_ ? Qt::transparent : QColor(toQColor(color_)));
  QPainterCanvas c(&img);
  render(c);
  return img;
}

void TBarMeter::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, renderImage());
}

void TBarMeter::render(Canvas& c) {
  const int W = width(), H = height();
  const int T = barThickness_;
  barLeft_ = W / 2 - 10 - T;
  const int L = barLeft_;
  if (!transparent_) {
    c.Brush = TBrush{color_, TBrushStyle::bsSolid};
    c.FillRect({0, 0, W, H});
  }
  c.Brush.Style = TBrushStyle::bsClear;

  c.Font = font_;
  c.Font.Style |= fsBold;
  const int h1 = c.TextHeight(caption_);
  c.TextOut((W - c.TextWidth(caption_)) / 2, 0, caption_);
  c.Font = font_;
  const QString value = valueText(value_);
  const int h2 = c.TextHeight(value);
  c.TextOut((W - c.TextWidth(value)) / 2, h1, value);
  scaleTop_ = static_cast<std::uint16_t>(h1 + h2 + gapTop_);

  const int labelX = L + T + 10;
  const QString minText = valueText(valueMin_);
  c.TextOut(labelX, H - gapBottom_ + 6 - c.TextHeight(minText), minText);
  c.TextOut(labelX, scaleTop_ - 6, valueText(valueMax_));

  const int top = ValueToPixel(valueMax_), bottom = ValueToPixel(valueMin_);
  const int vy = ValueToPixel(value_);
  c.Brush = TBrush{colorBack_, TBrushStyle::bsSolid};
  c.FillRect({L, top, L + T, bottom});
  c.Brush.Color = colorFore_;
  c.FillRect({L + 1, vy, L + T, bottom});
  c.Brush.Style = TBrushStyle::bsClear;
  c.Pen = TPen{clWhite, 1, TPenStyle::psSolid};
  c.MoveTo(L + T - 1, top);
  c.LineTo(L, top);
  c.LineTo(L, bottom - 1);
  c.Pen.Color = clGray;
  c.LineTo(L + T, bottom - 1);
  c.LineTo(L + T, top);
  if (valueMin_ < value_ && value_ < valueMax_) {
    c.Pen.Color = clWhite;
    c.MoveTo(L + 1, vy);
    c.LineTo(L + T, vy);
    c.Pen.Color = clGray;
    c.MoveTo(L + 1, vy - 1);
    c.LineTo(L + T, vy - 1);
  }

  if (showMarker_) {
    c.Pen.Color = clWhite;
    c.MoveTo(L - 2, vy);
    c.LineTo(L - 6, vy - 4);
    c.LineTo(L - 6, vy + 4);
    c.Pen.Color = clGray;
    c.LineTo(L - 2, vy);
    c.Pen.Color = markerColor_;
    c.Brush = TBrush{markerColor_, TBrushStyle::bsSolid};
    c.Polygon({{L - 3, vy}, {L - 5, vy - 2}, {L - 5, vy + 2}});
    c.Brush.Style = TBrushStyle::bsClear;
  }

  if (showIncrements_ && valueMax_ > valueMin_) {
    // Counted rather than stepped until the top, so the loop ends even when the increment
    // vanishes against the values; ticks closer than a pixel would only blacken the scale.
    const double span = valueMax_ - valueMin_;
    const double pixels = double(H - gapBottom_ - scaleTop_);
    if (pixels > 0 && increment_ * pixels / span >= 1.0) {
      const long long count = static_cast<long long>(std::floor(span / increment_ + 1e-9)) + 1;
      for (long long k = 0; k < count; ++k) {
        const int y = ValueToPixel(valueMin_ + k * increment_);
        c.Pen.Color = clGray;
        c.MoveTo(L + T + 3, y - 1);
        c.LineTo(L + T + 7, y - 1);
        c.Pen.Color = clWhite;
        c.MoveTo(L + T + 3, y);
        c.LineTo(L + T + 7, y);
      }
    }
  }
}

}  // namespace ruto
