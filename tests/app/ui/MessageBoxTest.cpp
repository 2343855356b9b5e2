#include <gtest/gtest.h>
#include <QtWidgets>

#include "app/ui/MessageBox.h"
#include "skin/ui/ControlSkins.h"
#include "support/TestSupport.h"

using namespace ruto;

TEST(MessageBoxTest, EachKindShowsItsButtonsAndAnswers) {
  InstallMessageBox();
  using Press = QPushButton* MessageBox::*;
  const Press yes = &MessageBox::yesButton, ok = &MessageBox::okButton, no = &MessageBox::noButton;
  const struct {
    int kind;
    Press press;  // nullptr: the window's close box
    bool result;
    const char* shown;  // caption, buttons Y(es) O(k) N(o), number of icons, then the text
  } cases[] = {
      {1, yes, true, "詢問資訊 YN 1"},     {1, nullptr, false, "詢問資訊 YN 1"},
      {2, no, false, "注意 YN 1"},         {2, yes, true, "注意 YN 1"},
      {3, yes, true, "重要資訊 YN 1"},     {4, ok, true, "詢問資訊 O 1"},
      {5, ok, true, "注意 O 1"},           {6, ok, true, "重要資訊 O 1"},
      {6, nullptr, false, "重要資訊 O 1"}, {0, nullptr, false, "VoMsag  0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << (c.press ? "" : " closed"));
    QString shown;
    SetAskUserShowHook([&](MessageBox& d) {
      QTimer::singleShot(0, &d, [&] {
        shown = d.windowTitle() + ' ';
        for (const auto& [button, letter] : {std::pair{yes, 'Y'}, {ok, 'O'}, {no, 'N'}})
          if ((d.*button)->isVisible()) shown += QChar(letter);
        const int icons =
            d.importantIcon->isVisible() + d.questionIcon->isVisible() + d.warningIcon->isVisible();
        shown += QStringLiteral(" %1 ").arg(icons) + d.messageText->toPlainText();
        ruto::test::savePng(d.grab().toImage(), QStringLiteral("message-box-kind-%1").arg(c.kind));
        if (c.press)
          (d.*c.press)->click();
        else
          d.close();
      });
    });
    const QString asked = QStringLiteral("要儲存嗎? %1").arg(c.kind);
    EXPECT_EQ(AskUser(static_cast<MsgKind>(c.kind), asked), c.result);
    SetAskUserShowHook(nullptr);
    EXPECT_EQ(shown, c.shown + (' ' + asked));
  }
}

TEST(MessageBoxTest, ButtonsAreBitButtons) {
  MessageBox box;
  for (QPushButton* b : {box.yesButton, box.okButton, box.noButton})
    EXPECT_EQ(MapControl(b, TSkinControlTypes().set(), {}).kind, ControlKind::BitButton)
        << b->text().toStdString();
}

TEST(MessageBoxTest, IconsArePainted) {
  const QImage warning = MessageIcon(3).toImage();
  EXPECT_EQ(warning.pixelColor(15, 52).red(), 0xFF);  // yellow body
  EXPECT_EQ(warning.pixelColor(0, 0).alpha(), 0);     // transparent corner
  EXPECT_GT(MessageIcon(2).toImage().pixelColor(12, 32).blue(), 0xB0);
}
