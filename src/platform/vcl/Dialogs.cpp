#include "platform/vcl/Dialogs.h"

#include <QFontMetrics>
#include <algorithm>

#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {

namespace {

struct ButtonKind {
  const char* name;
  const char* caption;
  int result;
};
const ButtonKind kButtons[] = {
    {"Yes", "&Yes", mrYes},
    {"No", "&No", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},
    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},
    {"All", "&All", mrAll},
    {"NoToAll", "N&o to All", mrNoToAll},
    {"YesToAll", "Yes to &All", mrYesToAll},
    {"Help", "&Help", 0},
};
const char* const kCaptions[] = {"Warning", "Error", "Information", "Confirmation", ""};

std::vector<TShownDialog>& Shown() {
  static std::vector<TShownDialog> shown;
  return shown;
}

}  // namespace

TMsgDlgButtons MsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
  TMsgDlgButtons set = 0;
  for (TMsgDlgBtn b : buttons) set |= 1u << b;
  return set;
}

const TClassInfo* TMessageForm::StaticClassInfo() {
  static const TClassInfo info("TMessageForm", TForm::StaticClassInfo());
  return &info;
}

TMessageForm::TMessageForm(TComponent* owner, const std::string& text, TMsgDlgType type,
                           TMsgDlgButtons buttons)
    : TForm(owner), type_(type) {
  SetBorderStyle(bsDialog);
  SetBorderIcons(BorderIcon(biSystemMenu));
  SetPosition(poScreenCenter);
  SetCaption(type == mtCustom ? Application->Title() : kCaptions[type]);
  message_ = new TLabel(this);
  message_->SetName("Message");
  message_->SetParent(this);
  message_->SetCaption(text);
  bool haveDefault = false;
  TButton* cancel = nullptr;
  TButton* no = nullptr;
  TButton* ok = nullptr;
  for (int kind = mbYes; kind <= mbHelp; ++kind) {
    if (!(buttons & (1u << kind))) continue;
    auto* b = new TButton(this);
    b->SetName(kButtons[kind].name);
    b->SetParent(this);
    b->SetCaption(kButtons[kind].caption);
    b->SetModalResult(kButtons[kind].result);
    if (!haveDefault && (kind == mbYes || kind == mbOK)) {
      b->SetDefault(true);
      haveDefault = true;
    }
    if (kind == mbCancel) cancel = b;
    if (kind == mbNo) no = b;
    if (kind == mbOK) ok = b;
  }
  if (TButton* c = cancel ? cancel : no ? no : ok) c->SetCancel(true);
  Arrange();
}

void TMessageForm::Arrange() {
  message_->AdjustBounds();
  int count = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TButton*>(Controls(i))) ++count;
  int buttonsWidth = count * 75 + std::max(0, count - 1) * 8;
  int clientW = std::max(message_->Width() + 60, buttonsWidth + 24);
  int clientH = 16 + message_->Height() + 16 + 25 + 12;
  SetBounds(Left(), Top(), clientW + 8, clientH + 27);
  message_->SetBounds(44, 16, message_->Width(), message_->Height());
  int x = (clientW - buttonsWidth) / 2;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TButton*>(Controls(i))) {
      b->SetBounds(x, clientH - 12 - 25, 75, 25);
      x += 83;
    }
}

int TMessageForm::ShowModal() {
  Arrange();
  TShownDialog shown;
  shown.Text = message_->Caption();
  shown.Caption = Caption();
  shown.DialogType = type_;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* b = dynamic_cast<TButton*>(Components(i)))
      shown.Buttons.push_back({b->Name(), b->Caption(), b->ModalResult()});
  shown.FontName = Font()->Name();
  shown.FontCharset = Font()->Charset();
  shown.FontHeight = Font()->Height();
  Shown().push_back(shown);
  size_t index = Shown().size() - 1;
  int result = TForm::ShowModal();
  if (index < Shown().size()) Shown()[index].Result = result;
  return result;
}

const std::vector<TShownDialog>& ShownDialogs() { return Shown(); }
void ClearShownDialogs() { Shown().clear(); }

TMessageForm* CreateMessageDialog(const std::string& text, TMsgDlgType type,
                                  TMsgDlgButtons buttons) {
  return Create<TMessageForm>(Application, text, type, buttons);
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
  TMessageForm* dialog = CreateMessageDialog(text, type, buttons);
  int result = dialog->ShowModal();
  if (IsLiveComponent(dialog)) dialog->Free();
  return result;
}

void ShowMessage(const std::string& text) { MessageDlg(text, mtCustom, MsgDlgButtons({mbOK}), 0); }

}  // namespace vcl
