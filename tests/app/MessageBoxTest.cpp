#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

#include "app/VoMsag.h"
#include "support/TestSupport.h"

namespace {

struct Shown {
  QString caption;
  bool yes = false, ok = false, no = false;
  int icons = 0;
  QString text;
};

// Shows a real dialog of `kind`, records what it shows, then presses `press` (or closes it
// with the window's close box when null).
bool askAndPress(int kind, const QString& text, QPushButton* TVoMsag::*press, Shown* shown) {
  SetAskUserShowHook([&](TVoMsag& d) {
    QTimer::singleShot(0, &d, [&d, press, shown, kind] {
      shown->caption = d.windowTitle();
      shown->yes = d.BitBtn1->isVisible();
      shown->ok = d.BitBtn2->isVisible();
      shown->no = d.BitBtn3->isVisible();
      shown->icons = d.Image1->isVisible() + d.Image2->isVisible() + d.Image3->isVisible();
      shown->text = d.Memo1->toPlainText();
      ruto::test::savePng(d.grab().toImage(), QStringLiteral("message-box-kind-%1").arg(kind));
      if (press)
        (d.*press)->click();
      else
        d.close();
    });
  });
  const bool r = AskUser(kind, text);
  SetAskUserShowHook(nullptr);
  return r;
}

}  // namespace

TEST(MessageBox, QuestionKindsShowYesAndNo) {
  Shown s;
  EXPECT_TRUE(askAndPress(1, QStringLiteral("要儲存嗎?"), &TVoMsag::BitBtn1, &s));
  EXPECT_EQ(s.caption, "詢問資訊");
  EXPECT_TRUE(s.yes && s.no && !s.ok);
  EXPECT_EQ(s.icons, 1);
  EXPECT_EQ(s.text, "要儲存嗎?");
  EXPECT_FALSE(askAndPress(2, QStringLiteral("注意!"), &TVoMsag::BitBtn3, &s));
  EXPECT_EQ(s.caption, "注意");
  EXPECT_TRUE(askAndPress(3, QStringLiteral("x"), &TVoMsag::BitBtn1, &s));
  EXPECT_EQ(s.caption, "重要資訊");
  EXPECT_TRUE(MsgRequest.Result);
}

TEST(MessageBox, InformationKindsShowOnlyOk) {
  Shown s;
  for (int kind : {4, 5, 6}) {
    EXPECT_TRUE(askAndPress(kind, QStringLiteral("完成"), &TVoMsag::BitBtn2, &s));
    EXPECT_TRUE(s.ok && !s.yes && !s.no) << kind;
    EXPECT_EQ(s.icons, 1);
  }
  EXPECT_EQ(s.caption, "重要資訊");
}

TEST(MessageBox, ClosingWithTheCloseBoxCountsAsNo) {
  Shown s;
  EXPECT_FALSE(askAndPress(1, QStringLiteral("q"), nullptr, &s));
  EXPECT_FALSE(askAndPress(6, QStringLiteral("i"), nullptr, &s));
}

TEST(MessageBox, UnknownKindShowsTextWithoutButtons) {
  Shown s;
  EXPECT_FALSE(askAndPress(0, QStringLiteral("只有文字"), nullptr, &s));
  EXPECT_EQ(s.caption, "VoMsag");
  EXPECT_FALSE(s.yes || s.ok || s.no);
  EXPECT_EQ(s.icons, 0);
  EXPECT_EQ(s.text, "只有文字");
}

TEST(MessageBox, LayoutAndIconsArePainted) {
  TVoMsag d;
  EXPECT_EQ(d.size(), QSize(385, 200));
  EXPECT_EQ(d.Memo1->geometry(), QRect(84, 60, 245, 57));
  EXPECT_EQ(d.BitBtn1->geometry(), QRect(69, 133, 110, 38));
  EXPECT_EQ(d.BitBtn2->geometry(), QRect(134, 133, 110, 38));
  EXPECT_EQ(d.BitBtn3->geometry(), QRect(197, 133, 110, 38));
  const QImage warning = MessageIcon(3).toImage();
  EXPECT_EQ(warning.pixelColor(15, 52).red(), 0xFF);  // yellow body
  EXPECT_EQ(warning.pixelColor(0, 0).alpha(), 0);     // transparent corner
  const QImage question = MessageIcon(2).toImage();
  EXPECT_GT(question.pixelColor(12, 32).blue(), 0xB0);
}

TEST(MessageBox, ResponderAnswersWithoutADialog) {
  SetAskUserResponder([](int kind, const QString&) { return kind == 1; });
  EXPECT_TRUE(AskUser(1, QStringLiteral("a")));
  EXPECT_EQ(MsgRequest.Kind, 1);
  EXPECT_FALSE(AskUser(2, QStringLiteral("b")));
  EXPECT_EQ(MsgRequest.Text, "b");
  SetAskUserResponder(nullptr);
}
