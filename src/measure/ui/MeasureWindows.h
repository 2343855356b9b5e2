#pragma once
// The measure folder's hook into the application: registering its window openers.

namespace ruto {

// Registers the openers of the windows this folder owns with the application's hooks.
void registerMeasureWindows();

}  // namespace ruto
