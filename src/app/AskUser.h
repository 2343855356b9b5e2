#pragma once
// AskUser, the one road of every message and question, and the request record it fills.
// The dialog itself lives with the windows; logic code only asks.

#include <QString>
#include <functional>

namespace ruto {

// Message-box kinds; the numbers are the ones the program has always used.
enum class MsgKind : int {
  QuestionYesNo = 1,   // "詢問資訊", 是/否
  WarningYesNo = 2,    // "注意", 是/否
  ImportantYesNo = 3,  // "重要資訊", 是/否
  QuestionOk = 4,      // "詢問資訊", 確  定
  WarningOk = 5,       // "注意", 確  定
  ImportantOk = 6,     // "重要資訊", 確  定
};

struct TMsgRequest {
  MsgKind Kind{};
  QString Text;
  bool Result = false;  // "是" or "確  定" pressed
};

inline TMsgRequest MsgRequest;

// Shows the message box of `kind` with `text` and returns true for "是" or "確  定".
bool AskUser(MsgKind kind, const QString& text);

// Tests answer AskUser without a display: while a responder is set, AskUser fills
// MsgRequest and returns the responder's answer instead of showing anything.
using AskUserResponder = std::function<bool(MsgKind kind, const QString& text)>;
void SetAskUserResponder(AskUserResponder responder);

// The window layer installs the dialog that shows a request (it fills MsgRequest.Result).
// Without one, a request is answered "否".
using AskUserPresenter = std::function<void()>;
void SetAskUserPresenter(AskUserPresenter presenter);

}  // namespace ruto
