// Scroll bars of every scroll area and stand-alone bar, the frame and corner of scroll
// areas, and the sections of tree headers.
#include <QAbstractScrollArea>
#include <QScrollBar>

#include "skin/ui/ControlSkinsPaint.h"

namespace ruto::controls {

namespace {

// A scroll bar of a scroll area, as opposed to a stand-alone scroll-bar control.
bool windowScrollBar(const QStyleOptionSlider& o) {
  auto* bar = qobject_cast<const QScrollBar*>(o.styleObject);
  const QWidget* container = bar ? bar->parentWidget() : nullptr;
  auto* area =
      qobject_cast<const QAbstractScrollArea*>(container ? container->parentWidget() : nullptr);
  return area && (area->verticalScrollBar() == bar || area->horizontalScrollBar() == bar);
}

// A window's scroll bar with nothing to scroll looks disabled, as the platform shows it; a
// scroll-bar control stays enabled, its thumb at the start of an empty range.
bool scrollEnabled(const QStyleOptionSlider& o) {
  return (o.state & QStyle::State_Enabled) && (o.maximum > o.minimum || !windowScrollBar(o));
}

}  // namespace

ScrollGeometry scrollGeometry(const QStyleOptionSlider& o) {
  const bool horizontal = o.orientation == Qt::Horizontal;
  const int length = horizontal ? o.rect.width() : o.rect.height();
  const int position = o.upsideDown ? o.maximum + o.minimum - o.sliderPosition : o.sliderPosition;
  return LayoutScrollBar(length, TSkinData::ScrollBarWidth, o.minimum, o.maximum, o.pageStep,
                         position, scrollEnabled(o));
}

QRect scrollSpanRect(const QStyleOptionSlider& o, std::pair<int, int> span) {
  const QRect r = o.rect;
  if (o.orientation == Qt::Horizontal)
    return QRect(r.left() + span.first, r.top(), span.second - span.first, r.height());
  return QRect(r.left(), r.top() + span.first, r.width(), span.second - span.first);
}

bool paintScrollBar(const Paint& c, const QStyleOptionSlider& o) {
  const TDataSkinObject* strip = image(c.skin, "Scrollbar");
  if (!strip) return false;
  QPainter& p = *c.p;
  const bool vertical = o.orientation == Qt::Vertical;
  const ScrollGeometry g = scrollGeometry(o);
  const bool enabled = scrollEnabled(o);
  p.fillRect(o.rect, face(c.skin));
  if (const TDataSkinObject* track = image(c.skin, vertical ? "VertScroll" : "HorzScroll")) {
    const QRect t = scrollSpanRect(o, {g.arrow, g.length - g.arrow});
    if (!t.isEmpty()) drawObject(p, t, *track, ScrollTrackFrame(enabled));
  }
  const bool sunken = o.state & QStyle::State_Sunken;
  const bool over = o.state & QStyle::State_MouseOver;
  auto partState = [&](QStyle::SubControl sc, bool& pressed, bool& hot) {
    const bool active = enabled && (o.activeSubControls & sc);
    pressed = active && sunken;
    hot = active && over && !pressed;
  };
  for (const bool second : {false, true}) {
    bool pressed = false, hot = false;
    partState(second ? QStyle::SC_ScrollBarAddLine : QStyle::SC_ScrollBarSubLine, pressed, hot);
    const QRect a = scrollSpanRect(
        o, ScrollPartSpan(g, second ? ScrollPart::SecondArrow : ScrollPart::FirstArrow));
    DrawImageFrame(p, a, strip->Bitmap, ScrollArrowFrame(vertical, second, pressed, hot),
                   strip->frames(), true);
  }
  if (enabled && g.hasThumb()) {
    bool pressed = false, hot = false;
    partState(QStyle::SC_ScrollBarSlider, pressed, hot);
    const QRect t = scrollSpanRect(o, ScrollPartSpan(g, ScrollPart::Thumb));
    if (const TDataSkinObject* thumb =
            image(c.skin, vertical ? "VertScrollThumb" : "HorzScrollThumb"))
      drawObject(p, t, *thumb, ScrollThumbFrame(pressed, hot));
    DrawImageFrameCentered(p, t, strip->Bitmap, ScrollGripFrame(vertical, pressed, hot),
                           strip->frames(), true);
  }
  return true;
}

bool paintScrollAreaFrame(const Paint& c, const QStyleOption& o) {
  QPainter& p = *c.p;
  p.save();
  p.setBrush(Qt::NoBrush);
  p.setPen(shadow(c.skin));
  p.drawRect(o.rect.adjusted(0, 0, -1, -1));
  p.setPen(face(c.skin));
  p.drawRect(o.rect.adjusted(1, 1, -2, -2));
  p.restore();
  return true;
}

bool paintHeader(const Paint& c, const QStyleOption& o, bool emptyArea) {
  const TDataSkinObject* bar = image(c.skin, "Headerbar");
  if (!bar) return false;
  // The section under the mouse is hot whether or not the header takes clicks.
  const auto* h = qstyleoption_cast<const QStyleOptionHeader*>(&o);
  const bool under = (o.state & QStyle::State_MouseOver) || (h && h->section == hotSection(c.w));
  const bool hot = !emptyArea && (o.state & QStyle::State_Enabled) && under;
  drawObject(*c.p, o.rect, *bar, emptyArea ? 1 : HeaderFrame(hot, bar->frames()));
  return true;
}

}  // namespace ruto::controls
