#pragma once

#include <cstdint>
#include <string>

#include "jobs/BaseOpt.h"
#include "platform/core/Variant.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/StdCtrls.h"

namespace BtChkBox {
class TBitCheckBox;
}
namespace DBLabel {
class TDBLabel;
}
namespace F2Button {
class TF2Button;
}

/* The option window of every report program (TfrmBaseRpt): the job window
   with the report's outputs, its printed date format, its footer and
   sign-off blocks, its data-type code and the buttons for direct query,
   report design and (current build only) the web report. */
namespace BaseRpt {

/* The report window.

   Registration makes the request carry 14 environment entries (13: the
   output flags, 14: the data-type code) and reserves four conditions at
   the end of the request: sign-off, footer, date type and the generic
   print date, in that order. A concrete report declares its own
   conditions with SetConditionCount after calling this RegisterFields.

   Initialisation (after the job window's) loads the footer and sign-off
   defaults from the program's report settings, drops the two Minguo date
   formats when the company uses Gregorian years only ("SYS026" = "2") and
   enables direct query and design for an in-process server. */
class TfrmBaseRpt : public BaseOpt::TfrmBaseOpt {
  VCL_CLASS_INFO()
 public:
  /* Builds the job window and the components below (name "frmBaseRpt");
     the main button becomes "后台处理". */
  explicit TfrmBaseRpt(vcl::TComponent* owner);
  ~TfrmBaseRpt() override;

  // ---- Components: system page (tsOption2) --------------------------------
  vcl::TGroupBox* grpGenType = nullptr;              // "报表生成选项"
  BtChkBox::TBitCheckBox* chkView = nullptr;         // "生成报表", checked
  BtChkBox::TBitCheckBox* chkHTML = nullptr;         // "可供网页浏览"
  BtChkBox::TBitCheckBox* chkDirectPrint = nullptr;  // "直接打印", always disabled
  DBLabel::TDBLabel* lblDateType = nullptr;          // "日期类型"
  vcl::TComboBox* cboDateType = nullptr;             // item n (from 1) is date format n
  vcl::TGroupBox* grpNote = nullptr;                 // "页脚"
  vcl::TLabel* lblNoteID = nullptr;
  vcl::TEdit* edNoteID = nullptr;  // at most 6 characters
  F2Button::TF2Button* btnNote = nullptr;
  vcl::TLabel* lblNote1 = nullptr;
  vcl::TLabel* lblNote2 = nullptr;
  vcl::TLabel* lblNote3 = nullptr;
  vcl::TEdit* edNote1 = nullptr;
  vcl::TEdit* edNote2 = nullptr;
  vcl::TEdit* edNote3 = nullptr;
  BtChkBox::TBitCheckBox* chkNoteEPPrint = nullptr;  // "每页打印页脚"
  vcl::TGroupBox* grpSignIn = nullptr;               // "签核"
  vcl::TLabel* lblSignInID = nullptr;
  vcl::TEdit* edSignInID = nullptr;  // at most 6 characters
  F2Button::TF2Button* btnSignIn = nullptr;
  vcl::TLabel* lblSignIn1 = nullptr;
  vcl::TLabel* lblSignIn2 = nullptr;
  vcl::TLabel* lblSignIn3 = nullptr;
  vcl::TEdit* edSignIn1 = nullptr;
  vcl::TEdit* edSignIn2 = nullptr;
  vcl::TEdit* edSignIn3 = nullptr;
  BtChkBox::TBitCheckBox* chkSignInEPPrint = nullptr;  // "每页打印签核"

  // ---- Components: bottom panel ---------------------------------------------
  vcl::TBitBtn* btnQuery = nullptr;   // "直接查询"
  vcl::TBitBtn* btnDesign = nullptr;  // "设计报表"
#if !VK_COMPAT_BUILD
  vcl::TBitBtn* btnWebDesign = nullptr;  // "web报表"
#endif

  // ---- Overrides, in slot order -----------------------------------------------
  /* After the job window's layout: the report's layout of the system page
     (window at least 585 x 460). */
  void ArrangeSystemPage() override;
  /* After the job window's: EnvCount 14, ReservedConditions 4 (and
     SetConditionCount(0), so that a report without conditions of its own
     has 4), ProgramKind "R", OutputFlags 1, the date type from "Sys001",
     footer and sign-off lines limited to 255 characters; in the current
     build the window becomes 80 pixels wider. */
  void RegisterFields() override;
  /* After the job window's, when it succeeded: LoadReportDefaults, the
     "SYS026" pruning of the date types and the enabling of direct query
     and design. False when the inherited step fails or one of these
     raises (the reason recorded in the message trail). */
  bool Initialize(const platform::Variant& params) override;
  /* After the inherited values: Own+1 the sign-off block, Own+2 the footer
     block, Own+3 [date type index + 1, its text]. */
  bool FillConditionValues(platform::Variant& values, int own) override;
  /* After the inherited entries: 13 OutputFlags and 7 (integer), 14
     DataType. */
  bool FillEnvironment(platform::Variant& env, int count) override;
  /* After the inherited captions: Own+1 [grpSignIn's caption,
     "grpSignIn"], Own+2 [grpNote's caption, "grpNote"], Own+3
     [lblDateType's caption, "cboDateType"]. */
  bool FillConditionCaptions(platform::Variant& captions, int own) override;
  /* After the inherited list: "name.text;" for every edit and
     "name.checked;" for every check box of grpNote, then of grpSignIn. */
  void ComposeSchemeProperties() override;

  /* F2 on edNoteID or edSignInID (after the inherited lookups): the
     footer or sign-off lookup ("CMSMS", kind "01", key ["1"] or ["2"]);
     the first chosen row fills the block (id from column 0, lines from
     columns 2 to 4) and EnteredID; without a chosen row the block stays. */
  void LookupKey(vcl::Word key, vcl::TWinControl* control) override;

  // ---- Operations of its own ----------------------------------------------------
  /* DataType := Code in upper case, trimmed, cut to its first 10
     characters. */
  void SetDataType(const std::string& code);
  /* Empty the footer (sign-off) block, then fill it from the report block
     ID of kind "1" ("2"). An empty ID is accepted. An ID the server does not
     know gives false after W;000004 naming the field (R;100235 or
     R;100236) when Warn is set, and true without a word otherwise. */
  bool LoadFooter(const std::string& id, bool warn);
  bool LoadSignOff(const std::string& id, bool warn);
  /* Enables both lookup buttons, then fills both blocks from the program's
     report settings ("CMSMT", kind "01", key [ProgramCode]): column 1 (7)
     "Y" keeps the footer (sign-off) lookup enabled, anything else disables
     it. A block's edits are read-only exactly while its button is
     disabled. Without a settings row both blocks stay empty and editable. */
  void LoadReportDefaults();

  // ---- Handlers (published methods) -------------------------------------------
  void FormCreate(vcl::TObject* sender);
  void FormShow(vcl::TObject* sender);
  /* The click of all three output boxes: OutputFlags from the boxes (1
     report, 2 HTML, 4 direct print); with none checked, I;000005 and the
     flags stay as they were. */
  void chkViewClick(vcl::TObject* sender);
  /* Both identifier edits: EnteredID := the edit's text. */
  void edNoteIDEnter(vcl::TObject* sender);
  /* A changed identifier is loaded with LoadFooter (LoadSignOff); when
     that refuses it, the edit gets the focus back. */
  void edNoteIDExit(vcl::TObject* sender);
  void edSignInIDExit(vcl::TObject* sender);
  /* STUB: direct query, report design and the web report are not built
     yet; the buttons exist with their enabling rules and do nothing. */
  void btnQueryClick(vcl::TObject* sender);
  void btnDesignClick(vcl::TObject* sender);
#if !VK_COMPAT_BUILD
  void btnWebDesignClick(vcl::TObject* sender);
#endif
  /* The job window's periodic switch, then: while btnPeriod is down the
     report buttons are disabled; when it is up direct query and design
     follow LocalServer (and the web report is enabled), and the "ADMMB"
     rule applies again. */
  void btnPeriodClick(vcl::TObject* sender);

  // ---- State ------------------------------------------------------------------
  /* Bits: 1 the report file, 2 HTML for web browsing, 4 direct print. */
  uint8_t OutputFlags = 1;
  std::string DataType;
  /* The identifier edit's text when it got the focus. */
  std::string EnteredID;

 protected:
  /* Direct query and design follow LocalServer; then, in the current
     build, a program marked in "ADMMB" kind "11" (element 3 "Y") loses
     direct query. */
  void EnableReportButtons();
  /* True when the server marks this program as not for direct query. */
  bool DirectQueryRefused();

 private:
  void BuildComponents();
  /* Fills a block's edits from a settings or lookup row and sets whether
     they can be edited. */
  bool LoadBlock(const std::string& blockKind, const std::string& id, bool warn);
};

}  // namespace BaseRpt
