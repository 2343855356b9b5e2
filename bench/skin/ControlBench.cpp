// bench_skin_controls [rounds]
// Median time of one repaint of a dialog holding one control of every skinned kind, painted
// by the skin's control painters and, in the same run, by the base style (the same dialog
// tagged 99, so its window and controls keep the base look).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "SkinBenchSupport.h"

namespace {

struct Controls {
  QDialog d;
  explicit Controls(bool skinned) {
    if (!skinned) d.setProperty(ruto::kTagProperty, 99);
    auto* g = new QGridLayout(&d);
    QPixmap icon(16, 16);
    icon.fill(Qt::darkBlue);
    g->addWidget(new QPushButton(QStringLiteral("確定")), 0, 0);
    g->addWidget(new QPushButton(QIcon(icon), QStringLiteral("圖示")), 0, 1);
    auto* tb = new QToolButton;
    tb->setText(QStringLiteral("速鍵"));
    g->addWidget(tb, 0, 2);
    g->addWidget(new QCheckBox(QStringLiteral("勾選")), 1, 0);
    g->addWidget(new QRadioButton(QStringLiteral("單選")), 1, 1);
    g->addWidget(new QLineEdit(QStringLiteral("文字")), 1, 2);
    g->addWidget(new QSpinBox, 2, 0);
    auto* combo = new QComboBox;
    combo->addItems({QStringLiteral("肺經"), QStringLiteral("心經")});
    g->addWidget(combo, 2, 1);
    auto* date = new QDateEdit(QDate(2026, 12, 7));
    date->setCalendarPopup(true);
    g->addWidget(date, 2, 2);
    auto* progress = new QProgressBar;
    progress->setValue(40);
    g->addWidget(progress, 3, 0);
    g->addWidget(new QSlider(Qt::Horizontal), 3, 1);
    auto* bar = new QScrollBar(Qt::Horizontal);
    bar->setRange(0, 100);
    g->addWidget(bar, 3, 2);
    auto* list = new QListWidget;
    for (int i = 0; i < 40; ++i) list->addItem(QStringLiteral("項目 %1").arg(i));
    g->addWidget(list, 4, 0);
    auto* memo = new QPlainTextEdit(QStringLiteral("說明\n").repeated(40));
    g->addWidget(memo, 4, 1);
    auto* tree = new QTreeWidget;
    tree->setHeaderLabels({QStringLiteral("經絡"), QStringLiteral("數值")});
    g->addWidget(tree, 4, 2);
    auto* tabs = new QTabWidget;
    tabs->addTab(new QWidget, QStringLiteral("第一頁"));
    tabs->addTab(new QWidget, QStringLiteral("第二頁"));
    g->addWidget(tabs, 5, 0, 1, 2);
    auto* group = new QGroupBox(QStringLiteral("群組"));
    (new QVBoxLayout(group))->addWidget(new QCheckBox(QStringLiteral("內部")));
    g->addWidget(group, 5, 2);
    auto* status = new QStatusBar;
    status->addWidget(new QLabel(QStringLiteral("就緒")), 1);
    g->addWidget(status, 6, 0, 1, 3);
    d.resize(700, 520);
    d.show();
    settle();
  }
  double repaint() {
    QElapsedTimer t;
    t.start();
    d.repaint();
    return t.nsecsElapsed() / 1e6;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(5, atoi(argv[1])) : 60;
  ruto::TSkinData skin;
  if (!loadOwnSkin(skin)) return 1;
  // Every gate on, so each kind is painted by the skin.
  skin.SkinControls.set();
  Controls plain(false), skinned(true);
  if (!ruto::SkinManager()->FindFormSkin(&skinned.d) ||
      ruto::SkinManager()->FindFormSkin(&plain.d)) {
    std::fprintf(stderr, "the dialogs were not skinned as asked\n");
    return 1;
  }
  std::vector<double> p, s;
  plain.repaint();
  skinned.repaint();
  for (int i = 0; i < rounds; ++i) {
    p.push_back(plain.repaint());
    s.push_back(skinned.repaint());
  }
  const double mp = median(p), ms = median(s);
  std::printf("median of %d rounds (ms)            base style  skinned  ratio\n", rounds);
  std::printf("repaint of a dialog of every control %10.3f  %7.3f  %5.2f\n", mp, ms, ms / mp);
  std::printf("aim: ratio within 2\n");
  return 0;
}
