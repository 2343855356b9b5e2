#pragma once
// The skin's style: over the program's own style it paints the menu band of skinned windows,
// its items, the panels of popup menus and the items of skinned windows' menus, and (when the
// skin data asks for it) tool-bar buttons, from the skin's images and colours. Everything else
// keeps the program's look and metrics, so a window's client is the same skinned and unskinned.

#include <QList>
#include <QPalette>
#include <QProxyStyle>

class QMenu;
class QStyleOptionMenuItem;

namespace ruto {

class TSkinData;
struct TDataSkinButton;
struct TDataSkinObject;
class TSkinManage;

class SkinStyle : public QProxyStyle {
  Q_OBJECT
 public:
  // base: the name of the style underneath ("Windows" when it is unknown).
  SkinStyle(TSkinManage* manager, const QString& base);

  void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                     const QWidget* w = nullptr) const override;
  void drawControl(ControlElement ce, const QStyleOption* opt, QPainter* p,
                   const QWidget* w = nullptr) const override;
  QSize sizeFromContents(ContentsType ct, const QStyleOption* opt, const QSize& size,
                         const QWidget* w) const override;
  QRect subElementRect(SubElement se, const QStyleOption* opt,
                       const QWidget* w = nullptr) const override;
  int pixelMetric(PixelMetric pm, const QStyleOption* opt = nullptr,
                  const QWidget* w = nullptr) const override;
  // A skinned window's menu bar takes Alt and F10 itself (TSkinMenuBar).
  int styleHint(StyleHint hint, const QStyleOption* opt = nullptr, const QWidget* w = nullptr,
                QStyleHintReturn* ret = nullptr) const override;
  // Controls of skinned windows (ControlSkins); the base look for every other widget.
  void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                          const QWidget* w = nullptr) const override;
  QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                       const QWidget* w = nullptr) const override;
  SubControl hitTestComplexControl(ComplexControl cc, const QStyleOptionComplex* opt,
                                   const QPoint& pt, const QWidget* w = nullptr) const override;
  void polish(QWidget* w) override;
  void unpolish(QWidget* w) override;
  using QProxyStyle::polish;
  using QProxyStyle::unpolish;

  // The skin of the window a widget belongs to (popup menus: the window that opened them);
  // null for unskinned windows.
  const TSkinData* skinOf(const QWidget* w) const;
  // The skin a popup menu's window (its panel and border) is painted with, gated by the
  // menu's kind; null while skinning is off or when the gate is closed.
  const TSkinData* popupSkin(const QWidget* w) const;
  // The skin that draws and measures a menu's items: the window's own skin for the menus of
  // its bar, its own popup menus and its system menu, whether or not skinning is on; null for
  // other menus (an edit's standard menu, say), whose items keep their own look.
  const TSkinData* menuItemSkin(const QWidget* w) const;
  // 0 context menu, 1 a window's menu, 2 the system menu.
  static int popupKind(const QMenu* menu);

 private:
  const TSkinData* menuBarSkin(const QWidget* w) const;
  // The "MenuBackground" object a popup's panel is painted from; null when the popup keeps
  // the base look.
  const TDataSkinObject* popupBackground(const QWidget* w) const;
  // Width of the glyph column: the menu's icon size once an item has an icon, else 16.
  int glyphWidth(const QStyleOptionMenuItem& mi, const QWidget* w) const;
  // The button image a tool-bar button is framed with; null when it keeps its own look.
  const TDataSkinButton* toolBarButtons(const QWidget* w) const;
  // Frame of the button image under a tool-bar button: pressed 2, hot or focused 4, else none.
  static int toolButtonFrame(State state);
  // The shared palette of pal's colours (most recently used first).
  const QPalette& sharedPalette(const QPalette& pal) const;
  static constexpr qsizetype kSharedPalettes = 32;
  TSkinManage* manager_;
  mutable QList<QPalette> palettes_;
};

// Paints the menu band of a skinned window into r (the whole band).
void PaintMenuBand(QPainter& p, const QRect& r, const TSkinData& skin, bool active);
// The foreground of one menu item: glyph column, caption and short cut.
void DrawMenuItemContent(QPainter& p, const TSkinData& skin, const QRect& r, const QString& text,
                         const QIcon& icon, bool checked, bool enabled, bool selected,
                         bool isDefault, int glyphWidth, bool rightToLeft = false);

}  // namespace ruto
