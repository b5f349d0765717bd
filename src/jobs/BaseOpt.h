#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "framework/BaseGene.h"
#include "platform/core/Variant.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

namespace BtChkBox {
class TBitCheckBox;
}
namespace F2Button {
class TF2Button;
}
namespace VkSpin {
class TVkSpinEdit;
}

/* The job window (TfrmBaseOpt): the generic option window turned into a
   window that submits a job to the application server's report module. */
namespace BaseOpt {

/* The server class every job window talks to. */
inline constexpr char kServerName[] = "ReportCounterS.dmReportCounter";

/* Recipients dialog: returns the edited recipient list when the user
   confirmed, else List unchanged. Until the dialog exists it always returns
   List unchanged. */
std::string EditRecipients(vcl::TComponent* owner, const std::string& list,
                           const std::string& portalStarted, const std::string& portalAddress);

/* The one-recipient list for User that checking chkNotify creates: message
   on, short message and mail off, recipient type "5". */
std::string DefaultRecipientXml(const std::string& userID);

/* The first run date ('yyyymmdd') of a periodic job starting on Start under
   Schedule; "" when none. STUB: the schedule computation is not built yet,
   it always answers "". */
std::string NextPeriodDate(const std::string& start, const platform::Variant& schedule);

/* The condition values of a periodic job's first run: Block is [values,
   schedule block, dynamic-field block]; returns the rewritten values, or
   the empty string after a failure. STUB: the date shifting is not built
   yet, it returns the values unchanged. */
platform::Variant ApplyDynamicDates(const platform::Variant& block, const std::string& runDate);

/* The job window.

   Adds to the generic window the generation-time group and the
   notification box on the system page, the periodic toggle and its page
   (components only for now), the OK menu (exit or stay after a submitted
   job), the job request's environment fields 10 to 12 and its submission
   through the server operation Request, the rights request at start-up and
   the scheme property list.

   Descendants (the report window) override FillEnvironment to add fields
   13 and 14 and ComposeSchemeProperties for their own controls; both call
   the inherited operation first. */
class TfrmBaseOpt : public BaseGene::TfrmBaseGene {
  VCL_CLASS_INFO()
 public:
  /* Builds the generic window and the components below (name
     "frmBaseOpt"). */
  explicit TfrmBaseOpt(vcl::TComponent* owner);
  ~TfrmBaseOpt() override;

  // ---- Components: system page (tsOption2) --------------------------------
  vcl::TGroupBox* grpGenTime = nullptr;  // "生成时间"
  vcl::TRadioButton* rdoRealTime = nullptr;
  vcl::TRadioButton* rdoQueue = nullptr;  // checked at start
  vcl::TRadioButton* rdoExceptTime = nullptr;
  vcl::TPanel* pnlTime = nullptr;  // disabled until rdoExceptTime
  vcl::TMaskEdit* edDate = nullptr;
  F2Button::TF2Button* btnDate = nullptr;
  VkSpin::TVkSpinEdit* edHour = nullptr;  // 0..23
  VkSpin::TVkSpinEdit* edMin = nullptr;   // 0..59
  VkSpin::TVkSpinEdit* edSec = nullptr;   // 0..59
  vcl::TLabel* lalHour = nullptr;
  vcl::TLabel* lblMin = nullptr;
  vcl::TLabel* lblSec = nullptr;
#if !VK_COMPAT_BUILD
  BtChkBox::TBitCheckBox* chkNotify = nullptr;  // "完成后通知"
  F2Button::TF2Button* btnNotify = nullptr;     // disabled until chkNotify
#endif
  /* The notification-method group: shown in the compatibility build (its
     states are environment field 12 there), hidden and without effect in
     the current build. */
  vcl::TGroupBox* grpAlarm = nullptr;
  BtChkBox::TBitCheckBox* chkAlarm = nullptr;    // "显示讯息"
  BtChkBox::TBitCheckBox* chkVkPager = nullptr;  // "B.B.CALL"

  // ---- Components: bottom panel and the OK menu ----------------------------
  vcl::TSpeedButton* btnPeriod = nullptr;  // toggle "周期性", group 2, all up allowed
  vcl::TSpeedButton* btnSpd = nullptr;     // the arrow beside btnOk that opens pmOKExit
#if !VK_COMPAT_BUILD
  vcl::TBitBtn* btnOK01 = nullptr;  // invisible
  vcl::TBitBtn* btnOK02 = nullptr;  // invisible; holds the glyph btnOk shows
#endif
  vcl::TPopupMenu* pmOKExit = nullptr;
  vcl::TMenuItem* miOKExit = nullptr;    // "处理后直接退出作业(&C)"
  vcl::TMenuItem* miOKNoExit = nullptr;  // "处理后并不退出作业(&B)"

  // ---- Components: the periodic page (the last page of pgOption) -----------
  // They exist with their names, captions and defaults; what they do is not
  // built yet.
  vcl::TTabSheet* tsPeriodOption = nullptr;  // "周期性设置", tab hidden
  vcl::TLabel* lblPeriod1 = nullptr;         // "运行时间"
  VkSpin::TVkSpinEdit* sePeriodHour = nullptr;
  vcl::TLabel* lblPeriod2 = nullptr;  // "时"
  VkSpin::TVkSpinEdit* sePeriodMin = nullptr;
  vcl::TLabel* lblPeriod3 = nullptr;       // "分"
  vcl::TGroupBox* gbCycleStyle = nullptr;  // "循环模式"
  vcl::TRadioButton* rdoEveryday = nullptr;
  vcl::TRadioButton* rdoEveryWeek = nullptr;
  vcl::TRadioButton* rdoEveryMonth = nullptr;
#if !VK_COMPAT_BUILD
  vcl::TRadioButton* rbEveryHour = nullptr;
#endif
  vcl::TPanel* pnDay = nullptr;
  vcl::TLabel* lblPeriod4 = nullptr;  // "每"
  VkSpin::TVkSpinEdit* meDay = nullptr;
  vcl::TLabel* lblPeriod5 = nullptr;  // "天"
  vcl::TPanel* pnWeek = nullptr;
  vcl::TLabel* lblPeriod6 = nullptr;  // " 重复于每"
  VkSpin::TVkSpinEdit* meWeek = nullptr;
  vcl::TLabel* lblPeriod7 = nullptr;  // "周的"
  vcl::TComboBox* cboDayofWeek = nullptr;
  vcl::TPanel* pnMonth = nullptr;
  vcl::TRadioButton* rdomonth_1 = nullptr;
  VkSpin::TVkSpinEdit* meMonth_M1 = nullptr;
  vcl::TLabel* lblPeriod8 = nullptr;  // "个月的"
  VkSpin::TVkSpinEdit* meMonth_D = nullptr;
  vcl::TLabel* lblPeriod9 = nullptr;  // "日"
  vcl::TRadioButton* rdomonth_2 = nullptr;
  VkSpin::TVkSpinEdit* meMonth_M2 = nullptr;
  vcl::TLabel* lblPeriod10 = nullptr;  // "个月的"
  vcl::TComboBox* cbo1Month_M2 = nullptr;
  vcl::TComboBox* cbo2Month_M2 = nullptr;
#if !VK_COMPAT_BUILD
  vcl::TPanel* pnEveryHour = nullptr;
  vcl::TLabel* lblEveryHour = nullptr;  // "每隔"
  vcl::TEdit* edEveryHour = nullptr;
  vcl::TLabel* lblEveryHourEx = nullptr;  // "小时处理一次数据"
#endif
  vcl::TGroupBox* gbCycleRang = nullptr;  // "循环范围"
  vcl::TLabel* lblPeriod11 = nullptr;     // "开始日期"
  vcl::TMaskEdit* meStartDate = nullptr;
  F2Button::TF2Button* btnStartDate = nullptr;
  vcl::TRadioButton* rbCycleRang_1 = nullptr;  // "没有退出日期", checked
  vcl::TRadioButton* rbCycleRang_2 = nullptr;  // "在反复"
  VkSpin::TVkSpinEdit* meCycleRang_2 = nullptr;
  vcl::TLabel* lblPeriod12 = nullptr;          // "次后退出"
  vcl::TRadioButton* rbCycleRang_3 = nullptr;  // "退出日期"
  vcl::TMaskEdit* meEndDate = nullptr;
  F2Button::TF2Button* btnEndDate = nullptr;
  vcl::TGroupBox* gbDynamicFields = nullptr;  // "变动字段"
  vcl::TLabel* lblCondition1 = nullptr;       // "   条件:"
  vcl::TComboBox* cbocondition = nullptr;
  vcl::TPanel* pnSp = nullptr;
  BtChkBox::TBitCheckBox* spChangeDate_B = nullptr;  // "变动起始日期"
  vcl::TLabel* lblRunDay_B = nullptr;                // "=预定运行日"
  VkSpin::TVkSpinEdit* seDay_B1 = nullptr;           // -99..99
  vcl::TComboBox* cboDay_B1 = nullptr;               // "周", "月"
  vcl::TComboBox* cboDay_B2 = nullptr;               // "加/减", "第一天", "最后一天"
  VkSpin::TVkSpinEdit* seDay_B2 = nullptr;           // -999..999
  vcl::TLabel* lblDay_B = nullptr;                   // "天"
  BtChkBox::TBitCheckBox* spChangeDate_E = nullptr;  // "变动截止日期"
  vcl::TLabel* lblRunDay_E = nullptr;
  VkSpin::TVkSpinEdit* seDay_E1 = nullptr;
  vcl::TComboBox* cboDay_E1 = nullptr;
  vcl::TComboBox* cboDay_E2 = nullptr;
  VkSpin::TVkSpinEdit* seDay_E2 = nullptr;
  vcl::TLabel* lblDay_E = nullptr;
  vcl::TPanel* pnEdit = nullptr;
  BtChkBox::TBitCheckBox* edChangeDate = nullptr;  // "变动日期"
  vcl::TLabel* lblRunDay = nullptr;
  VkSpin::TVkSpinEdit* seDay1 = nullptr;
  vcl::TComboBox* cboDay1 = nullptr;
  vcl::TComboBox* cboDay2 = nullptr;
  VkSpin::TVkSpinEdit* seDay2 = nullptr;
  vcl::TLabel* lblDay = nullptr;

  // ---- Overrides of the generic window, in slot order -----------------------
  /* Places the generation-time group, the notification box (or, in the
     compatibility build, the notification-method group) after the base
     layout; the window becomes at least 340 x 275. */
  void ArrangeSystemPage() override;
  /* The base request, and for a periodic job (btnPeriod down) the schedule
     and dynamic-field blocks with the first run's condition values. */
  bool BuildRequest() override;
  /* Puts "edDate,meStartDate,meEndDate" in front of the date fields,
     EnvCount 12, ServiceFlags 4 (the date picker needs the lookup
     service). */
  void RegisterFields() override;
  /* Extends List with entries of the current required-field list: while
     the window composes its own list (ComposingRequired) the entries on
     other pages than the system and periodic pages (with their
     qualifier), otherwise the entries on those two pages (name only). */
  void SetRequired(const std::string& list) override;
  bool GenerateLocally(const std::string& jobId, const std::string& programCode,
                       const std::string& jobKey, int count, const platform::Variant& values,
                       const std::string& dbName, const std::string& kind,
                       const std::string& serverClass, const std::string& userID,
                       const std::string& companyID, const std::string& dataType) override;
  /* After the base: empties edDate, asks SQLType and the rights, shows the
     window at once in stand-alone mode, shows the periodic tab only when
     btnPeriod is down. NotifyXml is emptied in every case. The result is the
     base's. */
  bool Initialize(const platform::Variant& params) override;
  /* After the base fields 1-9: field 9 in lower case for a periodic job,
     10 the generation mode (0 queue, 1 real time, 2 at a time), 11 the
     submission or scheduled time, 12 the recipient list (compatibility
     build: 1-4 from chkAlarm and chkVkPager). False (E;000005 with the texts
     of I 000009 and I 000010, field 10 set to 0) when the scheduled time
     cannot be read. */
  bool FillEnvironment(platform::Variant& env, int count) override;
  /* Composes SchemeProperties; hides the scheme panel when there is
     nothing to store. */
  void AfterRights() override;
  /* Sets the connection's server name to kServerName. */
  void PrepareConnection(platform::remote::TSocketConnection* connection) override;

  // ---- New virtual operations, in slot order ---------------------------------
  /* Asks the server for the user's rights on this program (GetPower) and
     applies them. */
  virtual void RequestRights();
  /* Initialises the periodic page. STUB: not built yet. */
  virtual void PreparePeriodPage();
  /* Rebuilds Schedule from the cycle controls. STUB: not built yet, leaves
     Schedule as it is. */
  virtual void ComposeSchedule();
  /* Rewrites the date-shift record of the selected condition from the rule
     controls. STUB: not built yet. */
  virtual void StoreDynamicRule();
  /* Appends "name.suffix;" to SchemeProperties for every named control in
     the tab order of a page of pgOption (pages in order, then tab order),
     leaving out the system and periodic pages and memos. Suffixes by class:
     edits ".text", combo boxes ".itemindex", check boxes and radio buttons
     ".checked", select panels ".style", radio groups ".itemindex". */
  virtual void ComposeSchemeProperties();

  /* F2 on edDate, meStartDate or meEndDate (after the base): the date
     picker's answer replaces the text. */
  void LookupKey(vcl::Word key, vcl::TWinControl* control) override;

  /* The computer's name (at most 15 characters), "Unknown" when it cannot
     be told. */
  static std::string ComputerName();

  // ---- Handlers (published methods) -------------------------------------------
  void FormCreate(vcl::TObject* sender);
  void FormShow(vcl::TObject* sender);
  void FormDestroy(vcl::TObject* sender);
  /* Builds the request, converts it to wide texts (code page 936) and calls
     the server's Request: accepted → I;000004 (recorded only as I;-000004
     when not interactive), ResultCode 1, ResultValue the job id, closes
     when ExitAfterSubmit; "ERROR" or a failure → E;000013 with
     ErrorDescript, the window stays. */
  void btnOkClick(vcl::TObject* sender);
  /* The base (closes the window), then ResultCode 2. */
  void btnCancelClick(vcl::TObject* sender);
  /* rdoQueue and rdoRealTime: pnlTime off, no generation-time required
     field. */
  void rdoQueueClick(vcl::TObject* sender);
  /* pnlTime on, edDate required. */
  void rdoExceptTimeClick(vcl::TObject* sender);
  void edDateEnter(vcl::TObject* sender);
  void edDateExit(vcl::TObject* sender);
  /* Pops pmOKExit up under btnOk. */
  void btnSpdClick(vcl::TObject* sender);
  /* Set ExitAfterSubmit (true / false), give btnOk its glyph and click it. */
  void miOKExitClick(vcl::TObject* sender);
  void miOKNoExitClick(vcl::TObject* sender);
#if !VK_COMPAT_BUILD
  /* btnNotify follows chkNotify; a first check creates the default
     recipient list for the current user. */
  void chkNotifyClick(vcl::TObject* sender);
  /* Reads the portal settings ("SimpleSQL") and lets the user edit the
     recipients (EditRecipients). */
  void btnNotifyClick(vcl::TObject* sender);
#endif
  /* The scheme Save button: the base check, then the scheme dialog (not
     built yet: no name comes back), SaveScheme and a reload of the list. */
  void btnInsertClick(vcl::TObject* sender);
  void pgOptionChange(vcl::TObject* sender);
  /* Periodic mode on or off. STUB beyond showing the periodic tab exactly
     while btnPeriod is down. The report window binds its own handler,
     which calls this one first. */
  void btnPeriodClick(vcl::TObject* sender);

  // ---- State the report window and tests read ---------------------------------
  bool ExitAfterSubmit = true;
  bool ShowSubmitMenu = true;
  std::string NotifyXml;
  std::string PortalStarted;
  std::string PortalAddress;
  /* The first run date of a periodic job ('yyyymmdd'). */
  std::string FirstRunDate;
  /* The cycle style [style, parameters] (bounds 0..1). */
  platform::Variant Schedule;
  /* The date-shift records of the periodic page. */
  std::unique_ptr<vcl::TStringList> DynamicFieldRules;
  /* The answer of SQLType; kept, read by nothing. */
  uint8_t DatabaseKind = 0;

 protected:
  std::string SavedRequired;
  std::string GenTimeRequired;
  std::string CycleStyleRequired;
  std::string CycleRangeRequired;
  bool ComposingRequired = false;
  bool PeriodPageFresh = false;
  bool RuleEditing = false;

  /* Hands the non-empty parts, joined by commas, to SetRequired with
     ComposingRequired set. */
  void ComposeRequired(std::initializer_list<std::string> parts);
  /* The cycle range [start, kind, ...] of the periodic page. STUB: not
     built yet, answers an unassigned value. */
  virtual platform::Variant CycleRangeValue();
  /* The scheduled date and time of mode 2 from a date text in the short
     date format "YYYY/MM/DD" and the three time fields; raises when the
     text cannot be read. */
  platform::DateTime ScheduledTime(const std::string& dateText) const;
  /* The page of pgOption holding Control; nullptr when none. */
  vcl::TTabSheet* PageOf(vcl::TControl* control) const;
  /* The periodic block of BuildRequest (Request 0..2 → 0..4). */
  bool AddPeriodicBlocks();

 private:
  void BuildComponents();
};

}  // namespace BaseOpt
