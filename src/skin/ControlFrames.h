#pragma once
// Which frame of a skin image each control state shows, and the geometry the control
// painters share (bit-button layout, scroll-bar parts, progress fill, status panels, tab
// close boxes), as pure functions of plain numbers.

#include <QRect>
#include <QString>
#include <vector>

namespace ruto {

// What a painter knows of a control's state.
struct ControlState {
  bool enabled = true;
  bool pressed = false;
  bool hot = false;
  bool focused = false;
  bool down = false;  // a checked speed button
};

enum class ButtonKind { Push, Menu, Speed };

// Frame of the 5-frame button strip: normal 1, pressed 2, disabled 3, hot 4, focused 5, by
// the priority normal < focused < hot < pressed < disabled. A menu button shows its focus as
// hot; a speed button has no focused frame and shows Down as pressed.
int ButtonFrame(const ControlState& s, ButtonKind kind = ButtonKind::Push);

// Frame of a check or radio strip of `frames` frames: 1 unchecked, 2 checked, +2 disabled;
// the indeterminate box is 4, or 9 (12 disabled) in a 12-frame strip. A check strip of 12
// and a radio strip of 8 hold four frames per check state (normal first, disabled last);
// any other strip is read as the plain order. Clamped to the strip.
int CheckFrame(int frames, bool checked, bool indeterminate, bool disabled, bool radio);

// Combo box: normal 1, focused or hot 4, pressed 2, disabled 3 (the last wins).
int ComboFrame(const ControlState& s);

// Up-down half: direction 0 (up, left) or 1 (down, right); state normal 1, pressed 2,
// disabled 3, hot 4, for a strip of 8 frames.
int UpDownFrame(int direction, const ControlState& s);

// Header section: 1, hot 2, clamped to the strip.
int HeaderFrame(bool hot, int frames);

// Status panel bevel: lowered 1, raised 2, none 3.
enum class PanelBevel { Lowered, Raised, None };
int StatusPanelFrame(PanelBevel bevel);
PanelBevel PanelBevelFromName(const QString& name);

// Scroll bar frames of the 23-frame strip and its track and thumb images.
enum class ScrollPart { FirstArrow = 0, SecondArrow = 1, PageBefore = 2, PageAfter = 3, Thumb = 5 };
int ScrollArrowFrame(bool vertical, bool second, bool pressed, bool hot);
int ScrollThumbFrame(bool pressed, bool hot);  // of 3
int ScrollGripFrame(bool vertical, bool pressed, bool hot);
int ScrollTrackFrame(bool enabled);  // of 4

// One bar laid out along its axis: arrows at both ends, thumb between.
struct ScrollGeometry {
  int length = 0;      // the bar's length along its axis
  int arrow = 0;       // the painted length of each arrow
  int thumbStart = 0;  // thumb extent; equal ends mean no thumb
  int thumbEnd = 0;
  bool hasThumb() const { return thumbEnd > thumbStart; }
};
// The arrow length painted: the metric, or half the bar when two do not fit.
int ScrollArrowLength(int length, int metric);
// The thumb of a bar with the given range, page and position; at least 8 long, never longer
// than the track; none when the track is shorter than 8 or the bar is disabled.
ScrollGeometry LayoutScrollBar(int length, int metric, int minimum, int maximum, int page,
                               int position, bool enabled = true);
// The part under p (along the axis).
ScrollPart ScrollHitTest(const ScrollGeometry& g, int p);
// The part's rectangle along the axis: [start, end).
std::pair<int, int> ScrollPartSpan(const ScrollGeometry& g, ScrollPart part);

// Filled length of a progress bar: clamp(MulDiv(pos - min, len, max - min), 0, len), 0 when
// max <= min.
int ProgressFill(int length, int position, int minimum, int maximum);

// Glyph and text positions of a bit button along its layout axis, in the client that the
// face inset by 2 leaves. margin and spacing -1 mean "not given".
struct BitButtonPlacement {
  int glyph = 0;
  int text = 0;
};
enum class GlyphLayout { Left, Right, Top, Bottom };
GlyphLayout GlyphLayoutFromName(const QString& name);
BitButtonPlacement LayoutBitButton(int client, int glyph, int text, int margin, int spacing,
                                   GlyphLayout layout, bool centred);

// The caption as drawn: the first "||" becomes a line break.
QString DrawnCaption(const QString& caption);

// Status-bar panels: each widened by 2 to the right, the last reaching the face's right edge.
std::vector<QRect> StatusPanelRects(std::vector<QRect> items, int faceRight);

// The close box of a tab.
QRect TabCloseBox(const QRect& tab);

// Box of a check or radio indicator of size box in r: vertically centred, at the left or,
// with the text on the left, at the right.
QRect CheckBoxRect(const QRect& r, QSize box, bool textLeft);

}  // namespace ruto
