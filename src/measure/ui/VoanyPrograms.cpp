// The expert-program page and the multi-meridian list of the analysis window. Until the program
// matcher is in, both lists stay empty and the page shows no program.
#include <QListWidget>

#include "measure/ui/Voany.h"

namespace ruto {

void TVoany::MatchExpertProgramsIntoList() {
  ListBox3->clear();
  ListBox4->clear();
}

void TVoany::ListBox3Click() {}
void TVoany::SpeedButton2Click() {}
void TVoany::SpeedButton3Click() {}
void TVoany::SpeedButton4Click() {}
void TVoany::SpeedButton5Click() {}

}  // namespace ruto
