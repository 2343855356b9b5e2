#pragma once
// A progress bar filled with a colour gradient, horizontal or vertical (growing from the
// bottom), inside an optional bevel, with an optional percentage text.

#include <QImage>
#include <QStringList>
#include <QWidget>

#include "base/Canvas.h"

namespace ruto {

enum TStyle { gsVertical, gsHorizontal };
enum TBevelStyleExt { bsLowered, bsRaised, bsNone };

class TGradientBar : public QWidget {
 public:
  explicit TGradientBar(QWidget* parent = nullptr);

  TStyle Style() const { return style_; }
  void setStyle(TStyle s);
  TBevelStyleExt BevelStyle() const { return bevelStyle_; }
  void setBevelStyle(TBevelStyleExt s);
  int BevelWidth() const { return bevelWidth_; }
  // 1..10, and only when two bevels leave 4 pixels each way; repaints either way.
  void setBevelWidth(int w);
  TColor StartColor() const { return startColor_; }
  void setStartColor(TColor c);
  TColor EndColor() const { return endColor_; }
  void setEndColor(TColor c);
  int Position() const { return position_; }
  // Negative and unchanged values are ignored; larger ones are limited to MaxValue.
  void setPosition(int p);
  int MaxValue() const { return maxValue_; }
  void setMaxValue(int m);
  int Step() const { return step_; }
  void setStep(int s) { step_ = s; }
  bool ShowPercent() const { return showPercent_; }
  void setShowPercent(bool on);
  TColor BackColor() const { return backColor_; }
  void setBackColor(TColor c);
  const TFont& Font() const { return font_; }
  void setFont(const TFont& f);
  using QWidget::setFont;

  void Stepit() { setPosition(position_ + step_); }

  // Paints the control as it looks into an image of its size (tests, paint events).
  QImage renderImage() const;
  void render(Canvas& canvas) const;
  // The names of the scalable fonts, sorted; the rotated text falls back to the first.
  static const QStringList& trueTypeFonts();

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void changed();

  TStyle style_ = gsHorizontal;
  TBevelStyleExt bevelStyle_ = bsLowered;
  int bevelWidth_ = 1;
  TColor startColor_ = 0xFF0000;
  TColor endColor_ = 0x0000FF;
  int position_ = 0;
  int maxValue_ = 100;
  int step_ = 1;
  bool showPercent_ = true;
  TColor backColor_ = clBtnFace;
  TFont font_;
};

}  // namespace ruto
