// One dialog with a control of every skinned kind in its states: skinned with the program's own
// skin every kind is painted by the skin; once skinning is switched off, a new dialog opens
// plain, frame and controls alike.
#include <gtest/gtest.h>

#include "SkinUiSupport.h"
#include "skin/ui/SkinSetup.h"

namespace ruto {
namespace {

using namespace test;

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
  // The middle of the top edge: the skin's title band on a skinned dialog, the dialog's own
  // face on a plain one.
  QColor topMiddle() { return dlg.grab().toImage().pixelColor(dlg.width() / 2, 2); }
};

class ControlGallery : public SkinnedTest {
 protected:
  QByteArray stream() override { return OwnSkinPackage(); }
};

TEST_F(ControlGallery, EveryKindSkinnedAndPlain) {
  // All gates on: every kind this layer paints.
  skin->SkinControls.set();
  Gallery skinned;
  ASSERT_NE(shown(&skinned.dlg), nullptr);
  const SkinStyle* style = skinStyle();
  ASSERT_NE(style, nullptr);
  for (QWidget* w : skinned.controls)
    EXPECT_TRUE(SkinnedKind(*style, w)) << w->metaObject()->className();
  const QColor face = skinned.dlg.palette().color(QPalette::Window);
  EXPECT_NE(skinned.topMiddle(), face);

  // Switched off with the skinned dialog still shown.
  manager->SetCommand(skin.get(), 2, 0);
  manager->runPendingCommand();
  settle();
  EXPECT_FALSE(manager->Active());
  EXPECT_EQ(skinStyle(), nullptr);
  EXPECT_EQ(formOf(&skinned.dlg), nullptr);

  // A dialog opened now is not skinned: a frame of the window system, controls of the base
  // style, nothing of the skin on its top edge.
  Gallery plain;
  EXPECT_EQ(shown(&plain.dlg), nullptr);
  EXPECT_FALSE(plain.dlg.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(plain.dlg.findChild<QWidget*>(QStringLiteral("SkinFrame")), nullptr);
  EXPECT_EQ(skinStyle(), nullptr);
  EXPECT_EQ(plain.topMiddle(), plain.dlg.palette().color(QPalette::Window));
}

}  // namespace
}  // namespace ruto
