#pragma once
// A simulated meter behind a controller and the main window's device handlers, on virtual
// time: the set-up every protocol and bookkeeping test starts from.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <memory>
#include <thread>

#include "base/Clock.h"
#include "device/HidDeviceController.h"
#include "device/MeterCommands.h"
#include "device/MeterDeviceHandlers.h"
#include "device/SimulatedMeter.h"

namespace ruto::test {

class MeterFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    MeterState = TMeterState{};
    backend = std::make_shared<SimulatedMeterBackend>();
  }

  void TearDown() override {
    handlers.reset();
    controller.reset();
    MeterState = TMeterState{};
  }

  // Plugs a meter in, creates the controller and runs the window's creation steps.
  void start(SimulatedMeterConfig config = {}) {
    meter = backend->addMeter(config);
    controller = std::make_unique<THidDeviceController>(backend);
    handlers = std::make_unique<MeterDeviceHandlers>(controller.get());
    handlers->claimMeter();
    pump();
  }

  // Runs what the event loop has queued: device changes and report deliveries.
  static void pump() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }

  // Waits (real time) until the meter's queued reports have been taken by the reader.
  void settle() {
    for (int i = 0; i < 400 && meter->pendingReports() > 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  std::int64_t elapsedSince(std::int64_t t0) const { return clockNow() - t0; }
  std::int64_t clockNow() const { return TickCount(); }

  VirtualClock virtualClock;
  ScopedClock scopedClock{&virtualClock};
  std::shared_ptr<SimulatedMeterBackend> backend;
  std::shared_ptr<SimulatedMeter> meter;
  std::unique_ptr<THidDeviceController> controller;
  std::unique_ptr<MeterDeviceHandlers> handlers;
};

}  // namespace ruto::test
