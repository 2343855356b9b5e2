#pragma once
// The printed analysis report: page state and paging, header and client block, the measurement
// table, the printed charts and the text sections, drawn on a report target (a printer, a PDF
// file or a recording) from one snapshot of the analysis window. The job runs as a list of
// steps, one per timer tick, so the abort box is seen between them.

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/SharedRecords.h"
#include "base/Canvas.h"
#include "measure/Analysis.h"
#include "measure/Charts.h"
#include "measure/PrintOptions.h"
#include "measure/ReferenceTable.h"

class QFont;
class QPagedPaintDevice;
class QPainter;

namespace ruto {

// Where the report draws: a canvas in device dots, its page, and the job's life.
class TReportTarget {
 public:
  virtual ~TReportTarget() = default;
  // Opens the job under `title`; false when it cannot start (nothing is drawn then).
  virtual bool begin(const QString& title) = 0;
  virtual Canvas& canvas() = 0;
  virtual int dpiX() const = 0;
  virtual int pageWidth() const = 0;
  virtual int pageHeight() const = 0;
  virtual void newPage() = 0;
  // Finishes the document.
  virtual void end() = 0;
  // Discards the job: no more drawing, nothing delivered.
  virtual void abort() = 0;
};

// Keeps the drawing as RecordingCanvas entries; a page break is an entry "NewPage".
class TRecordingTarget final : public TReportTarget {
 public:
  TRecordingTarget(int dpi, int width, int height) : dpi_(dpi), width_(width), height_(height) {}
  RecordingCanvas Recording;
  QString Title;
  int Pages = 0;
  bool Began = false, Ended = false, Aborted = false;
  bool CanBegin = true;

  bool begin(const QString& title) override;
  Canvas& canvas() override { return Recording; }
  int dpiX() const override { return dpi_; }
  int pageWidth() const override { return width_; }
  int pageHeight() const override { return height_; }
  void newPage() override;
  void end() override { Ended = true; }
  void abort() override { Aborted = true; }

 private:
  int dpi_, width_, height_;
};

// A printer or a PDF writer. `setTitle` names the job on the device before it opens;
// `closed` is told, once the drawing has ended, whether the document is complete (a stopped
// one must reach no printer); `outputFile`, when the job writes a file, is removed after an
// abort so that no partial document is left.
class TPagedDeviceTarget final : public TReportTarget {
 public:
  TPagedDeviceTarget(QPagedPaintDevice* device, std::function<void(const QString&)> setTitle,
                     std::function<void(bool completed)> closed = {}, QString outputFile = {});
  ~TPagedDeviceTarget() override;

  bool begin(const QString& title) override;
  Canvas& canvas() override { return *canvas_; }
  int dpiX() const override;
  int pageWidth() const override;
  int pageHeight() const override;
  void newPage() override;
  void end() override;
  void abort() override;

 private:
  void close(bool completed);

  QPagedPaintDevice* device_;
  std::function<void(const QString&)> setTitle_;
  std::function<void(bool)> closed_;
  QString outputFile_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<Canvas> canvas_;
};

// One matched expert program: its list text and, when found, its description.
struct TReportProgram {
  QString Item;
  QString ProData;
};

// Everything the report prints, taken from the analysis window when "列  印" is pressed.
struct TReportInput {
  TPrintOptionSet Options{};
  TAnalysisResult Analysis;
  TCurrentTest Test;
  TClientInfo Client;
  QString UserName2, UserData1, UserData2;
  QStringList DiagnosisItems;              // diagnosisList
  QStringList DietItems;                   // dietList
  QStringList PrescriptionItems;           // prescriptionList
  std::vector<TReportProgram> Programs;    // programList
  QString Note;                            // the treatment note
  std::map<int, TReferenceRow> Reference;  // VOMTDB rows by key; a missing key has no row
  QDate Today;
  QString FontName = QStringLiteral("Tahoma");
};

// Word wrap of a memo: hard breaks kept, lines broken between ideographs and at Latin spaces
// (a word longer than the line is broken anywhere); an empty paragraph is one empty line.
QStringList wrapLines(const QString& text, int width, const QFont& font);
// The same rule with any measure of a text's width.
QStringList wrapLines(const QString& text, int width,
                      const std::function<int(const QString&)>& measure);
// The report's memos are 600 pixels wide at 96 dpi, whatever the paper.
inline constexpr int kReportMemoWidth = 600;

class TReport {
 public:
  using Wrapper = std::function<QStringList(const QString&)>;

  TReport(TReportTarget& target, TReportInput input);

  // Replaces the memo wrap (tests measure with fixed metrics).
  void setWrapper(Wrapper wrap) { wrap_ = std::move(wrap); }

  static QString DocumentName() { return QStringLiteral("R.U.T.O 分析資料."); }

  // Sets the page state and opens the job; false (nothing drawn) when it cannot start.
  bool Begin();
  // Runs the next step; false once the job has ended or was aborted.
  bool Step();
  // Runs every step.
  void RunAll();
  // Nothing more is drawn, no page started, the job is not ended but discarded.
  void Abort();
  bool Aborted() const { return aborted_; }
  bool Finished() const { return finished_; }
  int StepsLeft() const { return static_cast<int>(steps_.size()); }

  TReportInput& Input() { return in_; }
  int ReportFontSize() const { return fontSize_; }
  int PageNumber() const { return page_; }

  // ---- page state, in device dots ----
  int PrintY = 0;
  int PrintLineHeight = 0;
  int PrintPageWidth = 0;

  int MmToPx(double mm) const;
  TColor PrintColor(TColor c) const;
  void NewLine();
  void PrintLine(const QString& text);
  void PrintHeader();
  void PrintClientInfo();
  void PrintMeasurementTable();
  void PrintBarChart();
  void PrintCurveChart();
  void PrintGeneratingChart();
  void PrintControllingChart();
  void PrintRyodorakuChart();
  void PrintAutonomicChart();
  void PrintBodyStateSummary();
  // The text sections queue one step per item after their title.
  void PrintMeridianDiagnosis();
  void PrintTreatmentRecord();
  void PrintPrescriptionAdvice();
  void PrintDietAdvice();
  void PrintExpertPrograms();

 private:
  using Memo = QStringList;  // lines as added; wrapped when printed

  bool option(int position) const { return in_.Options[position]; }
  bool detailed() const { return option(1); }
  Canvas& c() { return target_.canvas(); }
  void pageLabel();
  void breakPage();
  void textSectionStart(const QString& title);
  void chart(ChartType kind, int afterMm);
  void centred(const QString& text);
  void later(std::vector<std::function<void()>> items);
  QStringList displayLines(const Memo& memo) const;
  void plainBlock(const Memo& memo);
  void levelBlock(const Memo& memo, bool firstLineOnly = false);
  void heading(int k, const QString& text, TColor color);
  bool high(int m) const;
  bool low(int m) const;
  const TReferenceRow* row(int key) const;
  void finish();

  TReportTarget& target_;
  TReportInput in_;
  Wrapper wrap_;
  TChartPrint chartPrint_;
  std::deque<std::function<void()>> steps_;
  int fontSize_ = 10;
  int page_ = 0;
  bool begun_ = false;
  bool aborted_ = false;
  bool finished_ = false;
};

// Runs a report's steps one per zero-delay timer tick; finished() tells whether it completed.
class TReportJob : public QObject {
  Q_OBJECT
 public:
  TReportJob(std::unique_ptr<TReportTarget> target, TReportInput input, QObject* parent = nullptr);
  ~TReportJob() override;

  TReport& report() { return *report_; }
  // Opens the job; false when it cannot start.
  bool begin();
  void start();
  void abort();
  bool running() const { return running_; }

 Q_SIGNALS:
  void finished(bool completed);

 private:
  void tick();

  std::unique_ptr<TReportTarget> target_;
  std::unique_ptr<TReport> report_;
  bool running_ = false;
};

}  // namespace ruto
