// The exchange window offscreen: button rules, a run through the window, its progress bar.

#include <gtest/gtest.h>

#include <QtWidgets>

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "records/Transfer.h"
#include "records/ui/DataExchangeDialog.h"
#include "records/ui/RecordGrid.h"
#include "widgets/GradientBar.h"

namespace {

class DataExchangeDialogTest : public InstallFolderTest {
 protected:
  void SetUp() override {
    InstallFolderTest::SetUp();
    putTemplate();
    const QString main = dbtest::freshCopy(dir_, QStringLiteral("ruto4.mdb"));
    ASSERT_EQ(OpenDatabase(kMainConnection, main, kMainTables), DbOpenResult::Ok);
    ASSERT_TRUE(dbtest::exec(kMainConnection,
                             "INSERT INTO VOCUST (CUSTNO, NAME, ADDR) VALUES ('C01', '王小明', "
                             "'台北市')"));
    ASSERT_TRUE(
        dbtest::exec(kMainConnection, "INSERT INTO VOPRO (ProNo, ProName) VALUES ('P01', '舒眠')"));
    folder_ = dir_.filePath("usb");
    QDir().mkpath(folder_);
  }
  void TearDown() override {
    CloseDatabase(kMainConnection);
    InstallFolderTest::TearDown();
  }
  QString folder_;
};

// Records the bar's positions and whether exit was usable while a run asked its questions.
struct RunWatch {
  QList<int> positions;
  bool exitEnabledDuringRun = true;
};

TEST_F(DataExchangeDialogTest, ButtonRulesAndARoundTripThroughTheWindow) {
  DataExchangeDialog w;
  w.show();
  EXPECT_EQ(w.windowTitle(), "檔案匯入/匯出作業");
  EXPECT_EQ(w.StatusBar1->currentMessage(),
            "本功能會將系統工作目錄下的檔案資料，匯出到您所指定的磁碟或目錄中。");
  EXPECT_FALSE(w.ToolButton1->isEnabled());
  EXPECT_FALSE(w.ToolButton2->isEnabled());
  EXPECT_FALSE(w.DBGrid1->isVisible());
  EXPECT_EQ(w.StaticText8->text(), "[     1]");

  w.CheckBox2->click();
  EXPECT_TRUE(w.ToolButton1->isEnabled());
  EXPECT_TRUE(w.DBGrid2->isVisible());
  EXPECT_TRUE(w.StaticText9->isVisible());
  w.setDirectory(1, folder_);
  EXPECT_EQ(w.directory(1), folder_);

  RunWatch watch;
  SetAskUserResponder([&](MsgKind kind, const QString& text) {
    asked_ << QStringLiteral("%1:%2").arg(static_cast<int>(kind)).arg(text);
    watch.positions << w.GradientBar1->Position();
    watch.exitEnabledDuringRun = watch.exitEnabledDuringRun && w.ToolButton3->isEnabled();
    return true;
  });
  w.ToolButton1->click();
  ASSERT_EQ(asked_.last(), "6:資料匯出成功 !!");
  EXPECT_EQ(watch.positions.last(), 2000);  // the full bar under the success message
  EXPECT_FALSE(watch.exitEnabledDuringRun);
  EXPECT_EQ(w.GradientBar1->Position(), 0);
  EXPECT_TRUE(w.ToolButton3->isEnabled());
  EXPECT_TRUE(QFile::exists(folder_ + "/VoTran.mdb"));

  // Import page: the file list decides once a group is ticked.
  w.PageControl1->setCurrentWidget(w.TabSheet2);
  EXPECT_EQ(w.StatusBar1->currentMessage(),
            "本功能會將您所指定的磁碟或目錄中檔案資料，匯入到系統工作目錄中。");
  w.setDirectory(2, dir_.filePath("nowhere-else"));
  w.CheckBox4->click();
  w.setDirectory(2, dir_.path());
  w.DirectoryListBox2Change();
  EXPECT_EQ(w.FileListBox1->count(), 0);
  EXPECT_FALSE(w.ToolButton2->isEnabled());
  w.setDirectory(2, folder_);
  w.DirectoryListBox2Change();
  EXPECT_EQ(w.FileListBox1->count(), 1);
  EXPECT_TRUE(w.ToolButton2->isEnabled());
  w.ToolButton2->click();
  EXPECT_TRUE(asked_.last().contains("沒有新增任何資料")) << qPrintable(asked_.last());
  EXPECT_EQ(w.GradientBar1->Position(), 0);

  w.PageControl1->setCurrentWidget(w.TabSheet1);
  w.CheckBox1->click();
  w.resize(w.sizeHint());
  const QImage shot = w.grab().toImage();
  ruto::test::savePng(shot, "DataExchangeDialog");
  EXPECT_GT(shot.width(), 400);
}

TEST_F(DataExchangeDialogTest, ExitIsRefusedWhileARunHoldsTheWindow) {
  DataExchangeDialog w;
  w.show();
  w.CheckBox2->click();
  w.setDirectory(1, folder_);
  bool closedDuringRun = false;
  SetAskUserResponder([&](MsgKind, const QString&) {
    w.ToolButton3->click();
    w.reject();
    closedDuringRun = !w.isVisible();
    return true;
  });
  w.ToolButton1->click();
  EXPECT_FALSE(closedDuringRun);
  EXPECT_TRUE(w.isVisible());
}

}  // namespace
