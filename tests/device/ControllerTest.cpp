// The controller's list and claims as devices come and go, the main window's claim policy,
// and handing reports from the reader thread to the main thread.

#include <gtest/gtest.h>

#include <QVariant>

#include "MeterFixture.h"

using namespace ruto;
using ruto::test::MeterFixture;

namespace {

// Counts what the controller reports.
struct EventLog {
  int changes = 0, arrivals = 0, removals = 0, unplugs = 0, data = 0;
  QByteArray lastData;
  explicit EventLog(THidDeviceController* c) {
    QObject::connect(c, &THidDeviceController::OnDeviceChange, [this] { ++changes; });
    QObject::connect(c, &THidDeviceController::OnArrival, [this](THidDevice*) { ++arrivals; });
    QObject::connect(c, &THidDeviceController::OnRemoval, [this](THidDevice*) { ++removals; });
    QObject::connect(c, &THidDeviceController::OnDeviceUnplug, [this](THidDevice*) { ++unplugs; });
    QObject::connect(c, &THidDeviceController::OnDeviceData,
                     [this](THidDevice*, quint8, const QByteArray& d) {
                       ++data;
                       lastData = d;
                     });
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
  EXPECT_TRUE(MeterState.Device->CheckedOut);
  EXPECT_TRUE(MeterState.Device->readerRunning());
  EXPECT_EQ(log.changes, 1);
  EXPECT_EQ(log.arrivals, 1);
  EXPECT_EQ(log.removals, 0);
  EXPECT_EQ(log.unplugs, 0);
  EXPECT_EQ(controller->ClaimedCount(), 1);
  EXPECT_EQ(controller->UnclaimedCount(), 0);
  pump();  // the controller's own first notification: no change, reported all the same
  EXPECT_EQ(log.changes, 2);
  EXPECT_EQ(log.arrivals, 1);
  EXPECT_EQ(log.removals, 0);
  EXPECT_EQ(log.unplugs, 0);
  EXPECT_EQ(controller->count(), 1);
}

TEST_F(MeterFixture, UnplugAndReplugOfTheClaimedMeter) {
  start();
  EventLog log(controller.get());
  QPointer<THidDevice> first = MeterState.Device.get();
  ASSERT_TRUE(first);
  backend->unplug(meter);
  pump();
  EXPECT_EQ(log.changes, 1);
  EXPECT_EQ(log.arrivals, 0);
  EXPECT_EQ(log.removals, 1);
  EXPECT_EQ(log.unplugs, 1);
  EXPECT_EQ(MeterState.Device, nullptr);
  EXPECT_FALSE(first) << "the window frees the meter that has gone";
  EXPECT_EQ(controller->count(), 0);
  controller->DeviceChange();  // nothing new: no event
  EXPECT_EQ(log.changes, 1);
  backend->replug(meter, "0003:5A3C:7E21.0007");
  pump();
  EXPECT_EQ(log.changes, 2);
  EXPECT_EQ(log.arrivals, 1);
  EXPECT_EQ(log.removals, 1);
  EXPECT_EQ(log.unplugs, 1);
  ASSERT_NE(MeterState.Device, nullptr);
  EXPECT_EQ(MeterState.Device->PnPInfo.Identity, "0003:5A3C:7E21.0007");
  EXPECT_EQ(controller->ClaimedCount(), 1);
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
  EXPECT_EQ(log.unplugs, 1);
  EXPECT_EQ(controller->count(), 1);
  EXPECT_EQ(controller->UnpluggedCount(), 1);
  EXPECT_EQ(controller->ClaimedCount(), 0);
  EXPECT_FALSE(held->PluggedIn);
  EXPECT_FALSE(held->readerRunning());
  controller->DeviceChange();
  EXPECT_EQ(log.unplugs, 1) << "the unplug event comes once";
  controller->ReleaseDevice(held);
  EXPECT_EQ(held, nullptr);
  EXPECT_EQ(controller->count(), 0);
}

TEST_F(MeterFixture, TwoMetersAndOtherDevices) {
  backend->addMeter({.Identity = "0003:046D:C077.0001", .VendorID = 0x046D, .ProductID = 0xC077});
  auto second = backend->addMeter({.Identity = "0003:5A3C:7E21.0002"});
  start({.Identity = "0003:5A3C:7E21.0003"});
  ASSERT_NE(MeterState.Device, nullptr);
  EXPECT_EQ(MeterState.Device->PnPInfo.Identity, "0003:5A3C:7E21.0002") << "first in list order";
  EXPECT_EQ(controller->count(), 3);
  EXPECT_EQ(controller->ClaimedCount(), 1);
  EXPECT_EQ(controller->UnclaimedCount(), 2);
  // ProductId -1 takes the first unclaimed device of the vendor.
  std::unique_ptr<THidDevice> any;
  ASSERT_TRUE(controller->ClaimById(any, kMeterVendorId, -1));
  EXPECT_EQ(any->PnPInfo.Identity, "0003:5A3C:7E21.0003");
  controller->ReleaseDevice(any);
  EXPECT_EQ(any, nullptr);
  EXPECT_EQ(controller->UnclaimedCount(), 2) << "given back, listed for later claims";
  ASSERT_TRUE(controller->ClaimById(any, kMeterVendorId, -1));
  EXPECT_FALSE(controller->ClaimById(any, kMeterVendorId, 0x1234));
  EXPECT_EQ(any, nullptr) << "a failed claim frees what the handle held";
  EXPECT_EQ(controller->count(), 3) << "freed while present: a fresh copy stays listed";
  EXPECT_EQ(controller->UnclaimedCount(), 2);

  // The claimed meter goes: the other one takes its place at the same change.
  backend->unplug(second);
  pump();
  ASSERT_NE(MeterState.Device, nullptr);
  EXPECT_EQ(MeterState.Device->PnPInfo.Identity, "0003:5A3C:7E21.0003");
  EXPECT_EQ(controller->count(), 2);

  // A filter sees each unclaimed device with access to it; a refusal claims nothing.
  std::unique_ptr<THidDevice> filtered;
  int asked = 0;
  EXPECT_FALSE(controller->ClaimByFilter(filtered, [&](THidDevice* d) {
    ++asked;
    EXPECT_TRUE(d->Accessible());
    return false;
  }));
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(controller->device(0)->Accessible());
}

TEST_F(MeterFixture, ReportsReachTheMainThreadAndStoppedReadersDeliverNoMore) {
  start();
  EventLog log(controller.get());
  meter->sendReport("HELLO");
  settle();
  EXPECT_EQ(log.data, 0) << "delivered on the main thread only";
  pump();
  EXPECT_EQ(log.data, 1);
  EXPECT_EQ(log.lastData, QByteArray("HELLO\0\0\0", 8));
  EXPECT_EQ(MeterState.Reply, QByteArray("HELLO\0\0\0", 8));
  EXPECT_TRUE(MeterState.Replied);
  meter->sendReport("late");
  settle();  // the reader has handed it over; its delivery is posted, not yet run
  ASSERT_EQ(meter->pendingReports(), 0);
  controller->ReleaseDevice(MeterState.Device);
  pump();
  EXPECT_EQ(log.data, 1) << "a released device delivers nothing more";
  EXPECT_FALSE(controller->device(0)->readerRunning());

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
  EXPECT_EQ(log.data, 1);
  EXPECT_NE(fresh, held);
  EXPECT_FALSE(fresh->CheckedOut);
  EXPECT_TRUE(fresh->PluggedIn);
  // And with the reader idle in its wait.
  handlers->HidCtlDeviceChange();
  ASSERT_EQ(MeterState.Device.get(), fresh);
  ASSERT_TRUE(fresh->readerRunning());
  fresh->StopReader();
  EXPECT_FALSE(fresh->readerRunning());
}

TEST_F(MeterFixture, DeviceWithoutReadWriteAccessIsListedButSilent) {
  start({.ReadWrite = false});
  ASSERT_EQ(controller->count(), 1);
  ASSERT_NE(MeterState.Device, nullptr);
  EXPECT_FALSE(MeterState.Device->ReadWriteAccess);
  EXPECT_FALSE(MeterState.Device->readerRunning());
  const std::int64_t t0 = clockNow();
  EXPECT_EQ(ReadMeterValue(), 0);
  EXPECT_EQ(elapsedSince(t0), 350);
  EXPECT_TRUE(meter->commands().empty());
}

TEST_F(MeterFixture, ControllerDestroyedBeforeTheHolderOfItsDevice) {
  start();
  QPointer<THidDevice> dev = MeterState.Device.get();
  controller.reset();
  ASSERT_TRUE(dev) << "the holder's device outlives the controller";
  EXPECT_FALSE(dev->PluggedIn);
  EXPECT_FALSE(dev->readerRunning());
  EXPECT_EQ(ReadMeterValue(), 0);
  handlers.reset();
  EXPECT_EQ(MeterState.Device, nullptr);
  EXPECT_FALSE(dev) << "freed by its holder";
}

TEST_F(MeterFixture, VersionIsFixedAndTheEnumerateHandlerIsOnlyKept) {
  start();
  controller->SetVersion("2.5.0");
  EXPECT_EQ(controller->Version(), "1.0.0");
  controller->setProperty("Version", "2.5.0");
  EXPECT_EQ(controller->property("Version").toString(), "1.0.0");

  int calls = 0;
  controller->SetOnEnumerate([&calls](THidDevice*, int) { return ++calls > 0; });
  backend->addMeter({.Identity = "0003:5A3C:7E21.0009"});
  controller->DeviceChange();
  EXPECT_TRUE(controller->OnEnumerate());
  EXPECT_EQ(calls, 0) << "a scan never calls it";
}
