#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/vcl/Forms.h"

namespace vcl {

class TLabel;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
using TMsgDlgButtons = uint32_t;  // bit n = TMsgDlgBtn n
TMsgDlgButtons MsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons);
inline const TMsgDlgButtons mbYesNoCancel = (1u << mbYes) | (1u << mbNo) | (1u << mbCancel);
inline const TMsgDlgButtons mbOKCancel = (1u << mbOK) | (1u << mbCancel);
inline const TMsgDlgButtons mbAbortRetryIgnore =
    (1u << mbAbort) | (1u << mbRetry) | (1u << mbIgnore);

/* The standard message dialog: a form of class "TMessageForm" holding a
   label named "Message" with the text and one TButton per requested kind,
   named after it ("Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore",
   "All", "NoToAll", "YesToAll", "Help") with the platform's English captions
   and modal results. The caption is the type's name ("Warning", "Error",
   "Information", "Confirmation"; the application title for mtCustom). The
   first of Yes/OK is the default button; Cancel (else No, else OK) the
   cancel button. Callers may change captions, caption and font before
   ShowModal; what the dialog shows at that moment is recorded. */
class TMessageForm : public TForm {
  VCL_CLASS_INFO()
 public:
  TMessageForm(TComponent* owner, const std::string& text, TMsgDlgType type,
               TMsgDlgButtons buttons);

  TMsgDlgType DialogType() const { return type_; }
  TLabel* Message() const { return message_; }
  int ShowModal() override;

 private:
  void Arrange();
  TMsgDlgType type_;
  TLabel* message_ = nullptr;
};

/* What a message dialog showed when it entered ShowModal, and its answer. */
struct TShownDialog {
  struct Button {
    std::string Name;
    std::string Caption;
    int ModalResult = 0;
  };
  std::string Text;
  std::string Caption;
  TMsgDlgType DialogType = mtCustom;
  std::vector<Button> Buttons;
  std::string FontName;
  int FontCharset = 0;
  int FontHeight = 0;
  int Result = 0;
};

/* Every message dialog shown so far in this process (oldest first). */
const std::vector<TShownDialog>& ShownDialogs();
void ClearShownDialogs();

/* Makes the dialog; the caller shows it and frees it. */
TMessageForm* CreateMessageDialog(const std::string& text, TMsgDlgType type,
                                  TMsgDlgButtons buttons);
/* Shows the dialog modally and returns the modal result of the button. */
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext = 0);
/* An mtCustom dialog with an OK button. */
void ShowMessage(const std::string& text);

}  // namespace vcl
