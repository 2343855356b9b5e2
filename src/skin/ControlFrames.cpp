#include "skin/ControlFrames.h"

#include <algorithm>

#include "base/Numbers.h"

namespace ruto {

int ButtonFrame(const ControlState& s, ButtonKind kind) {
  int frame = 1;
  if (s.focused && kind != ButtonKind::Speed) frame = kind == ButtonKind::Menu ? 4 : 5;
  if (s.hot) frame = 4;
  if (s.pressed || (kind == ButtonKind::Speed && s.down)) frame = 2;
  if (!s.enabled) frame = 3;
  return frame;
}

int CheckFrame(int frames, bool checked, bool indeterminate, bool disabled, bool radio) {
  const int n = std::max(frames, 1);
  int state = checked ? 2 : 1;
  if (disabled) state += 2;
  if (indeterminate) state = 4;
  int frame = state;
  if (n == 12 && indeterminate) {
    frame = disabled ? 12 : 9;
  } else if (radio ? n == 8 : n == 12) {
    static constexpr int kMap[] = {0, 1, 5, 4, 8};
    frame = kMap[state];
  }
  return std::clamp(frame, 1, n);
}

int ComboFrame(const ControlState& s) {
  int frame = 1;
  if (s.focused) frame = 4;
  if (s.pressed)
    frame = 2;
  else if (s.hot)
    frame = 4;
  if (!s.enabled) frame = 3;
  return frame;
}

int UpDownFrame(int direction, const ControlState& s) {
  int state = 1;
  if (s.pressed)
    state = 2;
  else if (s.hot)
    state = 4;
  if (!s.enabled) state = 3;
  return std::clamp(direction, 0, 1) * 4 + state;
}

int HeaderFrame(bool hot, int frames) { return std::clamp(hot ? 2 : 1, 1, std::max(frames, 1)); }

int StatusPanelFrame(PanelBevel bevel) {
  switch (bevel) {
    case PanelBevel::Raised:
      return 2;
    case PanelBevel::None:
      return 3;
    case PanelBevel::Lowered:
      break;
  }
  return 1;
}

PanelBevel PanelBevelFromName(const QString& name) {
  const QString n = name.toLower();
  if (n.contains(QLatin1String("raise"))) return PanelBevel::Raised;
  if (n.contains(QLatin1String("none"))) return PanelBevel::None;
  return PanelBevel::Lowered;
}

int ScrollArrowFrame(bool vertical, bool second, bool pressed, bool hot) {
  const int base = vertical ? (second ? 13 : 9) : (second ? 5 : 1);
  return base + (pressed ? 1 : hot ? 3 : 0);
}

int ScrollThumbFrame(bool pressed, bool hot) { return pressed ? 2 : hot ? 3 : 1; }

int ScrollGripFrame(bool vertical, bool pressed, bool hot) {
  return (vertical ? 20 : 17) + (pressed ? 1 : hot ? 2 : 0);
}

int ScrollTrackFrame(bool enabled) { return enabled ? 1 : 3; }

int ScrollArrowLength(int length, int metric) {
  return 2 * metric > length ? std::max(length, 0) / 2 : metric;
}

ScrollGeometry LayoutScrollBar(int length, int metric, int minimum, int maximum, int page,
                               int position, bool enabled) {
  ScrollGeometry g;
  g.length = std::max(length, 0);
  g.arrow = ScrollArrowLength(g.length, metric);
  g.thumbStart = g.thumbEnd = g.arrow;
  const int track = g.length - 2 * g.arrow;
  if (!enabled || track < 8) return g;
  // Nothing to scroll is read as a huge range: the thumb stays at the start.
  const int range = maximum - minimum > 0 ? maximum - minimum : 9999999;
  int thumb = page > 0 ? MulDiv(track, page, range + page) : g.arrow;
  thumb = std::clamp(thumb, 8, track);
  const int start =
      g.arrow + MulDiv(track - thumb, std::clamp(position - minimum, 0, range), range);
  g.thumbStart = std::clamp(start, g.arrow, g.arrow + track - thumb);
  g.thumbEnd = g.thumbStart + thumb;
  return g;
}

ScrollPart ScrollHitTest(const ScrollGeometry& g, int p) {
  if (p < g.arrow) return ScrollPart::FirstArrow;
  if (p < g.thumbStart) return ScrollPart::PageBefore;
  if (p < g.thumbEnd) return ScrollPart::Thumb;
  if (p < g.length - g.arrow) return ScrollPart::PageAfter;
  return ScrollPart::SecondArrow;
}

std::pair<int, int> ScrollPartSpan(const ScrollGeometry& g, ScrollPart part) {
  switch (part) {
    case ScrollPart::FirstArrow:
      return {0, g.arrow};
    case ScrollPart::PageBefore:
      return {g.arrow, g.thumbStart};
    case ScrollPart::Thumb:
      return {g.thumbStart, g.thumbEnd};
    case ScrollPart::PageAfter:
      return {g.thumbEnd, g.length - g.arrow};
    case ScrollPart::SecondArrow:
      break;
  }
  return {g.length - g.arrow, g.length};
}

int ProgressFill(int length, int position, int minimum, int maximum) {
  if (maximum <= minimum) return 0;
  return std::clamp(MulDiv(position - minimum, length, maximum - minimum), 0, std::max(length, 0));
}

GlyphLayout GlyphLayoutFromName(const QString& name) {
  const QString n = name.toLower();
  if (n.contains(QLatin1String("right"))) return GlyphLayout::Right;
  if (n.contains(QLatin1String("top"))) return GlyphLayout::Top;
  if (n.contains(QLatin1String("bottom"))) return GlyphLayout::Bottom;
  return GlyphLayout::Left;
}

BitButtonPlacement LayoutBitButton(int client, int glyph, int text, int margin, int spacing,
                                   GlyphLayout layout, bool centred) {
  if (text == 0 || glyph == 0) spacing = 0;
  if (margin != -1 && !centred) {
    if (spacing == -1) spacing = (client - (margin + glyph) - text) / 2;
  } else if (spacing == -1) {
    margin = spacing = (client - (glyph + text)) / 3;
  } else {
    margin = (client - (glyph + spacing + text) + 1) / 2;
  }
  BitButtonPlacement at;
  if (layout == GlyphLayout::Left || layout == GlyphLayout::Top) {
    at.glyph = margin;
    at.text = margin + glyph + spacing;
  } else {
    at.glyph = client - margin - glyph;
    at.text = at.glyph - spacing - text;
  }
  return at;
}

QString DrawnCaption(const QString& caption) {
  QString out = caption;
  const qsizetype at = out.indexOf(QLatin1String("||"));
  if (at >= 0) out.replace(at, 2, QLatin1Char('\n'));
  return out;
}

std::vector<QRect> StatusPanelRects(std::vector<QRect> items, int faceRight) {
  std::sort(items.begin(), items.end(),
            [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
  for (QRect& r : items) r.setRight(r.right() + 2);
  if (!items.empty()) items.back().setRight(faceRight);
  return items;
}

QRect TabCloseBox(const QRect& tab) {
  const int R = tab.left() + tab.width(), T = tab.top();
  return QRect(R - 8, T + 2, 6, 6);
}

QRect CheckBoxRect(const QRect& r, QSize box, bool textLeft) {
  const int top = r.top() + (r.height() - box.height()) / 2;
  const int left = textLeft ? r.left() + r.width() - box.width() : r.left();
  return QRect(QPoint(left, top), box);
}

}  // namespace ruto
