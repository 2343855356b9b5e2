// Push, bit, menu and speed buttons, the arrow pair of a tab bar, check boxes and radio
// buttons.
#include <QAbstractButton>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

#include "skin/ui/ControlSkinsPaint.h"

namespace ruto::controls {

namespace {

QColor skinColour(SkinColor c) { return toQColor(ResolveColor(c)); }

// Caption colour of a button in the state its frame shows.
QColor buttonText(const TDataSkinButton& b, int frame, const QPalette& pal) {
  switch (frame) {
    case 3:
      return disabledText();
    case 1:
      if (b.NormalColour2Given) return skinColour(b.NormalColour2);
      break;
    case 4:
      if (b.MouseOverColour2Given) return skinColour(b.MouseOverColour2);
      break;
    case 2:
      if (b.PressedColour2Given) return skinColour(b.PressedColour2);
      break;
    default:
      break;
  }
  return pal.color(QPalette::ButtonText);
}

int mnemonicFlags(const Paint& c, const QStyleOption& o) {
  return c.style.proxy()->styleHint(QStyle::SH_UnderlineShortcut, &o, c.w) ? Qt::TextShowMnemonic
                                                                           : Qt::TextHideMnemonic;
}

// Only push buttons leave out their focus frame when the skin's options say so; check and
// radio captions always show theirs.
void focusRect(const Paint& c, const QStyleOption& o, const QRect& r, bool optional = true) {
  if (optional && c.skin.Options.test(xoNoFocusRect)) return;
  QStyleOptionFocusRect f;
  f.QStyleOption::operator=(o);
  f.rect = r;
  c.style.proxy()->drawPrimitive(QStyle::PE_FrameFocusRect, &f, c.p, c.w);
}

// The glyph as the skin draws it: a picture without alpha keyed by its bottom-left pixel, a
// disabled one grey by the average of its channels.
QImage glyphImage(const QIcon& icon, QSize size, bool disabled) {
  if (icon.isNull() || size.isEmpty()) return {};
  QImage img = icon.pixmap(size).toImage();
  if (img.isNull()) return img;
  const bool keyed = !img.hasAlphaChannel();
  img = img.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = img.pixel(0, img.height() - 1) & 0xFFFFFFu;
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      QRgb& px = line[x];
      if (keyed && (px & 0xFFFFFFu) == key) {
        px = 0;
        continue;
      }
      if (disabled) {
        const int g = (qRed(px) + qGreen(px) + qBlue(px)) / 3;
        px = qRgba(g, g, g, qAlpha(px));
      }
    }
  }
  return img;
}

struct GlyphText {
  QImage glyph;
  QString text;
  int margin = -1, spacing = 4;
  GlyphLayout layout = GlyphLayout::Left;
  bool centred = false;
};

// Glyph and caption laid out in the face inset by 2; the caption's rectangle is returned for
// the focus frame.
QRect drawGlyphAndText(const Paint& c, const QStyleOption& o, const QRect& faceRect,
                       const GlyphText& g, const QColor& colour) {
  QPainter& p = *c.p;
  const QRect client = faceRect.adjusted(2, 2, -2, -2);
  const QSize gs = g.glyph.isNull() ? QSize(0, 0) : g.glyph.size() / g.glyph.devicePixelRatio();
  const bool across = g.layout == GlyphLayout::Left || g.layout == GlyphLayout::Right;
  const int flags = Qt::TextWordWrap | mnemonicFlags(c, o);
  QSize ts(0, 0);
  if (!g.text.isEmpty()) {
    const int room = across ? client.width() - (gs.width() + 2) : client.width();
    ts = p.fontMetrics().boundingRect(QRect(0, 0, std::max(room, 1), 10000), flags, g.text).size();
  }
  const int C = across ? client.width() : client.height();
  const int G = across ? gs.width() : gs.height();
  const int T = across ? ts.width() : ts.height();
  const BitButtonPlacement at = LayoutBitButton(C, G, T, g.margin, g.spacing, g.layout, g.centred);
  QRect glyphAt, textAt;
  if (across) {
    glyphAt =
        QRect(client.left() + at.glyph, client.top() + (client.height() - gs.height() + 1) / 2,
              gs.width(), gs.height());
    textAt = QRect(client.left() + at.text, client.top() + (client.height() - ts.height() + 1) / 2,
                   ts.width(), ts.height());
  } else {
    glyphAt = QRect(client.left() + (client.width() - gs.width() + 1) / 2, client.top() + at.glyph,
                    gs.width(), gs.height());
    textAt = QRect(client.left() + (client.width() - ts.width() + 1) / 2, client.top() + at.text,
                   ts.width(), ts.height());
  }
  if (!g.glyph.isNull()) p.drawImage(glyphAt, g.glyph);
  if (!g.text.isEmpty()) {
    p.setPen(colour);
    const int align = g.layout == GlyphLayout::Right ? Qt::AlignRight
                      : across                       ? Qt::AlignLeft
                                                     : Qt::AlignHCenter;
    p.drawText(textAt, flags | align | Qt::AlignVCenter, g.text);
  }
  return textAt;
}

GlyphText glyphTextOf(const QWidget* w, const QImage& glyph, const QString& text) {
  GlyphText g;
  g.glyph = glyph;
  g.text = text;
  if (const QVariant m = w->property("margin"); m.isValid()) g.margin = m.toInt();
  if (const QVariant s = w->property("spacing"); s.isValid()) g.spacing = s.toInt();
  g.layout = GlyphLayoutFromName(w->property("layout").toString());
  const QString align = w->property("alignment").toString().toLower();
  g.centred = align == QLatin1String("center") || align == QLatin1String("tacenter");
  return g;
}

// Text vertically centred in r and placed by the horizontal alignment of flags or align, its
// tabs expanded when flags ask for it; answers the rectangle the text covers.
QRect drawAlignedText(QPainter& p, const QRect& r, int flags, int align, const QString& text) {
  const int horizontal = (flags | align) & Qt::AlignHorizontal_Mask;
  const int rest = flags & ~Qt::AlignHorizontal_Mask & ~Qt::AlignVertical_Mask;
  QRect drawn;
  if (!(flags & Qt::TextExpandTabs) || !text.contains(QLatin1Char('\t'))) {
    p.drawText(r, rest | horizontal | Qt::AlignVCenter, text, &drawn);
    return drawn;
  }
  // Qt expands tabs only in text aligned to its leading edge, so each line goes into a box
  // of its own width, placed as asked; inside a box that fits, the alignments agree.
  const QStringList lines = text.split(QLatin1Char('\n'));
  std::vector<QSize> sizes;
  int height = 0;
  for (const QString& line : lines) {
    sizes.push_back(p.fontMetrics()
                        .boundingRect(QRect(0, 0, std::max(r.width(), 1), 10000), rest, line)
                        .size());
    height += sizes.back().height();
  }
  int y = r.top() + (r.height() - height) / 2;
  for (size_t i = 0; i < sizes.size(); ++i) {
    const QSize s = sizes[i];
    const int x = horizontal & Qt::AlignRight     ? r.right() + 1 - s.width()
                  : horizontal & Qt::AlignHCenter ? r.left() + (r.width() - s.width()) / 2
                                                  : r.left();
    const QRect box(x, y, s.width(), s.height());
    p.drawText(box, rest | Qt::AlignLeft | Qt::AlignTop, lines[qsizetype(i)]);
    drawn |= box;
    y += s.height();
  }
  return drawn;
}

}  // namespace

bool paintPushButton(const Paint& c, const QStyleOptionButton& o) {
  const TDataSkinButton* b = c.skin.Buttons();
  if (!b || !b->hasImage()) return false;
  QPainter& p = *c.p;
  ControlState s = stateOf(&o);
  s.pressed = s.pressed || (o.state & QStyle::State_On);
  const bool menu = c.kind == ControlKind::MenuButton;
  const int frame = ButtonFrame(s, menu ? ButtonKind::Menu : ButtonKind::Push);
  const QRect r = o.rect;
  if (!transparent(c)) p.fillRect(r, face(c.skin));
  DrawSkinImage(p, r, b->Bitmap, b->edges(), frame, 5, b->Trans != 0, b->Tile == 1, false);
  p.save();
  p.setFont(c.w->font());
  const QColor colour = buttonText(*b, frame, o.palette);
  const QString caption = DrawnCaption(o.text);
  QRect textRect;
  if (c.kind == ControlKind::BitButton) {
    const QImage glyph = glyphImage(o.icon, o.iconSize, !s.enabled);
    textRect = drawGlyphAndText(c, o, r, glyphTextOf(c.w, glyph, caption), colour);
  } else {
    // A push button's caption expands its tabs; a menu button's takes them as spaces.
    const int flags = Qt::TextWordWrap | mnemonicFlags(c, o) | (menu ? 0 : int(Qt::TextExpandTabs));
    const int zone = menu ? 17 : 0;
    const QRect room =
        QRect(r.left(), r.top(), r.width() - zone, r.height()).adjusted(2, 2, -2, -2);
    // An empty caption measures nothing, so its focus mark is a small square where the
    // caption would stand.
    const QSize ts =
        caption.isEmpty()
            ? QSize(0, 0)
            : p.fontMetrics()
                  .boundingRect(QRect(0, 0, std::max(room.width(), 1), 10000), flags, caption)
                  .size();
    if (menu)
      textRect = QRect(r.left() + (r.width() - 17 - ts.width()) / 2 + 2,
                       r.top() + (r.height() - ts.height() + 1) / 2, ts.width(), ts.height());
    else
      textRect = QRect(r.left() + (r.width() - ts.width()) / 2,
                       r.top() + (r.height() - ts.height()) / 2 - 1, ts.width(), ts.height());
    p.setPen(colour);
    drawAlignedText(p, textRect, flags, Qt::AlignHCenter, caption);
  }
  if (menu) {
    const int W = r.width(), H = r.height(), x = r.left(), y = r.top();
    const QColor arrow =
        s.enabled ? toQColor(ResolveColor(sysColor(COLOR_WINDOWTEXT))) : disabledText();
    p.setPen(arrow);
    p.setBrush(arrow);
    p.drawPolygon(QPolygon({QPoint(x + W - 12, y + H / 2 + 2), QPoint(x + W - 15, y + H / 2 - 1),
                            QPoint(x + W - 9, y + H / 2 - 1)}));
  }
  p.restore();
  if (o.state & QStyle::State_HasFocus) focusRect(c, o, textRect.adjusted(-2, -2, 2, 2));
  return true;
}

bool paintToolButton(const Paint& c, const QStyleOptionToolButton& o) {
  QPainter& p = *c.p;
  const QRect r = o.rect;
  if (c.kind == ControlKind::UpDown) {
    const bool vertical = o.arrowType == Qt::UpArrow || o.arrowType == Qt::DownArrow;
    const TDataSkinObject* obj = image(c.skin, vertical ? "UpDown.Vert" : "UpDown.Horz");
    if (!obj) return false;
    const int direction = o.arrowType == Qt::LeftArrow || o.arrowType == Qt::UpArrow ? 0 : 1;
    ControlState s = stateOf(&o);
    // The arrow pair of a tab bar is one control: the arrow that has reached the end of the
    // strip keeps its look, and only a disabled tab bar shows both arrows disabled.
    if (const auto* bar = qobject_cast<const QTabBar*>(c.w ? c.w->parentWidget() : nullptr)) {
      s.enabled = bar->isEnabled();
      s.hot = s.hot && s.enabled;
    }
    const int frame = UpDownFrame(direction, s);
    p.fillRect(r, face(c.skin));
    drawObject(p, r, *obj, frame, 8);
    auto* glyph = dynamic_cast<const TDataSkinBorder*>(obj);
    if (glyph && !glyph->Bitmap2.isNull())
      DrawImageFrameCentered(p, r, glyph->Bitmap2, frame, 8, true);
    return true;
  }
  const TDataSkinButton* b = c.skin.Buttons();
  if (!b || !b->hasImage()) return false;
  ControlState s = stateOf(&o);
  s.focused = false;
  s.down = o.state & QStyle::State_On;
  const int frame = ButtonFrame(s, ButtonKind::Speed);
  if (!transparent(c)) p.fillRect(r, face(c.skin));
  const bool flat = o.state & QStyle::State_AutoRaise;
  if (!flat || frame == 2 || frame == 4)
    DrawSkinImage(p, r, b->Bitmap, b->edges(), frame, 5, b->Trans != 0, b->Tile == 1, false);
  const Qt::ToolButtonStyle tbs = o.toolButtonStyle;
  const QString text = tbs == Qt::ToolButtonIconOnly ? QString() : DrawnCaption(o.text);
  QImage glyph =
      tbs == Qt::ToolButtonTextOnly ? QImage() : glyphImage(o.icon, o.iconSize, !s.enabled);
  p.save();
  p.setFont(o.font);
  if (glyph.isNull() && o.arrowType != Qt::NoArrow && text.isEmpty()) {
    QStyleOption arrow(o);
    arrow.rect = QRect(r.center() - QPoint(4, 4), QSize(9, 9));
    const QStyle::PrimitiveElement pe =
        o.arrowType == Qt::LeftArrow    ? QStyle::PE_IndicatorArrowLeft
        : o.arrowType == Qt::RightArrow ? QStyle::PE_IndicatorArrowRight
        : o.arrowType == Qt::UpArrow    ? QStyle::PE_IndicatorArrowUp
                                        : QStyle::PE_IndicatorArrowDown;
    c.style.proxy()->drawPrimitive(pe, &arrow, &p, c.w);
  } else {
    GlyphText g = glyphTextOf(c.w, glyph, text);
    if (tbs == Qt::ToolButtonTextUnderIcon) g.layout = GlyphLayout::Top;
    drawGlyphAndText(c, o, r, g, buttonText(*b, frame, o.palette));
  }
  p.restore();
  return true;
}

QSize checkBoxSize(const TSkinData& skin, bool radio) {
  const TDataSkinButton* b = skin.Buttons();
  if (!b) return {};
  const QImage& img = radio ? b->RadioButton : b->CheckButton;
  const int n = std::max(radio ? b->RadioButtonFrame : b->CheckButtonFrame, 1);
  if (img.isNull()) return {};
  return QSize(img.width() / n, img.height());
}

bool paintCheck(const Paint& c, const QStyleOptionButton& o, bool radio) {
  const TDataSkinButton* b = c.skin.Buttons();
  const QSize box = checkBoxSize(c.skin, radio);
  if (!b || box.isEmpty()) return false;
  QPainter& p = *c.p;
  const QImage& img = radio ? b->RadioButton : b->CheckButton;
  const int n = std::max(radio ? b->RadioButtonFrame : b->CheckButtonFrame, 1);
  const bool enabled = o.state & QStyle::State_Enabled;
  const int frame = CheckFrame(n, o.state & QStyle::State_On,
                               !radio && (o.state & QStyle::State_NoChange), !enabled, radio);
  const QRect r = o.rect;
  const bool textLeft = o.direction == Qt::RightToLeft;
  if (!transparent(c)) p.fillRect(r, face(c.skin));
  const QRect boxAt = CheckBoxRect(r, box, textLeft);
  DrawImageFrame(p, boxAt, img, frame, n, true);
  if (o.text.isEmpty()) return true;
  const QRect textRoom =
      textLeft ? QRect(r.left(), r.top(), boxAt.left() - 2 - r.left(), r.height())
               : QRect(boxAt.right() + 1 + 2, r.top(), r.right() - (boxAt.right() + 2), r.height());
  const int flags = Qt::TextWordWrap | Qt::TextExpandTabs | mnemonicFlags(c, o) |
                    (textLeft ? Qt::AlignRight : Qt::AlignLeft);
  p.save();
  p.setFont(c.w->font());
  p.setPen(enabled ? o.palette.color(QPalette::WindowText) : disabledText());
  const QRect drawn = drawAlignedText(p, textRoom, flags, 0, o.text);
  p.restore();
  if (o.state & QStyle::State_HasFocus)
    focusRect(c, o, drawn.adjusted(-2, -1, 2, 1).intersected(r), false);
  return true;
}

}  // namespace ruto::controls
