#pragma once
// The frame-coded test skin with control images: every frame of every control image in its
// own colour (see frameColour), so a probed pixel tells which image and frame was painted.

#include "skin/TestSkin.h"

namespace ruto::test {

enum ControlImage {
  ciButtons = 13,
  ciCheck,
  ciRadio,
  ciCombo,
  ciSunk,
  ciExtra,
  ciScroll,
  ciHScroll,
  ciVScroll,
  ciHThumb,
  ciVThumb,
  ciHeader,
  ciStatus,
  ciTabs,
  ciTabBorder,
  ciProgress,
  ciUpDownV,
  ciUpDownVGlyph,
  ciUpDownH,
  ciUpDownHGlyph,
  ciThumbHorz,
  ciTrack
};

inline QByteArray buildControlTestSkin() {
  const QByteArray sections(R"([Buttons]
Bitmap=buttons.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1
CheckButton=check.bmp
RadioButton=radio.bmp
CheckButtonFrame=8
RadioButtonFrame=8
[ComboButton]
Image=combo.bmp
[SunkEdge]
Image=sunken.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2
[ExtraImages]
Image=extra.bmp
[Scrollbar]
Image=scrollbar.bmp
[HorzScroll]
Image=hscroll.bmp
[VertScroll]
Image=vscroll.bmp
[HorzScrollThumb]
Image=hthumb.bmp
[VertScrollThumb]
Image=vthumb.bmp
[Headerbar]
Image=header.bmp
[StatusBarEdges]
Image=status.bmp
[Tabs]
Image=tabs.bmp
Border=tabborder.bmp
[Progress]
Bitmap=progress.bmp
[UpDown.Vert]
Image=updown_v.bmp
GlyphImage=updown_vglyph.bmp
[UpDown.Horz]
Image=updown_h.bmp
GlyphImage=updown_hglyph.bmp
[Trackbar.ThumbHorz]
Image=thumb_horz.bmp
Trans=1
[Track]
Image=track.bmp
)");
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
