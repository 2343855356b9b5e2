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

}  // namespace ruto
