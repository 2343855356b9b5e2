// The expert-program list and the program editor offscreen.

#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include "app/AppTestSupport.h"
#include "app/CommandApproval.h"
#include "app/Databases.h"
#include "app/LaunchExternal.h"
#include "app/SharedRecords.h"
#include "records/ProgramRecords.h"
#include "records/RecordsFixture.h"
#include "records/ui/ProgramEditor.h"
#include "records/ui/ProgramList.h"
#include "records/ui/RecordGrid.h"
#include "skin/ui/ControlSkins.h"

namespace {

class ProgramListTest : public MainDatabaseTest {
 protected:
  void SetUp() override {
    MainDatabaseTest::SetUp();
    for (const char* s :
         {"INSERT INTO VOPRO (ProNo, ProName, ProData, ProScal, ProFN, ProScrp1, ProPrg1, "
          "ProParm1, ProPrg3) VALUES ('P01', '舒眠', '睡前按摩', 0, '1010', '放鬆<b>音樂</b>', "
          "'/usr/bin/player', 'song.mp3', '/usr/bin/three')",
          "INSERT INTO VOPRO (ProNo, ProName) VALUES ('P02', '安神')",
          "INSERT INTO VOPRDT (ProNo, ProSubN, ProNote, ProCond, ProAnd, ProEng, ProAGL, ProAGH, "
          "ProFlg) VALUES ('P01', '主條件', '說明一', '531230000000000000000032', "
          "'100000100000000000000011', 27.5, 20, 60, 1)",
          "INSERT INTO VOPRDT (ProNo, ProSubN, ProCond, ProAnd) VALUES ('P01', '次條件', '7', '')"})
      ASSERT_TRUE(dbtest::exec(kMainConnection, s)) << s;
  }
  QString row(const QString& sql) { return dbtest::firstRow(kMainConnection, sql); }
  static QString checks(std::initializer_list<const QAbstractButton*> boxes) {
    QString s;
    for (const QAbstractButton* b : boxes) s += b->isChecked() ? '1' : '0';
    return s;
  }
  static QString enabled(std::initializer_list<const QWidget*> widgets) {
    QString s;
    for (const QWidget* b : widgets) s += b->isEnabled() ? '1' : '0';
    return s;
  }
};

TEST_F(ProgramListTest, StoredRowShowsInTheControls) {
  ProgramList w;
  w.show();
  EXPECT_EQ(w.windowTitle(), "自訂專家療程");
  EXPECT_EQ(w.statusBar->currentMessage(), "【查詢療程模式】");
  EXPECT_EQ(w.countLabel->text(), "     2  -  [ 2 ]");
  EXPECT_EQ(w.programs.field("ProNo"), "P01");
  // Range 5 = "大於 >", pair 3, single boxes, metabolism 2, age both, sex female.
  EXPECT_TRUE(w.rangeBox->isChecked());
  EXPECT_EQ(w.rangeCompareBox->currentIndex(), 1);
  const auto& p = w.positionBoxes;
  EXPECT_FALSE(p[1].first->isEnabled());
  EXPECT_EQ(checks({p[2].first, p[2].second, p[3].first, p[4].first, p[4].second, p[5].first}),
            "111011");
  EXPECT_EQ(checks({w.ageFromBox, w.ageToBox, w.sexConditionBox}), "111");
  EXPECT_TRUE(w.femaleButton->isChecked());
  EXPECT_EQ(checks({p[1].group, p[2].group, p[6].group, p[7].group}),
            "1001");  // flags 1 and 7 (large intestine)
  EXPECT_EQ(w.energyEdit->text(), "27.5");
  EXPECT_EQ(w.energySpin->Position(), 27);
  EXPECT_EQ(w.conditionNameEdit->text(), "主條件");
  EXPECT_TRUE(w.requiredBox->isChecked());
  // Browsing: the condition groups are closed for input.
  EXPECT_FALSE(w.bodyMindGroup->isEnabled());
  EXPECT_TRUE(w.descriptionEdit->isReadOnly());
  // "1010": run buttons 1 and 3, with their hints; a click starts the program.
  EXPECT_EQ(enabled({w.runButtons[1], w.runButtons[2], w.runButtons[3], w.runButtons[4]}), "1010");
  EXPECT_EQ(shownText(w.runButtons[1]->toolTip()), "放鬆<b>音樂</b>");
  w.runButtons[1]->click();
  EXPECT_EQ(started, QStringList{"/usr/bin/player|song.mp3"});
  // Not saved here: the operator saw the command and said yes first.
  EXPECT_EQ(asked, QStringList{"3:" + CommandQuestionText("/usr/bin/player", "song.mp3")});

  // The second row: "7" shows range mode with no comparison; the rest cleared.
  w.conditionRows.setPosition(1);
  w.showConditionControls();
  EXPECT_TRUE(w.rangeBox->isChecked());
  EXPECT_EQ(w.rangeCompareBox->currentIndex(), -1);
  EXPECT_EQ(
      checks({p[2].first, p[2].second, p[3].first, w.ageFromBox, w.sexConditionBox, p[1].group}),
      "000000");
  w.resize(w.sizeHint());
  ruto::test::savePng(w.grab().toImage(), "ProgramList");
}

TEST_F(ProgramListTest, ModifyConfirmCancelAndNewRows) {
  ProgramList w;
  w.show();
  const auto& p = w.positionBoxes;
  w.activateConditionList();
  EXPECT_FALSE(w.newProgramButton->isEnabled());
  EXPECT_TRUE(w.editConditionButton->isEnabled());

  // Cancel drops everything typed.
  w.editCondition();
  EXPECT_EQ(w.statusBar->currentMessage(), "【修改療程模式】");
  EXPECT_FALSE(w.programGrid->isEnabled());
  EXPECT_TRUE(w.meridianGroup->isEnabled());
  p[6].first->setChecked(true);
  w.descriptionEdit->setPlainText("改過");
  w.cancelEdit();
  EXPECT_EQ(w.descriptionEdit->toPlainText(), "睡前按摩");
  EXPECT_FALSE(p[6].first->isChecked());
  EXPECT_TRUE(w.programGrid->isEnabled());
  EXPECT_EQ(row("SELECT ProCond FROM VOPRDT WHERE ProSubN = '主條件'"), "531230000000000000000032");

  // Confirm writes the row and the program's description together.
  w.editCondition();
  p[6].first->setChecked(true);   // lung 虛證
  p[6].group->setChecked(true);   // lung flag
  w.rangeBox->click();            // range off
  p[1].second->setChecked(true);  // 亢奮
  w.descriptionEdit->setPlainText("改過");
  w.actualSizeBox->setChecked(true);
  w.confirmEdit();
  EXPECT_EQ(w.statusBar->currentMessage(), "【查詢療程模式】");
  EXPECT_EQ(row("SELECT ProCond, ProAnd FROM VOPRDT WHERE ProSubN = '主條件'"),
            "231211000000000000000032|100001100000000000000000");
  EXPECT_EQ(row("SELECT ProData, ProScal FROM VOPRO WHERE ProNo = 'P01'"), "改過|1");
  EXPECT_TRUE(w.newConditionButton->isEnabled());
  EXPECT_FALSE(w.confirmButton->isEnabled());

  // A new row starts with everything off and belongs to the current program.
  w.newCondition();
  EXPECT_EQ(w.statusBar->currentMessage(), "【新增條件模式】");
  EXPECT_EQ(checks({w.rangeBox, p[2].first, p[6].group, w.ageFromBox, w.sexConditionBox}), "00000");
  EXPECT_FALSE(w.requiredBox->isChecked());
  w.conditionNameEdit->setText("女性");
  w.sexConditionBox->click();
  EXPECT_TRUE(w.femaleButton->isEnabled());
  w.femaleButton->setChecked(true);
  w.rangeBox->click();  // range with nothing chosen selects "等於 ="
  EXPECT_EQ(w.rangeCompareBox->currentIndex(), 0);
  w.confirmEdit();
  EXPECT_EQ(row("SELECT ProNo, ProCond, ProAnd FROM VOPRDT WHERE ProSubN = '女性'"),
            "P01|400000000000000000000002|000000000000000000000000");
  EXPECT_EQ(w.countLabel->text(), "     2  -  [ 3 ]");

  // A typed energy that is no number, or an age no client can have, keeps the edit open.
  for (const auto& [edit, text] :
       {std::pair{w.energyEdit, "abc"}, std::pair{w.ageFromEdit, "1e300"},
        std::pair{w.ageToEdit, "-1"}, std::pair{w.ageToEdit, "65536"},
        std::pair{w.ageFromEdit, "12.9"}, std::pair{w.ageToEdit, "1e2"}}) {
    w.editCondition();
    edit->setText(text);
    asked.clear();
    w.confirmEdit();
    ASSERT_EQ(asked.size(), 1) << text;
    EXPECT_EQ(asked.last(), QStringLiteral("5:「%1」不是數字，請重新輸入。").arg(text));
    EXPECT_FALSE(w.browseMode) << text;
    w.cancelEdit();
  }
  EXPECT_EQ(row("SELECT ProAGL, ProAGH FROM VOPRDT WHERE ProSubN = '主條件'"), "20|60");
}

// Confirming a row leaves the program's description, picture and flag as stored unless they
// were changed here: a change made meanwhile elsewhere stays, and an edited description keeps
// its no-break spaces and line separators.
TEST_F(ProgramListTest, ConfirmWritesOnlyWhatWasChanged) {
  const QString data = QStringLiteral("第一行\r\n血壓\u00A0120\u2028x\ny");
  ASSERT_TRUE(
      dbtest::exec(kMainConnection, "UPDATE VOPRO SET ProData = ? WHERE ProNo = 'P01'", {data}));
  ProgramList w;
  w.show();
  w.editCondition();
  w.positionBoxes[6].first->setChecked(true);
  ASSERT_TRUE(dbtest::exec(kMainConnection,
                           "UPDATE VOPRO SET ProScal = 1, ProPict = x'01' WHERE ProNo = 'P01'"));
  w.confirmEdit();
  EXPECT_EQ(row("SELECT ProData, hex(ProPict), ProScal FROM VOPRO WHERE ProNo = 'P01'"),
            data + "|01|1");
  EXPECT_EQ(row("SELECT substr(ProCond, 6, 1) FROM VOPRDT WHERE ProSubN = '主條件'"), "1");
  w.editCondition();
  w.descriptionEdit->moveCursor(QTextCursor::End);
  QTest::keyClicks(w.descriptionEdit, "z");
  w.confirmEdit();
  EXPECT_EQ(row("SELECT ProData FROM VOPRO WHERE ProNo = 'P01'"),
            "第一行\r\n血壓\u00A0120\u2028x\r\nyz");
}

// The windows open where the user works, not on a toolbar button.
TEST_F(ProgramListTest, WindowsOpenWhereTheUserWorks) {
  ProgramList w;
  w.show();
  EXPECT_EQ(w.focusWidget(), w.programGrid);
  for (const bool newMode : {true, false}) {
    ViewState.ProgramNewMode = newMode;
    ProgramEditor editor(&w.programs, &w.lastProgramNo, &w);
    editor.show();
    EXPECT_EQ(editor.focusWidget(), newMode ? editor.numberEdit : editor.nameEdit) << newMode;
  }
}

TEST_F(ProgramListTest, SpinsKeepTheLowerAgeBelowTheUpper) {
  ProgramList w;
  w.show();
  w.editCondition();
  w.ageToSpin->setPosition(30);
  w.ageFromSpin->setPosition(30);
  w.ageFromSpin->stepBy(1);
  EXPECT_EQ(w.ageFromEdit->text(), "31");
  EXPECT_EQ(w.ageToEdit->text(), "31");
  w.ageToSpin->setPosition(10);
  w.ageToSpin->stepBy(-1);
  EXPECT_EQ(w.ageFromEdit->text(), "9");
  w.energySpin->setPosition(200);
  w.energySpin->stepBy(1);
  EXPECT_EQ(w.energyEdit->text(), "200");
  w.cancelEdit();
}

// The up-downs' arrows are up-down halves, kept plain while up-downs are not skinned; the
// picture buttons are bit buttons.
TEST_F(ProgramListTest, UpDownsAndPictureButtonsTakeTheirSkins) {
  ProgramList w;
  const TSkinControlTypes all = TSkinControlTypes().set();
  TSkinControlTypes noSpin = all;
  noSpin.reset(xcSpin);
  for (TUpDown* spin : {w.energySpin, w.ageFromSpin, w.ageToSpin})
    for (QToolButton* arrow : spin->findChildren<QToolButton*>()) {
      EXPECT_EQ(MapControl(arrow, all, {}).kind, ControlKind::UpDown);
      EXPECT_EQ(MapControl(arrow, noSpin, {}).kind, ControlKind::None);
    }
  for (QPushButton* b : {w.changePictureButton, w.clearPictureButton})
    EXPECT_EQ(MapControl(b, all, {}).kind, ControlKind::BitButton) << b->text().toStdString();
}

TEST_F(ProgramListTest, DeletesAskFirst) {
  ProgramList w;
  w.show();
  w.activateConditionList();
  answer = false;
  w.deleteCondition();
  EXPECT_EQ(asked.last(), "2:您確定要刪除【主條件】這筆條件嗎 ?");
  EXPECT_EQ(rowsIn("VOPRDT"), 2);
  EXPECT_EQ(w.countLabel->text(), "     2  -  [ 2 ]");
  answer = true;
  w.deleteCondition();
  EXPECT_EQ(asked.last(), "2:您確定要刪除【主條件】這筆條件嗎 ?");
  EXPECT_EQ(rowsIn("VOPRDT"), 1);
  EXPECT_EQ(w.countLabel->text(), "     2  -  [ 1 ]");

  w.activateProgramList();
  w.deleteProgram();
  EXPECT_EQ(asked.last(), "2:您確定要刪除【舒眠】這筆療程群組嗎 ?");
  EXPECT_EQ(rowsIn("VOPRDT"), 0);
  EXPECT_EQ(row("SELECT ProNo FROM VOPRO"), "P02");
  EXPECT_EQ(w.statusBar->currentMessage(), "【查詢療程模式】");
}

TEST_F(ProgramListTest, EditorRefusesDuplicatesAndTheListSelectsTheNewProgram) {
  ProgramList w;
  w.show();
  bool refused = false;
  w.runEditor = [&](ProgramList& list) {
    ProgramEditor editor(&list.programs, &list.lastProgramNo, &list);
    editor.show();
    EXPECT_FALSE(editor.saveButton->isEnabled());
    editor.numberEdit->setText(" p01 ");  // trimmed and without case: taken
    editor.nameEdit->setText("新療程");
    editor.save();
    refused =
        asked.last() == "5:您所輸入的群組編號已經與另一群組 [ 舒眠 ] 重覆!!請重新指定另一個編號。";
    EXPECT_TRUE(editor.isVisible());
    editor.numberEdit->setText("P00");
    editor.runRows[0].enabled->setChecked(true);
    editor.runRows[2].enabled->setChecked(true);
    editor.runRows[0].program->setText(" /bin/echo ");
    editor.runRows[0].parameter->setText(" <i>hi</i> ");
    editor.runRows[0].test->click();  // test row 1: trimmed texts
    editor.save();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
  };
  w.newProgram();
  EXPECT_TRUE(refused);
  EXPECT_EQ(started, QStringList{"/bin/echo|<i>hi</i>"});
  EXPECT_EQ(row("SELECT ProName, ProFN, ProPrg1 FROM VOPRO WHERE ProNo = 'P00'"),
            "新療程|1010| /bin/echo ");
  EXPECT_EQ(w.programs.field("ProNo"), "P00") << "the new program is reselected";
  EXPECT_EQ(w.lastProgramNo, "P00");
  EXPECT_TRUE(w.isVisible());

  // Modify mode shows the stored fields, keeps the number, and leaving writes nothing.
  w.runEditor = [&](ProgramList& list) {
    ProgramEditor editor(&list.programs, &list.lastProgramNo, &list);
    editor.show();
    EXPECT_FALSE(editor.numberEdit->isEnabled());
    EXPECT_EQ(editor.nameEdit->text(), "新療程");
    EXPECT_TRUE(editor.runRows[2].enabled->isChecked());
    EXPECT_EQ(shownText(editor.runRows[0].parameter->toolTip()), " <i>hi</i> ");
    editor.nameEdit->setText("不存");
    editor.leave();
  };
  w.editProgram();
  EXPECT_EQ(row("SELECT ProName FROM VOPRO WHERE ProNo = 'P00'"), "新療程");
}

TEST_F(ProgramListTest, WritesThatFailSayWhatFailedWithTheReasonBelow) {
  ProgramList w;
  w.show();
  ASSERT_TRUE(dbtest::exec(kMainConnection, "PRAGMA query_only = ON"));
  const auto editorSave = [&w](bool newMode) {
    w.runEditor = [](ProgramList& list) {
      ProgramEditor editor(&list.programs, &list.lastProgramNo, &list);
      editor.show();
      editor.numberEdit->setText("P00");
      editor.nameEdit->setText("改名");
      editor.save();
      EXPECT_TRUE(editor.isVisible());
    };
    newMode ? w.newProgram() : w.editProgram();
  };
  const std::tuple<const char*, QString, std::function<void()>> cases[] = {
      {"new program", kProgramSaveFailedText, [&] { editorSave(true); }},
      {"changed program", kProgramSaveFailedText, [&] { editorSave(false); }},
      {"condition", kConditionSaveFailedText,
       [&] {
         w.editCondition();
         w.confirmEdit();
         w.cancelEdit();
       }},
      {"condition deleted", kConditionDeleteFailedText,
       [&] {
         w.activateConditionList();
         w.deleteCondition();
       }},
      {"program deleted", kProgramDeleteFailedText,
       [&] {
         w.activateProgramList();
         w.deleteProgram();
       }},
  };
  for (const auto& [what, text, act] : cases) {
    SCOPED_TRACE(what);
    asked.clear();
    act();
    ASSERT_FALSE(asked.isEmpty());
    EXPECT_EQ(asked.last().section('\n', 0, 0), "5:" + text);
    EXPECT_TRUE(asked.last().section('\n', 1).contains("readonly")) << asked.last().toStdString();
  }
  EXPECT_EQ(row("SELECT GROUP_CONCAT(ProName) FROM (SELECT ProName FROM VOPRO ORDER BY ProNo)"),
            "舒眠,安神");
}

TEST_F(ProgramListTest, PicturesAreStoredAsTheFilesBytes) {
  QImage image(8, 6, QImage::Format_RGB32);
  image.fill(Qt::red);
  const QString path = dir.filePath("p.png");
  ASSERT_TRUE(image.save(path));
  const QByteArray bytes = ruto::test::readFile(path);
  ProgramList w;
  w.show();
  w.editCondition();
  w.choosePicture = [&](QWidget*) { return path; };
  w.pickPicture();
  w.confirmEdit();
  EXPECT_EQ(dbtest::scalar(kMainConnection, "SELECT ProPict FROM VOPRO WHERE ProNo = 'P01'")
                .toByteArray(),
            bytes);
  EXPECT_FALSE(w.programPicture->pixmap().isNull());
  w.editCondition();
  w.clearPicture();
  w.confirmEdit();
  EXPECT_TRUE(
      dbtest::scalar(kMainConnection, "SELECT ProPict FROM VOPRO WHERE ProNo = 'P01'").isNull());
}

}  // namespace
