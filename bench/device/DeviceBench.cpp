// Cost of one ReadMeterValue exchange with a simulated meter that answers at once: building
// and writing the report, the reader thread taking the reply, the hand-over to the main
// thread and parsing. The meter itself costs next to nothing, so this is the link's overhead.

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "device/HidDeviceController.h"
#include "device/MeterCommands.h"
#include "device/MeterDeviceHandlers.h"
#include "device/SimulatedMeter.h"

namespace {

void BM_ReadMeterValue(benchmark::State& state) {
  auto backend = std::make_shared<ruto::SimulatedMeterBackend>();
  auto meter = backend->addMeter();
  meter->setReading(0x5A7);
  ruto::THidDeviceController controller(backend);
  ruto::MeterDeviceHandlers handlers(&controller);
  handlers.claimMeter();
  if (!ruto::MeterState.Device) {
    state.SkipWithError("meter not claimed");
    return;
  }
  std::int64_t n = 0;
  for (auto _ : state) {
    const int value = ruto::ReadMeterValue();
    benchmark::DoNotOptimize(value);
    if (value != 0x5A7) {
      state.SkipWithError("no reply within the budget");
      break;
    }
    if ((++n & 4095) == 0) {
      state.PauseTiming();
      meter->clearLog();
      QCoreApplication::processEvents();
      state.ResumeTiming();
    }
  }
  state.SetItemsProcessed(n);
}
BENCHMARK(BM_ReadMeterValue)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
