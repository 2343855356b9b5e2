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
  using enum ButtonKind;
  const std::tuple<ControlState, ButtonKind, int> cases[] = {
      {st(1, 0, 0, 0), Push, 1},     {st(1, 0, 0, 1), Push, 5},     {st(1, 0, 1, 1), Push, 4},
      {st(1, 1, 1, 1), Push, 2},     {st(0, 1, 1, 1), Push, 3},     {st(0, 0, 0, 0), Push, 3},
      {st(1, 0, 0, 1), Menu, 4},     {st(1, 0, 0, 1), Speed, 1},    {st(1, 0, 0, 0, 1), Speed, 2},
      {st(1, 0, 1, 0, 1), Speed, 2}, {st(0, 0, 0, 0, 1), Speed, 3}, {st(1, 0, 0, 0, 1), Push, 1}};
  for (const auto& [s, kind, frame] : cases) EXPECT_EQ(ButtonFrame(s, kind), frame);
}

TEST(ControlFrames, CheckAndRadioFrames) {
  // Eight frames are mapped for radio buttons only; check boxes map with twelve.
  const std::tuple<int, bool, bool, bool, bool, int> cases[] = {
      {4, 0, 0, 0, 0, 1},   {4, 0, 1, 0, 0, 2},  {4, 0, 0, 0, 1, 3},  {4, 0, 1, 0, 1, 4},
      {4, 0, 0, 1, 0, 4},   {4, 0, 0, 1, 1, 4},  {8, 1, 0, 0, 0, 1},  {8, 1, 1, 0, 0, 5},
      {8, 1, 0, 0, 1, 4},   {8, 1, 1, 0, 1, 8},  {8, 0, 1, 0, 0, 2},  {8, 0, 0, 0, 1, 3},
      {8, 0, 1, 0, 1, 4},   {8, 0, 0, 1, 0, 4},  {12, 0, 1, 0, 0, 5}, {12, 0, 0, 1, 0, 9},
      {12, 0, 0, 1, 1, 12}, {12, 0, 1, 0, 1, 8}, {12, 1, 1, 0, 0, 2}, {2, 0, 1, 0, 1, 2},
      {0, 0, 1, 0, 0, 1},   {1, 1, 0, 0, 1, 1}};
  for (const auto& [n, radio, checked, indeterminate, disabled, frame] : cases)
    EXPECT_EQ(CheckFrame(n, checked, indeterminate, disabled, radio), frame)
        << n << radio << checked << indeterminate << disabled;
}

TEST(ControlFrames, ComboUpDownHeaderStatus) {
  const auto panel = [](const QString& bevel) {
    return StatusPanelFrame(PanelBevelFromName(bevel));
  };
  EXPECT_EQ(ComboFrame(st(1, 0, 0, 0)), 1);
  EXPECT_EQ(ComboFrame(st(1, 0, 0, 1)), 4);
  EXPECT_EQ(ComboFrame(st(1, 0, 1, 0)), 4);
  EXPECT_EQ(ComboFrame(st(1, 1, 1, 1)), 2);
  EXPECT_EQ(ComboFrame(st(0, 1, 1, 1)), 3);

  EXPECT_EQ(UpDownFrame(0, st(1, 0, 0, 0)), 1);
  EXPECT_EQ(UpDownFrame(0, st(1, 1, 1, 0)), 2);
  EXPECT_EQ(UpDownFrame(1, st(1, 0, 1, 0)), 8);
  EXPECT_EQ(UpDownFrame(1, st(0, 1, 1, 0)), 7);

  EXPECT_EQ(HeaderFrame(false, 5), 1);
  EXPECT_EQ(HeaderFrame(true, 5), 2);
  EXPECT_EQ(HeaderFrame(true, 1), 1);  // a hot section over a one-frame strip
  EXPECT_EQ(HeaderFrame(true, 0), 1);

  EXPECT_EQ(panel("lowered"), 1);
  EXPECT_EQ(panel("pbRaised"), 2);
  EXPECT_EQ(panel("none"), 3);
  EXPECT_EQ(panel({}), 1);
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
  using enum GlyphLayout;
  const std::tuple<int, int, GlyphLayout, bool, int, int> cases[] = {
      {-1, 4, Left, 0, 6, 26}, {-1, -1, Left, 0, 5, 26}, {6, 4, Right, 0, 49, 5},
      {6, -1, Left, 0, 6, 26}, {6, 4, Left, 1, 6, 26},   {-1, -1, Bottom, 0, 50, 5},
      {-1, 4, Top, 0, 6, 26}};
  for (const auto& [margin, spacing, layout, centred, glyph, text] : cases) {
    const BitButtonPlacement at = LayoutBitButton(71, 16, 40, margin, spacing, layout, centred);
    EXPECT_EQ(at.glyph, glyph) << margin << "/" << spacing;
    EXPECT_EQ(at.text, text) << margin << "/" << spacing;
  }
  // Without text the spacing is dropped: the glyph alone is centred.
  EXPECT_EQ(LayoutBitButton(71, 16, 0, -1, 4, Left, 0).glyph, 28);
}

TEST(ControlFrames, ScrollHitTestFollowsThePaintedParts) {
  using enum ScrollPart;
  ScrollGeometry g{200, 17, 50, 80};
  const std::pair<int, ScrollPart> hits[] = {{16, FirstArrow}, {17, PageBefore},   {60, Thumb},
                                             {182, PageAfter}, {183, SecondArrow}, {0, FirstArrow},
                                             {80, PageAfter},  {199, SecondArrow}};
  for (auto [p, part] : hits) EXPECT_EQ(ScrollHitTest(g, p), part) << p;

  // A bar shorter than two arrows paints (and hits) two halves.
  const ScrollGeometry s = LayoutScrollBar(30, 17, 0, 100, 10, 50);
  EXPECT_EQ(ScrollArrowLength(30, 17), 15);
  EXPECT_EQ(ScrollArrowLength(34, 17), 17);
  EXPECT_EQ(s.arrow, 15);
  EXPECT_FALSE(s.hasThumb());
  EXPECT_EQ(ScrollHitTest(s, 14), FirstArrow);
  EXPECT_EQ(ScrollHitTest(s, 15), SecondArrow);
  EXPECT_EQ(ScrollPartSpan(s, SecondArrow), std::make_pair(15, 30));
}

TEST(ControlFrames, ScrollThumb) {
  const std::tuple<int, int, int, int, int, bool, int, int> cases[] = {
      {200, 0, 100, 10, 0, 1, 17, 32},                    // 166 * 10 / 110 = 15
      {200, 0, 100, 10, 100, 1, 168, 183},                // at the end of the track
      {200, 0, 100, 100, 50, 1, 17 + 42, 17 + 42 + 83},   // 41.5 rounds away from zero
      {200, 0, 10000, 1, 5000, 1, 17 + 79, 17 + 79 + 8},  // never below 8
      {200, 0, 0, 10, 0, 1, 17, 25},                      // nothing to scroll: 8 long at the start
      {200, 0, 100, 10, 50, 0, 17, 17},                   // disabled: no thumb
      {200, 0, 100, 0, 50, 1, 17 + 75, 17 + 75 + 17},     // no page: an arrow long
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
  EXPECT_EQ(StatusPanelRects({QRect(100, 2, 50, 18), QRect(0, 2, 95, 18)}, 400),
            (std::vector{QRect(0, 2, 97, 18), QRect(QPoint(100, 2), QPoint(400, 19))}));
  EXPECT_TRUE(StatusPanelRects({}, 400).empty());
  const QRect box(0, 0, 100, 21);
  EXPECT_EQ(TabCloseBox(QRect(10, 0, 60, 20)), QRect(62, 2, 6, 6));
  EXPECT_EQ(CheckBoxRect(box, QSize(13, 13), false), QRect(0, 4, 13, 13));
  EXPECT_EQ(CheckBoxRect(box, QSize(13, 13), true), QRect(87, 4, 13, 13));
}

}  // namespace
}  // namespace ruto
