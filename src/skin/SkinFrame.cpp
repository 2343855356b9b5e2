#include "skin/SkinFrame.h"

#include <QPainter>
#include <algorithm>

namespace ruto {

FrameStyle FrameStyleFor(Qt::WindowFlags flags, bool isStandardDialog, bool resizable) {
  FrameStyle s;
  const bool titled = flags.testFlag(Qt::WindowTitleHint) ||
                      flags.testFlag(Qt::WindowSystemMenuHint) ||
                      !flags.testFlag(Qt::CustomizeWindowHint);
  const bool frameless = flags.testFlag(Qt::FramelessWindowHint);
  if (flags.testFlag(Qt::WindowSystemMenuHint) || !flags.testFlag(Qt::CustomizeWindowHint))
    s.CaptionFlags |= cfSysMenu;
  if (flags.testFlag(Qt::WindowMinimizeButtonHint)) s.CaptionFlags |= cfMinimizeBox;
  if (flags.testFlag(Qt::WindowMaximizeButtonHint)) s.CaptionFlags |= cfMaximizeBox;
  s.IsDialog = isStandardDialog;
  s.Sizeable = resizable && !flags.testFlag(Qt::MSWindowsFixedSizeDialogHint);
  if (!titled || frameless)
    s.BorderKind = 2;
  else if (flags.testFlag(Qt::MSWindowsFixedSizeDialogHint) || isStandardDialog)
    s.BorderKind = 3;
  else if (s.Sizeable)
    s.BorderKind = 0;
  else
    s.BorderKind = 1;
  return s;
}

QMargins FrameWidths(const TSkinData& skin, int borderKind) {
  if (borderKind == 2 || !skin.SkinLoaded()) return {};
  auto width = [](const TDataSkinObject* o) {
    return o && o->hasImage() ? o->Bitmap.width() / o->frames() : 0;
  };
  auto height = [](const TDataSkinObject* o) {
    return o && o->hasImage() ? o->Bitmap.height() / o->frames() : 0;
  };
  return QMargins(width(skin.LeftBorder()), height(skin.TopBorder()), width(skin.RightBorder()),
                  height(skin.BottomBorder()));
}

bool VisibilityHolds(int code, bool second, const CaptionContext& c) {
  const bool maximized = c.state == WinState::Maximized;
  const bool sys = c.captionFlags & cfSysMenu;
  const bool maxBox = c.captionFlags & cfMaximizeBox, minBox = c.captionFlags & cfMinimizeBox;
  switch (code) {
    case 0:
      return true;
    case 1:
      return maximized;
    case 2:
      return !maximized;
    case 3:
      return c.active;
    case 4:
      return !c.active;
    case 6:
      return (second || sys) && maxBox;
    case 8:
      return (second || sys) && minBox;
    case 7:
      return !maxBox;
    case 9:
      return !minBox;
    case 100:
      return second || c.mdiFrameWithMaximizedChild;
    default:
      break;
  }
  if (second) return false;
  if (code == 200) return c.borderKind == 3 && !c.isDialog;
  if (code >= 201 && code <= 999) return true;
  if (code >= 1000 && code <= 2000) return false;  // asked by the caller
  return false;
}

namespace {

QSize buttonSize(const TDataSkinSysButton& b) {
  if (!b.hasImage()) return QSize(TSkinData::SmallIconSize, TSkinData::SmallIconSize);
  return QSize(b.Bitmap.width() / b.frames(), b.Bitmap.height());
}

bool codeVisible(int code, bool second, int action, const CaptionContext& c) {
  if (!second && code >= 1000 && code <= 2000)
    return c.askVisible && c.askVisible(code, action) >= 1;
  return VisibilityHolds(code, second, c);
}

}  // namespace

QRect CaptionButtonRect(const TDataSkinSysButton& b, const CaptionContext& c) {
  const QSize s = buttonSize(b);
  switch (b.Align) {
    case 0:
      return QRect(QPoint(b.Xcoord, b.Ycoord), s);
    case 1:
      return QRect(QPoint(c.windowWidth - b.Xcoord, b.Ycoord), s);
    case 2:
    case 8:
      return QRect(QPoint(c.captionEnd - b.Xcoord - s.width(), b.Ycoord), s);
    case 3:
    case 9:
      return QRect(QPoint(c.captionStart + b.Xcoord, b.Ycoord), s);
    case 100:
      return QRect(QPoint(c.windowWidth - b.Xcoord - c.border.right() - c.menuBarLeftWidth,
                          c.border.top() + (c.menuHeight - s.height()) / 2),
                   s);
    default:
      return QRect(QPoint(b.Xcoord, b.Ycoord), s);
  }
}

CaptionSpan CaptionTextSpan(const std::vector<CaptionButton>& buttons, const TDataSkinTitle* title,
                            int windowWidth, QMargins border) {
  CaptionSpan s{border.left() + 4, windowWidth - border.right() - 4};
  for (const CaptionButton& b : buttons) {
    if (!b.visible || !b.def) continue;
    if (b.def->Align == 0) s.start = std::max(s.start, b.rect.right() + 1 + 4);
    if (b.def->Align == 1) s.end = std::min(s.end, b.rect.left() - 4);
  }
  if (title) {
    s.start += title->TextShift();
    s.end -= title->TextRightClip();
  }
  if (s.end < s.start) s.end = s.start;
  return s;
}

std::vector<CaptionButton> LayoutCaptionButtons(const TSkinData& skin, const CaptionContext& c) {
  std::vector<CaptionButton> out;
  for (const auto& def : skin.SysButtons()) {
    CaptionButton b;
    b.def = def.get();
    b.visible = codeVisible(def->Visibility, false, def->Action, c) &&
                codeVisible(def->Visibility1, true, def->Action, c);
    const bool sys = c.captionFlags & cfSysMenu;
    if (def->Action == 0 && !sys) b.visible = false;
    if ((def->Action == 3 || def->Action == 11 || def->Action == 12) && c.borderKind == 3)
      b.visible = false;
    if (def->Action == 1) b.enabled = sys && (c.captionFlags & cfMaximizeBox);
    if (def->Action == 2) b.enabled = sys && (c.captionFlags & cfMinimizeBox);
    out.push_back(b);
  }
  // Buttons at fixed places first; those aligned to the caption text follow its span.
  CaptionContext cc = c;
  for (CaptionButton& b : out)
    if (b.def->Align == 0 || b.def->Align == 1 || b.def->Align == 100)
      b.rect = CaptionButtonRect(*b.def, cc);
  if (cc.captionStart == 0 && cc.captionEnd == 0) {
    const CaptionSpan span = CaptionTextSpan(out, skin.Title(), c.windowWidth, c.border);
    cc.captionStart = span.start;
    cc.captionEnd = span.end;
  }
  for (CaptionButton& b : out)
    if (!(b.def->Align == 0 || b.def->Align == 1 || b.def->Align == 100))
      b.rect = CaptionButtonRect(*b.def, cc);
  return out;
}

HitResult FrameHitTest(QPoint p, QSize window, QMargins border, int menuHeight, bool sizeable,
                       WinState state, const std::vector<CaptionButton>& buttons) {
  for (size_t i = 0; i < buttons.size(); ++i) {
    const CaptionButton& b = buttons[i];
    if (b.visible && b.def && b.def->Action >= 0 && b.rect.contains(p))
      return {Hit::Button, static_cast<int>(i)};
  }
  const int W = window.width(), H = window.height();
  if (!QRect(QPoint(0, 0), window).contains(p)) return {Hit::Client, -1};
  const QRect client(border.left(), border.top() + menuHeight, W - border.left() - border.right(),
                     H - border.top() - menuHeight - border.bottom());
  if (client.contains(p)) return {Hit::Client, -1};
  const bool resize = sizeable && state == WinState::Normal;
  if (resize) {
    const int corner = std::max(16, border.top());
    const bool left = p.x() < border.left(), right = p.x() >= W - border.right();
    const bool top = p.y() < 3, bottom = p.y() >= H - border.bottom();
    const bool nearLeft = p.x() < corner, nearRight = p.x() >= W - corner;
    const bool nearTop = p.y() < corner, nearBottom = p.y() >= H - corner;
    if ((top && nearLeft) || (left && nearTop)) return {Hit::TopLeft, -1};
    if ((top && nearRight) || (right && nearTop)) return {Hit::TopRight, -1};
    if ((bottom && nearLeft) || (left && nearBottom)) return {Hit::BottomLeft, -1};
    if ((bottom && nearRight) || (right && nearBottom)) return {Hit::BottomRight, -1};
    if (top) return {Hit::Top, -1};
    if (left) return {Hit::Left, -1};
    if (right) return {Hit::Right, -1};
    if (bottom) return {Hit::Bottom, -1};
  }
  if (p.y() < border.top()) return {Hit::Caption, -1};
  if (p.y() < border.top() + menuHeight) return {Hit::Menu, -1};
  return {Hit::Border, -1};
}

ButtonEffect ButtonActionFor(int action, WinState state, bool closeAllowed) {
  switch (action) {
    case 0:
      return closeAllowed ? ButtonEffect::Close : ButtonEffect::None;
    case 1:
    case 22:
      return state == WinState::Maximized ? ButtonEffect::Restore : ButtonEffect::Maximize;
    case 2:
    case 23:
      return state == WinState::Minimized ? ButtonEffect::Restore : ButtonEffect::Minimize;
    case 3:
    case 11:
    case 12:
      return ButtonEffect::SysMenu;
    case 7:
    case 60:
      return ButtonEffect::Minimize;
    case 8:
    case 61:
      return ButtonEffect::Restore;
    case 9:
    case 62:
      return ButtonEffect::Close;
    default:
      return ButtonEffect::Signal;
  }
}

std::vector<SysMenuItem> SystemMenuItems(WinState state, int captionFlags, bool sizeable) {
  const bool normal = state == WinState::Normal;
  const bool maxBox = captionFlags & cfMaximizeBox, minBox = captionFlags & cfMinimizeBox;
  return {
      {QStringLiteral("還原"), SC_RESTORE, 0, !normal, {}},
      {QStringLiteral("移動"), SC_MOVE, -1, state != WinState::Maximized, {}},
      {QStringLiteral("大小"), SC_SIZE, -1, sizeable && state != WinState::Maximized, {}},
      {QStringLiteral("最小化"), SC_MINIMIZE, 2, state != WinState::Minimized && minBox, {}},
      {QStringLiteral("最大化"), SC_MAXIMIZE, 1, state != WinState::Maximized && maxBox, {}},
      {QStringLiteral("-"), 0, -1, true, {}},
      {QStringLiteral("關閉"), SC_CLOSE, 3, true, QStringLiteral("Alt+F4")},
  };
}

namespace {

// The non-magenta pixels of img (placed at origin) as a region, row by row.
QRegion opaqueRuns(const QImage& img, QPoint origin, const QRect& area) {
  QList<QRect> runs;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    int x = area.left();
    while (x <= area.right()) {
      while (x <= area.right() && isMagenta(line[x])) ++x;
      const int start = x;
      while (x <= area.right() && !isMagenta(line[x])) ++x;
      if (x > start) runs.append(QRect(start + origin.x(), y + origin.y(), x - start, 1));
    }
  }
  // One row after another, left to right: the banded order setRects expects.
  QRegion part;
  if (!runs.isEmpty()) part.setRects(runs.constData(), static_cast<int>(runs.size()));
  return part;
}

}  // namespace

QRegion FrameRegion(const QImage& frame, QMargins border, int menuHeight,
                    const std::array<bool, 4>& transLTRB) {
  const int W = frame.width(), H = frame.height();
  QRegion r(border.left(), border.top(), W - border.left() - border.right(),
            H - border.top() - border.bottom());
  r += QRect(border.left(), border.top(), W - border.left() - border.right(), menuHeight);
  // The side bands stand between the title and the bottom band, which are painted over
  // them, so the title's transparent corners cut the mask.
  const int sideH = H - border.top() - border.bottom();
  const QRect bands[4] = {QRect(0, border.top(), border.left(), sideH),
                          QRect(W - border.right(), border.top(), border.right(), sideH),
                          QRect(0, 0, W, border.top()),
                          QRect(0, H - border.bottom(), W, border.bottom())};
  const int thick[4] = {border.left(), border.right(), border.top(), border.bottom()};
  // Runs of non-magenta pixels per row, merged into the region row by row.
  for (int i = 0; i < 4; ++i) {
    const QRect& band = bands[i];
    if (band.isEmpty()) continue;
    if (!transLTRB[static_cast<size_t>(i)] || thick[i] < 2) {
      r += band;
      continue;
    }
    r += opaqueRuns(frame, QPoint(0, 0), band);
  }
  return r;
}

QRegion SkinFrameRegion(const TSkinData& skin, QSize window, QMargins border, int menuHeight,
                        bool active) {
  const int W = window.width(), H = window.height();
  QRegion r(border.left(), border.top(), W - border.left() - border.right(),
            H - border.top() - border.bottom());
  const int sideH = H - border.top() - border.bottom();
  // The sides are painted the full height, the title over them: their visible part begins
  // below the title.
  struct Band {
    const TDataSkinObject* o;
    QRect rect;
    int thick;
    bool vertical;
  } bands[4] = {
      {skin.LeftBorder(), QRect(0, border.top(), border.left(), sideH), border.left(), false},
      {skin.RightBorder(), QRect(W - border.right(), border.top(), border.right(), sideH),
       border.right(), false},
      {skin.TopBorder(), QRect(0, 0, W, border.top()), border.top(), true},
      {skin.BottomBorder(), QRect(0, H - border.bottom(), W, border.bottom()), border.bottom(),
       true}};
  (void)menuHeight;  // the menu band lies inside the client rectangle above
  for (const Band& b : bands) {
    if (b.rect.isEmpty()) continue;
    if (!b.o || !b.o->hasImage() || b.o->Trans != 1 || b.thick < 2) {
      r += b.rect;
      continue;
    }
    const int frame = (active || b.o->frames() == 1) ? 1 : 2;
    const QSize painted = b.vertical ? b.rect.size() : QSize(b.rect.width(), H);
    const QImage img = StretchSkinImage(painted, b.o->Bitmap, b.o->edges(), b.o->Tile != 1,
                                        b.vertical, b.o->frames(), frame);
    const int top = b.vertical ? 0 : b.rect.top();
    r += opaqueRuns(img, b.rect.topLeft() - QPoint(0, top),
                    QRect(0, top, b.rect.width(), b.rect.height()));
  }
  return r;
}

TColor TitleTextColour(const TSkinData& skin, bool active) {
  const TDataSkinTitle* t = skin.Title();
  if (t) {
    const int c = active ? t->ActiveText : t->InActiveText;
    if (c != TDataSkinTitle::NotGiven) return static_cast<TColor>(c);
  }
  return active ? skin.Colours().TitleTextActive : skin.Colours().TitleTextNoActive;
}

namespace {

int activeFrame(const TDataSkinObject& o, bool active) {
  return (active || o.frames() == 1) ? 1 : 2;
}

void paintBand(QPainter& p, const QRect& r, const TDataSkinObject* o, bool active, bool vertical,
               bool keyed) {
  if (!o || !o->hasImage() || r.isEmpty()) return;
  // "Stretch" 1 stretches the middle; anything else tiles it.
  DrawSkinImage(p, r, o->Bitmap, o->edges(), activeFrame(*o, active), o->frames(),
                keyed && o->Trans != 0, o->Tile != 1, vertical);
}

}  // namespace

QFont CaptionFont(const TSkinData& skin, const QFont& base, int titleHeight) {
  const TDataSkinTitle* t = skin.Title();
  QFont font = base;
  font.setBold(true);
  font.setPixelSize(std::clamp(t ? t->FontHeight - 2 : 12, 9, std::max(9, titleHeight - 4)));
  return font;
}

CaptionSpan PaintFrame(QPainter& p, const TSkinData& skin, const FramePaint& f) {
  const QMargins b = f.border;
  const int W = f.window.width(), H = f.window.height();
  if (f.state != WinState::Minimized) {
    // The sides run the window's full height under the title. Keyed, the title's transparent
    // corners leave what lies below them unpainted, so the sides are cut off at the title.
    p.save();
    if (f.keyed) p.setClipRect(QRect(0, b.top(), W, H - b.top()), Qt::IntersectClip);
    paintBand(p, QRect(0, 0, b.left(), H), skin.LeftBorder(), f.active, false, f.keyed);
    paintBand(p, QRect(W - b.right(), 0, b.right(), H), skin.RightBorder(), f.active, false,
              f.keyed);
    p.restore();
    paintBand(p, QRect(b.left(), H - b.bottom(), W - b.left() - b.right(), b.bottom()),
              skin.BottomBorder(), f.active, true, f.keyed);
  }
  const QRect title(0, 0, W, b.top());
  paintBand(p, title, skin.TopBorder(), f.active, true, f.keyed);
  CaptionSpan span{b.left() + 4, W - b.right() - 4};
  if (f.buttons) {
    span = CaptionTextSpan(*f.buttons, skin.Title(), W, b);
    for (const CaptionButton& cb : *f.buttons) {
      if (!cb.visible || !cb.def) continue;
      const TDataSkinSysButton& d = *cb.def;
      if (d.Action == 3 || d.Action == 11) {
        const QImage& icon = !f.icon.isNull() ? f.icon : skin.SysMenuIcon;
        if (!icon.isNull()) p.drawImage(cb.rect, KeyedImage(icon));
        continue;
      }
      if (!d.hasImage()) continue;
      int frame = cb.state;
      if (!cb.enabled) frame = d.frames() < 4 ? 1 : 4;
      if (d.Visibility == 100 && cb.state == 3) frame = 4;
      DrawImageFrame(p, cb.rect, d.Bitmap, frame, d.frames(), true);
    }
  }
  const TDataSkinTitle* t = skin.Title();
  if (!f.caption.isEmpty() && span.end > span.start && b.top() > 0) {
    p.setFont(CaptionFont(skin, f.font, b.top()));
    p.setPen(toQColor(TitleTextColour(skin, f.active)));
    int align = Qt::AlignVCenter;
    switch (t ? t->TextAlignment : 0) {
      case 1:
        align |= Qt::AlignHCenter;
        break;
      case 2:
        align |= Qt::AlignRight;
        break;
      default:
        align |= Qt::AlignLeft;
        break;
    }
    const QRect textRect(span.start, (t ? t->TextShiftVert() : 0), span.end - span.start, b.top());
    // Laying the caption out is the dearest part of a frame; a painter clipped elsewhere
    // (one band of the frame) skips it.
    if (!p.hasClipping() || p.clipBoundingRect().toAlignedRect().intersects(textRect)) {
      const QString text = p.fontMetrics().elidedText(f.caption, Qt::ElideRight, textRect.width());
      p.drawText(textRect, align, text);
    }
  }
  return span;
}

QImage PaintFrameImage(const TSkinData& skin, const FramePaint& f) {
  QImage img(f.window, QImage::Format_RGB32);
  img.fill(Qt::magenta);
  QPainter p(&img);
  PaintFrame(p, skin, f);
  return img;
}

}  // namespace ruto
