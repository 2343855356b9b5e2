#pragma once
// A small lamp in one of six shapes, lit or unlit, blinking by a timer while lit. The lamp
// images carry a pure $00FF00 surface that is flood-filled with the lit or unlit colour.

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

#include "base/Canvas.h"

class QTimer;

namespace ruto {

enum TLEDStyle { LEDSmall, LEDLarge, LEDSqSmall, LEDSqLarge, LEDVertical, LEDHorizontal };

class TLedLamp : public QWidget {
 public:
  explicit TLedLamp(QWidget* parent = nullptr);
  ~TLedLamp() override;

  TColor TrueColor() const { return trueColor_; }
  void setTrueColor(TColor c);
  TColor FalseColor() const { return falseColor_; }
  void setFalseColor(TColor c);
  TColor BorderColor() const { return borderColor_; }
  void setBorderColor(TColor c);
  bool Blink() const { return blink_; }
  void setBlink(bool on);
  bool Bordered() const { return bordered_; }
  void setBordered(bool on);
  bool Value() const { return value_; }
  void setValue(bool on);
  int Interval() const { return interval_; }
  // 0 (or less) holds the lamp in its present phase; a later positive value resumes.
  void setInterval(int ms);
  TLEDStyle LEDStyle() const { return style_; }
  void setLEDStyle(TLEDStyle s);

  std::function<void()> OnTimer;
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;
  std::function<void()> OnClick;

  // One blink step: the other phase is shown and OnTimer fires. The timer calls it.
  void TimerTick();
  bool Blinking() const { return timer_ != nullptr; }
  bool TimerRunning() const;
  // 0 while the lit image is on show, 1 for the unlit one.
  int ShownIndex() const { return index_; }
  const QImage& Bitmap(int index) const { return bitmaps_[index & 1]; }

  // Size and resource name of a style's images.
  static QSize styleSize(TLEDStyle s);
  static QString resourceName(TLEDStyle s, bool bordered);

  QImage renderImage() const;
  void render(Canvas& canvas) const;

 protected:
  void paintEvent(QPaintEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  void buildBitmaps();
  void startBlinking();
  void stopBlinking();
  void colourChanged(TColor& field, TColor c);
  void showPhase(int index);

  TColor trueColor_ = 0x00FF00;
  TColor falseColor_ = 0xC0C0C0;
  TColor borderColor_ = clBtnFace;
  bool blink_ = true;
  bool bordered_ = true;
  bool value_ = false;
  int interval_ = 1000;
  TLEDStyle style_ = LEDSmall;
  QImage bitmaps_[2];
  int index_ = 1;
  std::unique_ptr<QTimer> timer_;
};

}  // namespace ruto
