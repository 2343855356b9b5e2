#pragma once
// Where the program's windows open: centred on the screen or on their owner, and never larger
// than the screen's free area, so that every window can be used on a 1024 x 768 screen.

class QWidget;

namespace ruto {

enum class WindowPlace {
  Screen,  // centred on the screen's free area
  Owner,   // centred on the owner's window; on the screen when there is no shown owner
};

// From the window's first show on: `window` opens shrunk to the free area of its screen (not
// below its own minimum size) and centred as `place` says, its frame inside that area. Later
// shows keep the place the window has (a window hidden while a child runs comes back where
// it was).
void PlaceOnShow(QWidget* window, WindowPlace place);

}  // namespace ruto
