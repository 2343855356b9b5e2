// Edit frames, spin boxes, combo and date boxes, sliders and progress bars.
#include <QAbstractSpinBox>
#include <QWidget>

#include "skin/ui/ControlSkinsPaint.h"

namespace ruto::controls {

namespace {

// A sunken outline: the skin's shadow colour around `r`, then `whiteRings` white rings inside.
void drawSunkenOutline(const Paint& c, const QRect& r, int whiteRings) {
  QPainter& p = *c.p;
  p.save();
  p.setBrush(Qt::NoBrush);
  p.setPen(shadow(c.skin));
  p.drawRect(r.adjusted(0, 0, -1, -1));
  p.setPen(Qt::white);
  for (int i = 1; i <= whiteRings; ++i) p.drawRect(r.adjusted(i, i, -1 - i, -1 - i));
  p.restore();
}

}  // namespace

bool paintEditFrame(const Paint& c, const QRect& r, bool fill, const QBrush& base) {
  if (fill) c.p->fillRect(r, base);
  drawSunkenOutline(c, r, 2);
  return true;
}

namespace {

// The sunken outline of a spin box: a shadow line and two white rings.
constexpr int kSpinOutline = 3;

bool spinOutlined(const Paint& c, const QStyleOptionSpinBox& o) {
  return (c.kind == ControlKind::UpDown || c.kind == ControlKind::Edit) &&
         c.skin.SkinControls.test(xcEdit) && o.frame;
}

}  // namespace

QRect spinBoxRect(const Paint& c, const QStyleOptionSpinBox& o, QStyle::SubControl sc) {
  if (!spinOutlined(c, o)) return {};
  // Field and arrows stand inside the outline, the arrows 3 pixels from the top, bottom and
  // right edges as in an edit box, each as wide as the base style makes them.
  const QRect inner = o.rect.adjusted(kSpinOutline, kSpinOutline, -kSpinOutline, -kSpinOutline);
  const bool buttons = o.buttonSymbols != QAbstractSpinBox::NoButtons;
  const int bw = buttons ? std::min(c.style
                                        .QProxyStyle::subControlRect(QStyle::CC_SpinBox, &o,
                                                                     QStyle::SC_SpinBoxUp, c.w)
                                        .width(),
                                    inner.width() / 2)
                         : 0;
  const bool rtl = o.direction == Qt::RightToLeft;
  const QRect column(rtl ? inner.left() : inner.right() + 1 - bw, inner.top(), bw, inner.height());
  const int upHeight = column.height() / 2;
  switch (sc) {
    case QStyle::SC_SpinBoxFrame:
      return o.rect;
    case QStyle::SC_SpinBoxEditField:
      return rtl ? inner.adjusted(bw, 0, 0, 0) : inner.adjusted(0, 0, -bw, 0);
    case QStyle::SC_SpinBoxUp:
      return buttons ? column.adjusted(0, 0, 0, upHeight - column.height()) : QRect();
    case QStyle::SC_SpinBoxDown:
      return buttons ? column.adjusted(0, upHeight, 0, 0) : QRect();
    default:
      return {};
  }
}

bool paintSpinBox(const Paint& c, const QStyleOptionSpinBox& o) {
  QPainter& p = *c.p;
  const bool outlined = spinOutlined(c, o);
  // A date or time box is an edit box; its arrows are the up-down's only behind that gate.
  const TDataSkinObject* arrows = c.kind == ControlKind::UpDown || c.skin.SkinControls.test(xcSpin)
                                      ? image(c.skin, "UpDown.Vert")
                                      : nullptr;
  if (!outlined && !arrows) return false;
  if (outlined) paintEditFrame(c, o.rect, true, o.palette.base());
  if (!outlined) {
    // The base style paints the spin box; the skin's arrows go over its own.
    c.style.QProxyStyle::drawComplexControl(QStyle::CC_SpinBox, &o, &p, c.w);
  }
  if (o.buttonSymbols == QAbstractSpinBox::NoButtons) return true;
  auto* glyph = dynamic_cast<const TDataSkinBorder*>(arrows);
  const bool plus = o.buttonSymbols == QAbstractSpinBox::PlusMinus;
  const struct {
    QStyle::SubControl sc;
    int direction;
    QStyle::PrimitiveElement arrow;
  } halves[] = {
      {QStyle::SC_SpinBoxUp, 0, plus ? QStyle::PE_IndicatorSpinPlus : QStyle::PE_IndicatorSpinUp},
      {QStyle::SC_SpinBoxDown, 1,
       plus ? QStyle::PE_IndicatorSpinMinus : QStyle::PE_IndicatorSpinDown}};
  for (const auto& h : halves) {
    const QRect r = c.style.subControlRect(QStyle::CC_SpinBox, &o, h.sc, c.w);
    // A half looks disabled only with the control; at a limit it keeps its normal look.
    ControlState s;
    s.enabled = o.state & QStyle::State_Enabled;
    const bool active = o.activeSubControls & h.sc;
    s.pressed = active && (o.state & QStyle::State_Sunken);
    s.hot = active && (o.state & QStyle::State_MouseOver);
    p.fillRect(r, face(c.skin));
    if (!arrows) {
      // Inside the outline the base style draws only the buttons, never its own frame.
      QStyleOption b(o);
      b.rect = r;
      b.state = (s.enabled ? QStyle::State_Enabled : QStyle::State_None) |
                (s.pressed ? QStyle::State_Sunken : QStyle::State_Raised) |
                (s.hot ? QStyle::State_MouseOver : QStyle::State_None);
      c.style.proxy()->drawPrimitive(QStyle::PE_PanelButtonBevel, &b, &p, c.w);
      c.style.proxy()->drawPrimitive(h.arrow, &b, &p, c.w);
      continue;
    }
    const int frame = UpDownFrame(h.direction, s);
    drawObject(p, r, *arrows, frame, 8);
    if (glyph && !glyph->Bitmap2.isNull()) {
      // A glyph taller than its half stays inside it, off the outline.
      p.save();
      p.setClipRect(r, Qt::IntersectClip);
      DrawImageFrameCentered(p, r, glyph->Bitmap2, frame, 8, true);
      p.restore();
    }
  }
  return true;
}

namespace {

// The border of a date box: its outline, or nothing for a box without a frame. The box asks
// for its field's place without saying whether it has a frame, so the box itself tells.
int dateBorder(const Paint& c, const QStyleOptionComboBox& o) {
  auto* box = qobject_cast<const QAbstractSpinBox*>(c.w);
  return o.frame && (!box || box->hasFrame()) ? 2 : 0;
}

}  // namespace

QRect comboRect(const Paint& c, const QStyleOptionComboBox& o, QStyle::SubControl sc) {
  const QRect r = o.rect;
  const int W = r.width(), H = r.height();
  const bool rtl = o.direction == Qt::RightToLeft;
  const int bw = TSkinData::ScrollBarWidth;
  if (c.kind == ControlKind::DateTime) {
    if (!image(c.skin, "ComboxArrow")) return {};
    // The arrow stands inside the border, at the box's width less its own and 4 from the
    // border's inner edge (2 from it when it sits on the left).
    const int b = dateBorder(c, o);
    const QRect inner = r.adjusted(b, b, -b, -b);
    const QRect arrow(inner.left() + (rtl ? 2 : W - bw - 4), inner.top(), bw, bw + 1);
    switch (sc) {
      case QStyle::SC_ComboBoxArrow:
        return arrow;
      case QStyle::SC_ComboBoxEditField:
        return rtl ? QRect(QPoint(arrow.right() + 1, inner.top()), inner.bottomRight())
                   : QRect(inner.topLeft(), QPoint(arrow.left() - 1, inner.bottom()));
      case QStyle::SC_ComboBoxFrame:
        return r;
      default:
        return {};
    }
  }
  if (!image(c.skin, "ComboButton")) return {};
  switch (sc) {
    case QStyle::SC_ComboBoxArrow:
      return QRect(r.left() + (rtl ? 2 : W - bw - 2), r.top(), bw, H);
    case QStyle::SC_ComboBoxEditField:
      return QRect(r.left() + (rtl ? bw + 4 : 3), r.top() + 3, W - bw - 7, H - 6);
    case QStyle::SC_ComboBoxFrame:
      return r;
    default:
      return {};
  }
}

bool paintComboBox(const Paint& c, const QStyleOptionComboBox& o) {
  QPainter& p = *c.p;
  const QRect r = o.rect;
  const bool arrowActive = o.activeSubControls & QStyle::SC_ComboBoxArrow;
  if (c.kind == ControlKind::DateTime) {
    const TDataSkinObject* arrow = image(c.skin, "ComboxArrow");
    if (!arrow) return false;
    p.fillRect(r, o.palette.base());
    const int b = dateBorder(c, o);
    if (b > 0) drawSunkenOutline(c, r, 1);
    const QRect ar = comboRect(c, o, QStyle::SC_ComboBoxArrow);
    const bool hot =
        (o.state & QStyle::State_Enabled) && arrowActive && (o.state & QStyle::State_MouseOver);
    // Within the border, as a window inside the box is kept.
    p.save();
    p.setClipRect(r.adjusted(b, b, -b, -b), Qt::IntersectClip);
    p.fillRect(ar, face(c.skin));
    DrawImageFrame(p, ar, arrow->Bitmap, hot ? 4 : 1, arrow->frames(), false);
    p.restore();
    return true;
  }
  const TDataSkinObject* button = image(c.skin, "ComboButton");
  if (!button) return false;
  ControlState s = stateOf(&o);
  s.hot = s.enabled && arrowActive && (o.state & QStyle::State_MouseOver);
  // Pressed while the mouse holds it, not while its list is open.
  s.pressed = mousePressed(c.w);
  // An open list leaves the focus with its combo box; typing in an editable one puts it in
  // the field, not on the box.
  if (o.state & QStyle::State_On) s.focused = true;
  if (o.editable) s.focused = false;
  const int state = ComboFrame(s);
  const bool rtl = o.direction == Qt::RightToLeft;
  const int bw = TSkinData::ScrollBarWidth;
  switch (button->Style) {
    case 2: {
      // One picture of field and button; right to left takes the mirrored copy.
      const TDataSkinObject* whole = rtl ? image(c.skin, "SunkEdge") : button;
      if (whole) drawObject(p, r, *whole, state);
      return true;
    }
    case 1: {
      p.fillRect(r, o.palette.base());
      const int fw = button->Bitmap.width() / button->frames();
      const QRect col(rtl ? r.left() + 2 : r.right() - 1 - fw, r.top() + 2, fw,
                      std::min(r.height() - 4, button->Bitmap.height()));
      drawSunkenOutline(c, r, 0);
      DrawImageFrame(p, col, button->Bitmap, state, button->frames(), true);
      return true;
    }
    default: {
      const QRect field =
          rtl ? QRect(QPoint(r.left() + bw + 4, r.top() + 2), QPoint(r.right() - 2, r.bottom() - 2))
              : QRect(QPoint(r.left() + 2, r.top() + 2),
                      QPoint(r.right() - bw - 4, r.bottom() - 2));
      p.fillRect(field, o.palette.base());
      if (const TDataSkinObject* sunk = image(c.skin, "SunkEdge")) {
        p.save();
        p.setClipRegion(QRegion(r) - QRegion(field));
        drawObject(p, r, *sunk, state);
        p.restore();
      }
      const QRect col = comboRect(c, o, QStyle::SC_ComboBoxArrow);
      auto* mirrored = dynamic_cast<const TDataSkinBorder*>(button);
      const QImage& img =
          rtl && mirrored && !mirrored->Bitmap2.isNull() ? mirrored->Bitmap2 : button->Bitmap;
      // The button's frame is stretched whole into the column, edges and all.
      DrawImageFrame(p, col, img, state, button->frames(), button->Trans != 0);
      if (const TDataSkinObject* extra = image(c.skin, "ExtraImages"))
        DrawImageFrameCentered(p, col, extra->Bitmap, state, extra->frames(), true);
      return true;
    }
  }
}

bool paintSlider(const Paint& c, const QStyleOptionSlider& o) {
  QPainter& p = *c.p;
  const bool vertical = o.orientation == Qt::Vertical;
  const QRect groove =
      c.style.QProxyStyle::subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderGroove, c.w);
  const QRect handle =
      c.style.QProxyStyle::subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderHandle, c.w);
  if (const TDataSkinObject* track = image(c.skin, vertical ? "TRACKVERT" : "Track")) {
    const QImage& img = track->Bitmap;
    if (!vertical) {
      const int h = std::min(img.height(), groove.height());
      StretchThreePartImage(
          p, QRect(groove.left(), groove.top() + (groove.height() - h) / 2, groove.width(), h), img,
          track->edges(), 1, 1, false);
    } else {
      const int w = std::min(img.width(), groove.width());
      const int x = groove.left() + (groove.width() - w) / 2;
      const int T = std::min(track->TopHeight, img.height() / 2);
      const int B = std::min(track->BottomHeight, img.height() - T);
      p.drawImage(QRect(x, groove.top(), w, T), img, QRect(0, 0, img.width(), T));
      p.drawImage(QRect(x, groove.top() + T, w, groove.height() - T - B), img,
                  QRect(0, T, img.width(), img.height() - T - B));
      p.drawImage(QRect(x, groove.bottom() + 1 - B, w, B), img,
                  QRect(0, img.height() - B, img.width(), B));
    }
  }
  if (o.subControls & QStyle::SC_SliderTickmarks) {
    QStyleOptionSlider ticks(o);
    ticks.subControls = QStyle::SC_SliderTickmarks;
    c.style.QProxyStyle::drawComplexControl(QStyle::CC_Slider, &ticks, &p, c.w);
  }
  const TDataSkinObject* thumb = vertical ? image(c.skin, "Trackbar.ThumbVert") : nullptr;
  if (!thumb) thumb = image(c.skin, "Trackbar.ThumbHorz");
  if (thumb) {
    DrawImageFrame(p, handle, thumb->Bitmap, 2, 5, true);
  } else {
    drawSunkenOutline(c, handle, 0);
  }
  return true;
}

bool paintProgress(const Paint& c, const QStyleOptionProgressBar& o) {
  const TDataSkinObject* bar = image(c.skin, "Progress");
  if (!bar) return false;
  const QRect r = o.rect;
  const bool vertical = !(o.state & QStyle::State_Horizontal);
  const int len = vertical ? r.height() : r.width();
  const int thick = vertical ? r.width() : r.height();
  if (len <= 0 || thick <= 0) return true;
  // A vertical bar is built lying down and turned, so its filled part grows upwards.
  QImage img(len, thick, QImage::Format_RGB32);
  img.fill(face(c.skin));
  {
    QPainter ip(&img);
    // The empty bar lets the face show through its magenta, whatever the object's Trans.
    DrawSkinImage(ip, img.rect(), bar->Bitmap, bar->edges(), 1, bar->frames(), true, bar->Tile == 1,
                  false);
    const int filled = ProgressFill(len, o.progress, o.minimum, o.maximum);
    const int from = o.invertedAppearance ? len - filled : 0;
    if (filled > 0 && bar->Style != 1) {
      drawObject(ip, QRect(from, 0, filled, thick), *bar, 2);
    } else if (filled > 0) {
      if (const TDataSkinObject* chunk = image(c.skin, "Progress.Chunk")) {
        if (chunk->Tile != 1) {
          DrawImageFrame(ip, QRect(from + 2, 2, filled, thick - 4), chunk->Bitmap, 1, 1,
                         chunk->Trans != 0);
        } else {
          const QImage& ci = chunk->Trans ? KeyedImage(chunk->Bitmap) : chunk->Bitmap;
          ip.setClipRect(QRect(from + 2, 0, filled, thick));
          const int y = (thick - ci.height()) / 2;
          for (int x = chunk->LeftWidth + 2 + from, n = filled / std::max(ci.width(), 1) + 1; n > 0;
               --n, x += ci.width())
            ip.drawImage(QPoint(x, y), ci);
        }
      }
    }
  }
  c.p->drawImage(r.topLeft(), vertical ? RotateBitmapLeft(img) : img);
  if (o.textVisible) {
    // The label stands on the skin's images, not on the highlight colour.
    QStyleOptionProgressBar label(o);
    label.palette.setColor(QPalette::HighlightedText, o.palette.color(QPalette::WindowText));
    c.style.QProxyStyle::drawControl(QStyle::CE_ProgressBarLabel, &label, c.p, c.w);
  }
  return true;
}

}  // namespace ruto::controls
