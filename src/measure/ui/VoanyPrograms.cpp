// The expert-program page and the multi-meridian list of the analysis window: the programs of
// both databases that fit the result, the shown program's description, picture and run buttons.
#include <QDate>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QToolButton>

#include "app/AskUser.h"
#include "app/CommandApproval.h"
#include "app/Databases.h"
#include "app/ProgramConditions.h"
#include "app/SharedRecords.h"
#include "base/Text.h"
#include "measure/MultiMeridianTexts.h"
#include "measure/ProgramMatcher.h"
#include "measure/Voana.h"
#include "measure/ui/Voany.h"

namespace ruto {

struct TVoany::TProgramState {
  std::vector<TExpertProgram> programs;  // the main database's, in list order
  int shown = -1;                        // index into programs; -1 past the last row
  TProgramDetail detail;
};

namespace {

// The run button's hint: the program's own text, and what it starts, since rows from another
// installation bring their own commands.
QString runHint(const TProgramDetail& d, int n) {
  const QString command = ruto::Trim(ruto::Trim(d.ProPrg[n]) + u' ' + ruto::Trim(d.ProParm[n]));
  if (command.isEmpty()) return d.ProScrp[n];
  return d.ProScrp[n].isEmpty() ? command : d.ProScrp[n] + u'\n' + command;
}

}  // namespace

void TVoany::MatchExpertProgramsIntoList() {
  if (!ProgramState) ProgramState = std::make_shared<TProgramState>();
  TProgramState& st = *ProgramState;
  const TMatchClient client{CurrentClient.Sex, CurrentClient.DBirth, QDate::currentDate()};

  ListBox3->clear();
  st.shown = -1;
  st.detail = TProgramDetail();
  QString error;
  if (LoadExpertPrograms(kMainConnection, &st.programs, &error))
    ListBox3->addItems(MatchPrograms(st.programs, Analysis, client));
  else  // otherwise an unreadable store would look like one where nothing fits
    AskUser(MsgKind::WarningOk,
            QStringLiteral("無法讀取自訂專家療程資料,符合的專家療程將不會列出。\n%1").arg(error));
  if (ListBox3->count() > 0) {
    ListBox3->setCurrentRow(0);
    ListBox3Click();
    DBImage1->setVisible(true);
  } else {
    DBMemo1->clear();
    DBImage1->setVisible(false);
  }

  // The supplied programs only list their names; their texts belong to ListBox4Click.
  ListBox4->clear();
  std::vector<TExpertProgram> supplied;
  if (multiMeridian_.isValid() && multiMeridian_.isOpen()) {
    if (LoadExpertPrograms(multiMeridian_.connectionName(), &supplied, &error))
      ListBox4->addItems(MatchPrograms(supplied, Analysis, client));
    else
      AskUser(
          MsgKind::WarningOk,
          QStringLiteral("無法讀取多經絡分析資料庫 %1 的療程資料,多經絡分析項目將不會列出。\n%2")
              .arg(kMultiMeridianDatabase, error));
  }
  ListBox4->setCurrentRow(-1);
  ListBox4->clearSelection();
}

void TVoany::ListBox3Click() {
  if (!ProgramState) return;
  TProgramState& st = *ProgramState;
  const QListWidgetItem* item = ListBox3->currentItem();
  if (!item) return;
  st.shown = FindProgramByName(st.programs, item->text());
  st.detail = TProgramDetail();
  if (st.shown >= 0) LoadProgramDetail(kMainConnection, st.programs[st.shown].MKey, &st.detail);
  const TProgramDetail& d = st.detail;

  DBMemo1->setPlainText(d.ProData);
  QPixmap picture;
  if (!d.ProPict.isEmpty()) picture.loadFromData(d.ProPict);
  DBImage1->setScaledContents(!d.ProScal);
  DBImage1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  DBImage1->setPixmap(picture);
  StaticText[120]->setText(d.ProScal ? QStringLiteral("Scale") : QStringLiteral("Fit"));
  for (int n = 0; n < 4; ++n) {
    QToolButton* button = SpeedButton[static_cast<size_t>(n + 2)];
    button->setEnabled(FunctionKeyEnabled(d.ProFN, n + 1));
    button->setToolTip(runHint(d, n));
  }
}

namespace {
// A command this installation's operator has not approved is shown and asked about first.
void runButton(const TProgramDetail& d, int n) {
  LaunchProgramCommand(kMainConnection, ruto::Trim(d.ProPrg[n]), ruto::Trim(d.ProParm[n]));
}
}  // namespace

void TVoany::SpeedButton2Click() {
  if (ProgramState) runButton(ProgramState->detail, 0);
}
void TVoany::SpeedButton3Click() {
  if (ProgramState) runButton(ProgramState->detail, 1);
}
void TVoany::SpeedButton4Click() {
  if (ProgramState) runButton(ProgramState->detail, 2);
}
void TVoany::SpeedButton5Click() {
  if (ProgramState) runButton(ProgramState->detail, 3);
}

}  // namespace ruto
