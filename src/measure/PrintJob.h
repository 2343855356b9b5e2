#pragma once
// One printed report: millimetres by the printer's horizontal resolution, a page width of at
// most 8 inches, and the drawing split into steps run one per event-loop turn, so that the
// abort box's button is seen between steps without a nested event loop.

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "base/Canvas.h"

class QPagedPaintDevice;
class QPainter;

namespace ruto {

// Sizes of the page a job draws on, in device dots.
struct PrintPage {
  int DpiX = 0;
  int Width = 0;   // printable width, at most 8 inches
  int Height = 0;  // page height
  // Millimetres to dots: near(x * DpiX / 25.4).
  int mm(double x) const;
};

// The page of `device`: its resolution, page height and width cut to 8 inches.
PrintPage PageOf(const QPagedPaintDevice& device);

class PrintJob : public QObject {
  Q_OBJECT
 public:
  using Step = std::function<void(Canvas& canvas, PrintJob& job)>;

  // The device must outlive the job.
  explicit PrintJob(QPagedPaintDevice* device, QObject* parent = nullptr);
  ~PrintJob() override;

  const PrintPage& page() const { return page_; }
  int mm(double x) const { return page_.mm(x); }
  // The y of the next line; steps share it.
  int Y = 0;

  void addStep(Step step) { steps_.push_back(std::move(step)); }

  // Opens the job on the device; false when it cannot start (nothing is drawn then).
  bool begin();
  // Runs the steps, one per event-loop turn; finished() follows. A job that did not begin
  // finishes at once, not completed.
  void start();
  // Runs every step at once, for callers that need no abort (and for tests).
  bool runAll();
  // No further step runs; the job ends without its remaining drawing and finishes not
  // completed, so that its owner discards the document.
  void abort();
  bool aborted() const { return aborted_; }
  bool running() const { return painter_ != nullptr; }
  // Starts a new page (not after an abort).
  void newPage();

 Q_SIGNALS:
  void finished(bool completed);

 private:
  void runNext();
  void end();

  QPagedPaintDevice* device_;
  PrintPage page_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<Canvas> canvas_;
  std::vector<Step> steps_;
  size_t next_ = 0;
  bool aborted_ = false;
  bool done_ = false;
};

}  // namespace ruto
