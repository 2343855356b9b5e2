// The exchange window offscreen: button rules, a run through the window, its progress bar.

#include <gtest/gtest.h>

#include <QtWidgets>

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "records/RecordsFixture.h"
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
    for (const char* s :
         {"INSERT INTO VOCUST (CUSTNO, NAME, ADDR) VALUES ('C01', '王小明', '台北')",
          "INSERT INTO VOPRO (ProNo, ProName) VALUES ('P01', '舒眠')"})
      ASSERT_TRUE(dbtest::exec(kMainConnection, s)) << s;
    QDir().mkpath(folder_);
  }
  void TearDown() override {
    CloseDatabase(kMainConnection);
    InstallFolderTest::TearDown();
  }
  QString folder_ = dir_.filePath("usb");
};

TEST_F(DataExchangeDialogTest, ButtonRulesAndARoundTripThroughTheWindow) {
  DataExchangeDialog w;
  w.show();
  EXPECT_EQ(w.windowTitle(), "檔案匯入/匯出作業");
  EXPECT_EQ(w.statusBar->currentMessage(),
            "本功能會將系統工作目錄下的檔案資料，匯出到您所指定的磁碟或目錄中。");
  EXPECT_FALSE(w.exportButton->isEnabled());
  EXPECT_FALSE(w.importButton->isEnabled());
  EXPECT_FALSE(w.programGrid->isVisible());
  EXPECT_EQ(w.programCount->text(), "[     1]");

  w.exportRecordsBox->click();
  EXPECT_TRUE(w.exportButton->isEnabled());
  EXPECT_TRUE(w.clientGrid->isVisible());
  EXPECT_TRUE(w.clientCount->isVisible());
  w.setDirectory(1, folder_);
  EXPECT_EQ(w.directory(1), folder_);

  // While a run asks its questions the window cannot be left, by the button or by Escape.
  QList<int> positions;
  bool exitEnabled = false;
  bool leftDuringRun = false;
  SetAskUserResponder([&](MsgKind kind, const QString& text) {
    asked_ << QStringLiteral("%1:%2").arg(static_cast<int>(kind)).arg(text);
    positions << w.progressBar->Position();
    exitEnabled = exitEnabled || w.exitButton->isEnabled();
    w.exitButton->click();
    w.reject();
    leftDuringRun = leftDuringRun || !w.isVisible();
    return true;
  });
  w.exportButton->click();
  ASSERT_EQ(asked_.last(), "6:資料匯出成功 !!");
  EXPECT_EQ(positions.last(), 2000) << "the full bar under the success message";
  EXPECT_FALSE(exitEnabled) << "exit usable while a run asked";
  EXPECT_FALSE(leftDuringRun) << "the window was left while a run asked";
  EXPECT_EQ(w.progressBar->Position(), 0) << "an empty bar after the message";
  EXPECT_TRUE(w.exitButton->isEnabled());
  EXPECT_TRUE(QFile::exists(folder_ + "/VoTran.mdb"));

  // Import page: the file list decides once a group is ticked.
  w.pages->setCurrentWidget(w.importPage);
  EXPECT_EQ(w.statusBar->currentMessage(),
            "本功能會將您所指定的磁碟或目錄中檔案資料，匯入到系統工作目錄中。");
  w.setDirectory(2, dir_.filePath("nowhere-else"));
  w.importRecordsBox->click();
  w.setDirectory(2, dir_.path());
  w.showImportFolder();
  EXPECT_EQ(w.importFileList->count(), 0);
  EXPECT_FALSE(w.importButton->isEnabled());
  w.setDirectory(2, folder_);
  w.showImportFolder();
  EXPECT_EQ(w.importFileList->count(), 1);
  EXPECT_TRUE(w.importButton->isEnabled());
  w.importButton->click();
  EXPECT_TRUE(asked_.last().contains("沒有新增任何資料")) << qPrintable(asked_.last());
  EXPECT_EQ(w.progressBar->Position(), 0);

  // Both groups ticked on the export page: the program list and its count come into view, and
  // the window at its own size has room for the lists beside the folder tree.
  w.pages->setCurrentWidget(w.exportPage);
  w.exportProgramsBox->click();
  EXPECT_TRUE(w.programGrid->isVisible());
  EXPECT_TRUE(w.programCount->isVisible());
  w.resize(w.sizeHint());
  const QImage shot = w.grab().toImage();
  ruto::test::savePng(shot, "DataExchangeDialog");
  EXPECT_GT(shot.width(), 400);
}

}  // namespace
