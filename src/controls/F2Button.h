#pragma once

#include "controls/GSpdBtn.h"
#include "platform/vcl/Messages.h"

/* The lookup button bound to an edit, and the lookup request it sends. */
namespace F2Button {

/* The lookup request: a control asks its window to run the F2 lookup for
   an edit (or a select panel's list), given as the long parameter. */
inline constexpr vcl::UINT kLookupMessage = vcl::WM_USER + 10;

/* The window a lookup request for Control goes to: Control's owner when
   that is a control (normally the form), else the form Control is on;
   nullptr when there is none. */
vcl::TControl* LookupWindow(const vcl::TControl* control);

/* Sends kLookupMessage with Control as the long parameter to
   LookupWindow(Control) and returns the answer; 0 without a window. */
vcl::LRESULT SendLookupRequest(vcl::TControl* control);

/* The error text of a second button for the same control. */
inline constexpr char kDuplicateError[] = "不能同时有两个 F2Button 指到同一个 Edit.";

/* A glyph button (flat, glyph 8) that runs the window's lookup for the
   windowed control it is bound to (F2Control).

   Binding: among the components owned by the button's parent, another
   TF2Button already bound to the same control makes the binding fail with
   kDuplicateError in an error dialog; the old binding stays. nullptr
   unbinds; a bound control that is freed unbinds itself.
   Alignment, when AutoAlign is set and a control is bound (on binding and
   on setting AutoAlign or Gap): the button becomes a square as high as the
   control, at the control's top, Gap pixels right of its right edge.
   Click: OnClick first; then, when a bound control is enabled, it gets the
   focus if it can, and when it has it the lookup request is sent for it. */
class TF2Button : public GSpdBtn::TGSpeedButton {
  VCL_CLASS_INFO()
 public:
  explicit TF2Button(vcl::TComponent* owner);

  vcl::TWinControl* F2Control() const { return f2Control_; }
  void SetF2Control(vcl::TWinControl* control);
  bool AutoAlign() const { return autoAlign_; }
  void SetAutoAlign(bool on);
  int Gap() const { return gap_; }
  void SetGap(int gap);

  /* Places the button beside its control (see the class comment). */
  void AlignToControl();
  void Click() override;

 protected:
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  vcl::TWinControl* f2Control_ = nullptr;
  bool autoAlign_ = true;
  int gap_ = 2;
};

}  // namespace F2Button
