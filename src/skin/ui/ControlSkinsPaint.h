#pragma once
// Shared pieces of the control painters: what one paint call knows, state from Qt's flags,
// and the skin's colours and objects.

#include <QPainter>
#include <QStyleOption>

#include "skin/ControlFrames.h"
#include "skin/SkinData.h"
#include "skin/ui/ControlSkins.h"
#include "skin/ui/SkinStyle.h"

namespace ruto::controls {

struct Paint {
  const SkinStyle& style;
  const TSkinData& skin;
  ControlKind kind;
  const QWidget* w;
  QPainter* p;
};

inline QColor face(const TSkinData& skin) { return toQColor(skin.Colours().ButtonFace); }
inline QColor shadow(const TSkinData& skin) { return toQColor(skin.Colours().ButtonShadow); }
// The system's button-shadow colour that disabled captions take.
inline QColor disabledText() { return toQColor(ResolveColor(sysColor(COLOR_BTNSHADOW))); }

inline ControlState stateOf(const QStyleOption* opt) {
  ControlState s;
  s.enabled = opt->state & QStyle::State_Enabled;
  s.pressed = opt->state & QStyle::State_Sunken;
  s.hot = s.enabled && (opt->state & QStyle::State_MouseOver);
  s.focused = opt->state & QStyle::State_HasFocus;
  return s;
}

// The object when it exists with an image.
inline const TDataSkinObject* image(const TSkinData& skin, const char* section) {
  const TDataSkinObject* o = skin.object(QString::fromLatin1(section));
  return o && o->hasImage() ? o : nullptr;
}

// One frame of an object as a nine-part image with its own edges, tiling and transparency.
inline void drawObject(QPainter& p, const QRect& r, const TDataSkinObject& o, int frame,
                       int frames = 0) {
  DrawSkinImage(p, r, o.Bitmap, o.edges(), frame, frames > 0 ? frames : o.frames(), o.Trans != 0,
                o.Tile == 1, false);
}

// No face fill behind a control tagged 5555 or with the transparent option.
bool transparent(const Paint& c);
// A combo box held down by the left mouse button now.
bool mousePressed(const QWidget* w);
// The section of a header under the mouse, -1 none.
int hotSection(const QWidget* w);

// Painters; each answers false to leave the element to the base style.
bool paintPushButton(const Paint& c, const QStyleOptionButton& opt);
bool paintToolButton(const Paint& c, const QStyleOptionToolButton& opt);
bool paintCheck(const Paint& c, const QStyleOptionButton& opt, bool radio);
QSize checkBoxSize(const TSkinData& skin, bool radio);

bool paintEditFrame(const Paint& c, const QRect& r, bool fill, const QBrush& base);
bool paintSpinBox(const Paint& c, const QStyleOptionSpinBox& opt);
// Field and arrows of a spin box inside its skinned outline; null when the base style places
// them.
QRect spinBoxRect(const Paint& c, const QStyleOptionSpinBox& opt, QStyle::SubControl sc);
bool paintComboBox(const Paint& c, const QStyleOptionComboBox& opt);
QRect comboRect(const Paint& c, const QStyleOptionComboBox& opt, QStyle::SubControl sc);
bool paintSlider(const Paint& c, const QStyleOptionSlider& opt);
bool paintProgress(const Paint& c, const QStyleOptionProgressBar& opt);

ScrollGeometry scrollGeometry(const QStyleOptionSlider& opt);
// A span along a bar as a rectangle across the whole bar.
QRect scrollSpanRect(const QStyleOptionSlider& opt, std::pair<int, int> span);
bool paintScrollBar(const Paint& c, const QStyleOptionSlider& opt);
bool paintScrollAreaFrame(const Paint& c, const QStyleOption& opt);
bool paintHeader(const Paint& c, const QStyleOption& opt, bool emptyArea);

bool paintStatusBar(const Paint& c, const QStyleOption& opt);
bool paintSizeGrip(const Paint& c, const QStyleOption& opt);
bool paintGroupBox(const Paint& c, const QStyleOptionGroupBox& opt);
// The caption and check box of a group box; null for other parts.
QRect groupBoxRect(const Paint& c, const QStyleOptionGroupBox& opt, QStyle::SubControl sc);
bool paintTabPane(const Paint& c, const QStyleOptionTabWidgetFrame& opt);
bool paintTabShape(const Paint& c, const QStyleOptionTab& opt);
bool paintTabLabel(const Paint& c, const QStyleOptionTab& opt);
bool paintTabClose(const Paint& c, const QStyleOption& opt);

}  // namespace ruto::controls
