// bench_report [rounds]
// Median time of printing the full analysis report (every section, colour, 600 dpi A4) to a
// PDF file through the report engine, against a budget of 1 s; and against replaying the same
// primitives (recorded once with the PDF's font metrics) by bare QPainter calls on QPdfWriter,
// aim within 1.5 times.
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "CanvasReplay.h"
#include "measure/Report.h"

using namespace ruto;

namespace {

TReportInput input() {
  TReportInput in;
  for (int p = 1; p <= 24; ++p) {
    in.Test.Values[p] = 30 + (p * 13 % 23);
    in.Test.CompValues[p] = in.Test.Values[p];
  }
  in.Test.VoDate = 46000.5;
  ComputeMeridianStatistics(in.Analysis, in.Test.CompValues);
  ComputeSummaryLevels(in.Analysis, true);
  for (int p = 1; p <= 24; ++p)
    in.Analysis.PointLevel[p] = ClassifyDeviation(in.Analysis, in.Analysis.Deviation[p]);
  in.Client = TClientInfo{"A001", "王小明", true, 30000.0, "台北市", "02-1234", {}, {}, {}};
  in.Today = QDate(2026, 12, 7);
  for (int s = 1; s <= 20; ++s) in.Options[s] = s != 9 && s != 10 && s != 18;
  QString text;
  for (int i = 0; i < 8; ++i) text += "經絡氣血運行不暢時，宜調和陰陽並注意作息。";
  for (int key = 1; key <= 17; ++key) {
    TReferenceRow row;
    row.Found = true;
    for (QString* t : {&row.DtMA1, &row.DtMA2, &row.DtMA3, &row.DtMH1, &row.DtMH2, &row.DtMH3,
                       &row.DtMH4, &row.DtML1, &row.DtML2, &row.DtML3, &row.DtML4})
      *t = text + "\n" + text;
    in.Reference[key] = row;
  }
  in.DiagnosisItems = {"身體能量", "肺經", "心經", "脾經"};
  in.Analysis.ExplainCodes = {13, 1, 3, 7};
  in.DietItems = {"肺經", "心經"};
  in.Analysis.DietCodes = {1, 3};
  in.PrescriptionItems = {"肺經", "心經"};
  in.Analysis.RemedyCodes = {1, 3};
  in.Programs = {{"減重療程", text}, {"舒壓療程", text}};
  in.Note = text + "\n" + text;
  return in;
}

void setUp(QPdfWriter& writer) {
  writer.setResolution(600);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
}

double engine(const QString& path) {
  QElapsedTimer t;
  t.start();
  QPdfWriter writer(path);
  setUp(writer);
  {
    TPagedDeviceTarget target(&writer, [&writer](const QString& s) { writer.setTitle(s); });
    TReport report(target, input());
    report.Begin();
    report.RunAll();
  }
  return t.nsecsElapsed() / 1e6;
}

Qt::PenStyle penStyle(TPenStyle s) {
  switch (s) {
    case TPenStyle::psDot:
      return Qt::DotLine;
    case TPenStyle::psDash:
      return Qt::DashLine;
    case TPenStyle::psClear:
      return Qt::NoPen;
    default:
      return Qt::SolidLine;
  }
}

double replay(const QString& path, const QVector<RecordingCanvas::Entry>& entries) {
  QElapsedTimer t;
  t.start();
  QPdfWriter writer(path);
  setUp(writer);
  QPainter p(&writer);
  for (const RecordingCanvas::Entry& e : entries) {
    if (e.Op == "NewPage") {
      writer.newPage();
    } else if (e.Op == "Line") {
      p.setPen(QPen(toQColor(e.Pen.Color), e.Pen.Width, penStyle(e.Pen.Style)));
      p.drawLine(e.Points[0], e.Points[1]);
    } else if (e.Op == "Rectangle" || e.Op == "FillRect") {
      const QRect r(e.Rect.Left, e.Rect.Top, e.Rect.width(), e.Rect.height());
      p.setPen(e.Op == "FillRect"
                   ? QPen(Qt::NoPen)
                   : QPen(toQColor(e.Pen.Color), e.Pen.Width, penStyle(e.Pen.Style)));
      p.setBrush(QBrush(toQColor(e.Brush.Color), replayBrushStyle(e.Brush.Style)));
      p.drawRect(r);
    } else if (e.Op == "Polygon") {
      p.setPen(Qt::NoPen);
      p.setBrush(toQColor(e.Brush.Color));
      p.drawPolygon(QPolygon(e.Points));
    } else if (e.Op == "TextOut") {
      const QFont f = toQFont(e.Font, 600, true);
      p.setFont(f);
      p.setPen(toQColor(e.Font.Color));
      p.drawText(e.Points[0].x(), e.Points[0].y() + QFontMetrics(f, &writer).ascent(), e.Text);
    }
  }
  p.end();
  return t.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  QTemporaryDir dir;

  // The primitives, recorded once with the PDF's font metrics.
  QPdfWriter probe(dir.filePath("probe.pdf"));
  setUp(probe);
  TRecordingTarget rec(600, probe.width(), probe.height());
  rec.Recording.MeasureWidth = [&probe](const TFont& f, const QString& s) {
    return QFontMetrics(toQFont(f, 600, true), &probe).horizontalAdvance(s);
  };
  rec.Recording.MeasureHeight = [&probe](const TFont& f, const QString&) {
    return QFontMetrics(toQFont(f, 600, true), &probe).height();
  };
  TReport recorded(rec, input());
  recorded.Begin();
  recorded.RunAll();

  std::vector<double> a, b;
  for (int i = 0; i < rounds; ++i) {
    a.push_back(engine(dir.filePath("engine.pdf")));
    b.push_back(replay(dir.filePath("replay.pdf"), rec.Recording.Entries));
  }
  const double ma = median(a), mb = median(b);
  std::printf("report: %d pages, %lld primitives\n", rec.Pages,
              static_cast<long long>(rec.Recording.Entries.size()));
  std::printf("full report to PDF     %8.1f ms  (budget 1000 ms)  %s\n", ma,
              ma <= 1000 ? "ok" : "OVER");
  std::printf("bare QPainter replay   %8.1f ms\n", mb);
  std::printf("ratio                  %8.2f    (aim <= 1.5)  %s\n", ma / mb,
              ma / mb <= 1.5 ? "ok" : "over");
  return 0;
}
