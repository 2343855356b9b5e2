#pragma once
// The frame of the program's dialogs and message boxes: a caption and a close box, no
// minimise or maximise button, whatever the window manager would add on its own.

#include <QWidget>

namespace ruto {

inline constexpr Qt::WindowFlags kDialogFrameFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
    Qt::MSWindowsFixedSizeDialogHint;

inline void UseDialogFrame(QWidget* window) { window->setWindowFlags(kDialogFrameFlags); }

}  // namespace ruto
