#include "records/ui/RecordsWindows.h"

#include "app/Databases.h"
#include "app/SharedRecords.h"
#include "app/WindowOpeners.h"
#include "records/ui/VoEdit.h"
#include "records/ui/VoFile.h"
#include "records/ui/VoProM.h"
#include "records/ui/Vopro.h"
#include "records/ui/Vored.h"
#include "records/ui/Vosvdt.h"

namespace ruto {

void registerRecordsWindows() {
  WindowOpeners().clientBrowser = [](QWidget* parent) {
    TVoread window(parent);
    window.exec();
  };
  WindowOpeners().storeTest = [](QWidget* parent) {
    TVosave window(parent);
    window.exec();
  };
  // On its own (not from the browser or the store window) the editor works on the current
  // client's row, or adds a client in new mode.
  WindowOpeners().clientEditor = [](QWidget* parent) {
    RecordSet clients(kMainConnection, QStringLiteral("VOCUST"));
    if (!clients.open()) return;
    if (!ViewState.ClientNewMode && !clients.locate(QStringLiteral("CUSTNO"), CurrentClient.CustNo,
                                                    LocateOption::CaseInsensitive))
      return;
    TVoREdit window(&clients, parent);
    window.exec();
  };
  WindowOpeners().transfer = [](QWidget* parent) {
    TVoFile window(parent);
    window.exec();
  };
  WindowOpeners().programList = [](QWidget* parent) {
    TVoProf window(parent);
    window.exec();
  };
  // On its own the editor works on the first program by number (or adds one in new mode).
  WindowOpeners().programEditor = [](QWidget* parent) {
    RecordSet programs(kMainConnection, QStringLiteral("VOPRO"));
    programs.setSort(QStringLiteral("ProNo ASC"));
    if (!programs.open() || (!ViewState.ProgramNewMode && programs.isEmpty())) return;
    QString lastProgramNo;
    TVoProM window(&programs, &lastProgramNo, parent);
    window.exec();
  };
}

}  // namespace ruto
