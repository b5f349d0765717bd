#pragma once

#include <string>

#include "platform/core/Variant.h"
#include "platform/vcl/StdCtrls.h"
#include "report/BaseRpt.h"

namespace SelectPnl {
class TSelectPanel;
}
namespace VkRadioGroup {
class TVkRadioGroup;
}

/* The goods-receipt list's option window (TfrmPvqr82, form "frmPvqr82"). */
namespace Pvqr82CF {

/* The edit mask of a receipt number: a document type of up to four
   characters, "-", a document number of up to eleven, laid from the right
   with blanks in unfilled places. */
inline constexpr char kReceiptMask[] = "!aaaa-aaaaaaaaaaa;0; ";

/* A receipt-number text as the report's condition carries it: re-laid
   through Mask with its literals kept ("AB  123        " and
   "AB  -123        " both give "AB  -123        "); without a mask every
   "-" is removed and the rest trimmed. */
std::string ReceiptNumberText(const std::string& text, const std::string& mask);

/* The report's window: eleven conditions on two pages.

   Page tsOption1: sp01 (receipt numbers, range or picks), rg02 (which
   date: "单据日" or "验收日"), sp03 (the date range, a registered date
   field), sp04 (suppliers, range or picks), ed05 (receiving plant) and
   ed06 (currency), each code edit with its lookup button and an exit
   check against the server. Page TabSheet1 "高级选项": cbo07 (approval
   status), cbo08 (closing status), chk09, chk10 and chk11 (print unit
   prices and amounts, only with the user's price right).

   The window's name must stay "frmPvqr82": the generic window checks that
   its letters 4 to 6 match the program code. */
class TfrmPvqr82 : public BaseRpt::TfrmBaseRpt {
  VCL_CLASS_INFO()
 public:
  explicit TfrmPvqr82(vcl::TComponent* owner);
  ~TfrmPvqr82() override;

  // ---- Components: tsOption1 ----------------------------------------------------
  SelectPnl::TSelectPanel* sp01 = nullptr;      // "选择进货单号"
  VkRadioGroup::TVkRadioGroup* rg02 = nullptr;  // "日期选择"
  SelectPnl::TSelectPanel* sp03 = nullptr;      // "选择日期"
  SelectPnl::TSelectPanel* sp04 = nullptr;      // "选择供应商编号"
  vcl::TLabel* lbl05 = nullptr;                 // "选择进货工厂"
  vcl::TEdit* ed05 = nullptr;                   // at most 6 characters
  F2Button::TF2Button* btn05 = nullptr;
  vcl::TLabel* lbl06 = nullptr;  // "选择币种"
  vcl::TEdit* ed06 = nullptr;    // at most 4 characters
  F2Button::TF2Button* btn06 = nullptr;

  // ---- Components: TabSheet1 ("高级选项") ----------------------------------------
  vcl::TTabSheet* TabSheet1 = nullptr;
  vcl::TLabel* lbl07 = nullptr;
  vcl::TComboBox* cbo07 = nullptr;  // "已审核", "未审核", "作废", "全部"
  vcl::TLabel* lbl08 = nullptr;
  vcl::TComboBox* cbo08 = nullptr;          // "未结账", "已结账", "全部"
  BtChkBox::TBitCheckBox* chk09 = nullptr;  // "仅打印暂不付款者"
  BtChkBox::TBitCheckBox* chk10 = nullptr;  // "仅打印无采购单者"
  BtChkBox::TBitCheckBox* chk11 = nullptr;  // "打印单价金额"

  // ---- Overrides ------------------------------------------------------------------
  /* After the report window's: sp03 becomes a date field and the window
     declares its 11 conditions (15 with the report window's four). */
  void RegisterFields() override;
  /* After the report window's, when it succeeded: the edits' limits, the
     defaults of rg02, cbo07, cbo08, chk09, chk10, chk11 by the price right
     (RightsFlag8), and ed06 and chk11 as page ends. False when the
     inherited step fails or a step here raises. */
  bool Initialize(const platform::Variant& params) override;
  /* The data-type code first ("A" for document dates, "B" for acceptance
     dates), the inherited values, then elements 1 to 11. False (E;000030
     shown) when a value cannot be built. */
  bool FillConditionValues(platform::Variant& values, int own) override;
  /* The inherited captions, then elements 1 to 11: [caption, control
     name]. */
  bool FillConditionCaptions(platform::Variant& captions, int own) override;
  /* Runs the exit checks of ed05 and then ed06 (no inherited step). */
  void SchemeOpened() override;
  /* After the inherited lookups: receipts ("ASTTO") into sp01, the date
     picker into sp03, suppliers ("PURMA") into sp04, plants ("CMSMB") into
     ed05 and currencies ("CMSMF") into ed06. A panel looks up only from
     its begin and final edits and its list; F2 on its choice box does
     nothing. An answer without rows changes nothing. */
  void LookupKey(vcl::Word key, vcl::TWinControl* control) override;

  // ---- Handlers (published methods) -------------------------------------------
  /* Exit checks: an empty code passes (a code of blanks is checked like
     any other); a code the server does not hold
     ("CMSMB" for ed05, "CMSMF" for ed06) shows E;000001 with the text of
     I;000008, sets InputError and keeps the focus in the edit with its
     text selected; a known code clears InputError. Leaving the other code
     edit because the focus is being sent back is not checked. */
  void ed05Exit(vcl::TObject* sender);
  void ed06Exit(vcl::TObject* sender);
  /* The job window's OK, unchanged. */
  void btnOkClick(vcl::TObject* sender);

 private:
  void BuildComponents();
  /* The edit limits of sp01, sp04, ed05 and ed06. */
  void ApplyLimits();
  bool CheckCode(vcl::TEdit* edit, const std::string& table);
  /* Element 1: the receipt numbers of sp01, re-laid through its mask. */
  platform::Variant ReceiptNumbersValue() const;
  /* [index + 1, item text] of a list choice. */
  static platform::Variant ChoiceValue(int index, const std::string& text);

  bool refocusing_ = false;
};

}  // namespace Pvqr82CF
