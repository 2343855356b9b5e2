// bench_measure [rounds]
// (1) Median real time of one sampling pass of the measurement run in the real window
//     (offscreen), events processed so figures, bars and the trace segment are painted, against
//     a bare ReadMeterValue from the same simulated meter. Budget: median under 1 ms, a tenth
//     of a 10 ms meter exchange.
// (2) Median time to open the window until painted and close it, against a bare QDialog of
//     its size. Aim: under 100 ms.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "app/AskUser.h"
#include "app/InstallDir.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "base/Clock.h"
#include "device/HidDeviceController.h"
#include "device/MeterCommands.h"
#include "device/MeterDeviceHandlers.h"
#include "device/SimulatedMeter.h"
#include "measure/MeasureRun.h"
#include "measure/ui/MeasurementWindow.h"

using namespace ruto;

namespace {

double ms(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e6; }

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 400;
  QTemporaryDir dir;
  SetInstallDir(dir.path());
  Settings = DefaultSettings();
  InitCompFactors();
  SetAskUserResponder([](MsgKind, const QString&) { return true; });

  VirtualClock virtualClock;
  ScopedClock scoped(&virtualClock);
  auto backend = std::make_shared<SimulatedMeterBackend>();
  std::shared_ptr<SimulatedMeter> meter = backend->addMeter();
  THidDeviceController controller(backend);
  MeterDeviceHandlers handlers(&controller);
  handlers.claimMeter();
  app.processEvents();
  if (!MeterState.Device) {
    std::fprintf(stderr, "no simulated meter claimed\n");
    return 1;
  }

  // (1) Sampling passes; the probe comes off after each point so the run goes on.
  std::vector<double> passes, reads;
  {
    MeasurementWindow w;
    w.show();
    app.processEvents();
    meter->setReadingSource(
        [&w] { return w.Run().phase() == MeasureRun::Phase::AwaitLift ? 0 : 1000; });
    w.startMeasurement();
    while (int(passes.size()) < rounds && w.Run().running()) {
      const bool sampling = w.Run().phase() == MeasureRun::Phase::Sampling;
      QElapsedTimer t;
      t.start();
      w.measureTick();
      w.measureTimer->stop();
      app.processEvents();
      if (sampling) passes.push_back(ms(t));
      virtualClock.advance(10);
    }
    w.stopMeasurement();
    for (int i = 0; i < 5 && w.Run().running(); ++i) w.measureTick();
    meter->setReadingSource({});
    for (int i = 0; i < rounds; ++i) {
      QElapsedTimer t;
      t.start();
      ReadMeterValue();
      reads.push_back(ms(t));
    }
  }

  // (2) Opening the window against a bare dialog of its size.
  std::vector<double> opens, bare;
  const int openRounds = std::max(5, rounds / 20);
  for (int i = 0; i < openRounds; ++i) {
    QElapsedTimer t;
    t.start();
    {
      MeasurementWindow w;
      w.show();
      w.repaint();
      w.close();
    }
    opens.push_back(ms(t));
    t.restart();
    {
      QDialog d;
      d.setFixedSize(783, 556);
      d.show();
      d.repaint();
      d.close();
    }
    bare.push_back(ms(t));
  }

  const double pass = median(passes), read = median(reads);
  const double open = median(opens), dialog = median(bare);
  std::printf("sampling pass in the window:  %.3f ms median (%zu passes); budget 1 ms: %s\n", pass,
              passes.size(), pass < 1.0 ? "met" : "MISSED");
  std::printf("bare simulated reading:       %.3f ms median (a pass reads once or twice)\n", read);
  std::printf("window open until painted:    %.2f ms median (%d rounds); aim 100 ms: %s\n", open,
              openRounds, open < 100 ? "met" : "MISSED");
  std::printf("bare dialog of its size:      %.2f ms median\n", dialog);
  SetAskUserResponder({});
  return 0;
}
