#pragma once
// Small pieces the windows build their controls from: text-only toolbar buttons and label
// text colours.

#include <QString>

#include "base/Colors.h"

class QLabel;
class QToolBar;
class QToolButton;

namespace ruto {

// A text-only button named `name`, with `hint` as its tooltip, added at the end of `bar`.
QToolButton* addToolButton(QToolBar* bar, const QString& name, const QString& text,
                           const QString& hint);
// The same, named "ToolButton<n>".
QToolButton* addToolButton(QToolBar* bar, int n, const QString& text, const QString& hint);

// The label's text colour, through its palette so that the skin's style still paints it.
void setTextColor(QLabel* label, TColor color);

}  // namespace ruto
