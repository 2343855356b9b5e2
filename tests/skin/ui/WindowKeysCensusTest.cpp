// Every window of the program, opened through the registry, takes keys as the program's
// windows do: Escape closes none, no push button is made default unless the window chose it,
// tool buttons take no focus and memos let Tab move on; and every label shows texts that came
// from the user or from files as written.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QtSql>

#include "WindowCensus.h"
#include "app/Databases.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "app/ui/AboutBox.h"

namespace ruto {
namespace {

using test::Opener;
using test::settle;

class WindowKeysCensus : public test::WindowCensusTest {};

TEST_F(WindowKeysCensus, NoWindowClosesOnEscapeOrTakesEnterUnasked) {
  ASSERT_TRUE(CreateMainWindows());
  TheMainWindow->show();
  settle();
  TheMainWindow->runFirstActivation();
  settle();
  ViewState.ClientNewMode = true;
  ViewState.ProgramNewMode = true;
  int windows = 0;
  for (const Opener& o : test::kOpeners) {
    openEachModal(o, [&](QWidget* w, const QString& name) {
      if (qobject_cast<MessageBox*>(w)) return;
      ++windows;
      QWidget* target = w->focusWidget() ? w->focusWidget() : w;
      QTest::keyClick(target, Qt::Key_Escape);
      settle();
      EXPECT_TRUE(w->isVisible()) << qPrintable(name);
      const bool choosesDefault = qobject_cast<AboutBox*>(w) != nullptr;
      for (QWidget* c : w->findChildren<QWidget*>()) {
        if (c->window() != w) continue;  // a popup of a control keeps its own ways
        if (auto* tool = qobject_cast<QToolButton*>(c)) {
          EXPECT_EQ(tool->focusPolicy(), Qt::NoFocus) << qPrintable(name + ' ' + c->objectName());
        } else if (auto* push = qobject_cast<QPushButton*>(c); push && !choosesDefault) {
          EXPECT_FALSE(push->isDefault()) << qPrintable(name + ' ' + c->objectName());
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(c)) {
          EXPECT_TRUE(plain->tabChangesFocus()) << qPrintable(name + ' ' + c->objectName());
        } else if (auto* rich = qobject_cast<QTextEdit*>(c)) {
          EXPECT_TRUE(rich->tabChangesFocus()) << qPrintable(name + ' ' + c->objectName());
        }
      }
    });
  }
  EXPECT_GE(windows, 14);
}

// Texts that look like markup, in the clients, a program and the settings, appear in no label
// as markup.
TEST_F(WindowKeysCensus, LabelsShowStoredTextsAsWritten) {
  ASSERT_TRUE(CreateMainWindows());
  TheMainWindow->show();
  settle();
  TheMainWindow->runFirstActivation();
  settle();
  const QString mark = QStringLiteral("<b>A1</b>");
  CurrentClient.CustNo = CurrentClient.Name = CurrentClient.Tel = mark;
  Settings.CalDate = mark;
  QSqlQuery q(QSqlDatabase::database(kMainConnection));
  ASSERT_TRUE(
      q.exec(QStringLiteral("INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('%1', '%1')").arg(mark)));
  ASSERT_TRUE(
      q.exec(QStringLiteral("INSERT INTO VOPRO (ProNo, ProName) VALUES ('%1', '%1')").arg(mark)));
  int labels = 0;
  for (const Opener& o : test::kOpeners) {
    openEachModal(o, [&](QWidget* w, const QString& name) {
      for (const QLabel* l : w->findChildren<QLabel*>()) {
        if (!l->text().contains(QLatin1String("A1"))) continue;
        ++labels;
        EXPECT_TRUE(l->textFormat() == Qt::PlainText || !Qt::mightBeRichText(l->text()))
            << qPrintable(name + ' ' + l->objectName());
      }
    });
  }
  EXPECT_GE(labels, 10);
}

}  // namespace
}  // namespace ruto
