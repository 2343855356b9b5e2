#pragma once
// The frame-coded test skin with control images: every frame of every control image in its
// own colour (see frameColour), so a probed pixel tells which image and frame was painted.

#include "skin/TestSkin.h"

namespace ruto::test {

constexpr int ciButtons = 13, ciCheck = 14, ciRadio = 15, ciCombo = 16, ciSunk = 17, ciExtra = 18,
              ciScroll = 19, ciHScroll = 20, ciVScroll = 21, ciHThumb = 22, ciVThumb = 23,
              ciHeader = 24, ciStatus = 25, ciTabs = 26, ciTabBorder = 27, ciProgress = 28,
              ciUpDownV = 29, ciUpDownVGlyph = 30, ciUpDownH = 31, ciUpDownHGlyph = 32,
              ciThumbHorz = 33, ciTrack = 34;

inline QByteArray buildControlTestSkin() {
  const QByteArray sections(
      "[Buttons]\nBitmap=buttons.bmp\nLeftWidth=4\nRightWidth=4\nTopHeight=4\nBottomHeight=4\n"
      "Trans=1\nCheckButton=check.bmp\nRadioButton=radio.bmp\nCheckButtonFrame=8\n"
      "RadioButtonFrame=8\n[ComboButton]\nImage=combo.bmp\n[SunkEdge]\nImage=sunken.bmp\n"
      "LeftWidth=2\nRightWidth=2\nTopHeight=2\nBottomHeight=2\n[ExtraImages]\nImage=extra.bmp\n"
      "[Scrollbar]\nImage=scrollbar.bmp\n[HorzScroll]\nImage=hscroll.bmp\n[VertScroll]\n"
      "Image=vscroll.bmp\n[HorzScrollThumb]\nImage=hthumb.bmp\n[VertScrollThumb]\n"
      "Image=vthumb.bmp\n[Headerbar]\nImage=header.bmp\n[StatusBarEdges]\nImage=status.bmp\n"
      "[Tabs]\nImage=tabs.bmp\nBorder=tabborder.bmp\n[Progress]\nBitmap=progress.bmp\n"
      "[UpDown.Vert]\nImage=updown_v.bmp\nGlyphImage=updown_vglyph.bmp\n[UpDown.Horz]\n"
      "Image=updown_h.bmp\nGlyphImage=updown_hglyph.bmp\n[Trackbar.ThumbHorz]\n"
      "Image=thumb_horz.bmp\nTrans=1\n[Track]\nImage=track.bmp\n");
  // Corner pixels of a coded strip are magenta where the corners flag is set.
  const struct {
    const char* name;
    int id, frames, w, h;
    bool corners;
  } images[] = {
      {"buttons.bmp", ciButtons, 5, 24, 22, true},
      {"check.bmp", ciCheck, 8, 13, 13, true},
      {"radio.bmp", ciRadio, 8, 13, 13, true},
      {"combo.bmp", ciCombo, 4, 17, 21, false},
      {"sunken.bmp", ciSunk, 4, 24, 21, false},
      {"extra.bmp", ciExtra, 5, 16, 16, false},
      {"scrollbar.bmp", ciScroll, 23, 17, 17, false},
      {"hscroll.bmp", ciHScroll, 4, 32, 17, false},
      {"vscroll.bmp", ciVScroll, 4, 17, 32, false},
      {"hthumb.bmp", ciHThumb, 3, 32, 17, false},
      {"vthumb.bmp", ciVThumb, 3, 17, 32, false},
      {"header.bmp", ciHeader, 5, 40, 20, false},
      {"status.bmp", ciStatus, 3, 24, 20, false},
      {"tabs.bmp", ciTabs, 5, 40, 22, false},
      {"tabborder.bmp", ciTabBorder, 1, 24, 24, false},
      {"progress.bmp", ciProgress, 2, 40, 16, false},
      {"updown_v.bmp", ciUpDownV, 8, 16, 16, false},
      {"updown_vglyph.bmp", ciUpDownVGlyph, 8, 6, 4, false},
      {"updown_h.bmp", ciUpDownH, 8, 16, 16, false},
      {"updown_hglyph.bmp", ciUpDownHGlyph, 8, 4, 6, false},
      {"thumb_horz.bmp", ciThumbHorz, 5, 11, 19, false},
      {"track.bmp", ciTrack, 1, 30, 6, false},
  };
  QList<SkinPackageEntry> e;
  for (const auto& i : images)
    e.append(
        {QString::fromLatin1(i.name), bmp(codedStrip(i.id, i.frames, i.w, i.h, false, i.corners))});
  return buildTestSkin(sections, e);
}

}  // namespace ruto::test
