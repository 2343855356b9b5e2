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

}  // namespace ruto
