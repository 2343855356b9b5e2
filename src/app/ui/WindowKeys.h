#pragma once
// How the program's own windows take keys: a window closes by its buttons and its close box,
// never by Escape; Enter clicks the focused push button or a button the window made default,
// never one Qt picked on its own; tool buttons take no focus; Tab leaves a memo.

class QWidget;

namespace ruto {

// Makes `window` (a top-level window of the program, not a message box or a platform dialog)
// follow those rules for its lifetime. Call it in the window's constructor; controls added
// later are taken in on each show. A push button the window sets default itself stays default.
void FollowPlatformKeys(QWidget* window);

}  // namespace ruto
