#pragma once
// The simulated meter set up for the calibration and measurement tests: a reading source the
// test feeds, the stand-in for the user removed again afterwards, and passes of a run on
// virtual time.

#include <QTemporaryDir>
#include <functional>
#include <utility>

#include "app/AskUser.h"
#include "app/InstallDir.h"
#include "app/Settings.h"
#include "device/MeterFixture.h"

namespace ruto::test {

class MeterRunFixture : public MeterFixture {
 protected:
  void TearDown() override {
    SetAskUserResponder({});
    if (meter) meter->setReadingSource({});
    MeterFixture::TearDown();
  }

  // Plugs the meter in, reading what `source` says.
  void startReading(std::function<int()> source) {
    start();
    meter->setReadingSource(std::move(source));
  }

  // One pass of `run`, then 10 ms of virtual time; false once the run has ended.
  template <class Run>
  bool passOnce(Run& run) {
    const bool more = run.pass() >= 0;
    virtualClock.advance(10);
    return more;
  }
  // Passes until the run ends, `until` holds, or `ms` of virtual time have gone.
  template <class Run>
  void passFor(Run& run, int ms, const std::function<bool()>& until) {
    for (int t = 0; t < ms && run.running(); t += 10) {
      if (until && until()) return;
      passOnce(run);
    }
  }
};

// The same over a temporary install folder with the default settings.
class InstalledMeterFixture : public MeterRunFixture {
 protected:
  void SetUp() override {
    MeterRunFixture::SetUp();
    ASSERT_TRUE(dir.isValid());
    SetInstallDir(dir.path());
    Settings = DefaultSettings();
  }

  QTemporaryDir dir;
};

}  // namespace ruto::test
