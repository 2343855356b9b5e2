#include "device/HidBackend.h"

#include <chrono>

#include "base/Clock.h"

namespace ruto {

void ReportInbox::push(QByteArray Report) {
  {
    std::lock_guard lock(mutex_);
    reports_.push_back(std::move(Report));
    ++pushed_;
  }
  arrived_.notify_all();
  if (!posted_.exchange(true) && post_) post_();
}

bool ReportInbox::take(QByteArray& Report) {
  std::lock_guard lock(mutex_);
  if (reports_.empty()) return false;
  Report = std::move(reports_.front());
  reports_.pop_front();
  return true;
}

bool ReportInbox::empty() {
  std::lock_guard lock(mutex_);
  return reports_.empty();
}

void ReportInbox::clear() {
  std::lock_guard lock(mutex_);
  reports_.clear();
}

std::uint64_t ReportInbox::mark() {
  std::lock_guard lock(mutex_);
  return pushed_;
}

void ReportInbox::clearBefore(std::uint64_t mark) {
  std::lock_guard lock(mutex_);
  std::uint64_t first = pushed_ - reports_.size();
  while (!reports_.empty() && first < mark) {
    reports_.pop_front();
    ++first;
  }
}

bool ReportInbox::waitFor(int Ms) {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, std::chrono::milliseconds(Ms > 0 ? Ms : 0),
                           [this] { return !reports_.empty(); });
}

void HidPort::waitForInput(ReportInbox& Inbox, int Ms) {
  const std::int64_t start = TickCount();
  if (Inbox.waitFor(Ms)) return;
  // A clock that did not move while we waited is a virtual one: let the time pass on it.
  const std::int64_t passed = TickCount() - start;
  if (passed < Ms) clock().sleepMs(Ms - passed);
}

}  // namespace ruto
