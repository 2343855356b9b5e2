#pragma once
// The skinned frame of a top-level window without the window: border kind and caption
// flags from the window flags, frame widths, caption-button visibility and placement, hit
// tests, button actions, the system menu, the window mask and the painting of the bands.

#include <QFont>
#include <QImage>
#include <QMargins>
#include <QRegion>
#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "skin/SkinData.h"

class QPainter;

namespace ruto {

enum class WinState { Normal = 0, Maximized = 1, Minimized = 2 };

// Caption flags.
inline constexpr int cfMaximizeBox = 1, cfMinimizeBox = 2, cfSysMenu = 8;

struct FrameStyle {
  int BorderKind = 1;  // 0 sizeable, 1 default, 2 no caption (no frame), 3 dialog frame
  int CaptionFlags = 0;
  bool IsDialog = false;
  bool Sizeable = false;
};
FrameStyle FrameStyleFor(Qt::WindowFlags flags, bool isStandardDialog, bool resizable);

// Frame widths: one frame of each border image; all zero for border kind 2.
QMargins FrameWidths(const TSkinData& skin, int borderKind);

// System commands.
inline constexpr int SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030,
                     SC_CLOSE = 0xF060, SC_RESTORE = 0xF120;

struct CaptionContext {
  int windowWidth = 0;
  QMargins border;
  int menuHeight = 0;
  int borderKind = 1;
  bool isDialog = false;
  int captionFlags = 0;
  WinState state = WinState::Normal;
  bool active = true;
  bool mdiFrameWithMaximizedChild = false;
  int captionStart = 0, captionEnd = 0;
  int menuBarLeftWidth = 0;  // left edge of the skin's menu-bar image, 0 without one
  // Visibility codes 1000..2000 are asked of the window: (code, action) -> answer.
  std::function<int(int, int)> askVisible;
};

// One visibility code; second selects the rules of Visibility1.
bool VisibilityHolds(int code, bool second, const CaptionContext& c);

struct CaptionButton {
  const TDataSkinSysButton* def = nullptr;
  bool visible = false;
  bool enabled = true;
  QRect rect;     // window coordinates
  int state = 1;  // 1 normal, 2 pressed, 3 hover
};

// Visibility, enabled state and placement of every button of the skin. Buttons aligned to
// the caption text (2, 3, 8, 9) use the context's caption start and end.
std::vector<CaptionButton> LayoutCaptionButtons(const TSkinData& skin, const CaptionContext& c);
QRect CaptionButtonRect(const TDataSkinSysButton& b, const CaptionContext& c);

// Where the caption text may stand: after the left-aligned buttons, before the right ones.
struct CaptionSpan {
  int start = 0, end = 0;
};
CaptionSpan CaptionTextSpan(const std::vector<CaptionButton>& buttons, const TDataSkinTitle* title,
                            int windowWidth, QMargins border);

enum class Hit {
  Client,
  Caption,
  Menu,
  Border,
  Left,
  Right,
  Top,
  Bottom,
  TopLeft,
  TopRight,
  BottomLeft,
  BottomRight,
  Button
};
struct HitResult {
  Hit kind = Hit::Client;
  int button = -1;
};
// The frame part under p (window coordinates). Only visible buttons with a non-negative
// action are hit; the top three pixels of a sizeable window size it.
HitResult FrameHitTest(QPoint p, QSize window, QMargins border, int menuHeight, bool sizeable,
                       WinState state, const std::vector<CaptionButton>& buttons);

enum class ButtonEffect { None, Close, Maximize, Restore, Minimize, SysMenu, Signal };
ButtonEffect ButtonActionFor(int action, WinState state, bool closeAllowed);

struct SysMenuItem {
  QString caption;
  int command = 0;  // 0 for a separator
  int glyph = -1;   // index into the menu glyphs
  bool enabled = true;
  QString shortcut;
};
// "大小" is offered only to a window that can be resized.
std::vector<SysMenuItem> SystemMenuItems(WinState state, int captionFlags, bool sizeable);

// The window mask: the client area inside the borders plus, for each band whose image is
// transparent, the pixels of the painted frame that are not magenta.
QRegion FrameRegion(const QImage& frame, QMargins border, int menuHeight,
                    const std::array<bool, 4>& transLTRB);

// The same mask straight from the skin: only the transparent bands are drawn, each alone.
QRegion SkinFrameRegion(const TSkinData& skin, QSize window, QMargins border, int menuHeight,
                        bool active);

struct FramePaint {
  QSize window;
  QMargins border;
  bool active = true;
  WinState state = WinState::Normal;
  QString caption;
  const std::vector<CaptionButton>* buttons = nullptr;
  QImage icon;  // drawn on the icon buttons (action 3, 11)
  QFont font;
  // Magenta of transparent bands left unpainted (the window's own mask may not apply, as
  // on platforms without masks or while maximized); off, it is painted as it is.
  bool keyed = false;
};
// Paints the left, right and bottom bands, then the title with its buttons and caption text,
// onto p (window coordinates). Returns the caption span actually used.
CaptionSpan PaintFrame(QPainter& p, const TSkinData& skin, const FramePaint& f);
// The caption's font: the window's font, bold, at the title's font height within the band.
QFont CaptionFont(const TSkinData& skin, const QFont& base, int titleHeight);
// The whole frame as an image of the window's size (magenta where nothing is painted).
QImage PaintFrameImage(const TSkinData& skin, const FramePaint& f);

// Caption text colour by activity.
TColor TitleTextColour(const TSkinData& skin, bool active);

}  // namespace ruto
