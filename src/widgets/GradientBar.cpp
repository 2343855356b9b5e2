#include "widgets/GradientBar.h"

#include <QFontDatabase>
#include <QPainter>
#include <algorithm>

#include "base/Numbers.h"

namespace ruto {

TGradientBar::TGradientBar(QWidget* parent) : QWidget(parent) {
  resize(150, 16);
  font_.Name = QStringLiteral("Default");
  font_.Size = 8;
  font_.Color = clWhite;
  font_.Style = 0;
  setAttribute(Qt::WA_OpaquePaintEvent);
}

const QStringList& TGradientBar::trueTypeFonts() {
  static const QStringList names = [] {
    QStringList out;
    for (const QString& f : QFontDatabase::families())
      if (QFontDatabase::isScalable(f)) out << f;
    out.sort();
    return out;
  }();
  return names;
}

void TGradientBar::changed() {
  if (isVisible()) update();
}

void TGradientBar::setStyle(TStyle s) {
  if (s == style_) return;
  style_ = s;
  changed();
}

void TGradientBar::setBevelStyle(TBevelStyleExt s) {
  if (s == bevelStyle_) return;
  bevelStyle_ = s;
  changed();
}

void TGradientBar::setBevelWidth(int w) {
  if (w == bevelWidth_) return;
  if (w >= 1 && w <= 10 && 2 * w <= height() - 4 && 2 * w <= width() - 4) bevelWidth_ = w;
  changed();
}

void TGradientBar::setStartColor(TColor c) {
  if (c == startColor_) return;
  startColor_ = c;
  changed();
}

void TGradientBar::setEndColor(TColor c) {
  if (c == endColor_) return;
  endColor_ = c;
  changed();
}

void TGradientBar::setPosition(int p) {
  if (p < 0 || p == position_) return;
  position_ = std::min(p, maxValue_);
  // Painted at once: the measurement moves the bar from inside its own steps.
  if (isVisible()) repaint();
}

void TGradientBar::setMaxValue(int m) {
  if (m == maxValue_) return;
  maxValue_ = m;
  if (position_ > maxValue_) position_ = maxValue_;
  changed();
}

void TGradientBar::setShowPercent(bool on) {
  if (on == showPercent_) return;
  showPercent_ = on;
  changed();
}

void TGradientBar::setBackColor(TColor c) {
  if (c == backColor_) return;
  backColor_ = c;
  changed();
}

void TGradientBar::setFont(const TFont& f) {
  font_ = f;
  changed();
}

QImage TGradientBar::renderImage() const {
  QImage img(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
  img.fill(toQRgb(clBtnFace));
  QPainterCanvas c(&img);
  render(c);
  return img;
}

void TGradientBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, renderImage());
}

void TGradientBar::render(Canvas& canvas) const {
  const int W = width(), H = height();
  const bool horizontal = style_ == gsHorizontal;
  if (bevelStyle_ != bsNone) {
    const TColor tl = bevelStyle_ == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor br = bevelStyle_ == bsLowered ? clBtnHighlight : clBtnShadow;
    for (int k = 0; k < bevelWidth_; ++k) canvas.Frame3D({k, k, W - k, H - k}, tl, br);
  }
  const int w = bevelStyle_ == bsNone ? 1 : bevelWidth_;
  const TRect R{w, w, W - w, H - w};
  if (R.Right <= 0 || R.Bottom <= 0) return;
  // A bar without range or size shows empty rather than dividing by zero.
  const int extent = horizontal ? W : H;
  int L = maxValue_ > 0 && extent > 0 ? MulDiv(position_, extent, maxValue_) : 0;
  L = std::clamp(L, 0, std::max(0, extent));

  QImage bmp(R.Right, R.Bottom, QImage::Format_RGB32);
  bmp.fill(toQRgb(backColor_));
  {
    QPainterCanvas b(&bmp);
    b.Pen = TPen{clBlack, 0, TPenStyle::psSolid};
    const int r0 = GetRValue(startColor_), g0 = GetGValue(startColor_), b0 = GetBValue(startColor_);
    const int dr = GetRValue(endColor_) - r0, dg = GetGValue(endColor_) - g0,
              db = GetBValue(endColor_) - b0;
    for (int i = 0; i <= L; ++i) {
      const int f = L > 0 ? MulDiv(255, i, L) : 0;
      auto channel = [f](int start, int delta) {
        return std::clamp(start + MulDiv(f, delta, 255), 0, 255);
      };
      b.Pen.Color = RGB(channel(r0, dr), channel(g0, dg), channel(b0, db));
      if (horizontal) {
        b.MoveTo(i, R.Top);
        b.LineTo(i, R.Bottom);
      } else {
        b.MoveTo(R.Left, std::abs(i - H));
        b.LineTo(R.Right, std::abs(i - H));
      }
    }
    b.Brush = TBrush{backColor_, TBrushStyle::bsSolid};
    b.Pen.Color = backColor_;
    if (horizontal)
      b.Rectangle({L, R.Top, W, H});
    else
      b.Rectangle({R.Left, R.Top, R.Right, std::abs(L - H)});
    b.Brush.Style = TBrushStyle::bsClear;

    if (showPercent_) {
      b.Font = font_;
      const int percent = extent > 0 ? MulDiv(L, 100, extent) : 0;
      const QString text = QString::number(percent) + QLatin1Char('%');
      auto centred = [&] {
        b.TextOut(R.Left + (R.width() - b.TextWidth(text)) / 2,
                  R.Top + (R.height() - b.TextHeight(text)) / 2, text);
      };
      if (horizontal) {
        centred();
      } else {
        const QStringList& tt = trueTypeFonts();
        if (!tt.contains(b.Font.Name) && !tt.isEmpty()) b.Font.Name = tt.first();
        const int cx = b.TextWidth(text), cy = b.TextHeight(text);
        if (W - 6 - 2 * bevelWidth_ >= cx) {
          centred();
        } else {
          b.Font.Orientation = 2700;
          b.TextOut(nearInt((W + cy - 3) / 2.0), nearInt((H - cx + 3) / 2.0), text);
        }
      }
    }
  }
  canvas.Draw(R.Left, R.Top, bmp, R);
}

}  // namespace ruto
