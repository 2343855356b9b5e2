#include "app/AskUser.h"

namespace ruto {

namespace {

AskUserResponder& responder() {
  static AskUserResponder r;
  return r;
}

AskUserPresenter& presenter() {
  static AskUserPresenter p;
  return p;
}

}  // namespace

bool AskUser(MsgKind kind, const QString& text) {
  MsgRequest.Kind = kind;
  MsgRequest.Text = text;
  MsgRequest.Result = false;
  if (responder()) {
    MsgRequest.Result = responder()(kind, text);
  } else if (presenter()) {
    presenter()();
  }
  return MsgRequest.Result;
}

void SetAskUserResponder(AskUserResponder r) { responder() = std::move(r); }

void SetAskUserPresenter(AskUserPresenter p) { presenter() = std::move(p); }

}  // namespace ruto
