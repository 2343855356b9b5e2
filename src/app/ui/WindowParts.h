#pragma once
// Small pieces the windows build their controls from: text-only toolbar buttons and label
// text colours.

#include <QString>
#include <QToolButton>

#include "base/Colors.h"

class QEvent;
class QLabel;
class QToolBar;
class QVBoxLayout;

namespace ruto {

// A text-only button named `name`, with `hint` as its tooltip, added at the end of `bar`.
QToolButton* addToolButton(QToolBar* bar, const QString& name, const QString& text,
                           const QString& hint);
// The same, named "ToolButton<n>".
QToolButton* addToolButton(QToolBar* bar, int n, const QString& text, const QString& hint);

// The same, connected to `handler` of `window`; `name`, `text` and `hint` are UTF-8.
template <class Window>
QToolButton* addToolButton(QToolBar* bar, Window* window, const char* name, const char* text,
                           const char* hint, void (Window::*handler)()) {
  QToolButton* b = addToolButton(bar, QString::fromLatin1(name), QString::fromUtf8(text),
                                 QString::fromUtf8(hint));
  QObject::connect(b, &QToolButton::clicked, window, handler);
  return b;
}

// The window's own column layout, edge to edge, with a text-only tool bar named "toolBar" at
// its top (the caller adds the bar once its buttons are in).
QVBoxLayout* newToolWindowLayout(QWidget* window, QToolBar*& toolBar);

// The label's text colour, through its palette so that the skin's style still paints it.
void setTextColor(QLabel* label, TColor color);

// True for the release of a left click on `widget`: the left button let go inside it (a press
// on it released elsewhere is no click). For labels that act on a click.
bool IsClickRelease(const QWidget* widget, const QEvent* e);

// A tooltip that shows `text` as written, also where it looks like markup: for texts typed by
// the user or read from settings and files ("SN<b>12</b>" keeps its brackets, and no markup can
// load an image).
QString PlainToolTip(const QString& text);

}  // namespace ruto
