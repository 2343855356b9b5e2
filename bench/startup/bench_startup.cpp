// Runs the program and its two references alternately as child processes and compares their
// median wall time from process start to exit right after the main window is shown. Then
// measures the check of a large main database and starts the program with it.
//   bench_startup [rounds] [clients, 0 for no large database]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"

namespace {

double runOnce(const QString& exe, const QStringList& args) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  p.setProcessEnvironment(env);
  QElapsedTimer t;
  t.start();
  p.start(exe, args);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return -1;
  return t.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(3, atoi(argv[1])) : 15;
  std::vector<double> bare, dressed, ruto, rutoWarm;
  QTemporaryDir warm;  // second and later starts find their files in place
  runOnce(QStringLiteral(RUTO_EXE), {warm.path()});
  for (int i = 0; i < rounds; ++i) {
    const double b = runOnce(QStringLiteral(BARE_EXE), {});
    const double d = runOnce(QStringLiteral(DRESSED_EXE), {});
    const double r = runOnce(QStringLiteral(RUTO_EXE), {});
    const double w = runOnce(QStringLiteral(RUTO_EXE), {warm.path()});
    if (b < 0 || d < 0 || r < 0 || w < 0) {
      std::fprintf(stderr, "a program failed to start\n");
      return 1;
    }
    bare.push_back(b);
    dressed.push_back(d);
    ruto.push_back(r);
    rutoWarm.push_back(w);
  }
  const double mb = median(bare), md = median(dressed), mr = median(ruto), mw = median(rutoWarm);
  std::printf("start-up to main window shown, median of %d runs\n", rounds);
  std::printf("                                          vs bare  vs dressed\n");
  std::printf("  bare QMainWindow           %8.1f ms\n", mb);
  std::printf("  dressed QMainWindow        %8.1f ms  %5.2fx\n", md, md / mb);
  std::printf("  ruto, first start          %8.1f ms  %5.2fx  %5.2fx\n", mr, mr / mb, mr / md);
  std::printf("  ruto, later starts         %8.1f ms  %5.2fx  %5.2fx\n", mw, mw / mb, mw / md);

  const int clients = argc > 2 ? atoi(argv[2]) : 100000;
  if (clients <= 0) return 0;
  QTemporaryDir large;
  std::fflush(stdout);
  QProcess check;
  check.setProcessChannelMode(QProcess::ForwardedChannels);
  check.start(QStringLiteral(CHECK_EXE), {large.path(), QString::number(clients)});
  if (!check.waitForFinished(-1) || check.exitCode() != 0) {
    std::fprintf(stderr, "the large database check failed\n");
    return 1;
  }
  // The check runs beside the start: the window should not wait for it.
  runOnce(QStringLiteral(RUTO_EXE), {large.path()});
  std::vector<double> withLarge;
  for (int i = 0; i < rounds; ++i)
    withLarge.push_back(runOnce(QStringLiteral(RUTO_EXE), {large.path()}));
  std::printf("  ruto, later starts with that database %8.1f ms  (%.2fx the later starts above)\n",
              median(withLarge), median(withLarge) / mw);
  return 0;
}
