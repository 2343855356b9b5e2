// Status bars and their size grip, group boxes, and tabs with their pane.
#include <QHash>
#include <QStatusBar>

#include "skin/ui/ControlSkinsPaint.h"

namespace ruto::controls {

namespace {

// A strip turned for the side its tabs sit on: 0 top, 1 bottom, 2 left, 3 right. Turned
// strips hold their frames stacked; turning left reverses their order.
struct Turned {
  QImage img;
  SkinEdges edges;
  bool vertical = false;
  bool reversed = false;
};

int sideOf(QTabBar::Shape shape) {
  switch (shape) {
    case QTabBar::RoundedSouth:
    case QTabBar::TriangularSouth:
      return 1;
    case QTabBar::RoundedWest:
    case QTabBar::TriangularWest:
      return 2;
    case QTabBar::RoundedEast:
    case QTabBar::TriangularEast:
      return 3;
    default:
      return 0;
  }
}

const Turned& turned(const QImage& img, SkinEdges e, int side) {
  static QHash<QPair<qint64, int>, Turned> cache;
  const QPair<qint64, int> key(
      img.cacheKey(), side * 10000 + e.left * 1000 + e.top * 100 + e.right * 10 + e.bottom);
  auto it = cache.find(key);
  if (it != cache.end()) return *it;
  if (cache.size() > 64) cache.clear();
  Turned t;
  switch (side) {
    case 1:
      t.img = FlipBitmap(img);
      t.edges = {e.left, e.bottom, e.right, e.top};
      break;
    case 2:
      t.img = RotateBitmapLeft(img);
      t.edges = {e.top, e.right, e.bottom, e.left};
      t.vertical = t.reversed = true;
      break;
    case 3:
      t.img = RotateBitmapRight(img);
      t.edges = {e.bottom, e.left, e.top, e.right};
      t.vertical = true;
      break;
    default:
      t.img = img;
      t.edges = e;
      break;
  }
  return *cache.insert(key, t);
}

void drawTurned(QPainter& p, const QRect& r, const Turned& t, int frame, int frames, bool trans,
                bool tile) {
  const int n = std::max(frames, 1);
  const int index = t.reversed ? n - std::clamp(frame, 1, n) + 1 : frame;
  DrawSkinImage(p, r, t.img, t.edges, index, n, trans, tile, t.vertical);
}

QColor colourOf(SkinColor c) { return toQColor(ResolveColor(c)); }

// A group-box caption is one line with its tabs expanded.
constexpr int kCaptionFlags = Qt::TextSingleLine | Qt::TextExpandTabs;

// The caption keeps the control's text colour when the group box is disabled: the colour
// the style gives the same group box enabled.
QColor captionColour(const Paint& c, const QStyleOptionGroupBox& o) {
  QStyleOptionGroupBox on(o);
  on.state |= QStyle::State_Enabled;
  if (on.palette.currentColorGroup() == QPalette::Disabled)
    on.palette.setCurrentColorGroup(QPalette::Active);
  if (!o.textColor.isValid()) return on.palette.color(QPalette::WindowText);
  if (o.state & QStyle::State_Enabled) return o.textColor;
  return QColor(
      static_cast<QRgb>(c.style.proxy()->styleHint(QStyle::SH_GroupBox_TextLabelColor, &on, c.w)));
}

}  // namespace

bool paintStatusBar(const Paint& c, const QStyleOption& o) {
  const TDataSkinObject* edges = image(c.skin, "StatusBarEdges");
  auto* bar = qobject_cast<const QStatusBar*>(c.w);
  if (!edges || !bar) return false;
  QPainter& p = *c.p;
  p.fillRect(o.rect, face(c.skin));
  // A shown message is the simple panel: one frame over the whole bar.
  if (!bar->currentMessage().isEmpty()) {
    drawObject(p, o.rect, *edges, 1, 3);
    return true;
  }
  std::vector<const QWidget*> items;
  for (const QObject* child : bar->children()) {
    auto* item = qobject_cast<const QWidget*>(child);
    if (item && !item->isWindow() && item->isVisible() && !item->inherits("QSizeGrip"))
      items.push_back(item);
  }
  std::sort(items.begin(), items.end(),
            [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
  std::vector<QRect> rects;
  for (const QWidget* item : items) rects.push_back(item->geometry().adjusted(-2, -1, 0, 1));
  rects = StatusPanelRects(rects, o.rect.right());
  for (size_t i = 0; i < rects.size(); ++i)
    drawObject(p, rects[i], *edges,
               StatusPanelFrame(PanelBevelFromName(items[i]->property("bevel").toString())), 3);
  return true;
}

bool paintSizeGrip(const Paint& c, const QStyleOption& o) {
  const TDataSkinObject* extra = image(c.skin, "ExtraImages");
  if (!extra) return false;
  const QRect f = FrameRect(extra->Bitmap.size(), 5, extra->frames());
  const QRect at(o.rect.right() - f.width(), o.rect.bottom() - f.height(), f.width(), f.height());
  DrawImageFrame(*c.p, at, extra->Bitmap, 5, extra->frames(), true);
  return true;
}

QRect groupBoxRect(const Paint& c, const QStyleOptionGroupBox& o, QStyle::SubControl sc) {
  // The caption (after its check box, when it has one) starts 8 pixels in from the left, or
  // ends 8 pixels before the right for a right-aligned caption, clear of the frame's corner.
  const QFontMetrics fm(c.w->font());
  const bool checkable = o.subControls & QStyle::SC_GroupBoxCheckBox;
  QSize box;
  if (checkable) {
    box = checkBoxSize(c.skin, false);
    if (box.isEmpty())
      box = QSize(c.style.proxy()->pixelMetric(QStyle::PM_IndicatorWidth, &o, c.w),
                  c.style.proxy()->pixelMetric(QStyle::PM_IndicatorHeight, &o, c.w));
  }
  const int gap = checkable ? box.width() + 2 : 0;
  const int text =
      o.text.isEmpty() ? 0 : fm.size(kCaptionFlags | Qt::TextShowMnemonic, o.text).width() + 1;
  const int height = std::max(fm.height(), box.height());
  const int left =
      o.textAlignment & Qt::AlignRight ? o.rect.right() + 1 - 8 - gap - text : o.rect.left() + 8;
  switch (sc) {
    case QStyle::SC_GroupBoxCheckBox:
      return checkable ? QRect(left, o.rect.top() + (height - box.height()) / 2, box.width(),
                               box.height())
                       : QRect();
    case QStyle::SC_GroupBoxLabel:
      return QRect(left + gap, o.rect.top(), text, height);
    default:
      return {};
  }
}

bool paintGroupBox(const Paint& c, const QStyleOptionGroupBox& o) {
  QPainter& p = *c.p;
  const QRect r = o.rect;
  // The frame's top line runs through the middle of the caption's text cell.
  const int h = QFontMetrics(c.w->font()).height();
  p.fillRect(r, face(c.skin));
  const int top = r.top() + h / 2 - 1;
  p.save();
  p.setBrush(Qt::NoBrush);
  p.setPen(shadow(c.skin));
  p.drawRoundedRect(QRect(r.left() + 1, top, r.width() - 3, r.bottom() - 1 - top), 2, 2);
  p.restore();
  const bool enabled = o.state & QStyle::State_Enabled;
  if (o.subControls & QStyle::SC_GroupBoxCheckBox) {
    const QRect cb = groupBoxRect(c, o, QStyle::SC_GroupBoxCheckBox);
    const TDataSkinButton* b = c.skin.Buttons();
    p.fillRect(cb.adjusted(0, 0, 2, 0), face(c.skin));
    if (b && !b->CheckButton.isNull()) {
      const int n = std::max(b->CheckButtonFrame, 1);
      DrawImageFrame(p, cb, b->CheckButton,
                     CheckFrame(n, o.state & QStyle::State_On, false, !enabled, false), n, true);
    } else {
      QStyleOptionButton box;
      box.QStyleOption::operator=(o);
      box.rect = cb;
      c.style.proxy()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &p, c.w);
    }
  }
  if (!o.text.isEmpty() && (o.subControls & QStyle::SC_GroupBoxLabel)) {
    const QRect label = groupBoxRect(c, o, QStyle::SC_GroupBoxLabel);
    p.fillRect(label, face(c.skin));
    p.save();
    p.setFont(c.w->font());
    p.setPen(captionColour(c, o));
    const int mnemonic = c.style.proxy()->styleHint(QStyle::SH_UnderlineShortcut, &o, c.w)
                             ? Qt::TextShowMnemonic
                             : Qt::TextHideMnemonic;
    p.drawText(label, Qt::AlignLeft | Qt::AlignVCenter | kCaptionFlags | mnemonic, o.text);
    p.restore();
  }
  return true;
}

bool paintTabPane(const Paint& c, const QStyleOptionTabWidgetFrame& o) {
  const TDataSkinObject* tabs = image(c.skin, "Tabs");
  if (!tabs) return false;
  if (c.kind == ControlKind::TabButtons) return true;  // button tabs have no pane
  const QImage* pane = nullptr;
  SkinEdges edges;
  bool tile = false;
  if (tabs->Style == 0) {
    auto* border = dynamic_cast<const TDataSkinBorder*>(tabs);
    if (border && !border->Bitmap2.isNull()) pane = &border->Bitmap2;
    edges = {4, 5, 4, 4};
  } else if (const TDataSkinObject* p = tabs->Style == 1 ? image(c.skin, "Tab.Pane") : nullptr) {
    pane = &p->Bitmap;
    edges = p->edges();
    tile = p->Tile == 1;
  }
  // Other styles have no pane image: the base style draws the pane.
  if (!pane) return false;
  drawTurned(*c.p, o.rect, turned(*pane, edges, sideOf(o.shape)), 1, 1, false, tile);
  return true;
}

bool paintTabShape(const Paint& c, const QStyleOptionTab& o) {
  const bool selected = o.state & QStyle::State_Selected;
  const int side = sideOf(o.shape);
  QRect r = o.rect;
  // Tabs that are not current stand back from the outer edge.
  if (!selected) {
    static constexpr int kInset[4][4] = {{0, 2, 0, 0}, {0, 0, 0, -2}, {2, 0, 0, 0}, {0, 0, -2, 0}};
    r.adjust(kInset[side][0], kInset[side][1], kInset[side][2], kInset[side][3]);
  }
  if (c.kind == ControlKind::TabButtons) {
    const TDataSkinButton* b = c.skin.Buttons();
    if (!b || !b->hasImage()) return false;
    DrawSkinImage(*c.p, o.rect, b->Bitmap, b->edges(), selected ? 2 : 1, 5, b->Trans != 0,
                  b->Tile == 1, false);
    return true;
  }
  const TDataSkinObject* tabs = image(c.skin, "Tabs");
  if (!tabs) return false;
  drawTurned(*c.p, r, turned(tabs->Bitmap, tabs->edges(), side), selected ? 2 : 1, tabs->frames(),
             tabs->Trans != 0, tabs->Tile == 1);
  return true;
}

bool paintTabLabel(const Paint& c, const QStyleOptionTab& o) {
  const bool selected = o.state & QStyle::State_Selected;
  QColor colour;
  if (c.kind == ControlKind::TabButtons) {
    const TDataSkinButton* b = c.skin.Buttons();
    if (!b || !b->hasImage()) return false;
    if (!selected && b->NormalColour2Given) colour = colourOf(b->NormalColour2);
    if (selected && b->PressedColour2Given) colour = colourOf(b->PressedColour2);
  } else {
    const TDataSkinObject* tabs = image(c.skin, "Tabs");
    if (!tabs) return false;
    colour = colourOf(selected ? tabs->MouseOverColour2 : tabs->NormalColour2);
  }
  QStyleOptionTab label(o);
  if (colour.isValid() && (o.state & QStyle::State_Enabled)) {
    label.palette.setColor(QPalette::WindowText, colour);
    label.palette.setColor(QPalette::ButtonText, colour);
  }
  c.style.QProxyStyle::drawControl(QStyle::CE_TabBarTabLabel, &label, c.p, c.w);
  return true;
}

bool paintTabClose(const Paint& c, const QStyleOption& o) {
  QPainter& p = *c.p;
  QRect box(QPoint(), TabCloseBox(QRect()).size());
  box.moveCenter(o.rect.center());
  p.save();
  // A hot box is the highlight with the highlight text over it, as a selected menu item is: a
  // light highlight alone would fade into the tab.
  const bool hot = o.state & QStyle::State_MouseOver;
  if (hot) p.fillRect(box, toQColor(c.skin.Colours().Hilight));
  p.setPen(hot ? toQColor(c.skin.Colours().HilightText) : o.palette.color(QPalette::WindowText));
  p.setBrush(Qt::NoBrush);
  // The outline covers the box's own pixels, the cross its inside.
  p.drawRect(box.adjusted(0, 0, -1, -1));
  const QRect inside = box.adjusted(1, 1, -1, -1);
  p.drawLine(inside.topLeft(), inside.bottomRight());
  p.drawLine(inside.topRight(), inside.bottomLeft());
  p.restore();
  return true;
}

}  // namespace ruto::controls
