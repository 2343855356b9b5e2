#include "base/Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace ruto {

std::int64_t SteadyClock::nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepMs(std::int64_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {
SteadyClock gSteady;
std::atomic<Clock*> gClock{&gSteady};
}  // namespace

Clock& clock() { return *gClock.load(std::memory_order_acquire); }
void setClock(Clock* c) { gClock.store(c ? c : &gSteady, std::memory_order_release); }

}  // namespace ruto
