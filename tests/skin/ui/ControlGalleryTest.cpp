// One dialog with a control of every skinned kind in its states, painted with the program's
// own skin and unskinned; both pictures go to test-output/skin/controls/ for people to judge.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
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

#include "SkinUiSupport.h"
#include "skin/ui/ControlSkins.h"
#include "skin/ui/SkinSetup.h"
#include "skin/ui/SkinStyle.h"

namespace ruto {
namespace {

struct Gallery {
  QDialog dlg;
  QList<QWidget*> controls;
  QMenu menu;
  template <class T>
  T* add(QGridLayout* g, T* w, int row, int col, int span = 1) {
    g->addWidget(w, row, col, 1, span);
    controls << w;
    return w;
  }
  Gallery() {
    dlg.setWindowTitle(QStringLiteral("控制項"));
    dlg.setWindowFlags(dlg.windowFlags() | Qt::MSWindowsFixedSizeDialogHint);
    auto* g = new QGridLayout(&dlg);
    add(g, new QPushButton(QStringLiteral("確定")), 0, 0);
    add(g, new QPushButton(QStringLiteral("兩行||按鈕")), 0, 1)->setMinimumHeight(40);
    auto* dis = add(g, new QPushButton(QStringLiteral("停用")), 0, 2);
    dis->setEnabled(false);
    QPixmap icon(16, 16);
    icon.fill(Qt::transparent);
    {
      QPainter p(&icon);
      p.setBrush(QColor(60, 106, 158));
      p.setPen(Qt::NoPen);
      p.drawEllipse(1, 1, 14, 14);
    }
    add(g, new QPushButton(QIcon(icon), QStringLiteral("圖示")), 0, 3);
    auto* mb = add(g, new QPushButton(QStringLiteral("選單")), 1, 0);
    menu.addAction(QStringLiteral("一"));
    mb->setMenu(&menu);
    auto* tb = add(g, new QToolButton, 1, 1);
    tb->setText(QStringLiteral("速鍵"));
    tb->setCheckable(true);
    tb->setChecked(true);
    add(g, new QCheckBox(QStringLiteral("勾選")), 1, 2)->setChecked(true);
    auto* part = add(g, new QCheckBox(QStringLiteral("部分")), 1, 3);
    part->setTristate(true);
    part->setCheckState(Qt::PartiallyChecked);
    add(g, new QRadioButton(QStringLiteral("單選")), 2, 0)->setChecked(true);
    add(g, new QRadioButton(QStringLiteral("另一")), 2, 1);
    add(g, new QLineEdit(QStringLiteral("文字")), 2, 2);
    add(g, new QSpinBox, 2, 3);
    auto* combo = add(g, new QComboBox, 3, 0);
    combo->addItems({QStringLiteral("肺經"), QStringLiteral("心經")});
    auto* date = add(g, new QDateEdit(QDate(2026, 12, 7)), 3, 1);
    date->setCalendarPopup(true);
    add(g, new QProgressBar, 3, 2)->setValue(60);
    add(g, new QSlider(Qt::Horizontal), 3, 3);
    auto* list = add(g, new QListWidget, 4, 0);
    for (int i = 0; i < 30; ++i) list->addItem(QStringLiteral("項目 %1").arg(i));
    auto* memo = add(g, new QPlainTextEdit, 4, 1);
    memo->setPlainText(QStringLiteral("說明\n").repeated(30));
    auto* tree = add(g, new QTreeWidget, 4, 2, 2);
    tree->setHeaderLabels({QStringLiteral("經絡"), QStringLiteral("數值")});
    for (int i = 0; i < 5; ++i)
      new QTreeWidgetItem(tree, {QStringLiteral("經 %1").arg(i), QString::number(i * 7)});
    auto* tabs = add(g, new QTabWidget, 5, 0, 2);
    tabs->addTab(new QWidget, QStringLiteral("第一頁"));
    tabs->addTab(new QWidget, QStringLiteral("第二頁"));
    auto* group = add(g, new QGroupBox(QStringLiteral("群組")), 5, 2);
    auto* gl = new QVBoxLayout(group);
    gl->addWidget(new QCheckBox(QStringLiteral("內部")));
    auto* bar = add(g, new QScrollBar(Qt::Horizontal), 5, 3);
    bar->setRange(0, 100);
    bar->setPageStep(20);
    auto* status = add(g, new QStatusBar, 6, 0, 4);
    status->addWidget(new QLabel(QStringLiteral("就緒")), 1);
    status->addPermanentWidget(new QLabel(QStringLiteral("經絡")));
    for (QWidget* w : controls) w->setMinimumWidth(std::max(w->minimumWidth(), 100));
    dlg.resize(dlg.sizeHint());
  }
};

class ControlGallery : public test::SkinnedTest {
 protected:
  QByteArray stream() override { return OwnSkinPackage(); }
};

TEST_F(ControlGallery, EveryKindSkinnedAndPlain) {
  QDir().mkpath(test::outputDir() + QStringLiteral("/skin/controls"));
  const QString dir = QStringLiteral("skin/controls/");
  // All gates on, so the pictures show every kind this layer paints.
  skin->SkinControls.set();
  {
    Gallery g;
    g.dlg.show();
    test::settle();
    ASSERT_NE(formOf(&g.dlg), nullptr);
    auto* style = qobject_cast<const SkinStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    for (QWidget* w : g.controls)
      EXPECT_TRUE(SkinnedKind(*style, w)) << w->metaObject()->className();
    test::savePng(g.dlg.grab().toImage(), dir + QStringLiteral("gallery-skinned"));
  }
  manager->SetCommand(skin.get(), 2, 0);
  manager->runPendingCommand();
  Gallery plain;
  plain.dlg.show();
  test::settle();
  EXPECT_EQ(formOf(&plain.dlg), nullptr);
  test::savePng(plain.dlg.grab().toImage(), dir + QStringLiteral("gallery-plain"));
}

}  // namespace
}  // namespace ruto
