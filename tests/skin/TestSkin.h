#pragma once
// A frame-coded skin for tests: every frame of every image is filled with its own colour,
// so a rendered pixel tells which image and which frame was drawn.

#include <QBuffer>
#include <QImage>
#include <QString>

#include "lzh/SkinPackage.h"
#include "skin/SkinFrame.h"

namespace ruto::test {

// Colour of frame k (from 1) of image `id`: red = 20 * id, green = 40 * k, blue = 7.
inline QRgb frameColour(int id, int k) { return qRgb((20 * id) % 256, (40 * k) % 256, 7); }

// Frames side by side (or stacked), each fw x fh and filled with frameColour(id, k); the
// outermost corner pixels of each frame magenta when corners is set.
inline QImage codedStrip(int id, int frames, int fw, int fh, bool vertical, bool corners) {
  QImage img(vertical ? fw : fw * frames, vertical ? fh * frames : fh, QImage::Format_RGB32);
  for (int k = 1; k <= frames; ++k) {
    const int x0 = vertical ? 0 : (k - 1) * fw, y0 = vertical ? (k - 1) * fh : 0;
    for (int y = 0; y < fh; ++y)
      for (int x = 0; x < fw; ++x) img.setPixel(x0 + x, y0 + y, frameColour(id, k));
    if (corners) {
      img.setPixel(x0, y0, 0xFFFF00FF);
      img.setPixel(x0 + fw - 1, y0, 0xFFFF00FF);
    }
  }
  return img;
}

inline QByteArray bmp(const QImage& img) {
  QByteArray out;
  QBuffer b(&out);
  b.open(QIODevice::WriteOnly);
  img.convertToFormat(QImage::Format_RGB888).save(&b, "BMP");
  return out;
}

// Image ids of the test skin.
enum TestImage {
  tiTop = 1,
  tiLeft,
  tiRight,
  tiBottom,
  tiClose,
  tiMax,
  tiMin,
  tiMenuBar,
  tiMenuItem,
  tiMenuBack,
  tiRestore,
  tiCustom
};

inline const char* testSkinDefinition() {
  return R"([TitlebarSkin]
SkinName=Coded
[Personality]
Top=top.bmp
TopTopHeight=6
TopBotHeight=6
TopFrame=2
TopTrans=1
Left=left.bmp
LeftFrame=2
LeftTrans=0
Right=right.bmp
RightFrame=2
RightTrans=0
Bottom=bottom.bmp
BottomFrame=2
BottomTrans=0
menuBar=menubar.bmp
TileMenu=1
TileLeftMenu=2
TileRightMenu=2
TextAlignment=0
[Colours]
ButtonFace=212,208,200
Hilight=0,0,128
HilightText=255,255,255
MenuText=0,0,0
Menu=255,255,255
[Button.Close]
Action=0
Align=1
Xcoord=25
Ycoord=3
ButtonImage=close.bmp
[Button.Max]
Action=1
Align=1
Xcoord=47
Ycoord=3
Visibility=2
Visibility1=6
ButtonImage=max.bmp
[Button.Restore]
Action=1
Align=1
Xcoord=47
Ycoord=3
Visibility=1
ButtonImage=restore.bmp
[Button.Min]
Action=2
Align=1
Xcoord=69
Ycoord=3
ButtonImage=min.bmp
[Button.Custom]
Action=40
Align=1
Xcoord=91
Ycoord=3
Visibility=1500
ButtonImage=custom.bmp
[Button.Icon]
Action=3
Align=0
Xcoord=4
Ycoord=4
[Button.Ignored]
Action=-1
Visibility=1
[MenuItem]
Image=menuitem.bmp
LeftWidth=2
RightWidth=2
[MenuBackground]
Image=menuback.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3
)";
}

// Stored package of the test skin; caption buttons are 20x18 with six frames (ratio 6.7).
// A test may add sections to the definition and entries to the package.
inline QByteArray buildTestSkin(const QByteArray& moreDefinition = {},
                                const QList<SkinPackageEntry>& moreEntries = {}) {
  QList<SkinPackageEntry> e;
  e.append({QStringLiteral("coded.ini"), QByteArray(testSkinDefinition()) + moreDefinition});
  e.append(moreEntries);
  e.append({QStringLiteral("top.bmp"), bmp(codedStrip(tiTop, 2, 60, 24, true, true))});
  e.append({QStringLiteral("left.bmp"), bmp(codedStrip(tiLeft, 2, 5, 30, false, false))});
  e.append({QStringLiteral("right.bmp"), bmp(codedStrip(tiRight, 2, 5, 30, false, false))});
  e.append({QStringLiteral("bottom.bmp"), bmp(codedStrip(tiBottom, 2, 60, 5, true, false))});
  e.append({QStringLiteral("close.bmp"), bmp(codedStrip(tiClose, 6, 20, 18, false, false))});
  e.append({QStringLiteral("max.bmp"), bmp(codedStrip(tiMax, 6, 20, 18, false, false))});
  e.append({QStringLiteral("restore.bmp"), bmp(codedStrip(tiRestore, 6, 20, 18, false, false))});
  e.append({QStringLiteral("min.bmp"), bmp(codedStrip(tiMin, 6, 20, 18, false, false))});
  e.append({QStringLiteral("custom.bmp"), bmp(codedStrip(tiCustom, 6, 20, 18, false, false))});
  e.append({QStringLiteral("menubar.bmp"), bmp(codedStrip(tiMenuBar, 2, 30, 20, true, false))});
  e.append({QStringLiteral("menuitem.bmp"), bmp(codedStrip(tiMenuItem, 5, 20, 20, false, false))});
  e.append({QStringLiteral("menuback.bmp"), bmp(codedStrip(tiMenuBack, 1, 20, 20, false, false))});
  return BuildSkinPackage(e);
}

// The frame of the loaded skin `d` for an active window of `size` captioned `caption`, with no
// caption buttons.
inline FramePaint captionedFrame(const TSkinData& d, QSize size, const QString& caption) {
  static const std::vector<CaptionButton> noButtons;
  FramePaint f;
  f.window = size;
  f.border = FrameWidths(d, 0);
  f.caption = caption;
  f.buttons = &noButtons;
  return f;
}

}  // namespace ruto::test
