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
  const std::tuple<int, int, GlyphLayout, bool, int, int> cases[] = {
      {-1, 4, GlyphLayout::Left, false, 6, 26}, {-1, -1, GlyphLayout::Left, false, 5, 26},
      {6, 4, GlyphLayout::Right, false, 49, 5}, {6, -1, GlyphLayout::Left, false, 6, 26},
      {6, 4, GlyphLayout::Left, true, 6, 26},   {-1, -1, GlyphLayout::Bottom, false, 50, 5},
      {-1, 4, GlyphLayout::Top, false, 6, 26}};
  for (const auto& [margin, spacing, layout, centred, glyph, text] : cases) {
    const BitButtonPlacement at = LayoutBitButton(71, 16, 40, margin, spacing, layout, centred);
    EXPECT_EQ(std::pair(at.glyph, at.text), std::pair(glyph, text)) << margin << "/" << spacing;
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
  const ScrollGeometry s = LayoutScrollBar(30, 17, 0, 100, 10, 50);
  EXPECT_EQ(std::tuple(ScrollArrowLength(30, 17), ScrollArrowLength(34, 17), s.arrow, s.hasThumb(),
                       ScrollHitTest(s, 14), ScrollHitTest(s, 15),
                       ScrollPartSpan(s, ScrollPart::SecondArrow)),
            std::tuple(15, 17, 15, false, ScrollPart::FirstArrow, ScrollPart::SecondArrow,
                       std::make_pair(15, 30)));
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
