// bench_soak [cycles] [warm-up]
// Memory over many cycles of use, skinned as the program runs: each cycle opens every window
// of the registry (manual entry, analysis with its pages and seven charts, comparison, store,
// browser, the editors and the rest) and closes it again, shows the message and abort boxes
// and writes the analysis report to a PDF file. After the warm-up cycles, prints the growth
// of the heap in use (mallinfo2) and of the resident set per 100 cycles; the aim is under
// 0.3 MB per 100 cycles for both.
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QPdfWriter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "TemplateDatabase.h"
#include "app/AskUser.h"
#include "app/InstallDir.h"
#include "app/SharedRecords.h"
#include "app/WindowOpeners.h"
#include "app/ui/AppWindows.h"
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"
#include "app/ui/MessageBox.h"
#include "app/ui/PrintAbortBox.h"
#include "measure/Report.h"
#include "measure/ui/AnalysisWindow.h"
#include "measure/ui/ChartView.h"
#include "measure/ui/MeasureWindows.h"
#include "records/ui/RecordsWindows.h"
#include "skin/ui/SkinManager.h"

using namespace ruto;

namespace {

void settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

double heapMb() { return static_cast<double>(mallinfo2().uordblks) / (1024.0 * 1024.0); }

double rssMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
         (1024.0 * 1024.0);
}

using Open = std::function<bool(QWidget*)>;

constexpr ChartType kCharts[] = {ChartType::Bar,         ChartType::Curve, ChartType::Generating,
                                 ChartType::Controlling, ChartType::Radar, ChartType::Ryodoraku,
                                 ChartType::Autonomic};

int windowsShown = 0;  // modal windows visited in the cycles so far

// Shows every page of every tab set of a window, and in the analysis window every chart.
void visit(QWidget* w) {
  for (QTabWidget* tabs : w->findChildren<QTabWidget*>()) {
    for (int i = 0; i < tabs->count(); ++i) {
      tabs->setCurrentIndex(i);
      w->grab();
    }
  }
  if (auto* analysis = qobject_cast<AnalysisWindow*>(w)) {
    analysis->pageTabs->setCurrentIndex(1);
    for (ChartType kind : kCharts) {
      ViewState.ChartKind = kind;
      analysis->chartView->repaint();
    }
  }
  w->grab();
}

// Opens a window through its hook, visits every modal window it shows and closes each.
void openAndClose(const Open& open) {
  QWidget* last = nullptr;
  QTimer watcher;
  watcher.setInterval(5);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || w == last) return;
    last = w;
    ++windowsShown;
    settle();
    visit(w);
    w->close();
    if (w->isVisible()) w->hide();
  });
  watcher.start();
  open(TheMainWindow);
}

void loadTest() {
  for (int p = 1; p <= 24; ++p) CurrentTest.Values[p] = 40 + (p * 37 % 29);
  CurrentTest.CompValues = CurrentTest.Values;
  CurrentTest.VoDate = 46000.5;
  CurrentClient.Name = QStringLiteral("測試");
}

void reportToPdf(const QString& path) {
  TReportInput in;
  in.Test = CurrentTest;
  ComputeMeridianStatistics(in.Analysis, in.Test.CompValues);
  ComputeSummaryLevels(in.Analysis, true);
  in.Client = TClientInfo{"A001", "王小明", true, 30000.0, "台北市", "02-1234", {}, {}, {}};
  in.Today = QDate(2026, 12, 7);
  for (int s = 1; s <= 20; ++s) in.Options[s] = true;
  QPdfWriter writer(path);
  writer.setResolution(600);
  writer.setPageSize(QPageSize(QPageSize::A4));
  TPagedDeviceTarget target(&writer, [&writer](const QString& s) { writer.setTitle(s); });
  TReport report(target, in);
  report.Begin();
  report.RunAll();
}

void cycle(const QString& pdf) {
  ViewState.ClientNewMode = true;
  ViewState.ProgramNewMode = true;
  for (const NamedOpener& o : EveryWindowOpener()) openAndClose(o.open);
  {
    MsgRequest.Kind = MsgKind::QuestionYesNo;
    MsgRequest.Text = QStringLiteral("確定要結束嗎？");
    MessageBox box(TheMainWindow);
    box.show();
    settle();
    box.grab();
  }
  ThePrintAbortBox->show();
  settle();
  ThePrintAbortBox->grab();
  ThePrintAbortBox->hide();
  reportToPdf(pdf);
  settle();
}

bool prepareInstallFolder(const QString& folder) {
  if (!copyTemplateDatabase(folder + "/VoSpa.mdb") || !copyTemplateDatabase(folder + "/ruto4.mdb"))
    return false;
  QFile::remove(folder + "/rutoTW.mdb");
  return QFile::copy(QStringLiteral(RUTO_GENERATED_DIR "/rutoTW.mdb"), folder + "/rutoTW.mdb");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  Application app(argc, argv);
  // The offscreen platform's notes on masks and size hints would drown the figures.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtWarningMsg && type != QtInfoMsg)
      std::fprintf(stderr, "%s\n", qPrintable(text));
  });
  const int cycles = argc > 1 ? std::max(1, atoi(argv[1])) : 300;
  const int warmUp = argc > 2 ? std::max(1, atoi(argv[2])) : 50;
  QTemporaryDir dir;
  SetInstallDir(dir.path());
  if (!prepareInstallFolder(dir.path())) {
    std::fprintf(stderr, "no template or reference database in %s\n", RUTO_GENERATED_DIR);
    return 1;
  }
  // Every question answered yes, as a user going through the windows would.
  SetAskUserResponder([](MsgKind, const QString&) { return true; });
  registerAppWindows();
  registerMeasureWindows();
  registerRecordsWindows();
  if (!CreateMainWindows()) return 1;
  TheMainWindow->resize(1000, 700);
  TheMainWindow->show();
  settle();
  TheMainWindow->runFirstActivation();
  settle();
  const TSkinManage* skin = ExistingSkinManager();
  if (!skin || !skin->Active()) {
    std::fprintf(stderr, "the program's skin is not on\n");
    return 1;
  }
  loadTest();
  const QString pdf = dir.filePath(QStringLiteral("report.pdf"));

  for (int i = 0; i < warmUp; ++i) cycle(pdf);
  const double heap0 = heapMb(), rss0 = rssMb();
  std::printf("%d windows a cycle; after %d warm-up cycles: heap %.1f MB, RSS %.1f MB\n",
              windowsShown / warmUp + 2, warmUp, heap0, rss0);
  for (int i = 1; i <= cycles; ++i) {
    cycle(pdf);
    if (i % 100 == 0)
      std::printf("cycle %4d: heap %+.2f MB, RSS %+.2f MB\n", i, heapMb() - heap0, rssMb() - rss0);
    std::fflush(stdout);
  }
  const double per100 = 100.0 / cycles;
  std::printf("growth per 100 cycles: heap %.2f MB, RSS %.2f MB (aim under 0.3 MB)\n",
              (heapMb() - heap0) * per100, (rssMb() - rss0) * per100);
  DestroyMainWindows();
  return 0;
}
