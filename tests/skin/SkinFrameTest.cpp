// The skinned frame without a window: styles, visibility, placement, hit tests, actions,
// the system menu, the mask and the painted bands.
#include <gtest/gtest.h>

#include <tuple>

#include "skin/SkinFrame.h"
#include "skin/TestSkin.h"

namespace ruto {
namespace {

std::unique_ptr<TSkinData> codedSkin() { return test::loadedSkin(test::buildTestSkin()); }

TEST(FrameStyle, FromWindowFlags) {
  const std::tuple<Qt::WindowFlags, bool, bool, int, int> cases[] = {
      {Qt::Window, false, true, 0, cfSysMenu},
      {Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowMinMaxButtonsHint,
       false, true, 0, cfSysMenu | cfMinimizeBox | cfMaximizeBox},
      {Qt::Window, false, false, 1, cfSysMenu},
      {Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint, false, true, 3, cfSysMenu},
      {Qt::Dialog, true, true, 3, cfSysMenu},
      {Qt::Window | Qt::CustomizeWindowHint, false, true, 2, 0},
      {Qt::Window | Qt::FramelessWindowHint, false, true, 2, cfSysMenu}};
  for (const auto& [flags, stdDialog, resizable, kind, caption] : cases) {
    const FrameStyle s = FrameStyleFor(flags, stdDialog, resizable);
    EXPECT_EQ(s.BorderKind, kind) << flags.toInt();
    EXPECT_EQ(s.CaptionFlags, caption) << flags.toInt();
  }
}

TEST(CaptionButtons, VisibilityCodes) {
  CaptionContext c;
  c.captionFlags = cfSysMenu | cfMaximizeBox;
  c.state = WinState::Maximized;
  c.active = false;
  c.borderKind = 3;
  const std::tuple<int, bool, bool> cases[] = {
      {0, 0, 1},   {1, 0, 1},   {2, 0, 0},   {3, 0, 0},    {4, 0, 1},   {5, 0, 0},   {6, 0, 1},
      {8, 0, 0},   {7, 0, 0},   {9, 0, 1},   {-1, 0, 0},   {100, 0, 0}, {100, 1, 1}, {200, 0, 1},
      {200, 1, 0}, {500, 0, 1}, {500, 1, 0}, {1500, 0, 0}, {3000, 0, 0}};
  for (const auto& [code, second, want] : cases)
    EXPECT_EQ(VisibilityHolds(code, second, c), want) << code << " " << second;
  c.isDialog = true;
  EXPECT_FALSE(VisibilityHolds(200, false, c));
  // 6 without a system menu holds only for the second code.
  c.captionFlags = cfMaximizeBox;
  EXPECT_FALSE(VisibilityHolds(6, false, c));
  EXPECT_TRUE(VisibilityHolds(6, true, c));
}

TEST(CaptionButtons, PlacementByAlign) {
  TDataSkinSysButton b;
  b.Bitmap = QImage(21 * 3, 18, QImage::Format_RGB32);
  b.Frame = 3;
  b.Xcoord = 25;
  b.Ycoord = 3;
  CaptionContext c;
  c.windowWidth = 400;
  c.border = QMargins(4, 26, 4, 4);
  c.menuHeight = 20;
  c.captionStart = 40;
  c.captionEnd = 300;
  const std::tuple<int, QPoint> cases[] = {{0, {25, 3}},    {1, {375, 3}}, {2, {254, 3}},
                                           {8, {254, 3}},   {3, {65, 3}},  {9, {65, 3}},
                                           {100, {371, 27}}};
  for (const auto& [align, want] : cases) {
    b.Align = align;
    EXPECT_EQ(CaptionButtonRect(b, c), QRect(want, QSize(21, 18))) << align;
  }
  b.Align = 1;
  EXPECT_EQ(CaptionButtonRect(b, c).right() + 1, 396);
}

TEST(CaptionButtons, LayoutHidesAndDisablesByWindow) {
  auto skin = codedSkin();
  CaptionContext c;
  c.windowWidth = 300;
  c.border = FrameWidths(*skin, 0);
  std::vector<std::pair<int, int>> asked;  // code and action of each question
  c.askVisible = [&](int code, int action) {
    asked.emplace_back(code, action);
    return 1;
  };
  auto visible = [&](const CaptionContext& cc) {
    QStringList names;
    for (const CaptionButton& b : LayoutCaptionButtons(*skin, cc))
      if (b.visible) names << b.def->Name + (b.enabled ? QString() : QStringLiteral("(off)"));
    return names.join(QLatin1Char(' '));
  };
  c.captionFlags = cfSysMenu | cfMaximizeBox | cfMinimizeBox;
  EXPECT_EQ(visible(c),
            QStringLiteral("BUTTON.CLOSE BUTTON.MAX BUTTON.MIN BUTTON.CUSTOM BUTTON.ICON"));
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1500, 40}}));
  c.state = WinState::Maximized;
  EXPECT_EQ(visible(c),
            QStringLiteral("BUTTON.CLOSE BUTTON.RESTORE BUTTON.MIN BUTTON.CUSTOM BUTTON.ICON"));
  c.state = WinState::Normal;
  c.captionFlags = cfSysMenu | cfMinimizeBox;  // max hidden by its Visibility1 6
  c.borderKind = 3;                            // no icon on a dialog frame
  c.askVisible = nullptr;                      // unanswered: hidden
  EXPECT_EQ(visible(c), QStringLiteral("BUTTON.CLOSE BUTTON.MIN"));
  c.captionFlags = cfMinimizeBox;  // no system menu: no close, minimize disabled
  EXPECT_EQ(visible(c), QStringLiteral("BUTTON.MIN(off)"));
}

TEST(FrameHit, PartsOfTheFrame) {
  auto skin = codedSkin();
  const QMargins b = FrameWidths(*skin, 0);
  ASSERT_EQ(b, QMargins(5, 24, 5, 5));
  CaptionContext c;
  c.windowWidth = 300;
  c.border = b;
  c.captionFlags = cfSysMenu;
  const auto buttons = LayoutCaptionButtons(*skin, c);
  const QSize win(300, 200);
  constexpr WinState N = WinState::Normal, M = WinState::Maximized;
  using enum Hit;
  const std::tuple<QPoint, bool, WinState, Hit> cases[] = {
      {{150, 1}, true, N, Top},       {{150, 1}, false, N, Caption},
      {{150, 1}, true, M, Caption},   {{150, 10}, true, N, Caption},
      {{150, 30}, true, N, Menu},     {{150, 50}, true, N, Client},
      {{2, 100}, true, N, Left},      {{2, 100}, false, N, Border},
      {{297, 100}, true, N, Right},   {{150, 198}, true, N, Bottom},
      {{1, 1}, true, N, TopLeft},     {{299, 199}, true, N, BottomRight},
      {{2, 195}, true, N, BottomLeft}};
  for (const auto& [p, sizeable, state, want] : cases)
    EXPECT_EQ(FrameHitTest(p, win, b, 20, sizeable, state, buttons).kind, want)
        << p.x() << "," << p.y();
  const HitResult close =
      FrameHitTest(QPoint(300 - 25 + 3, 8), win, b, 20, true, WinState::Normal, buttons);
  ASSERT_EQ(close.kind, Hit::Button);
  EXPECT_EQ(buttons[static_cast<size_t>(close.button)].def->Action, 0);
}

TEST(FrameActions, ButtonEffects) {
  constexpr WinState N = WinState::Normal, M = WinState::Maximized, m = WinState::Minimized;
  using enum ButtonEffect;
  const std::tuple<int, WinState, ButtonEffect> cases[] = {
      {0, N, Close},     {1, N, Maximize}, {1, M, Restore}, {22, N, Maximize},
      {2, N, Minimize},  {23, m, Restore}, {3, N, SysMenu}, {12, N, SysMenu},
      {60, N, Minimize}, {61, N, Restore}, {62, N, Close},  {40, N, Signal}};
  for (const auto& [action, state, want] : cases)
    EXPECT_EQ(ButtonActionFor(action, state, true), want) << action;
  EXPECT_EQ(ButtonActionFor(0, WinState::Normal, false), ButtonEffect::None);
}

TEST(FrameActions, SystemMenuMatrix) {
  auto enabled = [](WinState s, int flags, bool sizeable = true) {
    QString out;
    for (const SysMenuItem& i : SystemMenuItems(s, flags, sizeable))
      out += i.command == 0 ? QChar(u'-') : i.enabled ? QChar(u'1') : QChar(u'0');
    return out;
  };
  const int all = cfSysMenu | cfMaximizeBox | cfMinimizeBox;
  EXPECT_EQ(enabled(WinState::Normal, all), QStringLiteral("01111-1"));
  EXPECT_EQ(enabled(WinState::Maximized, all), QStringLiteral("10010-1"));
  EXPECT_EQ(enabled(WinState::Minimized, all), QStringLiteral("11101-1"));
  EXPECT_EQ(enabled(WinState::Normal, cfSysMenu), QStringLiteral("01100-1"));
  // A window that cannot be resized offers no sizing, in any state.
  EXPECT_EQ(enabled(WinState::Normal, all, false), QStringLiteral("01011-1"));
  EXPECT_EQ(enabled(WinState::Minimized, all, false), QStringLiteral("11001-1"));
  const auto items = SystemMenuItems(WinState::Normal, all, true);
  EXPECT_EQ(items.front().caption, QStringLiteral("還原"));
  EXPECT_EQ(items.back().caption, QStringLiteral("關閉"));
  EXPECT_EQ(items.back().shortcut, QStringLiteral("Alt+F4"));
  EXPECT_EQ(items.back().glyph, 3);
}

TEST(FramePainting, BandsByActivityAndMaskFromMagentaCorners) {
  auto skin = codedSkin();
  FramePaint f;
  f.window = QSize(200, 120);
  f.border = FrameWidths(*skin, 0);
  for (bool active : {true, false}) {
    f.active = active;
    const QImage img = PaintFrameImage(*skin, f);
    const int k = active ? 1 : 2;
    EXPECT_EQ(img.pixel(100, 10), test::frameColour(test::tiTop, k)) << active;
    EXPECT_EQ(img.pixel(2, 60), test::frameColour(test::tiLeft, k)) << active;
    EXPECT_EQ(img.pixel(197, 60), test::frameColour(test::tiRight, k)) << active;
    EXPECT_EQ(img.pixel(100, 117), test::frameColour(test::tiBottom, k)) << active;
    // The title's corner pixels stay magenta (painted over the side bands), outside the mask.
    EXPECT_TRUE(isMagenta(img.pixel(0, 0))) << active;
    EXPECT_TRUE(isMagenta(img.pixel(199, 0))) << active;
    const QRegion mask = FrameRegion(img, f.border, 20, {false, false, true, false});
    EXPECT_FALSE(mask.contains(QPoint(0, 0))) << active;
    EXPECT_FALSE(mask.contains(QPoint(199, 0))) << active;
    EXPECT_TRUE(mask.contains(QPoint(1, 0))) << active;
    EXPECT_TRUE(mask.contains(QPoint(0, 1))) << active;
    EXPECT_TRUE(mask.contains(QPoint(100, 60))) << active;
    EXPECT_TRUE(mask.contains(QPoint(199, 119))) << active;
    // Without transparency the whole window.
    EXPECT_TRUE(FrameRegion(img, f.border, 20, {}).contains(QPoint(0, 0))) << active;
  }
}

// The sides run from the window's top, under the title: below the title shows their middle,
// not their top cap, keyed or not, and the mask is cut from the same picture.
TEST(FramePainting, SidesStartAtTheTopUnderTheTitle) {
  QImage side(4, 30, QImage::Format_RGB32);  // a red cap of 3 rows, its corner magenta
  side.fill(qRgb(0, 200, 0));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) side.setPixel(x, y, x == 0 ? 0xFFFF00FF : qRgb(200, 0, 0));
  TSkinData d;
  d.SkinStream = test::skinPackage(
      QStringLiteral("[Personality]\nTop=t.bmp\nTopFrame=1\nTopTrans=0\nLeft=s.bmp\nLeftFrame=1\n"
                     "LeftTrans=1\nLeftTopHeight=3\n"),
      {{QStringLiteral("t.bmp"), test::codedStrip(1, 1, 40, 10, true, false)},
       {QStringLiteral("s.bmp"), side}});
  ASSERT_TRUE(d.LoadSkin());
  FramePaint f;
  f.window = QSize(60, 50);
  f.border = FrameWidths(d, 0);
  ASSERT_EQ(f.border, QMargins(4, 10, 0, 0));
  for (const bool keyed : {false, true}) {
    f.keyed = keyed;
    const QImage img = PaintFrameImage(d, f);
    EXPECT_EQ(img.pixel(1, 10), qRgb(0, 200, 0)) << keyed;
    EXPECT_EQ(img.pixel(1, 2), test::frameColour(1, 1)) << keyed;
  }
  EXPECT_TRUE(SkinFrameRegion(d, f.window, f.border, 0, true).contains(QPoint(0, 10)));
}

// The caption stands between the buttons, aligned by the title settings, in the title colour.
TEST(FramePainting, CaptionTextAlignment) {
  for (int align : {0, 1, 2}) {
    TSkinData d;
    d.SkinStream = test::skinPackage(
        QStringLiteral("[Personality]\nTop=t.bmp\nTopFrame=1\nTextAlignment=%1\n"
                       "ActiveTextR=255\nActiveTextG=255\nActiveTextB=255\n")
            .arg(align),
        {{QStringLiteral("t.bmp"), test::codedStrip(1, 1, 40, 24, false, false)}});
    ASSERT_TRUE(d.LoadSkin());
    const FramePaint f = test::captionedFrame(d, QSize(300, 60), QStringLiteral("MMMM"));
    const QImage img = PaintFrameImage(d, f);
    const CaptionSpan span = CaptionTextSpan(*f.buttons, d.Title(), 300, f.border);
    QRect text;  // bounds of the caption's light pixels
    for (int y = 0; y < f.border.top(); ++y)
      for (int x = 0; x < 300; ++x)
        if (qRed(img.pixel(x, y)) > 200 && qGreen(img.pixel(x, y)) > 200) text |= QRect(x, y, 1, 1);
    ASSERT_FALSE(text.isNull()) << align;
    const int off = align == 0 ? text.left() - span.start
                    : align == 1
                        ? std::abs((text.left() + text.right()) / 2 - (span.start + span.end) / 2)
                        : span.end - text.right();
    EXPECT_LE(off, 3) << align;
  }
}

// "Stretch" 1 stretches the middle of a band; 0 tiles it.
TEST(FramePainting, StretchSettingChoosesStretchOrTile) {
  QImage top(9, 4, QImage::Format_RGB32);  // edges 3 | middle A B C | edges 3
  for (int x = 0; x < 9; ++x)
    for (int y = 0; y < 4; ++y)
      top.setPixel(x, y,
                   x == 3   ? qRgb(255, 0, 0)
                   : x == 4 ? qRgb(0, 255, 0)
                   : x == 5 ? qRgb(0, 0, 255)
                            : qRgb(9, 9, 9));
  for (int stretch : {1, 0}) {
    TSkinData d;
    d.SkinStream = test::skinPackage(
        QStringLiteral("[Personality]\nTop=t.bmp\nTopFrame=1\nTopTrans=0\nTopTopHeight=3\n"
                       "TopBotHeight=3\nTopStretch=%1\n")
            .arg(stretch),
        {{QStringLiteral("t.bmp"), top}});
    ASSERT_TRUE(d.LoadSkin());
    FramePaint f;
    f.window = QSize(36, 20);
    f.border = FrameWidths(d, 0);
    const QImage img = PaintFrameImage(d, f);
    // Middle from x 3 to 32: stretched, its first ten pixels are red; tiled, x 6 is red again.
    EXPECT_EQ(img.pixel(3, 1), qRgb(255, 0, 0)) << stretch;
    EXPECT_EQ(img.pixel(4, 1), stretch ? qRgb(255, 0, 0) : qRgb(0, 255, 0)) << stretch;
    EXPECT_EQ(img.pixel(6, 1), qRgb(255, 0, 0)) << stretch;
  }
}

}  // namespace
}  // namespace ruto
