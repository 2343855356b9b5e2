// bench_analysis [rounds]
// (1) Median time from creating the analysis window on a fixed test until each of the seven
//     charts has been painted once, against a budget of 100 ms.
// (2) Median time of drawing each chart through QPainterCanvas onto a 757 x 393 image, against
//     replaying the same primitives (recorded once) with bare QPainter calls; aim within 1.5.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QSqlDatabase>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "CanvasReplay.h"
#include "TemplateDatabase.h"
#include "app/AskUser.h"
#include "app/Databases.h"
#include "app/InstallDir.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "measure/Charts.h"
#include "measure/ui/AnalysisWindow.h"
#include "measure/ui/ChartView.h"

using namespace ruto;

namespace {

constexpr ChartType kKinds[] = {ChartType::Bar,         ChartType::Curve, ChartType::Generating,
                                ChartType::Controlling, ChartType::Radar, ChartType::Ryodoraku,
                                ChartType::Autonomic};
constexpr const char* kNames[] = {"bar",   "curve",       "generating", "controlling",
                                  "radar", "conductance", "autonomic"};

void loadTest() {
  for (int p = 1; p <= 24; ++p) CurrentTest.Values[p] = 40 + (p * 37 % 29);
  CurrentTest.CompValues = CurrentTest.Values;
  CurrentTest.VoDate = 46000.5;
  CurrentClient.Name = QStringLiteral("測試");
}

double openUntilChartsPainted() {
  QElapsedTimer t;
  t.start();
  {
    AnalysisWindow w;
    w.pageTabs->setCurrentIndex(1);
    w.show();
    for (ChartType kind : kKinds) {
      ViewState.ChartKind = kind;
      w.chartView->repaint();
    }
    w.close();
  }
  return t.nsecsElapsed() / 1e6;
}

QPen qpen(const TPen& p) {
  if (p.Style == TPenStyle::psClear) return QPen(Qt::NoPen);
  QPen pen(toQColor(p.Color), p.Width <= 1 ? 0 : p.Width);
  if (p.Style == TPenStyle::psDot) pen.setStyle(Qt::DotLine);
  return pen;
}

// The recorded primitives drawn straight with QPainter: the floor any canvas adapter costs.
void replay(const RecordingCanvas& rec, QImage& image) {
  QPainter p(&image);
  for (const RecordingCanvas::Entry& e : rec.Entries) {
    if (e.Op == QLatin1String("Line")) {
      p.setPen(qpen(e.Pen));
      p.drawLine(e.Points[0], e.Points[1]);
    } else if (e.Op == QLatin1String("Rectangle") || e.Op == QLatin1String("Ellipse")) {
      p.setPen(qpen(e.Pen));
      p.setBrush(QBrush(toQColor(e.Brush.Color), replayBrushStyle(e.Brush.Style)));
      const QRect r(e.Rect.Left, e.Rect.Top, e.Rect.width() - 1, e.Rect.height() - 1);
      if (e.Op == QLatin1String("Rectangle"))
        p.drawRect(r);
      else
        p.drawEllipse(r);
    } else if (e.Op == QLatin1String("Polygon")) {
      p.setPen(qpen(e.Pen));
      p.setBrush(QBrush(toQColor(e.Brush.Color), replayBrushStyle(e.Brush.Style)));
      p.drawPolygon(QPolygon(e.Points));
    } else if (e.Op == QLatin1String("TextOut")) {
      const QFont f = toQFont(e.Font);
      p.setFont(f);
      p.setPen(toQColor(e.Font.Color));
      p.drawText(e.Points[0].x(), e.Points[0].y() + QFontMetrics(f).ascent(), e.Text);
    } else if (e.Op == QLatin1String("FillRect")) {
      p.fillRect(e.Rect.Left, e.Rect.Top, e.Rect.width(), e.Rect.height(), toQColor(e.Brush.Color));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(5, atoi(argv[1])) : 30;
  QTemporaryDir dir;  // the window writes the settings file when it closes
  SetInstallDir(dir.path());
  Settings = DefaultSettings();
  SetAskUserResponder([](MsgKind, const QString&) { return true; });
  loadTest();
  // The template main database and the built reference database, as the program opens them.
  const QString generated = QStringLiteral(RUTO_GENERATED_DIR);
  if (!copyTemplateDatabase(dir.filePath("ruto4.mdb"))) {
    std::fprintf(stderr, "no template database in %s\n", qPrintable(generated));
    return 1;
  }
  QSqlDatabase mainDb = QSqlDatabase::addDatabase("QSQLITE", kMainConnection);
  mainDb.setDatabaseName(dir.filePath("ruto4.mdb"));
  QSqlDatabase referenceDb = QSqlDatabase::addDatabase("QSQLITE", kReferenceConnection);
  referenceDb.setDatabaseName(generated + "/rutoTW.mdb");
  referenceDb.setConnectOptions("QSQLITE_OPEN_READONLY");
  if (!mainDb.open() || !referenceDb.open()) {
    std::fprintf(stderr, "the databases did not open\n");
    return 1;
  }

  openUntilChartsPainted();
  std::vector<double> open;
  for (int i = 0; i < rounds; ++i) open.push_back(openUntilChartsPainted());
  std::printf(
      "open the window until all seven charts painted: median %.2f ms of %d (budget "
      "100 ms)\n",
      median(open), rounds);

  TAnalysisResult a;
  ComputeMeridianStatistics(a, CurrentTest.CompValues);
  ComputeSummaryLevels(a, true);
  const TChartFrame frame = ScreenChartFrame(757, 393);
  std::printf("\nchart (median of %d, ms)   canvas   bare QPainter  ratio\n", rounds);
  for (size_t k = 0; k < std::size(kKinds); ++k) {
    const ChartType kind = kKinds[k];
    RecordingCanvas rec;
    rec.Font.Size = 8;
    DrawChart(kind, rec, frame, a, CurrentTest.CompValues);
    std::vector<double> viaCanvas, bare;
    for (int i = 0; i < rounds + 1; ++i) {
      QImage image(757, 393, QImage::Format_RGB32);
      image.fill(toQColor(clBtnFace));
      QElapsedTimer t;
      t.start();
      {
        QPainter painter(&image);
        QPainterCanvas canvas(&painter);
        canvas.Font.Size = 8;
        DrawChart(kind, canvas, frame, a, CurrentTest.CompValues);
      }
      const double c = t.nsecsElapsed() / 1e6;
      image.fill(toQColor(clBtnFace));
      t.restart();
      replay(rec, image);
      const double b = t.nsecsElapsed() / 1e6;
      if (i == 0) continue;  // fonts and caches warm up on the first round
      viaCanvas.push_back(c);
      bare.push_back(b);
    }
    const double c = median(viaCanvas), b = median(bare);
    std::printf("%-25s %7.3f  %13.3f  %5.2f\n", kNames[k], c, b, c / b);
  }
  std::printf("aim: each ratio within 1.5\n");
  SetAskUserResponder(nullptr);
  return 0;
}
