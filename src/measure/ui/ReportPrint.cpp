#include "measure/ui/ReportPrint.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "app/AskUser.h"
#include "app/ui/PrintAbortBox.h"
#include "app/ui/SharedPrinter.h"
#include "measure/PrintJob.h"

namespace ruto {

QString PrintNotStartedText() {
  return QStringLiteral("無法開始列印，請確認印表機已連接並在 [列印設定] 中選擇可用的印表機。");
}

std::function<void()> ShowAbortBox(QObject* job, std::function<void()> abort, QWidget* parent) {
  QPointer<PrintAbortBox> box = ThePrintAbortBox;
  const bool ownBox = box.isNull();
  if (ownBox) box = new PrintAbortBox(parent);
  box->abortRequested = false;
  const auto pressed =
      QObject::connect(box->abortButton, &QPushButton::clicked, job, std::move(abort));
  // The job does not wait for the box, but the box stands above the modal window that
  // prints: a window behind a modal one takes no clicks, and the abort button must.
  box->setWindowModality(Qt::ApplicationModal);
  box->show();
  return [box, ownBox, pressed] {
    QObject::disconnect(pressed);
    if (!box) return;
    box->hide();
    if (ownBox) box->deleteLater();
  };
}

std::shared_ptr<PrinterOutput> OpenReportOutput() {
  if (!SharedPrinterCanStart()) {
    AskUser(MsgKind::WarningOk, PrintNotStartedText());
    return nullptr;
  }
  if (!ConfirmReportFile()) return nullptr;
  auto output = std::make_shared<PrinterOutput>();
  if (output->device()) return output;
  AskUser(MsgKind::WarningOk, PrintNotStartedText());
  return nullptr;
}

bool StartReportPrint(const QString& title, const std::function<void(PrintJob&)>& addSteps,
                      QWidget* parent, std::function<void(bool)> done) {
  const auto output = OpenReportOutput();
  if (!output) return false;
  auto* job = new PrintJob(output->device());
  output->setTitle(title);
  if (!job->begin()) {
    delete job;
    output->setTitle(QString());
    AskUser(MsgKind::WarningOk, PrintNotStartedText());
    return false;
  }
  addSteps(*job);

  const auto takeDown = ShowAbortBox(
      job, [job] { job->abort(); }, parent);
  // The job has ended its drawing when it finishes: only a complete document is handed on.
  QObject::connect(job, &PrintJob::finished, job,
                   [job, takeDown, done = std::move(done), output](bool ok) {
                     const bool delivered = output->close(ok);
                     output->setTitle(QString());
                     takeDown();
                     if (done) done(ok && delivered);
                     job->deleteLater();
                   });
  job->start();
  return true;
}

}  // namespace ruto
