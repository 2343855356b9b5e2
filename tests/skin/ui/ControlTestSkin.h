#pragma once
// The frame-coded test skin with control images: every frame of every control image in its
// own colour (see frameColour), so a probed pixel tells which image and frame was painted.

#include "skin/TestSkin.h"

namespace ruto::test {

constexpr int ciButtons = 13, ciCheck = 14, ciRadio = 15, ciCombo = 16, ciSunk = 17, ciExtra = 18,
              ciScroll = 19, ciHScroll = 20, ciVScroll = 21, ciHThumb = 22, ciVThumb = 23,
              ciHeader = 24, ciStatus = 25, ciTabs = 26, ciTabBorder = 27, ciProgress = 28,
              ciUpDownV = 29, ciUpDownVGlyph = 30, ciUpDownH = 31, ciUpDownHGlyph = 32,
              ciThumbHorz = 33, ciTrack = 34, ciTabPane = 35;

// tabsKeys: further keys of the [Tabs] section.
inline QByteArray buildControlTestSkin(const QByteArray& tabsKeys = {}) {
  const QByteArray sections =
      "[Buttons]\nBitmap=buttons.bmp\nLeftWidth=4\nRightWidth=4\nTopHeight=4\nBottomHeight=4\n"
      "Trans=1\nCheckButton=check.bmp\nRadioButton=radio.bmp\nCheckButtonFrame=8\n"
      "RadioButtonFrame=8\n[ComboButton]\nImage=combo.bmp\n[SunkEdge]\nImage=sunken.bmp\n"
      "LeftWidth=2\nRightWidth=2\nTopHeight=2\nBottomHeight=2\n[ExtraImages]\nImage=extra.bmp\n"
      "[Scrollbar]\nImage=scrollbar.bmp\n[HorzScroll]\nImage=hscroll.bmp\n[VertScroll]\n"
      "Image=vscroll.bmp\n[HorzScrollThumb]\nImage=hthumb.bmp\n[VertScrollThumb]\n"
      "Image=vthumb.bmp\n[Headerbar]\nImage=header.bmp\n[StatusBarEdges]\nImage=status.bmp\n"
      "[Tabs]\n" +
      tabsKeys +
      "Image=tabs.bmp\nBorder=tabborder.bmp\n[Tab.Pane]\n"
      "Image=tabpane.bmp\n[Progress]\nBitmap=progress.bmp\n"
      "[UpDown.Vert]\nImage=updown_v.bmp\nGlyphImage=updown_vglyph.bmp\n[UpDown.Horz]\n"
      "Image=updown_h.bmp\nGlyphImage=updown_hglyph.bmp\n[Trackbar.ThumbHorz]\n"
      "Image=thumb_horz.bmp\nTrans=1\n[Track]\nImage=track.bmp\n";
  // Image ids follow the rows from ciButtons; the corner pixels of the button, check and radio
  // strips are magenta.
  const struct {
    const char* name;
    int frames, w, h;
  } images[] = {
      {"buttons.bmp", 5, 24, 22},    {"check.bmp", 8, 13, 13},       {"radio.bmp", 8, 13, 13},
      {"combo.bmp", 4, 17, 21},      {"sunken.bmp", 4, 24, 21},      {"extra.bmp", 5, 16, 16},
      {"scrollbar.bmp", 23, 17, 17}, {"hscroll.bmp", 4, 32, 17},     {"vscroll.bmp", 4, 17, 32},
      {"hthumb.bmp", 3, 32, 17},     {"vthumb.bmp", 3, 17, 32},      {"header.bmp", 5, 40, 20},
      {"status.bmp", 3, 24, 20},     {"tabs.bmp", 5, 40, 22},        {"tabborder.bmp", 1, 24, 24},
      {"progress.bmp", 2, 40, 16},   {"updown_v.bmp", 8, 16, 16},    {"updown_vglyph.bmp", 8, 6, 4},
      {"updown_h.bmp", 8, 16, 16},   {"updown_hglyph.bmp", 8, 4, 6}, {"thumb_horz.bmp", 5, 11, 19},
      {"track.bmp", 1, 30, 6},       {"tabpane.bmp", 1, 24, 24}};
  QList<SkinPackageEntry> e;
  int id = ciButtons;
  for (const auto& i : images) {
    e.append({QString::fromLatin1(i.name),
              bmp(codedStrip(id, i.frames, i.w, i.h, false, id <= ciRadio))});
    ++id;
  }
  return buildTestSkin(sections, e);
}

}  // namespace ruto::test
