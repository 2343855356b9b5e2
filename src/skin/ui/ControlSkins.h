#pragma once
// The control skins of the skin style: which kind a live widget paints as, and the entry
// points the style calls first for every element. Each entry answers false when the widget
// is not skinned (its window has no form skin, its kind is none, its image is missing), so
// the style falls through to the base look.

#include <QStyle>
#include <functional>

#include "skin/ControlMapping.h"

class QPushButton;
class QTabWidget;
class QWidget;

namespace ruto {

class SkinStyle;

// What the mapping needs of a live widget.
ControlFacts ReadControlFacts(const QWidget* w, const TSkinData* skin);
ControlMapping MapControl(const QWidget* w, const TSkinControlTypes& gates,
                          const QStringList& skin3rd);

// The skin and kind a widget paints with now; a null skin when it paints the base look.
struct SkinnedControl {
  const TSkinData* skin = nullptr;
  ControlKind kind = ControlKind::None;
  explicit operator bool() const { return skin && kind != ControlKind::None; }
};
SkinnedControl SkinnedKind(const SkinStyle& style, const QWidget* w);

// Offers every control of a window being skinned to the skin data's OnSkinControl; a kind
// it hands back is the control's skin from then on.
void SkinFormControls(QWidget* window, TSkinData* skin);

// The controls of a window take the skin it has now: kinds mapped anew, the face colour
// (panels, pages, grids' fixed cells) and the status-bar text colour of the skin now loaded,
// or their own colours back once its skin is gone. Run after a reload, when a window took
// another skin than its controls were polished with, and when one window alone lost its skin.
void RefreshControlSkins(QWidget* window);

// The per-control switch: a control switched off paints the base look until switched on.
void SetControlSkinActive(QWidget* w, bool on);
bool ControlSkinActive(const QWidget* w);

// Tag values the control skins read: no face fill behind the control's image, and close
// boxes on the tabs of a tab widget. Further dynamic properties they read: "tabStyle"
// ("buttons": tabs drawn as buttons), "bevel" of a status-bar item ("raised", "none"), and
// "margin", "spacing", "layout" ("right", "top", "bottom") and "alignment" ("center") of a
// button with an icon.
inline constexpr int kTransparentTag = 5555;
inline constexpr int kClosableTabsTag = 7777;

// The mouse leaves a skinned control as its window is deactivated: a push button held down
// lets go of its press, so that its release does not click.
void LeaveSkinnedControl(QWidget* w);

// A push button its window makes as a bit button: laid out and gated as one, icon or not.
void MarkBitButton(QPushButton* button);

// What a window answers when a tab's close box is clicked on a tab widget tagged 7777: 0
// lets the page go (it is removed and deleted), anything else keeps it. A window without an
// answer lets every page go.
using TabCloseAnswer = std::function<int(QTabWidget* tabs, int index)>;
void SetTabCloseAnswer(QWidget* window, TabCloseAnswer answer);

bool DrawSkinnedPrimitive(const SkinStyle& s, QStyle::PrimitiveElement pe, const QStyleOption* opt,
                          QPainter* p, const QWidget* w);
bool DrawSkinnedControl(const SkinStyle& s, QStyle::ControlElement ce, const QStyleOption* opt,
                        QPainter* p, const QWidget* w);
bool DrawSkinnedComplexControl(const SkinStyle& s, QStyle::ComplexControl cc,
                               const QStyleOptionComplex* opt, QPainter* p, const QWidget* w);
bool SkinnedSubControlRect(const SkinStyle& s, QStyle::ComplexControl cc,
                           const QStyleOptionComplex* opt, QStyle::SubControl sc, const QWidget* w,
                           QRect& out);
bool SkinnedHitTest(const SkinStyle& s, QStyle::ComplexControl cc, const QStyleOptionComplex* opt,
                    const QPoint& pt, const QWidget* w, QStyle::SubControl& out);
bool SkinnedSizeFromContents(const SkinStyle& s, QStyle::ContentsType ct, const QStyleOption* opt,
                             const QSize& size, const QWidget* w, QSize& out);
// The close box of a tab on a tab widget tagged 7777: where it is drawn is where it is
// clicked.
bool SkinnedSubElementRect(const SkinStyle& s, QStyle::SubElement se, const QStyleOption* opt,
                           const QWidget* w, QRect& out);
bool SkinnedPixelMetric(const SkinStyle& s, QStyle::PixelMetric pm, const QStyleOption* opt,
                        const QWidget* w, int& out);
// Hover tracking, the face colour of panels and pages, grid fixed colours, tool-bar menus;
// everything set here is given back by UnpolishControl.
void PolishControl(QWidget* w);
void UnpolishControl(QWidget* w);

}  // namespace ruto
