#pragma once
// Windows of one folder are opened from another without a link-time cycle: the folder that
// owns a window registers its opener here at start-up, and callers go through these hooks.
// A hook that nobody registered does nothing.

#include <cstdint>
#include <functional>
#include <vector>

class QWidget;

namespace ruto {

struct TWindowOpeners {
  using Opener = std::function<void(QWidget* parent)>;
  // Manual entry edits one stored VODATA row (its MKEY) or, with 0, the test in work.
  using EntryOpener = std::function<void(QWidget* parent, std::int32_t mkey)>;
  Opener measurement;        // MeasurementWindow, the 24-point measurement window
  Opener analysis;           // AnalysisWindow
  Opener comparison;         // ComparisonWindow
  Opener meridianReference;  // ReferenceBrowser
  Opener calibration;        // probe calibration
  EntryOpener manualEntry;   // ManualEntryDialog
  Opener clientBrowser;      // ClientBrowser
  Opener storeTest;          // StoreTestDialog
  Opener clientEditor;       // ClientEditor
  Opener programList;        // ProgramList
  Opener programEditor;      // ProgramEditor
  Opener transfer;           // DataExchangeDialog
  Opener startupStatus;      // StartupStatusScreen
  Opener aboutBox;           // AboutBox
  Opener userData;           // user-data dialog
};

TWindowOpeners& WindowOpeners();
// Runs the hook when it is set; true when it was.
bool OpenWindow(const TWindowOpeners::Opener& opener, QWidget* parent);
bool OpenWindow(const TWindowOpeners::EntryOpener& opener, QWidget* parent, std::int32_t mkey);

// Every hook of the registry by its name, so a walk (census, soak) reaches every window;
// manual entry opens on the test in work. open is false for a hook nobody registered.
struct NamedOpener {
  const char* name;
  std::function<bool(QWidget* parent)> open;
};
std::vector<NamedOpener> EveryWindowOpener();

}  // namespace ruto
