#include "records/ui/RecordsWindows.h"

#include "app/Databases.h"
#include "app/SharedRecords.h"
#include "app/WindowOpeners.h"
#include "records/ui/ClientBrowser.h"
#include "records/ui/ClientEditor.h"
#include "records/ui/DataExchangeDialog.h"
#include "records/ui/ProgramEditor.h"
#include "records/ui/ProgramList.h"
#include "records/ui/StoreTestDialog.h"

namespace ruto {

void registerRecordsWindows() {
  WindowOpeners().clientBrowser = [](QWidget* parent) {
    ClientBrowser window(parent);
    window.exec();
  };
  WindowOpeners().storeTest = [](QWidget* parent) {
    StoreTestDialog window(parent);
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
    ClientEditor window(&clients, parent);
    window.exec();
  };
  WindowOpeners().transfer = [](QWidget* parent) {
    DataExchangeDialog window(parent);
    window.exec();
  };
  WindowOpeners().programList = [](QWidget* parent) {
    ProgramList window(parent);
    window.exec();
  };
  // On its own the editor works on the first program by number (or adds one in new mode).
  WindowOpeners().programEditor = [](QWidget* parent) {
    RecordSet programs(kMainConnection, QStringLiteral("VOPRO"));
    programs.setSort(QStringLiteral("ProNo ASC"));
    if (!programs.open() || (!ViewState.ProgramNewMode && programs.isEmpty())) return;
    QString lastProgramNo;
    ProgramEditor window(&programs, &lastProgramNo, parent);
    window.exec();
  };
}

}  // namespace ruto
