// Every window read by assistive technology down to the cells of its item views, then closed:
// no cell it handed out outlives the window, and the program ends quietly even when a cell's
// index lost track of its model.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QProcess>
#include <QTreeView>
#include <algorithm>
#include <cstring>

#include "WindowCensus.h"
#include "app/SharedRecords.h"
#include "app/ui/ViewAccessibles.h"

namespace {

using ruto::ViewState;
using ruto::test::Opener;
using ruto::test::settle;

// Reaches the model's own bookkeeping of persistent indexes.
struct ModelBookkeeping : QAbstractItemModel {
  using QAbstractItemModel::changePersistentIndex;
};

class ViewAccessibles : public ruto::test::WindowCensusTest {
 protected:
  void SetUp() override {
    WindowCensusTest::SetUp();
    ruto::InstallViewAccessibleTeardown();
    QAccessible::setActive(true);
  }
  void TearDown() override {
    QAccessible::setActive(false);
    WindowCensusTest::TearDown();
  }

  // A folder tree fills in the background; the temporary folder is put in at once, so the
  // tree has a row to read.
  static void fillTrees(QWidget* window) {
    for (QTreeView* tree : window->findChildren<QTreeView*>()) {
      if (auto* folders = qobject_cast<QFileSystemModel*>(tree->model()))
        tree->expand(folders->index(QDir::tempPath()));
      tree->doItemsLayout();
    }
  }

  // Reads every cell of every table in `window` (item views and the sorting grids) as a
  // screen reader does.
  static QList<QAccessible::Id> readCells(QWidget* window) {
    fillTrees(window);
    QList<QAccessible::Id> cells;
    for (QWidget* view : window->findChildren<QWidget*>()) {
      QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(view);
      QAccessibleTableInterface* table = iface ? iface->tableInterface() : nullptr;
      if (!table) continue;
      for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = 0; c < table->columnCount(); ++c) {
          if (QAccessibleInterface* cell = table->cellAt(r, c)) {
            EXPECT_EQ(cell->tableCellInterface()->table(), iface);
            cells << QAccessible::uniqueId(cell);
          }
        }
      }
    }
    return cells;
  }

  static const Opener& exchangeWindow() {
    return *std::find_if(ruto::test::kOpeners.begin(), ruto::test::kOpeners.end(),
                         [](const Opener& o) { return std::strcmp(o.name, "transfer") == 0; });
  }

  static int stillCached(const QList<QAccessible::Id>& cells) {
    return static_cast<int>(std::count_if(cells.begin(), cells.end(), [](QAccessible::Id id) {
      return QAccessible::accessibleInterface(id) != nullptr;
    }));
  }
};

TEST_F(ViewAccessibles, NoCellOutlivesItsWindow) {
  ASSERT_TRUE(CreateMainWindows());
  TheMainWindow->show();
  settle();
  ViewState.ClientNewMode = true;
  ViewState.ProgramNewMode = true;
  int treeCells = 0;
  for (const Opener& o : ruto::test::kOpeners) {
    QList<QAccessible::Id> cells;
    openEachModal(o, [&](QWidget* w, const QString&) {
      for (const QAccessible::Id id : readCells(w)) {
        cells << id;
        treeCells += QAccessible::accessibleInterface(id)->role() == QAccessible::TreeItem;
      }
    });
    EXPECT_EQ(stillCached(cells), 0) << o.name;
  }
  // The exchange window's two folder trees were read.
  EXPECT_GE(treeCells, 2);

  // Qt's own file dialog, as the editors open it, with its folder tree shown.
  QList<QAccessible::Id> cells;
  {
    QFileDialog dialog(TheMainWindow, QString(), QDir::tempPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.show();
    settle();
    cells = readCells(&dialog);
    dialog.close();
  }
  EXPECT_GT(cells.size(), 0);
  EXPECT_EQ(stillCached(cells), 0);
}

// Run by the case below in a child process. Qt's bookkeeping can lose a persistent index when
// two come to stand at one place, as file changes in a folder tree may make them; here the
// exchange window's tree cell is made to lose its own that way before the window goes.
TEST_F(ViewAccessibles, DISABLED_ProgramEndsAfterATreeCellLostItsModel) {
  ASSERT_TRUE(CreateMainWindows());
  TheMainWindow->show();
  settle();
  const int shown = openEachModal(exchangeWindow(), [&](QWidget* w, const QString&) {
    auto* tree = w->findChild<QTreeView*>(QStringLiteral("exportFolderTree"));
    ASSERT_TRUE(tree);
    fillTrees(w);
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(tree)->tableInterface();
    ASSERT_NE(table, nullptr);
    ASSERT_GT(table->rowCount(), 0);
    ASSERT_TRUE(table->cellAt(0, 0));
    QAbstractItemModel* model = tree->model();
    const QModelIndex read = model->index(0, 0, tree->rootIndex());
    const QModelIndex beside = read.sibling(read.row(), 1);
    QPersistentModelIndex standing(beside);
    (model->*&ModelBookkeeping::changePersistentIndex)(read, beside);
  });
  ASSERT_EQ(shown, 1);
}

TEST_F(ViewAccessibles, ProgramEndsQuietlyAfterCellsOutlivedTheirModels) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  // Freed memory is scribbled over, so that reading a deleted model faults at once.
  env.insert(QStringLiteral("ASAN_OPTIONS"),
             env.value(QStringLiteral("ASAN_OPTIONS")) +
                 QStringLiteral(":max_free_fill_size=65536:free_fill_byte=190"));
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_also_run_disabled_tests"),
               QStringLiteral("--gtest_filter=ViewAccessibles.DISABLED_*")});
  ASSERT_TRUE(child.waitForFinished(-1));
  const QString output = QString::fromLocal8Bit(child.readAll());
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << qPrintable(output);
  EXPECT_EQ(child.exitCode(), 0) << qPrintable(output);
  EXPECT_TRUE(output.contains(QLatin1String("[  PASSED  ] 1 test"))) << qPrintable(output);
  EXPECT_FALSE(output.contains(QLatin1String("Sanitizer"))) << qPrintable(output);
}

}  // namespace
