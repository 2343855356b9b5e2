#pragma once

namespace ruto {
// Registers the openers of the windows this folder owns with the application's hooks.

void registerMeasureWindows();

}  // namespace ruto
