#pragma once
// Printing a report on the program's one printer, with the abort box shown while it runs.

#include <QString>
#include <functional>
#include <memory>

class QObject;
class QWidget;

namespace ruto {

class PrintJob;
class PrinterOutput;

// The shared printer's output for one report, or null when there is none: nowhere to print
// or no device (the user is told), or the set-up's file kept by the user.
std::shared_ptr<PrinterOutput> OpenReportOutput();

// Starts a job titled `title` on the shared printer; `addSteps` gives it its drawing. A job
// that cannot start is reported and nothing is drawn. The abort box's button discards the
// job. `done` is told whether the job completed. False when the job did not start.
bool StartReportPrint(const QString& title, const std::function<void(PrintJob&)>& addSteps,
                      QWidget* parent, std::function<void(bool completed)> done = {});

// Shows the abort box while a job runs: the program's own when there is one, otherwise one of
// `parent`'s. Its button runs `abort` in `job`'s context. The returned function takes the box
// down again and may be called more than once.
std::function<void()> ShowAbortBox(QObject* job, std::function<void()> abort, QWidget* parent);

// Text shown when the printer refuses a job.
QString PrintNotStartedText();

}  // namespace ruto
