// The controller's list and claims as devices come and go, the main window's claim policy,
// and handing reports from the reader thread to the main thread.

#include <gtest/gtest.h>

#include "MeterFixture.h"

using namespace ruto;
using ruto::test::MeterFixture;

namespace {

// Counts what the controller reports.
struct EventLog {
  int changes = 0, arrivals = 0, removals = 0, unplugs = 0, data = 0;
  QByteArray lastData;
  std::tuple<int, int, int, int> counts() const { return {changes, arrivals, removals, unplugs}; }
  explicit EventLog(THidDeviceController* c) {
    QObject::connect(c, &THidDeviceController::OnDeviceChange, [this] { ++changes; });
    QObject::connect(c, &THidDeviceController::OnArrival, [this](THidDevice*) { ++arrivals; });
    QObject::connect(c, &THidDeviceController::OnRemoval, [this](THidDevice*) { ++removals; });
    QObject::connect(c, &THidDeviceController::OnDeviceUnplug, [this](THidDevice*) { ++unplugs; });
    QObject::connect(c, &THidDeviceController::OnDeviceData,
                     [this](THidDevice*, quint8, const QByteArray& d) { ++data, lastData = d; });
  }
};

}  // namespace

TEST_F(MeterFixture, CreationClaimsTheMeterAndTheFirstNotificationReportsAChange) {
  meter = backend->addMeter();
  controller = std::make_unique<THidDeviceController>(backend);
  EventLog log(controller.get());
  handlers = std::make_unique<MeterDeviceHandlers>(controller.get());
  handlers->claimMeter();
  ASSERT_NE(MeterState.Device, nullptr) << "claimed before the window's next step";
  EXPECT_EQ(std::tuple(MeterState.Device->CheckedOut && MeterState.Device->readerRunning(),
                       log.counts(), controller->ClaimedCount(), controller->UnclaimedCount()),
            std::tuple(true, std::tuple(1, 1, 0, 0), 1, 0));
  pump();  // the controller's own first notification: no change, reported all the same
  EXPECT_EQ(std::tuple(log.counts(), controller->count()), std::tuple(std::tuple(2, 1, 0, 0), 1));
}

TEST_F(MeterFixture, UnplugAndReplugOfTheClaimedMeter) {
  start();
  EventLog log(controller.get());
  QPointer<THidDevice> first = MeterState.Device.get();
  ASSERT_TRUE(first);
  backend->unplug(meter);
  pump();
  // The window frees the meter that has gone.
  EXPECT_EQ(
      std::tuple(log.counts(), MeterState.Device == nullptr, first.isNull(), controller->count()),
      std::tuple(std::tuple(1, 0, 1, 1), true, true, 0));
  controller->DeviceChange();  // nothing new: no event
  backend->replug(meter, "0003:5A3C:7E21.0007");
  pump();
  ASSERT_NE(MeterState.Device, nullptr);
  EXPECT_EQ(
      std::tuple(log.counts(), MeterState.Device->PnPInfo.Identity, controller->ClaimedCount()),
      std::tuple(std::tuple(2, 1, 1, 1), "0003:5A3C:7E21.0007", 1));
}

TEST_F(MeterFixture, ClaimedDeviceThatGoesStaysListedUntilItsHolderLetsGo) {
  meter = backend->addMeter();
  controller = std::make_unique<THidDeviceController>(backend);
  EventLog log(controller.get());
  controller->DeviceChange();
  std::unique_ptr<THidDevice> held;
  ASSERT_TRUE(controller->ClaimById(held, kMeterVendorId, -1));
  backend->unplug(meter);
  pump();
  EXPECT_EQ(std::tuple(controller->count(), controller->UnpluggedCount(),
                       controller->ClaimedCount(), held->PluggedIn || held->readerRunning()),
            std::tuple(1, 1, 0, false));
  controller->DeviceChange();
  EXPECT_EQ(log.unplugs, 1) << "the unplug event comes once";
  controller->ReleaseDevice(held);
  EXPECT_EQ(std::tuple(held == nullptr, controller->count()), std::tuple(true, 0));
}

TEST_F(MeterFixture, TwoMetersAndOtherDevices) {
  backend->addMeter({.Identity = "0003:046D:C077.0001", .VendorID = 0x046D, .ProductID = 0xC077});
  auto second = backend->addMeter({.Identity = "0003:5A3C:7E21.0002"});
  start({.Identity = "0003:5A3C:7E21.0003"});
  ASSERT_NE(MeterState.Device, nullptr);
  // The first in list order is claimed.
  EXPECT_EQ(std::tuple(MeterState.Device->PnPInfo.Identity, controller->count(),
                       controller->ClaimedCount(), controller->UnclaimedCount()),
            std::tuple("0003:5A3C:7E21.0002", 3, 1, 2));
  // ProductId -1 takes the first unclaimed device of the vendor.
  std::unique_ptr<THidDevice> any;
  ASSERT_TRUE(controller->ClaimById(any, kMeterVendorId, -1));
  EXPECT_EQ(any->PnPInfo.Identity, "0003:5A3C:7E21.0003");
  controller->ReleaseDevice(any);
  // Given back, listed for later claims.
  EXPECT_EQ(std::tuple(any == nullptr, controller->UnclaimedCount()), std::tuple(true, 2));
  ASSERT_TRUE(controller->ClaimById(any, kMeterVendorId, -1));
  // A failed claim frees what the handle held.
  EXPECT_FALSE(controller->ClaimById(any, kMeterVendorId, 0x1234) || any);
  // Freed while present: a fresh copy stays listed.
  EXPECT_EQ(std::tuple(controller->count(), controller->UnclaimedCount()), std::tuple(3, 2));

  // The claimed meter goes: the other one takes its place at the same change.
  backend->unplug(second);
  pump();
  ASSERT_NE(MeterState.Device, nullptr);
  EXPECT_EQ(std::tuple(MeterState.Device->PnPInfo.Identity, controller->count()),
            std::tuple("0003:5A3C:7E21.0003", 2));

  // A filter sees each unclaimed device with access to it; a refusal claims nothing.
  std::unique_ptr<THidDevice> filtered;
  int asked = 0;
  EXPECT_FALSE(controller->ClaimByFilter(filtered, [&](THidDevice* d) {
    ++asked;
    EXPECT_TRUE(d->Accessible());
    return false;
  }));
  EXPECT_EQ(std::tuple(asked, controller->device(0)->Accessible()), std::tuple(1, false));
}

TEST_F(MeterFixture, ReportsReachTheMainThreadAndStoppedReadersDeliverNoMore) {
  start();
  EventLog log(controller.get());
  meter->sendReport("HELLO");
  settle();
  EXPECT_EQ(log.data, 0) << "delivered on the main thread only";
  pump();
  EXPECT_EQ(std::tuple(log.data, log.lastData, MeterState.Reply, MeterState.Replied),
            std::tuple(1, QByteArray("HELLO\0\0\0", 8), QByteArray("HELLO\0\0\0", 8), true));
  meter->sendReport("late");
  settle();  // the reader has handed it over; its delivery is posted, not yet run
  ASSERT_EQ(meter->pendingReports(), 0);
  controller->ReleaseDevice(MeterState.Device);
  pump();
  // A released device delivers nothing more.
  EXPECT_EQ(std::tuple(log.data, controller->device(0)->readerRunning()), std::tuple(1, false));

  // The same with the claimed device freed outright: the controller keeps a fresh copy.
  handlers->HidCtlDeviceChange();
  ASSERT_NE(MeterState.Device, nullptr);
  meter->sendReport("late");
  settle();
  THidDevice* held = MeterState.Device.get();
  MeterState.Device.reset();
  pump();
  ASSERT_EQ(controller->count(), 1);
  THidDevice* fresh = controller->device(0);
  EXPECT_EQ(std::tuple(log.data, fresh != held, !fresh->CheckedOut && fresh->PluggedIn),
            std::tuple(1, true, true));
  // And with the reader idle in its wait.
  handlers->HidCtlDeviceChange();
  ASSERT_TRUE(MeterState.Device.get() == fresh && fresh->readerRunning());
  fresh->StopReader();
  EXPECT_FALSE(fresh->readerRunning());
}

TEST_F(MeterFixture, DeviceWithoutReadWriteAccessIsListedButSilent) {
  start({.ReadWrite = false});
  ASSERT_TRUE(controller->count() == 1 && MeterState.Device);
  EXPECT_FALSE(MeterState.Device->ReadWriteAccess || MeterState.Device->readerRunning());
  const std::int64_t t0 = clockNow();
  EXPECT_EQ(ReadMeterValue(), 0);
  EXPECT_EQ(std::tuple(elapsedSince(t0), meter->commands().size()), std::tuple(350, 0));
}

TEST_F(MeterFixture, ControllerDestroyedBeforeTheHolderOfItsDevice) {
  start();
  QPointer<THidDevice> dev = MeterState.Device.get();
  controller.reset();
  ASSERT_TRUE(dev) << "the holder's device outlives the controller";
  EXPECT_FALSE(dev->PluggedIn || dev->readerRunning() || ReadMeterValue() != 0);
  handlers.reset();
  EXPECT_TRUE(MeterState.Device == nullptr && !dev) << "freed by its holder";
}
