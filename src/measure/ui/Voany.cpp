#include "measure/ui/Voany.h"

#include <QListWidget>
#include <QShowEvent>

#include "measure/ui/ChartView.h"

namespace ruto {

TAnalysisReportPrinter& AnalysisReportPrinter() {
  static TAnalysisReportPrinter printer;
  return printer;
}

TVoany::TVoany(QWidget* parent) : QDialog(parent), ADOTable3(QSqlDatabase()) {
  ListBox3 = new QListWidget(this);
  ListBox4 = new QListWidget(this);
}

TVoany::~TVoany() = default;

QString TVoany::StatusText(int) const { return {}; }
void TVoany::showEvent(QShowEvent* event) { QDialog::showEvent(event); }
void TVoany::done(int result) { QDialog::done(result); }
void TVoany::FormShow() {}
void TVoany::FormClose() {}
void TVoany::PageControl1Change() {}
void TVoany::ToolButton4Click() {}
void TVoany::ToolButton5Click() {}
void TVoany::ToolButton8Click() {}
void TVoany::ToolButton9Click() {}
void TVoany::ToolButton15Click() {}
void TVoany::ToolButton16Click() {}
void TVoany::ToolButton17Click() {}
void TVoany::CheckBox4Click() {}
void TVoany::CheckBox13Click() {}
void TVoany::BitBtn1Click() {}
void TVoany::BitBtn2Click() {}
void TVoany::BitBtn3Click() {}
void TVoany::Memo4Change() {}
void TVoany::ListBox1Click() {}
void TVoany::ListBox2Click() {}
void TVoany::ListBox5Click() {}
void TVoany::ListBox4Click() {}
void TVoany::ToolButton1Click() {}
void TVoany::ToolButton2Click() {}
void TVoany::ToolButton3Click() {}
void TVoany::ToolButton10Click() {}
void TVoany::ToolButton11Click() {}
void TVoany::ToolButton12Click() {}
void TVoany::ToolButton13Click() {}
void TVoany::ToolButton14Click() {}
void TVoany::SpeedButton1Click() {}
void TVoany::SpeedButton6Click() {}
void TVoany::SpeedButton7Click() {}
void TVoany::SpeedButton8Click() {}
void TVoany::BitBtn4Click() {}
void TVoany::BitBtn5Click() {}
void TVoany::BitBtn6Click() {}
void TVoany::BitBtn7Click() {}
void TVoany::buildSummaryPage() {}
void TVoany::buildChartPage() {}
void TVoany::buildPairPage() {}
void TVoany::buildTextPages() {}
void TVoany::buildProgramPage() {}
void TVoany::buildNotePage() {}
void TVoany::buildPrintPage() {}
void TVoany::openTables() {}
void TVoany::closeTables() {}
void TVoany::showPageState() {}
void TVoany::showAnalysisSummary() {}
void TVoany::fillLists() {}
void TVoany::selectFirstItems() {}
void TVoany::afterItemShown() {}
void TVoany::updateAppendButtons() {}
void TVoany::saveNote() {}

}  // namespace ruto
