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
#include "app/ui/WindowParts.h"
#include "base/Text.h"
#include "measure/Analysis.h"
#include "measure/MultiMeridianTexts.h"
#include "measure/ProgramMatcher.h"
#include "measure/ui/AnalysisWindow.h"

namespace ruto {

struct AnalysisWindow::TProgramState {
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

void AnalysisWindow::matchExpertPrograms() {
  if (!programState) programState = std::make_shared<TProgramState>();
  TProgramState& st = *programState;
  const TMatchClient client{CurrentClient.Sex, CurrentClient.DBirth, QDate::currentDate()};

  programList->clear();
  st.shown = -1;
  st.detail = TProgramDetail();
  QString error;
  if (LoadExpertPrograms(kMainConnection, &st.programs, &error))
    programList->addItems(MatchPrograms(st.programs, Analysis, client));
  else  // otherwise an unreadable store would look like one where nothing fits
    AskUser(MsgKind::WarningOk,
            QStringLiteral("無法讀取自訂專家療程資料,符合的專家療程將不會列出。\n%1").arg(error));
  if (programList->count() > 0) {
    programList->setCurrentRow(0);
    showExpertProgram();
    programPicture->setVisible(true);
  } else {
    programPane->clear();
    programPicture->setVisible(false);
  }

  // The supplied programs only list their names; their texts belong to showMultiMeridianProgram.
  multiMeridianList->clear();
  std::vector<TExpertProgram> supplied;
  if (multiMeridian_.isValid() && multiMeridian_.isOpen()) {
    if (LoadExpertPrograms(multiMeridian_.connectionName(), &supplied, &error))
      multiMeridianList->addItems(MatchPrograms(supplied, Analysis, client));
    else
      AskUser(
          MsgKind::WarningOk,
          QStringLiteral("無法讀取多經絡分析資料庫 %1 的療程資料,多經絡分析項目將不會列出。\n%2")
              .arg(kMultiMeridianDatabase, error));
  }
  multiMeridianList->setCurrentRow(-1);
  multiMeridianList->clearSelection();
}

void AnalysisWindow::showExpertProgram() {
  if (!programState) return;
  TProgramState& st = *programState;
  const QListWidgetItem* item = programList->currentItem();
  if (!item) return;
  st.shown = FindProgramByName(st.programs, item->text());
  st.detail = TProgramDetail();
  if (st.shown >= 0) LoadProgramDetail(kMainConnection, st.programs[st.shown].MKey, &st.detail);
  const TProgramDetail& d = st.detail;

  programPane->setPlainText(d.ProData);
  QPixmap picture;
  if (!d.ProPict.isEmpty()) picture.loadFromData(d.ProPict);
  programPicture->setScaledContents(!d.ProScal);
  programPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  programPicture->setPixmap(picture);
  programScaleLabel->setText(d.ProScal ? QStringLiteral("Scale") : QStringLiteral("Fit"));
  for (int n = 0; n < 4; ++n) {
    QToolButton* button = runButtons[static_cast<size_t>(n)];
    button->setEnabled(FunctionKeyEnabled(d.ProFN, n + 1));
    button->setToolTip(PlainToolTip(runHint(d, n)));
  }
}

namespace {
// A command this installation's operator has not approved is shown and asked about first.
void runButton(const TProgramDetail& d, int n) {
  LaunchProgramCommand(kMainConnection, ruto::Trim(d.ProPrg[n]), ruto::Trim(d.ProParm[n]));
}
}  // namespace

void AnalysisWindow::runCommand1() {
  if (programState) runButton(programState->detail, 0);
}
void AnalysisWindow::runCommand2() {
  if (programState) runButton(programState->detail, 1);
}
void AnalysisWindow::runCommand3() {
  if (programState) runButton(programState->detail, 2);
}
void AnalysisWindow::runCommand4() {
  if (programState) runButton(programState->detail, 3);
}

}  // namespace ruto
