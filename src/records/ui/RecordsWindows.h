#pragma once
// Registration of the windows the records folder owns.

namespace ruto {

// Registers the openers of the windows this folder owns with the application's hooks.
void registerRecordsWindows();

}  // namespace ruto
