#pragma once
// A vertical bar gauge: bold caption and value text on top, minimum and maximum labels
// beside the scale ends, tick marks at a fixed increment and a triangular marker.

#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "base/Canvas.h"

namespace ruto {

class TBarMeter : public QWidget {
 public:
  explicit TBarMeter(QWidget* parent = nullptr);

  // Values outside [ValueMin, ValueMax] and non-finite ones are ignored.
  double Value() const { return value_; }
  void setValue(double v);
  // Accepted only when not above Value (not below it for ValueMax); set ValueMax before
  // raising Value above the old maximum.
  double ValueMin() const { return valueMin_; }
  void setValueMin(double v);
  double ValueMax() const { return valueMax_; }
  void setValueMax(double v);
  // Accepted only when greater than 0.
  double Increment() const { return increment_; }
  void setIncrement(double v);
  std::uint8_t Digits() const { return digits_; }
  void setDigits(std::uint8_t d);
  QString SignalUnit() const { return signalUnit_; }
  void setSignalUnit(const QString& unit);
  TColor ColorFore() const { return colorFore_; }
  void setColorFore(TColor c);
  TColor ColorBack() const { return colorBack_; }
  void setColorBack(TColor c);
  TColor MarkerColor() const { return markerColor_; }
  void setMarkerColor(TColor c);
  bool ShowIncrements() const { return showIncrements_; }
  void setShowIncrements(bool on);
  bool ShowMarker() const { return showMarker_; }
  void setShowMarker(bool on);
  bool Transparent() const { return transparent_; }
  void setTransparent(bool on);
  std::uint16_t GapTop() const { return gapTop_; }
  void setGapTop(std::uint16_t g);
  std::uint16_t GapBottom() const { return gapBottom_; }
  void setGapBottom(std::uint16_t g);
  std::uint16_t BarThickness() const { return barThickness_; }
  void setBarThickness(std::uint16_t t);
  QString Caption() const { return caption_; }
  void setCaption(const QString& c);
  TColor Color() const { return color_; }
  void setColor(TColor c);
  const TFont& Font() const { return font_; }
  void setFont(const TFont& f);
  using QWidget::setFont;

  // Layout of the last paint.
  int BarLeft() const { return barLeft_; }
  int ScaleTop() const { return scaleTop_; }
  // Pixel row of a value on the scale of the last paint.
  int ValueToPixel(double v) const;
  // Text of a value as the gauge shows it: fixed point, Digits decimals, blank, unit.
  QString valueText(double v) const;

  QImage renderImage();
  void render(Canvas& canvas);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void changed() { update(); }

  double value_ = 0, valueMin_ = 0, valueMax_ = 100, increment_ = 10;
  std::uint8_t digits_ = 0;
  QString signalUnit_ = QStringLiteral("Units");
  TColor colorFore_ = 0x0000FF, colorBack_ = clBtnFace, markerColor_ = 0xFF0000;
  bool showIncrements_ = true, showMarker_ = true, transparent_ = false;
  std::uint16_t gapTop_ = 20, gapBottom_ = 10, barThickness_ = 5;
  QString caption_;
  TColor color_ = clBtnFace;
  TFont font_;
  int barLeft_ = 0;
  int scaleTop_ = 0;
};

}  // namespace ruto
