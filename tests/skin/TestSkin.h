#pragma once
// A frame-coded skin for tests: every frame of every image is filled with its own colour,
// so a rendered pixel tells which image and which frame was drawn.

#include <QBuffer>
#include <QImage>
#include <QString>
#include <algorithm>
#include <memory>

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

// Whether some pixel of img (32-bit) is colour.
inline bool hasPixel(const QImage& img, QRgb colour) {
  const auto* px = reinterpret_cast<const QRgb*>(img.constBits());
  return std::find(px, px + img.width() * img.height(), colour) != px + img.width() * img.height();
}

// The gates the program opens.
inline TSkinControlTypes programGates() {
  return skinControls({xcMainMenu, xcPopupMenu, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
                       xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel,
                       xcGroupBox, xcStatusBar, xcTab, xcSystemMenu});
}

// Image ids of the test skin.
constexpr int tiTop = 1, tiLeft = 2, tiRight = 3, tiBottom = 4, tiClose = 5, tiMax = 6, tiMin = 7,
              tiMenuBar = 8, tiMenuItem = 9, tiMenuBack = 10, tiRestore = 11, tiCustom = 12;

inline const char* testSkinDefinition() {
  return "[TitlebarSkin]\nSkinName=Coded\n"
         "[Personality]\nTop=top.bmp\nTopTopHeight=6\nTopBotHeight=6\nTopFrame=2\nTopTrans=1\n"
         "Left=left.bmp\nLeftFrame=2\nLeftTrans=0\nRight=right.bmp\nRightFrame=2\nRightTrans=0\n"
         "Bottom=bottom.bmp\nBottomFrame=2\nBottomTrans=0\nmenuBar=menubar.bmp\nTileMenu=1\n"
         "TileLeftMenu=2\nTileRightMenu=2\nTextAlignment=0\n"
         "[Colours]\nButtonFace=212,208,200\nHilight=0,0,128\nHilightText=255,255,255\n"
         "MenuText=0,0,0\nMenu=255,255,255\n"
         "[Button.Close]\nAction=0\nAlign=1\nXcoord=25\nYcoord=3\nButtonImage=close.bmp\n"
         "[Button.Max]\nAction=1\nAlign=1\nXcoord=47\nYcoord=3\nVisibility=2\nVisibility1=6\n"
         "ButtonImage=max.bmp\n"
         "[Button.Restore]\nAction=1\nAlign=1\nXcoord=47\nYcoord=3\nVisibility=1\n"
         "ButtonImage=restore.bmp\n"
         "[Button.Min]\nAction=2\nAlign=1\nXcoord=69\nYcoord=3\nButtonImage=min.bmp\n"
         "[Button.Custom]\nAction=40\nAlign=1\nXcoord=91\nYcoord=3\nVisibility=1500\n"
         "ButtonImage=custom.bmp\n"
         "[Button.Icon]\nAction=3\nAlign=0\nXcoord=4\nYcoord=4\n"
         "[Button.Ignored]\nAction=-1\nVisibility=1\n"
         "[MenuItem]\nImage=menuitem.bmp\nLeftWidth=2\nRightWidth=2\n"
         "[MenuBackground]\nImage=menuback.bmp\nLeftWidth=3\nRightWidth=3\nTopHeight=3\n"
         "BottomHeight=3\n";
}

// A package of one definition plus the given bitmaps.
inline QByteArray skinPackage(const QString& ini,
                              const QList<QPair<QString, QImage>>& images = {}) {
  QList<SkinPackageEntry> e{{QStringLiteral("skin.ini"), ini.toUtf8()}};
  for (const auto& [name, img] : images) e.append({name, bmp(img)});
  return BuildSkinPackage(e);
}

// Skin data read from `stream`, loaded when the stream holds a skin.
inline std::unique_ptr<TSkinData> loadedSkin(const QByteArray& stream) {
  auto d = std::make_unique<TSkinData>();
  d->SkinStream = stream;
  d->LoadSkin();
  return d;
}

// Stored package of the test skin; caption buttons are 20x18 with six frames (ratio 6.7).
// A test may add sections to the definition and entries to the package.
inline QByteArray buildTestSkin(const QByteArray& moreDefinition = {},
                                const QList<SkinPackageEntry>& moreEntries = {}) {
  QList<SkinPackageEntry> e{{"coded.ini", QByteArray(testSkinDefinition()) + moreDefinition}};
  e.append(moreEntries);
  const std::tuple<const char*, int, int, int, int, bool, bool> images[] = {
      {"top.bmp", tiTop, 2, 60, 24, 1, 1},           {"left.bmp", tiLeft, 2, 5, 30, 0, 0},
      {"right.bmp", tiRight, 2, 5, 30, 0, 0},        {"bottom.bmp", tiBottom, 2, 60, 5, 1, 0},
      {"close.bmp", tiClose, 6, 20, 18, 0, 0},       {"max.bmp", tiMax, 6, 20, 18, 0, 0},
      {"restore.bmp", tiRestore, 6, 20, 18, 0, 0},   {"min.bmp", tiMin, 6, 20, 18, 0, 0},
      {"custom.bmp", tiCustom, 6, 20, 18, 0, 0},     {"menubar.bmp", tiMenuBar, 2, 30, 20, 1, 0},
      {"menuitem.bmp", tiMenuItem, 5, 20, 20, 0, 0}, {"menuback.bmp", tiMenuBack, 1, 20, 20, 0, 0}};
  for (const auto& [name, id, frames, w, h, vertical, corners] : images)
    e.append({QString::fromLatin1(name), bmp(codedStrip(id, frames, w, h, vertical, corners))});
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
