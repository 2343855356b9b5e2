#pragma once
// Windows of one folder are opened from another without a link-time cycle: the folder that
// owns a window registers its opener here at start-up, and callers go through these hooks.
// A hook that nobody registered does nothing.

#include <functional>

class QWidget;

namespace ruto {

struct TWindowOpeners {
  using Opener = std::function<void(QWidget* parent)>;
  Opener measurement;        // TVodec, the 24-point measurement window
  Opener analysis;           // TVoany
  Opener comparison;         // TVoCmp
  Opener meridianReference;  // TVoadv
  Opener calibration;        // probe calibration
  Opener manualEntry;        // TVoREdit
  Opener clientBrowser;      // TVoread
  Opener storeTest;          // TVosave
  Opener clientEditor;       // TVoCust
  Opener programList;        // TVoProf
  Opener programEditor;      // TVoProM
  Opener transfer;           // TVoFile
  Opener startupStatus;      // TVoStatu
  Opener aboutBox;           // TAboutBox
  Opener userData;           // user-data dialog
};

TWindowOpeners& WindowOpeners();
// Runs the hook when it is set; true when it was.
bool OpenWindow(const TWindowOpeners::Opener& opener, QWidget* parent);

}  // namespace ruto
