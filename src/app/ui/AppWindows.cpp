#include "app/ui/AppWindows.h"

#include "app/WindowOpeners.h"
#include "app/ui/AboutBox.h"
#include "app/ui/StartupStatusScreen.h"
#include "app/ui/UserDataDialog.h"

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
  openers.startupStatus = &openModal<StartupStatusScreen>;
  openers.userData = &openModal<UserDataDialog>;
  openers.aboutBox = &openModal<AboutBox>;
}

}  // namespace ruto
