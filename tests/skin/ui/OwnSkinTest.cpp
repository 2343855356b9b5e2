// The program's own skin: it is embedded, loads every image its definition names, and its
// texts stand out from the skin pixels behind them (WCAG AA, 4.5:1).
#include <gtest/gtest.h>

#include "SkinUiSupport.h"
#include "skin/ui/SkinSetup.h"

namespace ruto {
namespace {

double luminance(QRgb c) {
  auto lin = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
}

double contrast(QRgb a, QRgb b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The lowest contrast of text against the pixels of the middle of one frame (edges left out,
// as text never stands on them).
double worstContrast(TColor text, const TDataSkinObject& o, int frame, bool vertical) {
  const QRect f = FrameRect(o.Bitmap.size(), frame, o.frames(), vertical);
  const QRect middle = f.adjusted(std::max(o.LeftWidth, 2), 2, -std::max(o.RightWidth, 2), -2);
  double worst = 21;
  for (int y = middle.top(); y <= middle.bottom(); ++y)
    for (int x = middle.left(); x <= middle.right(); ++x) {
      const QRgb px = o.Bitmap.pixel(x, y);
      if (!isMagenta(px)) worst = std::min(worst, contrast(toQRgb(text), px));
    }
  return worst;
}

class OwnSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    data.SkinStream = OwnSkinPackage();
    ASSERT_TRUE(data.LoadSkin());
  }
  TSkinData data;
};

TEST_F(OwnSkin, EveryNamedImageIsThere) {
  for (const TDataSkinObject* o :
       {data.TopBorder(), data.LeftBorder(), data.RightBorder(), data.BottomBorder(),
        data.MenuBar(), static_cast<const TDataSkinObject*>(data.Buttons())}) {
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->hasImage()) << o->Name.toStdString();
  }
  const QString objects = QStringLiteral(
      "MenuItem MenuBackground Progress Progress.Chunk Tabs Tab.Pane StatusBarEdges ToolBars "
      "ComboButton SunkEdge ComboxArrow Headerbar ExtraImages Scrollbar HorzScroll VertScroll "
      "HorzScrollThumb VertScrollThumb Trackbar.ThumbHorz Trackbar.ThumbDown UpDown.Horz "
      "UpDown.Vert Track TRACKVERT GroupBox GroupBoxEdge Toolbar");
  for (const QString& s : objects.split(QLatin1Char(' '))) {
    const TDataSkinObject* o = data.object(s);
    ASSERT_NE(o, nullptr) << s.toStdString();
    EXPECT_TRUE(o->hasImage()) << s.toStdString();
  }
  EXPECT_FALSE(data.Buttons()->CheckButton.isNull());
  EXPECT_FALSE(data.Buttons()->RadioButton.isNull());
  EXPECT_EQ(data.SysButtons().size(), 5u);
  for (const auto& b : data.SysButtons()) {
    if (b->Action == 3) continue;  // the system-menu button shows the window's icon
    EXPECT_TRUE(b->hasImage()) << b->Name.toStdString();
    EXPECT_EQ(b->Frame, 6) << b->Name.toStdString();
  }
  EXPECT_EQ(FrameWidths(data, 0), QMargins(4, 26, 4, 4));
}

TEST_F(OwnSkin, TextsMeetAAContrast) {
  const SkinColours& c = data.Colours();
  const std::tuple<const char*, TColor, const TDataSkinObject*, int, bool> cases[] = {
      {"active title", TitleTextColour(data, true), data.TopBorder(), 1, true},
      {"inactive title", TitleTextColour(data, false), data.TopBorder(), 2, true},
      {"menu bar", c.MenuBarText, data.MenuBar(), 1, true},
      {"menu bar of an inactive window", c.MenuBarText, data.MenuBar(), 2, true},
      {"menu item", c.MenuText, data.object(QStringLiteral("MenuItem")), 1, false},
      {"selected menu item", c.HilightText, data.object(QStringLiteral("MenuItem")), 4, false},
      {"menu background", c.MenuText, data.object(QStringLiteral("MenuBackground")), 1, false},
      {"button", ResolveColor(data.Buttons()->NormalColour2), data.Buttons(), 1, false},
      {"hot button", ResolveColor(data.Buttons()->MouseOverColour2), data.Buttons(), 4, false},
      {"pressed button", ResolveColor(data.Buttons()->PressedColour2), data.Buttons(), 2, false}};
  for (const auto& [what, text, on, frame, vertical] : cases) {
    ASSERT_NE(on, nullptr) << what;
    EXPECT_GE(worstContrast(text, *on, frame, vertical), 4.5) << what;
  }
  // Plain colours.
  const std::tuple<const char*, TColor, TColor> plain[] = {
      {"hot menu-bar item", c.MenuBarText, c.Hilight},
      {"selected menu item without image, hot tab close box", c.HilightText, c.Hilight},
      {"window text on the face", c.WindowText, c.ButtonFace},
      {"disabled menu item", c.ButtonShadow, c.Menu}};
  for (const auto& [what, text, ground] : plain)
    EXPECT_GE(contrast(toQRgb(text), toQRgb(ground)), 4.5) << what;
}

class OwnSkinWindows : public test::SkinnedTest {
  QByteArray stream() override { return OwnSkinPackage(); }
};

// The title's rounded corners leave the window's mask.
TEST_F(OwnSkinWindows, FramePictures) {
  QMainWindow w;
  w.resize(640, 400);
  ASSERT_NE(shown(&w), nullptr);
  EXPECT_FALSE(w.mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(w.mask().contains(QPoint(3, 3)));
}

}  // namespace
}  // namespace ruto
