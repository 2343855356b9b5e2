// Run-time binding of the device services: loading by name, all-or-nothing lookups and the
// reference counts that let several controllers share one binding.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "device/HidServices.h"
#include "device/ModuleLoader.h"

using namespace ruto;

TEST(ModuleLoader, LoadsOnceLooksUpAndFrees) {
  ModuleHandle handle = nullptr;
  ASSERT_TRUE(OpenLibrary(handle, "libm.so.6"));
  ModuleHandle first = handle;
  EXPECT_TRUE(OpenLibrary(handle, "libdoes-not-exist.so.3"));  // already loaded: kept
  EXPECT_EQ(handle, first);
  EXPECT_NE(LookUpSymbol(handle, "cos"), nullptr);
  EXPECT_EQ(LookUpSymbol(nullptr, "cos"), nullptr);

  bool ok = true;
  EXPECT_NE(LookUpSymbolChecked(handle, "sin", ok), nullptr);
  EXPECT_TRUE(ok);
  EXPECT_EQ(LookUpSymbolChecked(handle, "no_such_entry_point", ok), nullptr);
  EXPECT_FALSE(ok);
  LookUpSymbolChecked(handle, "tan", ok);
  EXPECT_FALSE(ok) << "a later hit must not clear an earlier miss";

  CloseLibrary(handle);
  EXPECT_EQ(handle, nullptr);
  EXPECT_FALSE(OpenLibrary(handle, "libdoes-not-exist.so.3"));
}

TEST(HidServices, UdevBindingIsAllOrNothingAndCounted) {
  if (UdevReferences() != 0) GTEST_SKIP() << "the set-up library is held elsewhere";

  // A library without udev's entry points: the bind fails and leaves nothing bound.
  EXPECT_FALSE(BindUdev("libm.so.6"));
  EXPECT_EQ(UdevReferences(), 0);
  EXPECT_FALSE(UdevBound());
  EXPECT_EQ(Udev.udev_new, nullptr);
  EXPECT_EQ(Udev.udev_monitor_receive_device, nullptr);

  // A missing library gives back its reference too, so a later bind really loads.
  EXPECT_FALSE(BindUdev("libdoes-not-exist.so.3"));
  EXPECT_EQ(UdevReferences(), 0);

  if (!BindUdev()) {
    EXPECT_EQ(UdevReferences(), 0);
    GTEST_SKIP() << "no libudev.so.1 on this machine";
  }
  EXPECT_TRUE(BindUdev());
  EXPECT_EQ(UdevReferences(), 2);
  EXPECT_NE(Udev.udev_enumerate_scan_devices, nullptr);
  ReleaseUdev();
  EXPECT_TRUE(UdevBound()) << "one holder left";
  ReleaseUdev();
  EXPECT_FALSE(UdevBound());
  EXPECT_EQ(Udev.udev_new, nullptr);
  ReleaseUdev();  // one release too many does not go negative
  EXPECT_EQ(UdevReferences(), 0);
}

TEST(HidServices, FailedHidrawBindGivesBackTheSetupReference) {
  if (UdevReferences() != 0 || HidrawReferences() != 0)
    GTEST_SKIP() << "services are held elsewhere";
  QTemporaryDir dir;
  const QByteArray missing = (dir.path() + "/no-hidraw-class").toLocal8Bit();
  EXPECT_FALSE(BindHidServices("libudev.so.1", missing.constData()));
  EXPECT_EQ(UdevReferences(), 0);
  EXPECT_EQ(HidrawReferences(), 0);
  EXPECT_FALSE(HidrawBound());

  const QByteArray present = dir.path().toLocal8Bit();
  if (!BindHidServices("libudev.so.1", present.constData()))
    GTEST_SKIP() << "no libudev.so.1 on this machine";
  EXPECT_TRUE(BindHidraw(present.constData()));
  EXPECT_EQ(HidrawReferences(), 2);
  ReleaseHidraw();
  ReleaseHidServices();
  EXPECT_EQ(UdevReferences(), 0);
  EXPECT_EQ(HidrawReferences(), 0);
  EXPECT_FALSE(HidrawBound());
}
