#pragma once
// The millisecond tick counter that command budgets, measurement stages and calibration
// ticks read. Tests swap in a virtual clock so waits run on simulated time.

#include <atomic>
#include <cstdint>

namespace ruto {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t nowMs() = 0;
  // Let `ms` pass: a real clock sleeps, a virtual one advances.
  virtual void sleepMs(std::int64_t ms) = 0;
};

class SteadyClock final : public Clock {
 public:
  std::int64_t nowMs() override;
  void sleepMs(std::int64_t ms) override;
};

// A clock that moves only when told to (or when something sleeps on it).
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(std::int64_t start = 1000) : now_(start) {}
  std::int64_t nowMs() override { return now_.load(); }
  void sleepMs(std::int64_t ms) override { now_ += ms > 0 ? ms : 0; }
  void advance(std::int64_t ms) { now_ += ms; }

 private:
  // Read by device reader threads while a test advances it.
  std::atomic<std::int64_t> now_;
};

// The process clock; never null. setClock(nullptr) restores the steady clock.
Clock& clock();
void setClock(Clock* c);
inline std::int64_t TickCount() { return clock().nowMs(); }

// Installs a clock for one scope (tests).
class ScopedClock {
 public:
  explicit ScopedClock(Clock* c) : previous_(&clock()) { setClock(c); }
  ~ScopedClock() { setClock(previous_); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  Clock* previous_;
};

}  // namespace ruto
