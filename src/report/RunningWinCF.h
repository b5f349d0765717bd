#pragma once

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "runtime/VKForm.h"

/* The wait window a report shows while it opens (TfrmRunningWinC). */
namespace RunningWinCF {

/* A small borderless aqua window, centred on its owner when shown, whose
   caption and red label read "报表开启中，请稍候..." beside a 16 x 16
   find-file animation that is still until SetActive(true). */
class TfrmRunningWinC : public VKForm::TVKForm {
  VCL_CLASS_INFO()
 public:
  explicit TfrmRunningWinC(vcl::TComponent* owner);
  ~TfrmRunningWinC() override;

  vcl::TLabel* Label1 = nullptr;
  vcl::TAnimate* Animate1 = nullptr;

  /* The last frame the animation plays to. */
  static constexpr int kStopFrame = 8;

  /* Starts (true) or stops (false) the animation. */
  void SetActive(bool value);

  /* OnShow: the base window's show step, then the window is centred on its
     owner when the owner is a control. */
  void FormShow(vcl::TObject* sender);
};

}  // namespace RunningWinCF
