#include "measure/PrintJob.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "base/Numbers.h"

namespace ruto {

int PrintPage::mm(double x) const { return nearInt(x * DpiX / 25.4); }

PrintPage PageOf(const QPagedPaintDevice& device) {
  PrintPage page;
  page.DpiX = device.logicalDpiX();
  page.Width = std::min(device.width(), 8 * page.DpiX);
  page.Height = device.height();
  return page;
}

PrintJob::PrintJob(QPagedPaintDevice* device, QObject* parent)
    : QObject(parent), device_(device), page_(PageOf(*device)) {}

PrintJob::~PrintJob() {
  // The canvas draws through the painter: it goes first.
  canvas_.reset();
  if (painter_ && painter_->isActive()) painter_->end();
}

bool PrintJob::begin() {
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(device_)) {
    painter_.reset();
    return false;
  }
  // The device's resolution may be known only once the job is open.
  page_ = PageOf(*device_);
  canvas_ = std::make_unique<QPainterCanvas>(painter_.get());
  return true;
}

void PrintJob::start() {
  if (!painter_) {
    done_ = true;
    Q_EMIT finished(false);
    return;
  }
  QTimer::singleShot(0, this, &PrintJob::runNext);
}

bool PrintJob::runAll() {
  if (!painter_) return false;
  while (!done_ && !aborted_ && next_ < steps_.size()) steps_[next_++](*canvas_, *this);
  const bool completed = !aborted_;
  end();
  return completed;
}

void PrintJob::runNext() {
  if (done_) return;
  if (aborted_ || next_ >= steps_.size()) {
    const bool completed = !aborted_;
    end();
    Q_EMIT finished(completed);
    return;
  }
  steps_[next_++](*canvas_, *this);
  QTimer::singleShot(0, this, &PrintJob::runNext);
}

void PrintJob::abort() {
  if (done_ || aborted_) return;
  aborted_ = true;
}

void PrintJob::newPage() {
  if (!aborted_ && painter_) device_->newPage();
}

void PrintJob::end() {
  if (done_) return;
  done_ = true;
  canvas_.reset();
  if (painter_ && painter_->isActive()) painter_->end();
  painter_.reset();
}

}  // namespace ruto
