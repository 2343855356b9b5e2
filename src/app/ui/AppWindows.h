#pragma once
// Registers the openers of the application core's own windows: the start-up status screen,
// the user-data dialog and the about box.

namespace ruto {

void registerAppWindows();

}  // namespace ruto
