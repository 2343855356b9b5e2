#include "measure/ui/MeasureWindows.h"

#include <QSqlDatabase>

#include "app/Databases.h"
#include "app/WindowOpeners.h"
#include "measure/ui/AnalysisReport.h"
#include "measure/ui/Syspt.h"
#include "measure/ui/VoCmp.h"
#include "measure/ui/Voadv.h"
#include "measure/ui/Voany.h"
#include "measure/ui/Vodec.h"
#include "measure/ui/Vomnu.h"

namespace ruto {

void registerMeasureWindows() {
  AnalysisReportPrinter() = PrintAnalysisReport;
  WindowOpeners().measurement = [](QWidget* parent) {
    TVodec window(parent);
    window.exec();
  };
  WindowOpeners().calibration = [](QWidget* parent) {
    TSyspt window(parent);
    window.exec();
  };
  WindowOpeners().meridianReference = [](QWidget* parent) {
    TVoadv window(QSqlDatabase::database(kReferenceConnection, false), parent);
    window.exec();
  };
  WindowOpeners().comparison = [](QWidget* parent) {
    TVoCmp window(parent);
    window.exec();
  };
  WindowOpeners().manualEntry = [](QWidget* parent, std::int32_t mkey) {
    TVomnu window(mkey, parent);
    window.exec();
  };
  WindowOpeners().analysis = [](QWidget* parent) {
    TVoany window(parent);
    window.exec();
  };
}

}  // namespace ruto
