#pragma once

#include <string>
#include <vector>

#include "controls/BtChkBox.h"
#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "controls/SelectPnl.h"
#include "controls/VkRadioButton.h"
#include "controls/VkRadioGroup.h"
#include "controls/VkSpin.h"
#include "controls/VrkEdit.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "runtime/VKForm.h"

/* The gallery: one window showing every control of the control set, for a
   person to look at (and for screenshots of the controls' drawing). */
namespace Gallery {

/* The window's caption and the two sample captions: a GB text, and the
   same text in traditional characters that the Big5 label shows as Big5
   bytes (made from kGBSample by the conversion library). */
inline constexpr char kCaption[] = "控件一览";
inline constexpr char kGBSample[] = "中文标题：进货验收单一览表";
inline constexpr char16_t kBig5Sample[] = u"中文標題：進貨驗收單一覽表";

/* The Big5 bytes of a GB text: through the conversion library
   "Vklanguage.dll" (traditional character forms), or, when the library
   cannot be loaded, the GB text's own characters re-encoded in Big5. */
std::string GBToBig5Text(const std::string& gbText);

/* A TVKForm window with a header (a GB caption and a Big5 caption) over a
   page control of two pages:
   - tsPanels: the select panel in each style, with date and number values
     (sp01 horizontal range of dates, sp02 vertical range of numbers, sp03
     a list of a few rows, sp04 and sp05 the user's choice as a range and
     as a list), and two more ranges: sp06 disabled, sp07 without lookup
     buttons;
   - tsControls: every other control of the set (glyph check boxes in the
     three states and disabled, glyph buttons, a lookup button bound to an
     edit, attached labels in the four positions, the labelled edits, the
     spin edit, radio buttons, a two-column radio group and a page control
     with drawn tabs).
   The window is 760 x 520; its show handler runs the base window's, then
   sets the caption kCaption and converts the window once; closing it frees
   it. */
class TfrmGallery : public VKForm::TVKForm {
  VCL_CLASS_INFO()
 public:
  explicit TfrmGallery(vcl::TComponent* owner);
  ~TfrmGallery() override;

  void FormShow(vcl::TObject* sender);
  void FormClose(vcl::TObject* sender, vcl::TCloseAction& action);

  vcl::TLabel* lblGB = nullptr;
  vcl::TLabel* lblBig5 = nullptr;
  vcl::TPageControl* pgGallery = nullptr;
  vcl::TTabSheet* tsPanels = nullptr;
  vcl::TTabSheet* tsControls = nullptr;

  SelectPnl::TSelectPanel* sp01 = nullptr;
  SelectPnl::TSelectPanel* sp02 = nullptr;
  SelectPnl::TSelectPanel* sp03 = nullptr;
  SelectPnl::TSelectPanel* sp04 = nullptr;
  SelectPnl::TSelectPanel* sp05 = nullptr;
  SelectPnl::TSelectPanel* sp06 = nullptr;
  SelectPnl::TSelectPanel* sp07 = nullptr;

  BtChkBox::TBitCheckBox* chkUnchecked = nullptr;
  BtChkBox::TBitCheckBox* chkChecked = nullptr;
  BtChkBox::TBitCheckBox* chkGrayed = nullptr;
  BtChkBox::TBitCheckBox* chkDisabled = nullptr;
  std::vector<GSpdBtn::TGSpeedButton*> glyphButtons;
  vcl::TEdit* edLookup = nullptr;
  F2Button::TF2Button* btnLookup = nullptr;
  std::vector<vcl::TEdit*> labelledEdits;  // one per position of TDBLabel
  std::vector<DBLabel::TDBLabel*> dbLabels;
  VrkEdit::TVkEdit* edVk = nullptr;
  VrkEdit::TVkDBEdit* edVkDB = nullptr;
  VrkEdit::TVkBtnDBEdit* edVkBtn = nullptr;
  VkSpin::TVkSpinEdit* seCount = nullptr;
  std::vector<VkRadioButton::TVkRadioButton*> radioButtons;
  VkRadioGroup::TVkRadioGroup* rgColumns = nullptr;
  ExtPage::TExtPageControl* pgDrawn = nullptr;

 private:
  void BuildHeader();
  void BuildPanels();
  void BuildControls();
};

/* What the command line asks for: --screenshot FILE (render the window
   into a PNG file and exit) and --page N (show page N, from 1). */
struct TOptions {
  std::string Screenshot;
  int Page = 1;
};

/* Reads the options; false with Error for an unknown option, a missing
   value or a page that is not a positive number. Arguments Qt takes for
   itself are not passed here. */
bool ParseOptions(const std::vector<std::string>& args, TOptions& options, std::string& error);

/* Renders a shown window (its client area, with every child as it paints
   itself) into a PNG file; false with Error when the window has no widget
   or the file cannot be written. */
bool SaveWindowImage(vcl::TCustomForm* form, const std::string& file, std::string& error);

}  // namespace Gallery
