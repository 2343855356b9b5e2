// bench_skin [rounds] [dialog]
// Median times of (1) showing a new dialog for the first time and (2) repainting a
// maximized main window once, each with the program's skin and with the window kept
// unskinned (tag 99) under the same style, alternating in one run.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "SkinBenchSupport.h"

namespace {

double showDialog(bool skinned) {
  QDialog d;
  if (!skinned) d.setProperty(ruto::kTagProperty, 99);
  d.setWindowTitle(QStringLiteral("客戶資料"));
  d.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  auto* grid = new QGridLayout(&d);
  for (int r = 0; r < 8; ++r) {
    grid->addWidget(new QLabel(QStringLiteral("欄位 %1").arg(r)), r, 0);
    grid->addWidget(new QLineEdit, r, 1);
  }
  grid->addWidget(new QPushButton(QStringLiteral("確  定")), 8, 1);
  d.setFixedSize(420, 320);
  QElapsedTimer t;
  t.start();
  d.show();
  settle();
  d.grab();  // the first paint is part of showing
  return t.nsecsElapsed() / 1e6;
}

struct Main {
  QMainWindow w;
  explicit Main(bool skinned) {
    if (!skinned) w.setProperty(ruto::kTagProperty, 99);
    w.setWindowTitle(QStringLiteral("Zelvan R.U.T.O. Vo-100 經絡能量分析儀"));
    auto* bar = new QMenuBar(&w);
    w.setMenuBar(bar);
    for (const char* t : {"經絡測量", "經絡解說", "系統支援", "關於版本"})
      bar->addAction(QString::fromUtf8(t));
    auto* tools = w.addToolBar(QStringLiteral("tools"));
    for (int i = 0; i < 8; ++i) tools->addAction(QStringLiteral("按鈕%1").arg(i));
    auto* table = new QTableWidget(30, 8);
    w.setCentralWidget(table);
    w.statusBar()->showMessage(QStringLiteral("就緒"));
    w.showMaximized();
    settle();
  }
  double repaint() {
    QElapsedTimer t;
    t.start();
    w.repaint();
    return t.nsecsElapsed() / 1e6;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(5, atoi(argv[1])) : 40;
  ruto::TSkinData skin;
  if (!loadOwnSkin(skin)) return 1;
  std::vector<double> plainShow, skinShow, plainPaint, skinPaint;
  showDialog(false);
  showDialog(true);
  for (int i = 0; i < rounds; ++i) {
    plainShow.push_back(showDialog(false));
    skinShow.push_back(showDialog(true));
  }
  // "dialog" leaves the main window out, for profiling the first show alone.
  const bool dialogOnly = argc > 2 && qstrcmp(argv[2], "dialog") == 0;
  if (!dialogOnly) {
    Main plain(false), skinned(true);
    if (!ruto::SkinManager()->FindFormSkin(&skinned.w) ||
        ruto::SkinManager()->FindFormSkin(&plain.w)) {
      std::fprintf(stderr, "the windows were not skinned as asked\n");
      return 1;
    }
    for (int i = 0; i < rounds; ++i) {
      plainPaint.push_back(plain.repaint());
      skinPaint.push_back(skinned.repaint());
    }
  }
  const double ps = median(plainShow), ss = median(skinShow);
  const double pp = median(plainPaint), sp = median(skinPaint);
  std::printf("median of %d rounds (ms)      unskinned  skinned  ratio\n", rounds);
  std::printf("first show of a dialog        %9.3f  %7.3f  %5.2f\n", ps, ss, ss / ps);
  if (!dialogOnly)
    std::printf("repaint of the maximized main %9.3f  %7.3f  %5.2f\n", pp, sp, sp / pp);
  std::printf("aim: each ratio within 1.5\n");
  return 0;
}
