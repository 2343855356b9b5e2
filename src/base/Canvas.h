#pragma once
// The small drawing surface that controls, charts and printed reports paint on. Its calls
// follow the conventions the program's drawing code was written for: rectangles and LineTo
// leave out their right/bottom end, text is placed by its top-left corner, fonts are given in
// points with an orientation in tenths of a degree counter-clockwise, colours are $BBGGRR.
// QPainterCanvas draws through QPainter (screen, image, printer); RecordingCanvas keeps a list
// of the calls so tests can check positions without rasterising text.

#include <QImage>
#include <QPoint>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>

#include "base/Colors.h"

class QPainter;
class QPaintDevice;
class QFont;
class QPainterPath;

namespace ruto {

// Right and bottom are exclusive.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int width() const { return Right - Left; }
  int height() const { return Bottom - Top; }
  bool isEmpty() const { return Right <= Left || Bottom <= Top; }
  bool contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  bool operator==(const TRect&) const = default;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum class TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
enum class TFillStyle { fsSurface, fsBorder };

struct TPen {
  TColor Color = clBlack;
  int Width = 1;  // 0 and 1 are one device pixel
  TPenStyle Style = TPenStyle::psSolid;
  bool operator==(const TPen&) const = default;
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
  bool operator==(const TBrush&) const = default;
};

struct TFont {
  QString Name = QStringLiteral("MS Sans Serif");
  int Size = 8;            // points
  unsigned Style = 0;      // TFontStyle bits
  TColor Color = clBlack;  // text colour
  int Orientation = 0;     // tenths of a degree, counter-clockwise
  bool operator==(const TFont&) const = default;
};

// Builds the QFont for `font` on a device of `dpiY` dots per inch (0: 96), in the print faces
// when `paper`.
QFont toQFont(const TFont& font, int dpiY = 0, bool paper = false);

// Scan-line flood fill on an image, exact colours. fsSurface fills the 4-connected area of
// colour `color` that holds (x, y); fsBorder fills the area bounded by `color`. Returns the
// number of pixels changed; nothing happens when the start is outside the image, when a
// surface fill would paint the colour it replaces, or when the start pixel is the border.
int FloodFill(QImage& image, int x, int y, TColor color, TColor fill, TFillStyle style);

class Canvas {
 public:
  virtual ~Canvas() = default;

  TPen Pen;
  TBrush Brush;
  TFont Font;
  // Hatch brushes draw their lines this far apart and this wide, in the painter's own units.
  // Eight pixels suit the screen; a printer's fine dots need a pitch given in millimetres.
  int HatchPitch = 8;
  int HatchWidth = 1;

  QPoint PenPos() const { return penPos_; }
  void MoveTo(int x, int y) { penPos_ = QPoint(x, y); }
  // Draws from the pen position to (x, y) without the end pixel; the end becomes the pen
  // position.
  void LineTo(int x, int y);
  // Line from the first point through the others, each end pixel left out.
  void Polyline(const QVector<QPoint>& points);

  virtual void Rectangle(const TRect& r) = 0;  // outline with Pen, inside with Brush
  virtual void FillRect(const TRect& r) = 0;   // Brush only
  virtual void Ellipse(const TRect& r) = 0;    // bounded by r
  virtual void Polygon(const QVector<QPoint>& points) = 0;
  // Text with its top-left corner at (x, y) (the corner of the unrotated text box when the
  // font has an orientation); an opaque background in Brush colour unless the brush is clear.
  virtual void TextOut(int x, int y, const QString& text) = 0;
  // Fills r with the brush (unless clear) and draws the text at (x, y) clipped to r.
  virtual void TextRect(const TRect& r, int x, int y, const QString& text) = 0;
  virtual int TextWidth(const QString& text) = 0;
  virtual int TextHeight(const QString& text) = 0;
  // Image stretched onto r, or copied at (x, y) from the part src of the image.
  virtual void StretchDraw(const TRect& r, const QImage& image) = 0;
  virtual void Draw(int x, int y, const QImage& image, const TRect& src) = 0;

  // Pixel access works on image-backed canvases; elsewhere Pixel gives 0xFFFFFFFF (invalid)
  // and the writes do nothing.
  virtual TColor Pixel(int x, int y) = 0;
  virtual void SetPixel(int x, int y, TColor c) = 0;
  virtual void FloodFill(int x, int y, TColor color, TFillStyle style) = 0;

  // Drawing outside r is dropped until ClearClip.
  virtual void SetClip(const TRect& r) = 0;
  virtual void ClearClip() = 0;

  // The three-dimensional edge of a rectangle: two one-pixel lines in `topLeft` along the
  // top and left sides and two in `bottomRight` along the bottom and right sides, inside r.
  void Frame3D(const TRect& r, TColor topLeft, TColor bottomRight);

 protected:
  // One LineTo: `to` is left out for one-pixel pens; wide pens draw it with round ends.
  virtual void drawLine(QPoint from, QPoint to) = 0;

 private:
  QPoint penPos_;
};

// Draws with QPainter on any paint device. With an image the pixel calls work too.
class QPainterCanvas final : public Canvas {
 public:
  explicit QPainterCanvas(QImage* image);
  // Draws on an already active painter (a widget's paint event, a printer page).
  explicit QPainterCanvas(QPainter* painter);
  ~QPainterCanvas() override;

  void Rectangle(const TRect& r) override;
  void FillRect(const TRect& r) override;
  void Ellipse(const TRect& r) override;
  void Polygon(const QVector<QPoint>& points) override;
  void TextOut(int x, int y, const QString& text) override;
  void TextRect(const TRect& r, int x, int y, const QString& text) override;
  int TextWidth(const QString& text) override;
  int TextHeight(const QString& text) override;
  void StretchDraw(const TRect& r, const QImage& image) override;
  void Draw(int x, int y, const QImage& image, const TRect& src) override;
  TColor Pixel(int x, int y) override;
  void SetPixel(int x, int y, TColor c) override;
  void FloodFill(int x, int y, TColor color, TFillStyle style) override;
  void SetClip(const TRect& r) override;
  void ClearClip() override;

  QPainter* painter() const { return painter_; }

 protected:
  void drawLine(QPoint from, QPoint to) override;

 private:
  void applyPen();
  // Fills the shape with the brush: solid, or hatching drawn as lines every HatchPitch units,
  // anchored at the painter's origin.
  void fillShape(const QPainterPath& path);
  int dpiY() const;
  QFont qfont() const;
  // Pixel writes need the image without an active painter.
  void suspend();
  void resume();

  QImage* image_ = nullptr;
  QPainter* painter_ = nullptr;
  std::unique_ptr<QPainter> owned_;
  bool clipped_ = false;
  TRect clip_;
  // Drawing into a PDF (a report file, or a document for the print system): the print faces.
  bool paper_ = false;
};

// Keeps every call as one entry; text is measured with the font at 96 dpi.
class RecordingCanvas final : public Canvas {
 public:
  struct Entry {
    QString Op;              // "Line", "Rectangle", "FillRect", "Ellipse", "Polygon",
                             // "TextOut", "TextRect", "StretchDraw", "Draw", "SetPixel",
                             // "FloodFill", "SetClip", "ClearClip"
    QVector<QPoint> Points;  // line ends, polygon points, text position
    TRect Rect;
    QString Text;
    TPen Pen;
    TBrush Brush;
    TFont Font;
  };

  QVector<Entry> Entries;
  // Text measurement; unset, the font is measured at 96 dpi. Tests set fixed metrics so that
  // positions can be predicted without a font.
  std::function<int(const TFont&, const QString&)> MeasureWidth;
  std::function<int(const TFont&, const QString&)> MeasureHeight;
  // Entries of one kind, in order.
  QVector<Entry> of(const QString& op) const;

  void Rectangle(const TRect& r) override;
  void FillRect(const TRect& r) override;
  void Ellipse(const TRect& r) override;
  void Polygon(const QVector<QPoint>& points) override;
  void TextOut(int x, int y, const QString& text) override;
  void TextRect(const TRect& r, int x, int y, const QString& text) override;
  int TextWidth(const QString& text) override;
  int TextHeight(const QString& text) override;
  void StretchDraw(const TRect& r, const QImage& image) override;
  void Draw(int x, int y, const QImage& image, const TRect& src) override;
  TColor Pixel(int x, int y) override;
  void SetPixel(int x, int y, TColor c) override;
  void FloodFill(int x, int y, TColor color, TFillStyle style) override;
  void SetClip(const TRect& r) override;
  void ClearClip() override;

 protected:
  void drawLine(QPoint from, QPoint to) override;

 private:
  Entry entry(const QString& op) const;
};

}  // namespace ruto
