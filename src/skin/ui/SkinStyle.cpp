#include "skin/ui/SkinStyle.h"

#include <QDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>
#include <array>

#include "skin/SkinData.h"
#include "skin/ui/ControlSkins.h"
#include "skin/ui/FormSkin.h"
#include "skin/ui/SkinManager.h"

namespace ruto {

namespace {

constexpr int kPopupPanel = 3;
constexpr int kMenuItemHeight = 22;
constexpr int kSeparatorHeight = 8;
// The menu tick, drawn pixel by pixel so it stays crisp at any size of the item.
constexpr int kCheckMarkSize = 7;
constexpr std::array<const char*, kCheckMarkSize> kCheckMark = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};

// The window a widget belongs to; a popup menu belongs to the window that opened it.
const QWidget* ownerWindow(const QWidget* w) {
  while (w && qobject_cast<const QMenu*>(w->window())) w = w->window()->parentWidget();
  return w ? w->window() : nullptr;
}

// Hands the painters an option whose palette is the shared one of equal colours for the
// length of one draw call, and gives the caller its own palette back afterwards.
class SharedPalette {
 public:
  SharedPalette(const QStyleOption* opt, const QPalette& shared)
      : opt_(const_cast<QStyleOption*>(opt)) {
    if (!opt_ || opt_->palette.isCopyOf(shared)) {
      opt_ = nullptr;
      return;
    }
    own_ = opt_->palette;
    opt_->palette = shared;
    opt_->palette.setCurrentColorGroup(own_.currentColorGroup());
  }
  ~SharedPalette() {
    if (opt_) opt_->palette = own_;
  }
  SharedPalette(const SharedPalette&) = delete;
  SharedPalette& operator=(const SharedPalette&) = delete;

 private:
  QStyleOption* opt_;
  QPalette own_;
};

int menuItemLeft(const TSkinData& skin) {
  const TDataSkinObject* item = skin.object(QStringLiteral("MenuItem"));
  return item && item->hasImage() ? item->LeftWidth : 0;
}

// The popup's "MenuBackground" image over the whole popup `panel`.
void paintPopupBackground(QPainter& p, const QRect& panel, const TDataSkinObject& back) {
  DrawSkinImage(p, panel, back.Bitmap, back.edges(), 1, 1, false, back.Tile == 1, false);
}

QColor textColour(const TSkinData& skin, bool enabled, bool selected) {
  const SkinColours& c = skin.Colours();
  if (!enabled) return toQColor(c.ButtonShadow == c.MenuText ? clBtnShadow : c.ButtonShadow);
  return toQColor(selected ? c.HilightText : c.MenuText);
}

}  // namespace

SkinStyle::SkinStyle(TSkinManage* manager, const QString& base)
    : QProxyStyle(QStyleFactory::keys().contains(base, Qt::CaseInsensitive)
                      ? QStyleFactory::create(base)
                      : QStyleFactory::create(QStringLiteral("Windows"))),
      manager_(manager) {
  setParent(manager);
}

// Every widget of a window with its own palette holds a palette of its own, made anew each
// time the window opens, and the base style keys its cached pixmaps by the palette's cache
// key: the cache's bookkeeping would grow with every window opened. Painting with one shared
// palette per set of colours keeps the keys the same from one window to the next.
const QPalette& SkinStyle::sharedPalette(const QPalette& pal) const {
  for (qsizetype i = 0; i < palettes_.size(); ++i) {
    if (palettes_[i].isCopyOf(pal) || palettes_[i] == pal) {
      if (i > 0) palettes_.move(i, 0);
      return palettes_.front();
    }
  }
  // A handful of colour sets is in use at a time; the least recently used makes room.
  if (palettes_.size() >= kSharedPalettes) palettes_.removeLast();
  palettes_.prepend(pal);
  return palettes_.front();
}

const TSkinData* SkinStyle::skinOf(const QWidget* w) const {
  const QWidget* win = ownerWindow(w);
  if (!win || !manager_) return nullptr;
  const TSkinForm* f = manager_->FindFormSkin(win);
  return f && f->attached() ? f->SkinData() : nullptr;
}

int SkinStyle::popupKind(const QMenu* menu) {
  const QVariant kind = menu->property("skinPopupKind");
  if (kind.isValid()) return kind.toInt();
  // A menu reached from a menu bar, directly or through parent menus, is a window's menu.
  for (const QObject* o : menu->menuAction()->associatedObjects()) {
    if (qobject_cast<const QMenuBar*>(o)) return 1;
    if (auto* parent = qobject_cast<const QMenu*>(o); parent && parent != menu)
      if (popupKind(parent) == 1) return 1;
  }
  return 0;
}

const TSkinData* SkinStyle::popupSkin(const QWidget* w) const {
  auto* menu = qobject_cast<const QMenu*>(w);
  if (!menu || !manager_ || !manager_->Active()) return nullptr;
  // The popup's window is skinned as a window of its own: a popup of an unskinned window
  // gets the panel too, and the items still decide for themselves.
  const TSkinData* skin = manager_->PopupSkinData();
  if (!skin || !skin->SkinLoaded()) return nullptr;
  switch (popupKind(menu)) {
    case 1:
      return skin->SkinControls.test(xcMainMenu) || skin->SkinControls.test(xcMenuItem) ? skin
                                                                                        : nullptr;
    case 2:
      return skin->SkinControls.test(xcSystemMenu) ? skin : nullptr;
    default:
      return skin->SkinControls.test(xcPopupMenu) ? skin : nullptr;
  }
}

const TSkinData* SkinStyle::menuItemSkin(const QWidget* w) const {
  auto* menu = qobject_cast<const QMenu*>(w);
  const TSkinData* skin = menu ? skinOf(menu) : nullptr;
  if (!skin) return nullptr;
  const int kind = popupKind(menu);
  // The skinned system menu is the skin's own menu, whatever the gates say.
  if (kind == 2) return skin;
  // A menu tagged off keeps its own items in any window.
  if (menu->property(kTagProperty).toInt() == skin->DisableTag) return nullptr;
  if (kind == 1)
    return skin->SkinControls.test(xcMainMenu) || skin->SkinControls.test(xcMenuItem) ? skin
                                                                                      : nullptr;
  if (!skin->SkinControls.test(xcPopupMenu)) return nullptr;
  // Only the window's own popup menus (and their submenus) are drawn by the skin; menus a
  // control makes for itself, such as an edit's, keep their items.
  const QWidget* parent = menu->parentWidget();
  while (qobject_cast<const QMenu*>(parent)) parent = parent->parentWidget();
  const bool ownMenu = parent && (parent->isWindow() || qobject_cast<const QDialog*>(parent) ||
                                  qobject_cast<const QMainWindow*>(parent));
  return ownMenu ? skin : nullptr;
}

const TDataSkinObject* SkinStyle::popupBackground(const QWidget* w) const {
  const TSkinData* skin = popupSkin(w);
  const TDataSkinObject* back = skin ? skin->object(QStringLiteral("MenuBackground")) : nullptr;
  return back && back->hasImage() ? back : nullptr;
}

int SkinStyle::glyphWidth(const QStyleOptionMenuItem& mi, const QWidget* w) const {
  // The menu allows a few pixels beside its icons; the column is the icons' own width.
  return mi.maxIconWidth > 0 ? proxy()->pixelMetric(PM_SmallIconSize, &mi, w) : 16;
}

const TDataSkinButton* SkinStyle::toolBarButtons(const QWidget* w) const {
  auto* tb = qobject_cast<const QToolButton*>(w);
  if (!tb || !qobject_cast<const QToolBar*>(tb->parentWidget())) return nullptr;
  const TSkinData* skin = skinOf(w);
  const TDataSkinButton* b = skin ? skin->Buttons() : nullptr;
  return skin && skin->SkinControls.test(xcToolbar) && b && b->hasImage() ? b : nullptr;
}

int SkinStyle::toolButtonFrame(State state) {
  if (!(state & State_Enabled)) return 0;
  if (state & State_Sunken) return 2;
  if (state & (State_MouseOver | State_HasFocus)) return 4;
  return 0;
}

const TSkinData* SkinStyle::menuBarSkin(const QWidget* w) const {
  if (!qobject_cast<const QMenuBar*>(w)) return nullptr;
  const TSkinData* skin = skinOf(w);
  return skin && skin->SkinControls.test(xcMainMenu) ? skin : nullptr;
}

void PaintMenuBand(QPainter& p, const QRect& r, const TSkinData& skin, bool active) {
  const TDataSkinObject* bar = skin.MenuBar();
  if (!bar || !bar->hasImage()) {
    p.fillRect(r, toQColor(skin.Colours().Menubar));
    return;
  }
  const SkinEdges e{bar->LeftWidth, 0, bar->RightWidth, 0};
  const int frame = active ? 1 : 2;
  if (bar->Tile == 1)
    DrawSkinImage(p, r, bar->Bitmap, e, frame, 2, false, false, true);
  else
    DrawThreePartImage(p, r, bar->Bitmap, e, frame, 2, false, true);
}

void DrawMenuItemContent(QPainter& p, const TSkinData& skin, const QRect& r, const QString& text,
                         const QIcon& icon, bool checked, bool enabled, bool selected,
                         bool isDefault, int glyphWidth, bool rightToLeft) {
  const int G = std::max(glyphWidth, 16);
  // Right to left the glyph column stands at the right edge.
  const QRect box(rightToLeft ? r.left() + r.width() - 1 - menuItemLeft(skin) - G
                              : r.left() + 1 + menuItemLeft(skin),
                  r.top() + 1, G, G);
  if (!icon.isNull()) {
    // Left to right the glyph is centred on the item's height; mirrored it stays at the top.
    QRect glyph = box;
    if (!rightToLeft) glyph.moveTop(r.top() + (r.height() - G) / 2);
    if (checked) {
      // A checked glyph stands on the system's dithered button ground, in a sunken edge that
      // starts where a 16-pixel glyph would be centred and ends with the glyph column.
      const QColor face = toQColor(ResolveColor(sysColor(COLOR_BTNFACE)));
      const QColor light = toQColor(ResolveColor(sysColor(COLOR_BTNHIGHLIGHT)));
      p.fillRect(box, face);
      p.fillRect(box, QBrush(light, Qt::Dense4Pattern));
      QRect edge = box;
      if (!rightToLeft) edge.setTop(r.top() + (r.height() - 16) / 2);
      p.setPen(toQColor(ResolveColor(sysColor(COLOR_BTNSHADOW))));
      p.drawLine(edge.topLeft(), edge.topRight());
      p.drawLine(edge.topLeft(), edge.bottomLeft());
      p.setPen(light);
      p.drawLine(edge.bottomLeft(), edge.bottomRight());
      p.drawLine(edge.topRight(), edge.bottomRight());
      glyph.moveTop(edge.top());
    }
    icon.paint(&p, glyph, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);
  } else if (checked) {
    // The tick keeps the button-text colour whatever the item's state; left to right it is
    // centred on the item's height, mirrored on the glyph column's.
    const int top = rightToLeft ? box.top() + (G - kCheckMarkSize) / 2
                                : r.top() + (r.height() - kCheckMarkSize) / 2;
    const QPoint at(box.left() + (G - kCheckMarkSize) / 2 + 1, top + 1);
    const QColor ink = toQColor(ResolveColor(sysColor(COLOR_BTNTEXT)));
    for (int y = 0; y < kCheckMarkSize; ++y)
      for (int x = 0; x < kCheckMarkSize; ++x)
        if (kCheckMark[static_cast<size_t>(y)][x] == '#')
          p.fillRect(at.x() + x, at.y() + y, 1, 1, ink);
  }
  const QString caption = text.section(QLatin1Char('\t'), 0, 0);
  const QString shortcut = text.section(QLatin1Char('\t'), 1);
  QFont f = p.font();
  f.setBold(isDefault);
  p.setFont(f);
  p.setPen(textColour(skin, enabled, selected));
  // Mirrored, the caption ends 3 pixels before the glyph column and the short cut starts 10
  // pixels in from the item's left.
  const QRect t =
      rightToLeft ? QRect(QPoint(r.left() + 1, r.top()), QPoint(box.left() - 4, r.bottom()))
                  : QRect(QPoint(box.right() + 1 + 3, r.top()), QPoint(r.right() - 1, r.bottom()));
  const Qt::Alignment near = rightToLeft ? Qt::AlignRight : Qt::AlignLeft;
  const Qt::Alignment far = rightToLeft ? Qt::AlignLeft : Qt::AlignRight;
  p.drawText(t, near | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, caption);
  if (!shortcut.isEmpty())
    p.drawText(rightToLeft ? t.adjusted(10, 0, 0, 0) : t.adjusted(0, 0, -10, 0),
               far | Qt::AlignVCenter | Qt::TextSingleLine, shortcut);
}

void SkinStyle::drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                              const QWidget* w) const {
  const SharedPalette shared(opt, opt ? sharedPalette(opt->palette) : QPalette());
  if (DrawSkinnedPrimitive(*this, pe, opt, p, w)) return;
  switch (pe) {
    case PE_PanelMenu:
    case PE_FrameMenu:
      // Without the skin's background image the popup keeps the base look, frame included.
      if (const TDataSkinObject* back = popupBackground(w)) {
        if (pe == PE_FrameMenu) return;  // the panel draws the border with the background
        // The image gives the border; inside it the menu keeps its own background unless the
        // skin asks for the image there too. Skinned items lay their part of it themselves.
        const bool inside = popupSkin(w)->Options.test(xoMenuBG);
        if (!inside) QProxyStyle::drawPrimitive(pe, opt, p, w);
        p->save();
        if (!inside)
          p->setClipRegion(QRegion(opt->rect) - opt->rect.adjusted(kPopupPanel, kPopupPanel,
                                                                   -kPopupPanel, -kPopupPanel),
                           Qt::IntersectClip);
        paintPopupBackground(*p, opt->rect, *back);
        p->restore();
        return;
      }
      break;
    case PE_PanelMenuBar:
      if (menuBarSkin(w)) return;
      break;
    case PE_PanelButtonTool:
      if (const TDataSkinButton* b = toolBarButtons(w)) {
        if (const int frame = toolButtonFrame(opt->state))
          DrawSkinImage(*p, opt->rect.adjusted(1, 1, -1, -1), b->Bitmap, b->edges(), frame, 5,
                        b->Trans != 0, false, false);
        return;
      }
      break;
    default:
      break;
  }
  QProxyStyle::drawPrimitive(pe, opt, p, w);
}

void SkinStyle::drawControl(ControlElement ce, const QStyleOption* opt, QPainter* p,
                            const QWidget* w) const {
  const SharedPalette shared(opt, opt ? sharedPalette(opt->palette) : QPalette());
  if (DrawSkinnedControl(*this, ce, opt, p, w)) return;
  switch (ce) {
    case CE_MenuBarEmptyArea:
      if (const TSkinData* skin = menuBarSkin(w)) {
        PaintMenuBand(*p, w->rect(), *skin, w->isActiveWindow());
        return;
      }
      break;
    case CE_MenuBarItem:
      if (const TSkinData* skin = menuBarSkin(w)) {
        const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(opt);
        if (!mi) break;
        p->save();
        p->setClipRect(mi->rect);
        PaintMenuBand(*p, w->rect(), *skin, w->isActiveWindow());
        p->restore();
        const bool enabled = mi->state & State_Enabled;
        // An item under the mouse is hot only while its window is active; an open one always.
        const bool hot = enabled && ((mi->state & State_Sunken) ||
                                     ((mi->state & State_Selected) && w->isActiveWindow()));
        if (hot) p->fillRect(mi->rect, toQColor(skin->Colours().Hilight));
        // A hot caption keeps the bar's text colour over the highlight, so the skin chooses its
        // highlight to carry that colour; a disabled one looks as disabled menu items do.
        p->setPen(enabled ? toQColor(skin->Colours().MenuBarText)
                          : textColour(*skin, false, false));
        int flags = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
        if (!proxy()->styleHint(SH_UnderlineShortcut, mi, w)) flags |= Qt::TextHideMnemonic;
        p->drawText(mi->rect, flags, mi->text);
        return;
      }
      break;
    case CE_ToolButtonLabel:
      // The caption over a hot or pressed frame takes that frame's text colour when the
      // skin gives one.
      if (const TDataSkinButton* b = toolBarButtons(w)) {
        const auto* tb = qstyleoption_cast<const QStyleOptionToolButton*>(opt);
        const int frame = toolButtonFrame(opt->state);
        const bool given = frame == 4   ? b->MouseOverColour2Given
                           : frame == 2 ? b->PressedColour2Given
                                        : false;
        if (tb && given) {
          QStyleOptionToolButton o(*tb);
          const QColor text =
              toQColor(ResolveColor(frame == 4 ? b->MouseOverColour2 : b->PressedColour2));
          o.palette.setColor(QPalette::ButtonText, text);
          o.palette.setColor(QPalette::WindowText, text);
          QProxyStyle::drawControl(ce, &o, p, w);
          return;
        }
      }
      break;
    case CE_MenuEmptyArea:
      if (popupBackground(w)) {
        drawPrimitive(PE_PanelMenu, opt, p, w);
        return;
      }
      break;
    case CE_MenuItem:
      if (const TSkinData* skin = menuItemSkin(w)) {
        const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(opt);
        if (!mi) break;
        const QRect r = mi->rect;
        const TDataSkinObject* item = skin->object(QStringLiteral("MenuItem"));
        // The item is composed over its part of the popup's skinned background, or the skin's
        // menu colour where the popup has none.
        if (const TDataSkinObject* back = popupBackground(w)) {
          p->save();
          p->setClipRect(r, Qt::IntersectClip);
          paintPopupBackground(*p, w->rect(), *back);
          p->restore();
        } else {
          p->fillRect(r, toQColor(skin->Colours().Menu));
        }
        if (mi->menuItemType == QStyleOptionMenuItem::Separator) {
          // The item image only lays the separator's background; a skin whose image middle is
          // the plain menu colour would otherwise leave a blank gap, so the line goes over it.
          if (item && item->hasImage())
            StretchThreePartImage(*p, r, KeyedImage(item->Bitmap), item->edges(), 1, item->frames(),
                                  false);
          const int y = r.top() + 4;
          p->setPen(toQColor(skin->Colours().ButtonShadow));
          p->drawLine(r.left() + 3, y, r.right() - 1, y);
          p->setPen(toQColor(skin->Colours().ButtonHilight));
          p->drawLine(r.left() + 3, y + 1, r.right() - 1, y + 1);
          return;
        }
        const bool enabled = mi->state & State_Enabled;
        const bool selected = enabled && (mi->state & State_Selected);
        if (item && item->hasImage())
          DrawSkinImage(*p, r, item->Bitmap, item->edges(), selected ? 4 : 1, 5, item->Trans != 0,
                        item->Tile == 1, false);
        else
          p->fillRect(r, toQColor(selected ? skin->Colours().Hilight : skin->Colours().Menu));
        p->save();
        p->setFont(mi->font);
        DrawMenuItemContent(*p, *skin, r, mi->text, mi->icon,
                            mi->checkType != QStyleOptionMenuItem::NotCheckable && mi->checked,
                            enabled, selected,
                            mi->menuItemType == QStyleOptionMenuItem::DefaultItem,
                            glyphWidth(*mi, w), mi->direction == Qt::RightToLeft);
        p->restore();
        if (mi->menuItemType == QStyleOptionMenuItem::SubMenu) {
          const bool rtl = mi->direction == Qt::RightToLeft;
          QStyleOption arrow(*opt);
          arrow.rect =
              QRect(rtl ? r.left() + 5 : r.right() - 14, r.top() + (r.height() - 9) / 2, 9, 9);
          arrow.palette.setColor(QPalette::ButtonText, textColour(*skin, enabled, selected));
          QProxyStyle::drawPrimitive(rtl ? PE_IndicatorArrowLeft : PE_IndicatorArrowRight, &arrow,
                                     p, w);
        }
        return;
      }
      break;
    default:
      break;
  }
  QProxyStyle::drawControl(ce, opt, p, w);
}

QSize SkinStyle::sizeFromContents(ContentsType ct, const QStyleOption* opt, const QSize& size,
                                  const QWidget* w) const {
  if (QSize out; SkinnedSizeFromContents(*this, ct, opt, size, w, out)) return out;
  switch (ct) {
    case CT_MenuBarItem:
      if (menuBarSkin(w)) {
        // An item without caption takes no room on the bar.
        const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(opt);
        const bool blank = mi && mi->text.isEmpty() && mi->icon.isNull();
        return QSize(blank ? 0 : size.width() + 10, TSkinData::MenuHeight - 1);
      }
      break;
    case CT_MenuItem:
      if (const TSkinData* skin = menuItemSkin(w)) {
        const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(opt);
        if (!mi) break;
        if (mi->menuItemType == QStyleOptionMenuItem::Separator) return QSize(10, kSeparatorHeight);
        const QFontMetrics fm(mi->font);
        const QString caption = mi->text.section(QLatin1Char('\t'), 0, 0);
        // The system menu's items: the caption and a fixed allowance, as high as the base
        // style's items and a little more; the menu adds the short-cut column itself.
        if (popupKind(qobject_cast<const QMenu*>(w)) == 2)
          return QSize(fm.horizontalAdvance(QString(caption).remove(QLatin1Char('&'))) + 26 +
                           menuItemLeft(*skin),
                       QProxyStyle::sizeFromContents(ct, opt, size, w).height() + 4);
        const QString shortcut = mi->text.section(QLatin1Char('\t'), 1);
        int width = 1 + menuItemLeft(*skin) + std::max(glyphWidth(*mi, w), 16) + 3 +
                    fm.horizontalAdvance(QString(caption).remove(QLatin1Char('&'))) + 35;
        if (!shortcut.isEmpty()) width += fm.horizontalAdvance(shortcut) + 20;
        return QSize(width, std::max(kMenuItemHeight, fm.height() + 6));
      }
      break;
    default:
      break;
  }
  return QProxyStyle::sizeFromContents(ct, opt, size, w);
}

QRect SkinStyle::subElementRect(SubElement se, const QStyleOption* opt, const QWidget* w) const {
  if (QRect out; SkinnedSubElementRect(*this, se, opt, w, out)) return out;
  return QProxyStyle::subElementRect(se, opt, w);
}

int SkinStyle::pixelMetric(PixelMetric pm, const QStyleOption* opt, const QWidget* w) const {
  if (int out = 0; SkinnedPixelMetric(*this, pm, opt, w, out)) return out;
  switch (pm) {
    case PM_MenuBarPanelWidth:
    case PM_MenuBarVMargin:
    case PM_MenuBarItemSpacing:
      if (menuBarSkin(w)) return 0;
      break;
    case PM_MenuBarHMargin:
      if (const TSkinData* skin = menuBarSkin(w)) {
        const TDataSkinObject* bar = skin->MenuBar();
        if (!bar || !bar->hasImage()) return 6;
        // The first item clears the image's edge on the side the items start from.
        const int margin = w->isRightToLeft() ? bar->RightWidth + 8 : bar->LeftWidth + 4;
        return margin > w->width() ? 12 : margin;
      }
      break;
    case PM_MenuPanelWidth:
      if (popupBackground(w)) return kPopupPanel;
      break;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
      if (popupBackground(w)) return 0;
      break;
    default:
      break;
  }
  return QProxyStyle::pixelMetric(pm, opt, w);
}

int SkinStyle::styleHint(StyleHint hint, const QStyleOption* opt, const QWidget* w,
                         QStyleHintReturn* ret) const {
  // The bar's own keyboard handling would keep the keyboard after a menu of the bar is left.
  if (hint == SH_MenuBar_AltKeyNavigation && menuBarSkin(w)) return 0;
  // A combo box's list drops below the box, leaving the box and its button in sight.
  if (hint == SH_ComboBox_Popup) return 0;
  return QProxyStyle::styleHint(hint, opt, w, ret);
}

void SkinStyle::drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                                   const QWidget* w) const {
  const SharedPalette shared(opt, opt ? sharedPalette(opt->palette) : QPalette());
  if (DrawSkinnedComplexControl(*this, cc, opt, p, w)) return;
  QProxyStyle::drawComplexControl(cc, opt, p, w);
}

QRect SkinStyle::subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                                const QWidget* w) const {
  if (QRect out; SkinnedSubControlRect(*this, cc, opt, sc, w, out)) return out;
  return QProxyStyle::subControlRect(cc, opt, sc, w);
}

QStyle::SubControl SkinStyle::hitTestComplexControl(ComplexControl cc,
                                                    const QStyleOptionComplex* opt,
                                                    const QPoint& pt, const QWidget* w) const {
  if (SubControl out = SC_None; SkinnedHitTest(*this, cc, opt, pt, w, out)) return out;
  return QProxyStyle::hitTestComplexControl(cc, opt, pt, w);
}

void SkinStyle::polish(QWidget* w) {
  QProxyStyle::polish(w);
  PolishControl(w);
}

void SkinStyle::unpolish(QWidget* w) {
  UnpolishControl(w);
  QProxyStyle::unpolish(w);
}

}  // namespace ruto
