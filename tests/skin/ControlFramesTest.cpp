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
  // A hot header section over a one-frame strip keeps frame 1.
  EXPECT_EQ((std::vector{ComboFrame(st(1, 0, 0, 0)), ComboFrame(st(1, 0, 0, 1)),
                         ComboFrame(st(1, 0, 1, 0)), ComboFrame(st(1, 1, 1, 1)),
                         ComboFrame(st(0, 1, 1, 1)), UpDownFrame(0, st(1, 0, 0, 0)),
                         UpDownFrame(0, st(1, 1, 1, 0)), UpDownFrame(1, st(1, 0, 1, 0)),
                         UpDownFrame(1, st(0, 1, 1, 0)), HeaderFrame(false, 5),
                         HeaderFrame(true, 5), HeaderFrame(true, 1), HeaderFrame(true, 0),
                         panel("lowered"), panel("pbRaised"), panel("none"), panel({})}),
            (std::vector{1, 4, 4, 2, 3, 1, 2, 8, 7, 1, 2, 1, 1, 1, 2, 3, 1}));
}

TEST(ControlFrames, ScrollFrames) {
  EXPECT_EQ((std::vector{ScrollArrowFrame(0, 0, 0, 0), ScrollArrowFrame(0, 1, 1, 1),
                         ScrollArrowFrame(1, 0, 0, 1), ScrollArrowFrame(1, 1, 0, 0),
                         ScrollThumbFrame(0, 1), ScrollThumbFrame(1, 1), ScrollGripFrame(0, 0, 0),
                         ScrollGripFrame(1, 0, 1), ScrollTrackFrame(false)}),
            (std::vector{1, 6, 12, 13, 3, 2, 17, 22, 3}));
}

TEST(ControlFrames, BitButtonLayout) {
  using enum GlyphLayout;
  const std::tuple<int, int, GlyphLayout, bool, int, int> cases[] = {
      {-1, 4, Left, 0, 6, 26}, {-1, -1, Left, 0, 5, 26}, {6, 4, Right, 0, 49, 5},
      {6, -1, Left, 0, 6, 26}, {6, 4, Left, 1, 6, 26},   {-1, -1, Bottom, 0, 50, 5},
      {-1, 4, Top, 0, 6, 26}};
  for (const auto& [margin, spacing, layout, centred, glyph, text] : cases) {
    const BitButtonPlacement at = LayoutBitButton(71, 16, 40, margin, spacing, layout, centred);
    EXPECT_EQ(std::pair(at.glyph, at.text), std::pair(glyph, text)) << margin << "/" << spacing;
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
  EXPECT_EQ(std::tuple(ScrollArrowLength(30, 17), ScrollArrowLength(34, 17), s.arrow, s.hasThumb(),
                       ScrollHitTest(s, 14), ScrollHitTest(s, 15), ScrollPartSpan(s, SecondArrow)),
            std::tuple(15, 17, 15, false, FirstArrow, SecondArrow, std::make_pair(15, 30)));
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
    EXPECT_EQ(std::pair(g.thumbStart, g.thumbEnd), std::pair(start, end))
        << max << "/" << page << "/" << pos;
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
  EXPECT_EQ(std::pair(DrawnCaption(QStringLiteral("經絡||解說||甲")), DrawnCaption("a|b")),
            std::pair(QStringLiteral("經絡\n解說||甲"), QString("a|b")));
  EXPECT_EQ(StatusPanelRects({QRect(100, 2, 50, 18), QRect(0, 2, 95, 18)}, 400),
            (std::vector{QRect(0, 2, 97, 18), QRect(QPoint(100, 2), QPoint(400, 19))}));
  EXPECT_TRUE(StatusPanelRects({}, 400).empty());
  const QRect box(0, 0, 100, 21);
  EXPECT_EQ((std::vector{TabCloseBox(QRect(10, 0, 60, 20)), CheckBoxRect(box, QSize(13, 13), false),
                         CheckBoxRect(box, QSize(13, 13), true)}),
            (std::vector{QRect(62, 2, 6, 6), QRect(0, 4, 13, 13), QRect(87, 4, 13, 13)}));
}

}  // namespace
}  // namespace ruto
