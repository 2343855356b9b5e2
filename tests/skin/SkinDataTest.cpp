// Reading a skin definition into skin objects, and the objects derived from them.
#include <gtest/gtest.h>

#include <tuple>

#include "skin/SkinData.h"
#include "skin/TestSkin.h"

namespace ruto {
namespace {

using test::codedStrip;
using test::loadedSkin;
using test::skinPackage;

TEST(SkinDefinition, CaptionButtonFramesFromImageRatio) {
  const std::tuple<int, int, int, const char*, int> cases[] = {
      {57, 21, 0, "", 3},       {140, 21, 0, "", 6}, {76, 20, 0, "", 3},
      {80, 21, 0, "", 6},       {57, 21, -1, "", 6},  // a negative action always has six frames
      {57, 21, 0, "frame=4", 4}};
  for (const auto& [w, h, action, frameKey, want] : cases) {
    const QString ini =
        QStringLiteral("[Button.X]\nAction=%1\nVisibility=0\nButtonImage=b.bmp\n%2\n")
            .arg(action)
            .arg(QString::fromLatin1(frameKey));
    const auto l = loadedSkin(
        skinPackage(ini, {{QStringLiteral("b.bmp"), QImage(w, h, QImage::Format_RGB32)}}));
    ASSERT_EQ(l->SysButtons().size(), 1u);
    EXPECT_EQ(l->SysButtons()[0]->Frame, want) << w << "x" << h;
  }
}

TEST(SkinDefinition, WhichSectionsAreCaptionButtons) {
  const QString ini = QStringLiteral(
      "[Buttons]\nBitmap=x.bmp\n[Button]\nAction=0\n[BUTTON.RADIO]\nAction=0\n"
      "[button.hidden]\nAction=-1\nVisibility=1\n[Button.Counted]\nAction=-1\nVisibility=0\n"
      "[ButtonZ]\nAction=5\n");
  const auto l = loadedSkin(skinPackage(ini, {}));
  QStringList names;
  for (const auto& b : l->SysButtons()) names << b->Name;
  EXPECT_EQ(names, (QStringList{QStringLiteral("BUTTON.COUNTED"), QStringLiteral("BUTTONZ")}));
  EXPECT_EQ(l->SysButtons()[0]->Visibility1, -1);
}

TEST(SkinDefinition, ObjectsAndDefaults) {
  const QString ini = QStringLiteral(
      "[Tab.Pane]\nImage=p.bmp\nLeftWidth=10\nTopHeight=2\n"
      "[Personality]\nTop=t.bmp\nTopStretch=0\nLeft=l.bmp\nLeftStretch=7\n"
      "[Colours]\nButtonFace=212,208,200\nHilight=1 2\nMenu=300;20;30\n"
      "[Progress]\nBitmap=p.bmp\nStyle=1\n[MenuItem]\nImage=p.bmp\nTile=5\n"
      "[Headerbar]\nImage=p.bmp\n[HorzScrollThumb]\nImage=p.bmp\nFrameCount=7\n"
      "[Missing]\nImage=\n");
  const QImage img(20, 20, QImage::Format_RGB32);
  const auto l = loadedSkin(skinPackage(ini, {{QStringLiteral("p.bmp"), img},
                                              {QStringLiteral("t.bmp"), img},
                                              {QStringLiteral("l.bmp"), img}}));
  const TSkinData& d = *l;
  ASSERT_TRUE(d.SkinLoaded());
  for (const char* name :
       {"Tab.Pane", "Progress", "MenuItem", "Headerbar", "HorzScrollThumb", "Track", "TRACKVERT"})
    ASSERT_NE(d.object(name), nullptr) << name;
  const auto o = [&](const char* name) { return d.object(name); };
  EXPECT_EQ(o("Tab.Pane")->LeftWidth, 4);  // capped
  EXPECT_EQ(o("Tab.Pane")->TopHeight, 2);
  EXPECT_EQ(d.TopBorder()->Tile, 0);   // Stretch 0: tiled when painted
  EXPECT_EQ(d.LeftBorder()->Tile, 1);  // capped at 1
  EXPECT_EQ(d.Colours().ButtonFace, RGB(212, 208, 200));
  EXPECT_EQ(d.Colours().Menubar, RGB(212, 208, 200));  // follows the face just read
  EXPECT_EQ(d.Colours().Hilight, clHighlight);         // short value keeps the default
  EXPECT_EQ(d.Colours().Menu, RGB(255, 20, 30));       // channel clamped
  EXPECT_EQ(o("Progress")->Frame, 1);
  EXPECT_EQ(o("MenuItem")->Tile, 0);
  EXPECT_EQ(o("MenuItem")->Frame, 5);
  EXPECT_EQ(o("Headerbar")->Frame, 5);
  EXPECT_EQ(o("HorzScrollThumb")->Frame, 7);
  EXPECT_EQ(o("Missing"), nullptr);
  EXPECT_EQ(o("Scrollbar"), nullptr);
  // Without [Track] the program's own track image with edges of 3.
  const TDataSkinObject* track = o("Track");
  EXPECT_TRUE(track->hasImage());
  EXPECT_EQ(track->edges().left, 3);
  EXPECT_EQ(track->edges().bottom, 3);
  EXPECT_EQ(track->Frame, 1);
}

TEST(SkinDefinition, ComboStripFromSunkEdgeAndButton) {
  const QString ini = QStringLiteral(
      "[SunkEdge]\nImage=s.bmp\nLeftWidth=2\nRightWidth=2\nTopHeight=2\nBottomHeight=2\n"
      "[ComboButton]\nImage=c.bmp\n");
  const auto l = loadedSkin(
      skinPackage(ini, {{QStringLiteral("s.bmp"), codedStrip(1, 4, 20, 21, false, false)},
                        {QStringLiteral("c.bmp"), codedStrip(2, 4, 17, 21, false, false)}}));
  const TDataSkinObject* combo = l->object(QStringLiteral("ComboButton"));
  const TDataSkinObject* sunk = l->object(QStringLiteral("SunkEdge"));
  ASSERT_NE(combo, nullptr);
  ASSERT_NE(sunk, nullptr);
  EXPECT_EQ(combo->Bitmap.size(), QSize(200, 21));
  EXPECT_EQ(combo->Style, 2);
  EXPECT_EQ(combo->LeftWidth, 2);
  EXPECT_EQ(combo->RightWidth, TSkinData::ScrollBarWidth + 4);
  EXPECT_EQ(sunk->LeftWidth, TSkinData::ScrollBarWidth + 4);
  EXPECT_EQ(sunk->RightWidth, 2);
  // Cell 2: the sunk edge's frame 2 on the left, the button's frame 2 at the right end.
  EXPECT_EQ(combo->Bitmap.pixel(55, 10), test::frameColour(1, 2));
  EXPECT_EQ(combo->Bitmap.pixel(98, 10), test::frameColour(2, 2));
  // The sunk edge takes the strip mirrored.
  EXPECT_EQ(sunk->Bitmap.pixel(199 - 98, 10), test::frameColour(2, 2));
  const TDataSkinObject* arrow = l->object(QStringLiteral("ComboxArrow"));
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(arrow->Bitmap.size(), QSize(68, 17));
  EXPECT_EQ(arrow->Frame, 4);
}

TEST(SkinDefinition, ToolbarBackgroundFromFaceAndCaptionColour) {
  // The caption sample is the pixel at (w/3, (h/frames)/3) of the top border.
  QImage top(30, 60, QImage::Format_RGB32);
  top.fill(qRgb(0, 0, 128));
  const QString ini =
      QStringLiteral("[Personality]\nTop=t.bmp\nTopFrame=2\n[Colours]\nButtonFace=212,208,200\n");
  const auto l = loadedSkin(skinPackage(ini, {{QStringLiteral("t.bmp"), top}}));
  EXPECT_EQ(l->CaptionColour(), RGB(0, 0, 128));
  const TDataSkinObject* bar = l->object(QStringLiteral("Toolbar"));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->Bitmap.size(), QSize(10, 40));
  EXPECT_EQ(bar->Bitmap.pixel(0, 0), qRgb(249, 248, 247));
  EXPECT_EQ(bar->Bitmap.pixel(9, 39), qRgb(118, 118, 187));
}

// Second colours an object does not give are the skin's button text, for every object; a
// colour it gives stays its own.
TEST(SkinDefinition, SecondColoursDefaultToTheButtonText) {
  const QString ini = QStringLiteral(
      "[Colours]\nButtonText=30,42,56\n[Tabs]\nImage=p.bmp\nMouseOverColour2=200,0,0\n"
      "[StatusBarEdges]\nImage=p.bmp\n[Headerbar]\nImage=p.bmp\n[UpDown.Horz]\nImage=p.bmp\n"
      "[Progress]\nBitmap=p.bmp\n");
  const auto l = loadedSkin(
      skinPackage(ini, {{QStringLiteral("p.bmp"), QImage(20, 20, QImage::Format_RGB32)}}));
  ASSERT_EQ(l->Colours().ButtonText, RGB(30, 42, 56));
  const SkinColor text = RGB(30, 42, 56), given = RGB(200, 0, 0);
  const std::tuple<const char*, SkinColor, SkinColor, SkinColor> cases[] = {
      {"Tabs", text, given, text},
      {"StatusBarEdges", text, text, text},
      {"Headerbar", text, text, text},
      {"UpDown.Horz", text, text, text},
      {"Progress", text, text, text},
      {"Track", text, text, text}};  // the program's own track image
  for (const auto& [name, normal, over, pressed] : cases) {
    const TDataSkinObject* o = l->object(QString::fromLatin1(name));
    ASSERT_NE(o, nullptr) << name;
    EXPECT_EQ(o->NormalColour2, normal) << name;
    EXPECT_EQ(o->MouseOverColour2, over) << name;
    EXPECT_EQ(o->PressedColour2, pressed) << name;
  }
}

// A failed load keeps the previous objects but no skin counts as loaded: switching on sends
// no command, and the window's load turns skinning off.
TEST(SkinDefinition, FailedLoadReportsAndKeepsThePreviousSkin) {
  const QString ini = QStringLiteral("[TitlebarSkin]\nSkinName=First\n");
  auto l = loadedSkin(skinPackage(ini, {}));
  ASSERT_TRUE(l->SkinLoaded());
  QStringList reports;
  TSkinData::SetReporter([&](const QString& t) { reports << t; });
  l->SkinStream = QByteArray("\x10\x00\x00\x00garbage", 11);
  EXPECT_FALSE(l->LoadSkin());
  l->SkinStream = BuildSkinPackage({{QStringLiteral("a.bmp"), QByteArray("x")}}, 12345);
  EXPECT_FALSE(l->LoadSkin());
  TSkinData::SetReporter({});
  ASSERT_EQ(reports.size(), 2);
  EXPECT_TRUE(reports.last().startsWith(QStringLiteral("This is Older Skin File")));
  EXPECT_FALSE(l->SkinLoaded());
  EXPECT_EQ(l->SkinName(), QStringLiteral("First"));
  std::vector<int> sent;
  TSkinData::SetCommandSink([&](TSkinData*, int c, int) { sent.push_back(c); });
  l->SetActive(true);
  l->Loaded();
  TSkinData::SetCommandSink({});
  EXPECT_TRUE(sent.empty());
  EXPECT_FALSE(l->Active());
}

TEST(SkinData, SwitchesSendCommands) {
  std::vector<std::pair<int, int>> sent;  // command and delay
  TSkinData::SetCommandSink([&](TSkinData*, int c, int delay) { sent.emplace_back(c, delay); });
  TSkinData d;
  EXPECT_EQ(d.DisableTag, 99);
  EXPECT_FALSE(d.SkinControls.test(xcMenuItem));
  EXPECT_TRUE(d.Options.test(xoPreview));
  EXPECT_TRUE(d.Options.test(xoToolbarBK));
  EXPECT_EQ(d.Skin3rd, QStringList{QStringLiteral("QProgressBar=progress")});
  d.SetActive(true);  // nothing loaded: no command
  d.Loaded();         // nothing loaded: Active goes off
  EXPECT_FALSE(d.Active());
  d.SkinStream = skinPackage(QStringLiteral("[TitlebarSkin]\nSkinName=x\n"), {});
  d.SetActive(true);
  d.Loaded();
  d.SetActive(false);
  TSkinData::SetCommandSink({});
  EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{1, 250}, {2, 250}}));
  EXPECT_FALSE(d.SkinControls.test(xcMenuItem));
  EXPECT_TRUE(d.SkinControls.test(xcSystemMenu));
}

TEST(SkinData, SysMenuIconKeepsNoPinkEdge) {
  // The program's anti-aliased icon: every pixel is the exact key or far from magenta.
  TSkinData d;
  d.MakeSysMenuIcon(ApplicationIcon());
  int kept = 0;
  for (int y = 0; y < d.SysMenuIcon.height(); ++y)
    for (int x = 0; x < d.SysMenuIcon.width(); ++x) {
      const QRgb c = d.SysMenuIcon.pixel(x, y);
      if ((c & 0xFFFFFF) == 0xFF00FF) continue;
      ++kept;
      EXPECT_GT(255 - qRed(c) + qGreen(c) + 255 - qBlue(c), 120) << x << "," << y;
    }
  EXPECT_GT(kept, 60);
}

}  // namespace
}  // namespace ruto
