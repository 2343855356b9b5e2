#include "measure/ui/MeasureWindows.h"

#include <QSqlDatabase>

#include "app/Databases.h"
#include "app/WindowOpeners.h"
#include "measure/ui/AnalysisReport.h"
#include "measure/ui/AnalysisWindow.h"
#include "measure/ui/CalibrationWindow.h"
#include "measure/ui/ComparisonWindow.h"
#include "measure/ui/ManualEntryDialog.h"
#include "measure/ui/MeasurementWindow.h"
#include "measure/ui/ReferenceBrowser.h"

namespace ruto {

void registerMeasureWindows() {
  AnalysisReportPrinter() = PrintAnalysisReport;
  WindowOpeners().measurement = [](QWidget* parent) {
    MeasurementWindow window(parent);
    window.exec();
  };
  WindowOpeners().calibration = [](QWidget* parent) {
    CalibrationWindow window(parent);
    window.exec();
  };
  WindowOpeners().meridianReference = [](QWidget* parent) {
    ReferenceBrowser window(QSqlDatabase::database(kReferenceConnection, false), parent);
    window.exec();
  };
  WindowOpeners().comparison = [](QWidget* parent) {
    ComparisonWindow window(parent);
    window.exec();
  };
  WindowOpeners().manualEntry = [](QWidget* parent, std::int32_t mkey) {
    ManualEntryDialog window(mkey, parent);
    window.exec();
  };
  WindowOpeners().analysis = [](QWidget* parent) {
    AnalysisWindow window(parent);
    window.exec();
  };
}

}  // namespace ruto
