#pragma once

#include <string>

#include "platform/vcl/ComCtrls.h"

/* The page control whose tabs the program draws. */
namespace ExtPage {

/* A page control with program-drawn tabs (OwnerDraw is on). When OnDrawTab
   is assigned it draws every tab. Otherwise the active tab's rectangle,
   reduced by 2 pixels on every side, is filled with clActiveCaption and its
   text drawn bold in clCaptionText; an inactive tab is filled with
   clInactiveCaption and its text drawn in clInactiveCaptionText, not bold,
   2 pixels lower. The text is the caption of the page the tab stands for
   (pages with a hidden tab are skipped when counting), centred on one
   line. */
class TExtPageControl : public vcl::TPageControl {
  VCL_CLASS_INFO()
 public:
  explicit TExtPageControl(vcl::TComponent* owner);

  /* The caption of the page shown by visible tab TabIndex; "" when none. */
  std::string TabCaption(int tabIndex) const;
  void DrawTab(int tabIndex, const vcl::TRect& rect, bool active) override;
};

}  // namespace ExtPage
