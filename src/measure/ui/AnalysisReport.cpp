#include "measure/ui/AnalysisReport.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>

#include "app/AskUser.h"
#include "app/Databases.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "app/ui/SharedPrinter.h"
#include "measure/ProgramMatcher.h"
#include "measure/Report.h"
#include "measure/ui/AnalysisWindow.h"
#include "measure/ui/ReportPrint.h"

namespace ruto {

namespace {

QStringList itemsOf(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

}  // namespace

TReportInput ReportInputFromWindow(AnalysisWindow& w) {
  TReportInput in;
  for (const TPrintOptionSlot& slot : PrintOptionSlots()) {
    const size_t control = static_cast<size_t>(slot.Control);
    in.Options[static_cast<size_t>(slot.Position)] =
        slot.Radio ? w.printRadios[control]->isChecked() : w.printChecks[control]->isChecked();
  }
  in.Analysis = Analysis;
  in.Test = CurrentTest;
  in.Client = CurrentClient;
  in.UserName2 = Settings.UserName2;
  in.UserData1 = Settings.UserData1;
  in.UserData2 = Settings.UserData2;
  in.DiagnosisItems = itemsOf(w.diagnosisList);
  in.DietItems = itemsOf(w.dietList);
  in.PrescriptionItems = itemsOf(w.prescriptionList);
  in.Note = w.notePane->toPlainText();
  in.Today = QDate::currentDate();

  TReferenceTable reference(QSqlDatabase::database(kReferenceConnection, false));
  if (reference.Open())
    for (int key = 1; key <= kReferenceKeyCount; ++key) in.Reference[key] = reference.Row(key);

  std::vector<TExpertProgram> programs;
  const bool loaded = LoadExpertPrograms(kMainConnection, &programs);
  for (const QString& item : itemsOf(w.programList)) {
    TReportProgram program{item, {}};
    const int index = loaded ? FindProgramByName(programs, item) : -1;
    TProgramDetail detail;
    if (index >= 0 && LoadProgramDetail(kMainConnection, programs[size_t(index)].MKey, &detail))
      program.ProData = detail.ProData;
    in.Programs.push_back(program);
  }
  return in;
}

void PrintAnalysisReport(AnalysisWindow& w) {
  // One job at a time: the button is disabled while one runs, this guards a direct call.
  if (w.findChild<TReportJob*>()) return;

  const auto output = OpenReportOutput();
  if (!output) return;
  auto target = std::make_unique<TPagedDeviceTarget>(
      output->device(), [output](const QString& title) { output->setTitle(title); },
      [output](bool completed) { output->close(completed); });
  auto* job = new TReportJob(std::move(target), ReportInputFromWindow(w), &w);
  if (!job->begin()) {
    delete job;
    AskUser(MsgKind::WarningOk, PrintNotStartedText());
    return;
  }

  QPushButton* button = w.printButton;
  button->setEnabled(false);
  const auto takeDown = ShowAbortBox(
      job, [job] { job->abort(); }, &w);
  // Closing the window while the report prints drops the job first.
  QObject::connect(&w, &QDialog::finished, job, &TReportJob::abort);
  QObject::connect(job, &TReportJob::finished, &w, [job, takeDown, button](bool) {
    // The printed bar chart classifies the points again, as the report's
    // sections read them; keep that, and the autonomic divisor it settled.
    const TAnalysisResult& printed = job->report().Input().Analysis;
    Analysis.PointLevel = printed.PointLevel;
    Analysis.GroupMin = printed.GroupMin;
    takeDown();
    button->setEnabled(true);
    job->setParent(nullptr);
    job->deleteLater();
  });
  // A job torn down with its window, before it finished, leaves no box behind.
  QObject::connect(job, &QObject::destroyed, takeDown);
  job->start();
}

}  // namespace ruto
