// skingen OUTDIR
// Draws every image of the program's skin, at the sizes and frame counts its definition
// states, as Windows bitmaps into OUTDIR; the definition itself lives beside the sources.
// Magenta (255, 0, 255) marks what the skin leaves transparent.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

#include "skin/SkinBitmaps.h"

namespace {

// One restrained slate palette for frame, title, menus and controls.
const QColor kTitleTop(0x3E, 0x65, 0x94), kTitleBottom(0x2B, 0x4A, 0x6F);
const QColor kTitleEdge(0x1F, 0x34, 0x4D), kTitleLight(0x5A, 0x80, 0xAE);
const QColor kIdleTop(0xE1, 0xE6, 0xEC), kIdleBottom(0xCC, 0xD4, 0xDE);
const QColor kIdleEdge(0x8C, 0x99, 0xA8);
const QColor kFace(0xE4, 0xE8, 0xED), kFaceLight(0xF7, 0xF8, 0xFA), kFaceDark(0xB7, 0xC2, 0xCF);
const QColor kLine(0x7D, 0x8D, 0xA0), kAccent(0x3C, 0x6A, 0x9E), kAccentDark(0x2E, 0x55, 0x80);
const QColor kText(0x1E, 0x2A, 0x38);
// The definition's Hilight: light enough for the menu text to read on it, as a hot menu-bar
// button shows the bar's text over it.
const QColor kSelection(0x96, 0xB6, 0xDE);

QImage canvas(int w, int h, const QColor& fill = Qt::magenta) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

void vGradient(QPainter& p, const QRect& r, const QColor& a, const QColor& b) {
  for (int y = 0; y < r.height(); ++y) {
    const double t = r.height() > 1 ? double(y) / (r.height() - 1) : 0;
    p.fillRect(QRect(r.left(), r.top() + y, r.width(), 1),
               QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                                a.greenF() + (b.greenF() - a.greenF()) * t,
                                a.blueF() + (b.blueF() - a.blueF()) * t));
  }
}

// A bevelled box: body gradient, a border and, with round, magenta outer corners.
void box(QPainter& p, const QRect& r, const QColor& top, const QColor& bottom, const QColor& border,
         bool round) {
  vGradient(p, r.adjusted(1, 1, -1, -1), top, bottom);
  p.setPen(border);
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(0, 0, -1, -1));
  if (round) {
    for (QPoint c : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
      p.fillRect(QRect(c, QSize(1, 1)), Qt::magenta);
  }
}

QImage titleBand() {
  // Two frames stacked: active, inactive. Rounded outer top corners.
  const int w = 64, h = 26;
  QImage img = canvas(w, 2 * h);
  QPainter p(&img);
  for (int k = 0; k < 2; ++k) {
    const QRect r(0, k * h, w, h);
    vGradient(p, r, k ? kIdleTop : kTitleTop, k ? kIdleBottom : kTitleBottom);
    p.setPen(k ? kIdleEdge : kTitleEdge);
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    p.setPen(k ? kFaceLight : kTitleLight);
    p.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
    for (QPoint c :
         {QPoint(0, 0), QPoint(1, 0), QPoint(2, 0), QPoint(0, 1), QPoint(0, 2), QPoint(1, 1)}) {
      p.fillRect(QRect(r.left() + c.x(), r.top() + c.y(), 1, 1), Qt::magenta);
      p.fillRect(QRect(r.right() - c.x(), r.top() + c.y(), 1, 1), Qt::magenta);
    }
  }
  return img;
}

// Side border: frames side by side, 4 pixels wide each: outer edge, then body.
QImage sideBand(bool right) {
  const int w = 4, h = 40;
  QImage img = canvas(2 * w, h);
  QPainter p(&img);
  for (int k = 0; k < 2; ++k) {
    const QRect r(k * w, 0, w, h);
    p.fillRect(r, k ? kIdleBottom : kTitleBottom);
    p.fillRect(QRect(right ? r.right() : r.left(), 0, 1, h), k ? kIdleEdge : kTitleEdge);
    p.fillRect(QRect(right ? r.left() : r.right(), 0, 1, h), k ? kIdleEdge : kTitleEdge);
  }
  return img;
}

QImage bottomBand() {
  const int w = 64, h = 4;
  QImage img = canvas(w, 2 * h);
  QPainter p(&img);
  for (int k = 0; k < 2; ++k) {
    const QRect r(0, k * h, w, h);
    p.fillRect(r, k ? kIdleBottom : kTitleBottom);
    p.fillRect(QRect(0, r.bottom(), w, 1), k ? kIdleEdge : kTitleEdge);
    p.fillRect(QRect(0, r.top(), w, 1), k ? kIdleEdge : kTitleEdge);
  }
  return img;
}

// Caption buttons: six frames of 21x18: normal, pressed, hot, disabled, and two spares
// (normal, hot) so every state has its own frame.
QImage captionButton(const std::function<void(QPainter&, const QRect&)>& glyph, bool danger) {
  const int w = 21, h = 18;
  QImage img = canvas(6 * w, h);
  QPainter p(&img);
  for (int k = 0; k < 6; ++k) {
    const QRect r(k * w, 0, w, h);
    QColor body(0x4A, 0x73, 0xA3), edge(0x1F, 0x34, 0x4D), ink(Qt::white);
    const int state = k == 4 ? 0 : k == 5 ? 2 : k;
    if (state == 1) body = danger ? QColor(0x8E, 0x24, 0x1B) : QColor(0x1E, 0x36, 0x52);
    if (state == 2) body = danger ? QColor(0xC0, 0x39, 0x2B) : QColor(0x5D, 0x8A, 0xC0);
    if (state == 3) body = QColor(0x3A, 0x56, 0x78), ink = QColor(0x9D, 0xAE, 0xC2);
    box(p, r, body.lighter(112), body, edge, true);
    p.setPen(QPen(ink, 2));
    glyph(p, r.adjusted(6, 5, -6, -5));
  }
  return img;
}

QImage menuBar() {
  const int w = 40, h = 20;
  QImage img = canvas(w, 2 * h);
  QPainter p(&img);
  for (int k = 0; k < 2; ++k) {
    const QRect r(0, k * h, w, h);
    vGradient(p, r, k ? QColor(0xEC, 0xEE, 0xF1) : QColor(0xEE, 0xF1, 0xF5),
              k ? QColor(0xE0, 0xE3, 0xE7) : QColor(0xDC, 0xE2, 0xE9));
    p.fillRect(QRect(0, r.bottom(), w, 1), kFaceDark);
  }
  return img;
}

QImage menuItem() {
  const int w = 24, h = 20;
  QImage img = canvas(5 * w, h);
  QPainter p(&img);
  for (int k = 0; k < 5; ++k) {
    const QRect r(k * w, 0, w, h);
    if (k == 3)
      box(p, r, kSelection, kSelection, kAccent, true);
    else
      p.fillRect(r, kFaceLight);
  }
  return img;
}

QImage menuBackground() {
  QImage img = canvas(32, 32, kFaceLight);
  QPainter p(&img);
  p.setPen(kLine);
  p.drawRect(0, 0, 31, 31);
  p.setPen(kFace);
  p.drawRect(1, 1, 29, 29);
  return img;
}

// A small filled arrow centred in r, pointing 0 left, 1 right, 2 up, 3 down.
void arrow(QPainter& p, const QRect& r, int direction, const QColor& colour) {
  const QPointF c = QRectF(r).center();
  QPainterPath a;
  switch (direction) {
    case 0:
      a.moveTo(c.x() + 2, c.y() - 4), a.lineTo(c.x() + 2, c.y() + 4), a.lineTo(c.x() - 2, c.y());
      break;
    case 1:
      a.moveTo(c.x() - 2, c.y() - 4), a.lineTo(c.x() - 2, c.y() + 4), a.lineTo(c.x() + 2, c.y());
      break;
    case 2:
      a.moveTo(c.x() - 4, c.y() + 2), a.lineTo(c.x() + 4, c.y() + 2), a.lineTo(c.x(), c.y() - 2);
      break;
    default:
      a.moveTo(c.x() - 4, c.y() - 2), a.lineTo(c.x() + 4, c.y() - 2), a.lineTo(c.x(), c.y() + 2);
      break;
  }
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(a);
}

// A button face in one of five states: normal, pressed, disabled, hot, focused/default.
void stateBox(QPainter& p, const QRect& r, int state, bool round = false) {
  switch (state) {
    case 1:
      box(p, r, kFaceDark, kFace, kAccentDark, round);
      break;
    case 2:
      box(p, r, kFace, kFace, kFaceDark, round);
      break;
    case 3:
      box(p, r, QColor(0xFF, 0xFF, 0xFF), QColor(0xDD, 0xE7, 0xF3), kAccent, round);
      break;
    case 4:
      box(p, r, kFaceLight, kFace, kAccent, round);
      break;
    default:
      box(p, r, kFaceLight, kFace, kLine, round);
      break;
  }
}

// Five control states side by side: normal, pressed, disabled, hot, focused/default.
QImage stateStrip(int frames, int w, int h, bool round,
                  const std::function<void(QPainter&, const QRect&, int)>& extra = {}) {
  QImage img = canvas(w * frames, h);
  QPainter p(&img);
  // An up-down strip holds two buttons of four states (normal, pressed, disabled, hot).
  const int states = frames == 8 ? 4 : 5;
  for (int k = 0; k < frames; ++k) {
    const QRect r(k * w, 0, w, h);
    stateBox(p, r, k % states, round);
    if (extra) extra(p, r, k);
  }
  return img;
}

// Up-down glyphs: the arrow of each state on magenta (it is centred over the button image),
// pointing the other way in every second group of four.
QImage arrowStrip(int frames, int w, int h, bool vertical) {
  QImage img = canvas(w * frames, h);
  QPainter p(&img);
  for (int k = 0; k < frames; ++k)
    arrow(p, QRect(k * w, 0, w, h), (vertical ? 2 : 0) + (k / 4) % 2,
          k % 4 == 2 ? kFaceDark : kText);
  return img;
}

// The scroll-bar strip: arrows left, right, up, down in groups of four states, then the
// grips of the horizontal and vertical thumb (normal, pressed, hot) on magenta.
QImage scrollStrip() {
  const int s = 17;
  QImage img = canvas(23 * s, s);
  QPainter p(&img);
  for (int k = 0; k < 16; ++k) {
    const QRect r(k * s, 0, s, s);
    stateBox(p, r, k % 4);
    arrow(p, r, k / 4, k % 4 == 2 ? kFaceDark : kText);
  }
  for (int k = 16; k < 22; ++k) {
    const QRect r(k * s, 0, s, s);
    const bool vertical = k >= 19;
    p.setPen((k - 16) % 3 == 0 ? kLine : kAccentDark);
    for (int i = -2; i <= 2; i += 2) {
      if (vertical)
        p.drawLine(r.left() + 5, r.center().y() + i, r.right() - 5, r.center().y() + i);
      else
        p.drawLine(r.center().x() + i, r.top() + 5, r.center().x() + i, r.bottom() - 5);
    }
  }
  return img;
}

// The combo box button (normal, pressed, disabled, hot) with its drop-down arrow.
QImage comboStrip() {
  const int w = 17, h = 21;
  QImage img = canvas(4 * w, h);
  QPainter p(&img);
  for (int k = 0; k < 4; ++k) {
    const QRect r(k * w, 0, w, h);
    stateBox(p, r, k);
    arrow(p, r, 3, k == 2 ? kFaceDark : kText);
  }
  return img;
}

// Extra glyphs: the drop-down arrow in four states, then the size grip, all on magenta.
QImage extraStrip() {
  const int s = 16;
  QImage img = canvas(5 * s, s);
  QPainter p(&img);
  for (int k = 0; k < 4; ++k) arrow(p, QRect(k * s, 0, s, s), 3, k == 2 ? kFaceDark : kText);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j <= i; ++j) {
      const QPoint at(4 * s + 13 - 4 * j, 13 - 4 * (i - j));
      p.fillRect(QRect(at, QSize(2, 2)), kLine);
    }
  return img;
}

// Four frames (normal, hot, pressed, disabled) per check state: unchecked and checked, and
// for check boxes the indeterminate box as well (a check strip is read by state only with
// twelve frames).
QImage checkStrip(bool radio) {
  const int s = 13, frames = radio ? 8 : 12;
  QImage img = canvas(s * frames, s);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  for (int k = 0; k < frames; ++k) {
    const QRect r(k * s, 0, s, s);
    const bool checked = k / 4 == 1, grey = k / 4 == 2;
    const int state = k % 4;  // normal, hot, pressed, disabled
    const QColor body = state == 3 ? kFace : state == 2 ? kFaceDark : kFaceLight;
    const QColor edge = state == 1 ? kAccent : state == 3 ? kFaceDark : kLine;
    if (radio) {
      p.setPen(edge);
      p.setBrush(body);
      p.drawEllipse(r.adjusted(0, 0, -1, -1));
      if (checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(state == 3 ? kLine : kAccentDark);
        p.drawEllipse(r.adjusted(4, 4, -4, -4));
      }
    } else {
      box(p, r, body, body, edge, false);
      if (checked) {
        p.setPen(QPen(state == 3 ? kLine : kAccentDark, 2));
        p.drawLine(r.left() + 3, r.top() + 6, r.left() + 5, r.top() + 9);
        p.drawLine(r.left() + 5, r.top() + 9, r.left() + 9, r.top() + 3);
      }
      if (grey) p.fillRect(r.adjusted(3, 3, -3, -3), state == 3 ? kLine : kAccentDark);
    }
  }
  return img;
}

QImage plain(int w, int h, const QColor& fill, const QColor& edge) {
  QImage img = canvas(w, h, fill);
  QPainter p(&img);
  p.setPen(edge);
  p.drawRect(0, 0, w - 1, h - 1);
  return img;
}

bool save(const QDir& dir, const QString& name, const QImage& img) {
  if (img.convertToFormat(QImage::Format_RGB888).save(dir.filePath(name), "BMP")) return true;
  std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(dir.filePath(name)));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: skingen OUTDIR\n");
    return 2;
  }
  QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!dir.mkpath(QStringLiteral("."))) return 1;
  auto cross = [](QPainter& p, const QRect& r) {
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
  };
  auto maxGlyph = [](QPainter& p, const QRect& r) {
    p.drawRect(r);
    p.drawLine(r.left(), r.top() + 1, r.right(), r.top() + 1);
  };
  auto restoreGlyph = [](QPainter& p, const QRect& r) {
    p.setPen(QPen(p.pen().color(), 1));
    p.drawRect(r.adjusted(3, 0, 0, -3));
    p.drawRect(r.adjusted(0, 3, -3, 0));
  };
  auto minGlyph = [](QPainter& p, const QRect& r) {
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
  };
  const struct {
    const char* name;
    QImage image;
  } images[] = {
      {"border_top.bmp", titleBand()},
      {"border_left.bmp", sideBand(false)},
      {"border_right.bmp", sideBand(true)},
      {"border_bottom.bmp", bottomBand()},
      {"cap_close.bmp", captionButton(cross, true)},
      {"cap_max.bmp", captionButton(maxGlyph, false)},
      {"cap_restore.bmp", captionButton(restoreGlyph, false)},
      {"cap_min.bmp", captionButton(minGlyph, false)},
      {"menubar.bmp", menuBar()},
      {"menuitem.bmp", menuItem()},
      {"menuback.bmp", menuBackground()},
      {"buttons.bmp", stateStrip(5, 24, 22, true)},
      {"check.bmp", checkStrip(false)},
      {"radio.bmp", checkStrip(true)},
      {"progress.bmp", stateStrip(2, 40, 16, false)},
      {"progress_chunk.bmp", plain(12, 14, kAccent, kAccentDark)},
      {"groupedge.bmp", stateStrip(2, 24, 24, false)},
      {"grouplabel.bmp", plain(40, 18, kFace, kFace)},
      {"tabs.bmp", stateStrip(5, 40, 22, true)},
      {"tabborder.bmp", plain(24, 24, kFaceLight, kLine)},
      {"tabpane.bmp", plain(24, 24, kFaceLight, kLine)},
      {"status.bmp", stateStrip(3, 24, 20, false)},
      {"toolbars.bmp", stateStrip(5, 24, 22, true)},
      {"combo.bmp", comboStrip()},
      {"sunken.bmp", stateStrip(4, 24, 21, false)},
      {"header.bmp", stateStrip(5, 40, 20, false)},
      {"extra.bmp", extraStrip()},
      {"scrollbar.bmp", scrollStrip()},
      {"hscroll.bmp", stateStrip(4, 32, 17, false)},
      {"vscroll.bmp", stateStrip(4, 17, 32, false)},
      {"hthumb.bmp", stateStrip(3, 32, 17, false)},
      {"vthumb.bmp", stateStrip(3, 17, 32, false)},
      {"thumb_horz.bmp", stateStrip(5, 11, 19, true)},
      {"thumb_vert.bmp", stateStrip(5, 19, 11, true)},
      {"thumb_left.bmp", stateStrip(5, 19, 11, true)},
      {"thumb_right.bmp", stateStrip(5, 19, 11, true)},
      {"thumb_up.bmp", stateStrip(5, 11, 19, true)},
      {"thumb_down.bmp", stateStrip(5, 11, 19, true)},
      {"updown_h.bmp", stateStrip(8, 16, 16, false)},
      {"updown_hglyph.bmp", arrowStrip(8, 16, 16, false)},
      {"updown_v.bmp", stateStrip(8, 16, 16, false)},
      {"updown_vglyph.bmp", arrowStrip(8, 16, 16, true)},
      {"track.bmp", ruto::TrackBitmap(false)},
      {"trackvert.bmp", ruto::TrackBitmap(true)},
  };
  bool ok = true;
  for (const auto& i : images) ok = save(dir, QString::fromLatin1(i.name), i.image) && ok;
  // The program's own bitmaps, written for people to look at; the program draws them itself.
  ok = save(dir, QStringLiteral("DUDAZADEDOD.bmp"), ruto::MenuGlyphsBitmap()) && ok;
  ok = ruto::ApplicationIcon().save(dir.filePath(QStringLiteral("ruto_icon.png"))) && ok;
  return ok ? 0 : 1;
}
