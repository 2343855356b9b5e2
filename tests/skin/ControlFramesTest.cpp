// Frames of every control kind and state, bit-button layout, scroll-bar parts and progress
// fill.
#include <gtest/gtest.h>

#include <tuple>

#include "skin/ControlFrames.h"

namespace ruto {
namespace {

ControlState st(bool enabled, bool pressed, bool hot, bool focused, bool down = false) {
  return {enabled, pressed, hot, focused, down};
}

TEST(ControlFrames, ButtonFramesByPriority) {
  const std::tuple<ControlState, ButtonKind, int> cases[] = {
      {st(true, false, false, false), ButtonKind::Push, 1},
      {st(true, false, false, true), ButtonKind::Push, 5},
      {st(true, false, true, true), ButtonKind::Push, 4},
      {st(true, true, true, true), ButtonKind::Push, 2},
      {st(false, true, true, true), ButtonKind::Push, 3},
      {st(false, false, false, false), ButtonKind::Push, 3},
      {st(true, false, false, true), ButtonKind::Menu, 4},
      {st(true, false, false, true), ButtonKind::Speed, 1},
      {st(true, false, false, false, true), ButtonKind::Speed, 2},
      {st(true, false, true, false, true), ButtonKind::Speed, 2},
      {st(false, false, false, false, true), ButtonKind::Speed, 3},
      {st(true, false, false, false, true), ButtonKind::Push, 1}};
  for (const auto& [s, kind, frame] : cases) EXPECT_EQ(ButtonFrame(s, kind), frame);
}

TEST(ControlFrames, CheckAndRadioFrames) {
  // Eight frames are mapped for radio buttons only; check boxes map with twelve.
  const std::tuple<int, bool, bool, bool, bool, int> cases[] = {
      {4, false, false, false, false, 1}, {4, false, true, false, false, 2},
      {4, false, false, false, true, 3},  {4, false, true, false, true, 4},
      {4, false, false, true, false, 4},  {4, false, false, true, true, 4},
      {8, true, false, false, false, 1},  {8, true, true, false, false, 5},
      {8, true, false, false, true, 4},   {8, true, true, false, true, 8},
      {8, false, true, false, false, 2},  {8, false, false, false, true, 3},
      {8, false, true, false, true, 4},   {8, false, false, true, false, 4},
      {12, false, true, false, false, 5}, {12, false, false, true, false, 9},
      {12, false, false, true, true, 12}, {12, false, true, false, true, 8},
      {12, true, true, false, false, 2},  {2, false, true, false, true, 2},
      {0, false, true, false, false, 1},  {1, true, false, false, true, 1}};
  for (const auto& [n, radio, checked, indeterminate, disabled, frame] : cases)
    EXPECT_EQ(CheckFrame(n, checked, indeterminate, disabled, radio), frame)
        << n << radio << checked << indeterminate << disabled;
}

TEST(ControlFrames, ComboUpDownHeaderStatus) {
  EXPECT_EQ(ComboFrame(st(true, false, false, false)), 1);
  EXPECT_EQ(ComboFrame(st(true, false, false, true)), 4);
  EXPECT_EQ(ComboFrame(st(true, false, true, false)), 4);
  EXPECT_EQ(ComboFrame(st(true, true, true, true)), 2);
  EXPECT_EQ(ComboFrame(st(false, true, true, true)), 3);

  EXPECT_EQ(UpDownFrame(0, st(true, false, false, false)), 1);
  EXPECT_EQ(UpDownFrame(0, st(true, true, true, false)), 2);
  EXPECT_EQ(UpDownFrame(1, st(true, false, true, false)), 8);
  EXPECT_EQ(UpDownFrame(1, st(false, true, true, false)), 7);

  EXPECT_EQ(HeaderFrame(false, 5), 1);
  EXPECT_EQ(HeaderFrame(true, 5), 2);
  EXPECT_EQ(HeaderFrame(true, 1), 1);  // a hot section over a one-frame strip
  EXPECT_EQ(HeaderFrame(true, 0), 1);

  EXPECT_EQ(StatusPanelFrame(PanelBevelFromName(QStringLiteral("lowered"))), 1);
  EXPECT_EQ(StatusPanelFrame(PanelBevelFromName(QStringLiteral("pbRaised"))), 2);
  EXPECT_EQ(StatusPanelFrame(PanelBevelFromName(QStringLiteral("none"))), 3);
  EXPECT_EQ(StatusPanelFrame(PanelBevelFromName(QString())), 1);
}

TEST(ControlFrames, ScrollFrames) {
  EXPECT_EQ(ScrollArrowFrame(false, false, false, false), 1);
  EXPECT_EQ(ScrollArrowFrame(false, true, true, true), 6);
  EXPECT_EQ(ScrollArrowFrame(true, false, false, true), 12);
  EXPECT_EQ(ScrollArrowFrame(true, true, false, false), 13);
  EXPECT_EQ(ScrollThumbFrame(false, true), 3);
  EXPECT_EQ(ScrollThumbFrame(true, true), 2);
  EXPECT_EQ(ScrollGripFrame(false, false, false), 17);
  EXPECT_EQ(ScrollGripFrame(true, false, true), 22);
  EXPECT_EQ(ScrollTrackFrame(false), 3);
}

TEST(ControlFrames, BitButtonLayout) {
  const std::tuple<int, int, GlyphLayout, bool, int, int> cases[] = {
      {-1, 4, GlyphLayout::Left, false, 6, 26}, {-1, -1, GlyphLayout::Left, false, 5, 26},
      {6, 4, GlyphLayout::Right, false, 49, 5}, {6, -1, GlyphLayout::Left, false, 6, 26},
      {6, 4, GlyphLayout::Left, true, 6, 26},   {-1, -1, GlyphLayout::Bottom, false, 50, 5},
      {-1, 4, GlyphLayout::Top, false, 6, 26}};
  for (const auto& [margin, spacing, layout, centred, glyph, text] : cases) {
    const BitButtonPlacement at = LayoutBitButton(71, 16, 40, margin, spacing, layout, centred);
    EXPECT_EQ(at.glyph, glyph) << margin << "/" << spacing;
    EXPECT_EQ(at.text, text) << margin << "/" << spacing;
  }
  // Without text the spacing is dropped: the glyph alone is centred.
  EXPECT_EQ(LayoutBitButton(71, 16, 0, -1, 4, GlyphLayout::Left, false).glyph, 28);
}

TEST(ControlFrames, ScrollHitTestFollowsThePaintedParts) {
  ScrollGeometry g{200, 17, 50, 80};
  const std::pair<int, ScrollPart> hits[] = {
      {16, ScrollPart::FirstArrow}, {17, ScrollPart::PageBefore},   {60, ScrollPart::Thumb},
      {182, ScrollPart::PageAfter}, {183, ScrollPart::SecondArrow}, {0, ScrollPart::FirstArrow},
      {80, ScrollPart::PageAfter},  {199, ScrollPart::SecondArrow},
  };
  for (auto [p, part] : hits) EXPECT_EQ(ScrollHitTest(g, p), part) << p;

  // A bar shorter than two arrows paints (and hits) two halves.
  EXPECT_EQ(ScrollArrowLength(30, 17), 15);
  EXPECT_EQ(ScrollArrowLength(34, 17), 17);
  const ScrollGeometry s = LayoutScrollBar(30, 17, 0, 100, 10, 50);
  EXPECT_EQ(s.arrow, 15);
  EXPECT_FALSE(s.hasThumb());
  EXPECT_EQ(ScrollHitTest(s, 14), ScrollPart::FirstArrow);
  EXPECT_EQ(ScrollHitTest(s, 15), ScrollPart::SecondArrow);
  EXPECT_EQ(ScrollPartSpan(s, ScrollPart::SecondArrow), std::make_pair(15, 30));
}

TEST(ControlFrames, ScrollThumb) {
  const std::tuple<int, int, int, int, int, bool, int, int> cases[] = {
      {200, 0, 100, 10, 0, true, 17, 32},                    // 166 * 10 / 110 = 15
      {200, 0, 100, 10, 100, true, 168, 183},                // at the end of the track
      {200, 0, 100, 100, 50, true, 17 + 42, 17 + 42 + 83},   // 41.5 rounds away from zero
      {200, 0, 10000, 1, 5000, true, 17 + 79, 17 + 79 + 8},  // never below 8
      {200, 0, 0, 10, 0, true, 17, 25},                   // nothing to scroll: 8 long at the start
      {200, 0, 100, 10, 50, false, 17, 17},               // disabled: no thumb
      {200, 0, 100, 0, 50, true, 17 + 75, 17 + 75 + 17},  // no page: an arrow long
  };
  for (const auto& [length, min, max, page, pos, enabled, start, end] : cases) {
    const ScrollGeometry g = LayoutScrollBar(length, 17, min, max, page, pos, enabled);
    EXPECT_EQ(g.thumbStart, start) << max << "/" << page << "/" << pos;
    EXPECT_EQ(g.thumbEnd, end) << max << "/" << page << "/" << pos;
  }
}

TEST(ControlFrames, ProgressFill) {
  // position, min, max: the filled pixels of 100, rounded, clamped, none for an empty range
  const int cases[][4] = {{1, 0, 3, 33},  {2, 0, 3, 67},  {0, 0, 3, 0},
                          {3, 0, 3, 100}, {9, 0, 3, 100}, {-4, 0, 3, 0},
                          {5, 5, 5, 0},   {5, 9, 5, 0},   {15, 10, 20, 50}};
  for (const auto& c : cases) EXPECT_EQ(ProgressFill(100, c[0], c[1], c[2]), c[3]) << c[0];
}

TEST(ControlFrames, CaptionsPanelsAndBoxes) {
  EXPECT_EQ(DrawnCaption(QStringLiteral("經絡||解說||甲")), QStringLiteral("經絡\n解說||甲"));
  EXPECT_EQ(DrawnCaption(QStringLiteral("a|b")), QStringLiteral("a|b"));

  const auto panels = StatusPanelRects({QRect(100, 2, 50, 18), QRect(0, 2, 95, 18)}, 400);
  ASSERT_EQ(panels.size(), 2u);
  EXPECT_EQ(panels[0], QRect(0, 2, 97, 18));
  EXPECT_EQ(panels[1].left(), 100);
  EXPECT_EQ(panels[1].right(), 400);
  EXPECT_TRUE(StatusPanelRects({}, 400).empty());

  EXPECT_EQ(TabCloseBox(QRect(10, 0, 60, 20)), QRect(62, 2, 6, 6));
  EXPECT_EQ(CheckBoxRect(QRect(0, 0, 100, 21), QSize(13, 13), false), QRect(0, 4, 13, 13));
  EXPECT_EQ(CheckBoxRect(QRect(0, 0, 100, 21), QSize(13, 13), true), QRect(87, 4, 13, 13));
}

}  // namespace
}  // namespace ruto
