#include "app/WindowOpeners.h"

namespace ruto {

TWindowOpeners& WindowOpeners() {
  static TWindowOpeners openers;
  return openers;
}

bool OpenWindow(const TWindowOpeners::Opener& opener, QWidget* parent) {
  if (!opener) return false;
  opener(parent);
  return true;
}

bool OpenWindow(const TWindowOpeners::EntryOpener& opener, QWidget* parent, std::int32_t mkey) {
  if (!opener) return false;
  opener(parent, mkey);
  return true;
}

std::vector<NamedOpener> EveryWindowOpener() {
  const auto hook = [](const char* name, TWindowOpeners::Opener TWindowOpeners::*member) {
    return NamedOpener{name,
                       [member](QWidget* p) { return OpenWindow(WindowOpeners().*member, p); }};
  };
  using W = TWindowOpeners;
  return {hook("measurement", &W::measurement),
          hook("analysis", &W::analysis),
          hook("comparison", &W::comparison),
          hook("meridianReference", &W::meridianReference),
          hook("calibration", &W::calibration),
          {"manualEntry", [](QWidget* p) { return OpenWindow(WindowOpeners().manualEntry, p, 0); }},
          hook("clientBrowser", &W::clientBrowser),
          hook("storeTest", &W::storeTest),
          hook("clientEditor", &W::clientEditor),
          hook("programList", &W::programList),
          hook("programEditor", &W::programEditor),
          hook("transfer", &W::transfer),
          hook("startupStatus", &W::startupStatus),
          hook("aboutBox", &W::aboutBox),
          hook("userData", &W::userData)};
}

}  // namespace ruto
