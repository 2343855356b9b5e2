#include "app/ui/AppWindows.h"

#include "app/WindowOpeners.h"
#include "app/ui/AboutBox.h"
#include "app/ui/VoCust.h"
#include "app/ui/VoStatu.h"

namespace ruto {

namespace {

template <class Window>
void openModal(QWidget* parent) {
  Window window(parent);
  window.exec();
}

}  // namespace

void registerAppWindows() {
  TWindowOpeners& openers = WindowOpeners();
  openers.startupStatus = &openModal<TVoStatu>;
  openers.userData = &openModal<TVoCust>;
  openers.aboutBox = &openModal<TAboutBox>;
}

}  // namespace ruto
