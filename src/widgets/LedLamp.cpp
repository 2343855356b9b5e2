#include "widgets/LedLamp.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace ruto {

TLedLamp::TLedLamp(QWidget* parent) : QWidget(parent) {
  resize(16, 16);
  buildBitmaps();
}

TLedLamp::~TLedLamp() = default;

QSize TLedLamp::styleSize(TLEDStyle s) {
  switch (s) {
    case LEDLarge:
    case LEDSqLarge:
      return {22, 22};
    case LEDVertical:
      return {16, 22};
    case LEDHorizontal:
      return {22, 16};
    default:
      return {16, 16};
  }
}

QString TLedLamp::resourceName(TLEDStyle s, bool bordered) {
  static const char* const names[] = {"SM", "LG", "SQSM", "SQLG", "VT", "HZ"};
  return QLatin1Char(bordered ? 'B' : 'N') + QString::fromLatin1(names[s]);
}

void TLedLamp::buildBitmaps() {
  const QSize size = styleSize(style_);
  resize(size);
  QImage base(QStringLiteral(":/lamps/%1.png").arg(resourceName(style_, bordered_)));
  if (base.isNull()) {  // never without the embedded images; keep a drawable lamp anyway
    base = QImage(size, QImage::Format_RGB32);
    base.fill(toQRgb(clLime));
  }
  base = base.convertToFormat(QImage::Format_RGB32);
  bitmaps_[0] = base.copy();
  bitmaps_[1] = base.copy();
  const int cx = base.width() / 2, cy = base.height() / 2;
  FloodFill(bitmaps_[0], cx, cy, clLime, trueColor_, TFillStyle::fsSurface);
  FloodFill(bitmaps_[1], cx, cy, clLime, falseColor_, TFillStyle::fsSurface);
  if (!bordered_)
    for (QImage& b : bitmaps_) FloodFill(b, 0, 0, clSilver, borderColor_, TFillStyle::fsSurface);
}

void TLedLamp::showPhase(int index) {
  index_ = index;
  if (isVisible()) repaint();
}

bool TLedLamp::TimerRunning() const { return timer_ && timer_->isActive(); }

void TLedLamp::startBlinking() {
  if (timer_) return;
  timer_ = std::make_unique<QTimer>();
  // A QTimer with interval 0 would fire continuously; the lamp holds its phase instead.
  QObject::connect(timer_.get(), &QTimer::timeout, this, [this] { TimerTick(); });
  showPhase(0);
  if (interval_ > 0) timer_->start(interval_);
}

void TLedLamp::stopBlinking() { timer_.reset(); }

void TLedLamp::TimerTick() {
  showPhase(index_ ^ 1);
  if (OnTimer) OnTimer();
}

void TLedLamp::setValue(bool on) {
  if (on == value_) return;
  value_ = on;
  if (on) {
    showPhase(0);
    if (blink_) startBlinking();
  } else {
    stopBlinking();
    showPhase(1);
  }
}

void TLedLamp::setBlink(bool on) {
  if (on == blink_) return;
  showPhase(value_ ? 0 : 1);
  blink_ = on;
  if (blink_ && value_)
    startBlinking();
  else
    stopBlinking();
}

void TLedLamp::colourChanged(TColor& field, TColor c) {
  if (c == field) return;
  const bool wasBlinking = blink_;
  setBlink(false);
  field = c;
  buildBitmaps();
  setBlink(wasBlinking);
  update();
}

void TLedLamp::setTrueColor(TColor c) { colourChanged(trueColor_, c); }
void TLedLamp::setFalseColor(TColor c) { colourChanged(falseColor_, c); }
void TLedLamp::setBorderColor(TColor c) { colourChanged(borderColor_, c); }

void TLedLamp::setInterval(int ms) {
  interval_ = ms;
  if (!timer_) return;
  if (ms > 0)
    timer_->start(ms);
  else
    timer_->stop();
}

void TLedLamp::setLEDStyle(TLEDStyle s) {
  if (s == style_) return;
  style_ = s;
  buildBitmaps();
  update();
}

void TLedLamp::setBordered(bool on) {
  if (on == bordered_) return;
  bordered_ = on;
  buildBitmaps();
  update();
}

QImage TLedLamp::renderImage() const {
  QImage img(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
  img.fill(toQRgb(clBtnFace));
  QPainterCanvas c(&img);
  render(c);
  return img;
}

void TLedLamp::render(Canvas& canvas) const {
  canvas.StretchDraw({0, 0, width(), height()}, bitmaps_[index_]);
}

void TLedLamp::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QPainterCanvas c(&p);
  render(c);
}

void TLedLamp::enterEvent(QEnterEvent* e) {
  QWidget::enterEvent(e);
  if (OnMouseEnter) OnMouseEnter();
}

void TLedLamp::leaveEvent(QEvent* e) {
  QWidget::leaveEvent(e);
  if (OnMouseLeave) OnMouseLeave();
}

void TLedLamp::mouseReleaseEvent(QMouseEvent* e) {
  QWidget::mouseReleaseEvent(e);
  if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick)
    OnClick();
}

}  // namespace ruto
