#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "platform/core/Variant.h"
#include "platform/remote/ClientDataSet.h"
#include "platform/remote/SocketConnection.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/Menus.h"
#include "runtime/VKForm.h"

namespace SelectPnl {
class TSelectPanel;
}

/* The generic option window every report and job window of the program
   derives from (TfrmBaseGene), with the server link and the coded messages
   of its companion unit BaseGeneU. */
namespace BaseGene {

/* The colour that marks a required input field (a pale yellow). */
inline constexpr vcl::TColor kRequiredColour = 0xAFFFFF;

/* The generic option window.

   Life: the controller constructs it (hidden), hands it the module file
   name (SetModuleFileName) and the host object (HostObject), then calls
   Initialize with the host parameters. The host shows it; closing it frees
   it (FormClose asks for caFree), and FormDestroy releases the services.
   Close requests after a failed initialisation are posted, so they act
   once messages are processed.

   Descendants override the virtual operations below (declared in their
   slot order after TVKForm's) and call the inherited operation first unless
   their own contract says otherwise. Components are public fields named as
   the window's parts find them (FindComponent works on the same names);
   event handlers are published methods. */
class TfrmBaseGene : public VKForm::TVKForm {
  VCL_CLASS_INFO()
 public:
  /* Builds the window and its components (509 x 355, caption
     "frmBaseGene", name "frmBaseGene"); OnCreate, run by Create<T>, does
     the creation step (FormCreate). */
  explicit TfrmBaseGene(vcl::TComponent* owner);
  ~TfrmBaseGene() override;

  // ---- Components --------------------------------------------------------
  vcl::TPanel* pnlCondition = nullptr;
  vcl::TLabel* lblCondition = nullptr;
  vcl::TToolBar* ToolBar1 = nullptr;
  vcl::TToolButton* btnInsert = nullptr;
  vcl::TToolButton* btnOpen = nullptr;
  vcl::TToolButton* btnDelete = nullptr;
  vcl::TToolButton* ToolButton1 = nullptr;
  vcl::TListView* lstCondition = nullptr;
  vcl::TSplitter* Splitter1 = nullptr;
  ExtPage::TExtPageControl* pgOption = nullptr;
  vcl::TTabSheet* tsOption1 = nullptr;
  vcl::TTabSheet* tsOption2 = nullptr;
  DBLabel::TDBLabel* lblToday = nullptr;
  vcl::TMaskEdit* edPrintDate = nullptr;
  F2Button::TF2Button* btnPrintDate = nullptr;
  vcl::TPanel* Panel1 = nullptr;
  vcl::TBitBtn* btnOk = nullptr;
  vcl::TBitBtn* btnCancel = nullptr;
  vcl::TPopupMenu* muOperation = nullptr;
  vcl::TMenuItem* N2 = nullptr;
  vcl::TMenuItem* N3 = nullptr;
  vcl::TPopupMenu* mnList = nullptr;
  vcl::TMenuItem* N7 = nullptr;
  vcl::TMenuItem* N8 = nullptr;
  vcl::TMenuItem* N9 = nullptr;
  vcl::TMenuItem* N10 = nullptr;
  vcl::TImageList* ImageList1 = nullptr;  // 18 x 18
  vcl::TImageList* ImageList2 = nullptr;  // 24 x 24
  /* The application server's socket connection (call-backs off in the
     current build, on in the compatibility build), its broker and the
     scheme data set over the provider "pvdConSave". */
  std::unique_ptr<platform::remote::TSocketConnection> MainMidas;
  std::unique_ptr<platform::remote::TSimpleObjectBroker> ObjBroker;
  std::unique_ptr<platform::remote::TClientDataSet> ClientDataSet1;

  // ---- What the controller reads and writes -------------------------------
  /* The host's automation object; written by the controller before
     Initialize, created by class name in stand-alone mode. */
  platform::Variant HostObject;
  std::string VersionText;  // "870401-0.00.00"
  std::string UserID, CompanyID, DbName;
  std::string ProgramCode;  // upper case, from the module file name
  std::string ProgramName;
  /* The outcome: 0 none, 1 a job was accepted (ResultValue its identifier),
     2 cancelled. */
  int ResultCode = 0;
  platform::Variant ResultValue;

  /* Stores the library's full path. A name whose extension is not ".Dll"
     (ignoring case) runs the window stand-alone: it initialises itself at
     once with the test user "DS", company "VRK" and database "VRKDEMO",
     creating the host object by class name. */
  void SetModuleFileName(const std::string& fileName);
  bool StandAlone() const { return standAlone_; }

  /* Takes Request = [flag, V] from the host and acts on V = [mode,
     [checked, preset]]: records it, sets Interactive (modes 0 and 1),
     checks or applies the preset, converts the texts once when the window
     has not been shown, and then runs RunHostMode(mode) (mode > 2 with an
     accepted preset) or clicks OK (an applied preset). Not an array: only
     recorded. */
  void ApplyHostRequest(const platform::Variant& request);

  // ---- Virtual operations, in slot order ----------------------------------
  /* Lays out the system page (tsOption2); run once, when it is first shown. */
  virtual void ArrangeSystemPage();
  /* Builds Request from the controls; false (with its message shown) when
     a part cannot be built. */
  virtual bool BuildRequest();
  /* Registers date fields, required fields, counts and the program (code,
     server class, name). Called by ConnectServices during Initialize. */
  virtual void RegisterFields();
  /* Makes List the required-field list: comma items "Name;Flag;Part".
     Colours the named controls (panels by Part 0-3) and hooks the action
     buttons' clicks to OnRequiredExit; a previous list is undone first
     (colours and click handlers put back). */
  virtual void SetRequired(const std::string& list);
  /* Runs the report's server module "<ProgramCode>S.DLL" in this process
     with the argument array of the program kind; false when the module
     cannot be found, updated, loaded or run. The module's own message is
     recorded in the trail (an empty one clears it after a good run; after
     a failed run the trail keeps the reason). */
  virtual bool GenerateLocally(const std::string& jobId, const std::string& programCode,
                               const std::string& jobKey, int count,
                               const platform::Variant& values, const std::string& dbName,
                               const std::string& kind, const std::string& serverClass,
                               const std::string& userID, const std::string& companyID,
                               const std::string& dataType);
#if !VK_COMPAT_BUILD
  /* Display labels and text conversion of the window's client data sets. */
  virtual void PrepareDataSets();
#endif
  /* Takes the colour snapshot, obtains the host services, runs
     RegisterFields and, when ServiceFlags holds 4, the lookup service. */
  virtual void ConnectServices();
  /* Reads the host parameters [user, company, database, host window,
     extra], connects the services, checks the window's identity and
     connects to the application server. False when already initialised,
     when the server cannot be reached (E;000006, close posted) or on an
     exception (recorded). Fewer than five parameters: E;000038, close
     posted, initialisation goes on. */
  virtual bool Initialize(const platform::Variant& params);
  /* Fill the request's parts (Values/Captions bounds 1..ConditionCount,
     Env 1..Count); Own is ConditionCount - ReservedConditions. */
  virtual bool FillConditionValues(platform::Variant& values, int own);
  /* Applies a host preset [Items, Values]; the base applies nothing and
     returns false. */
  virtual bool ApplyPreset(const platform::Variant& values);
  virtual bool FillEnvironment(platform::Variant& env, int count);
  virtual bool FillConditionCaptions(platform::Variant& captions, int own);
  /* Called after ApplyRights has stored the user's rights; empty here. */
  virtual void AfterRights();
  /* Opens the host's lookup window for Table/Kind (F2GetData); Result is
     unassigned without a lookup service or when the call fails, else the
     rows chosen (unassigned when none). */
  virtual void OpenLookup(const std::string& table, const std::string& kind,
                          platform::Variant& result, bool multi, const std::string& text,
                          const platform::Variant& key);
  /* Lets a descendant set the connection's server name; empty here. */
  virtual void PrepareConnection(platform::remote::TSocketConnection* connection);
  virtual bool SaveScheme(const std::string& properties, const std::string& name, bool replace);
  /* Writes a scheme value text (as SchemeValueText makes it) back into the
     components its property list names, between BeforeRestoreValue and
     AfterRestoreValue. False at the first value that cannot be restored
     (the values before it stay). */
  virtual bool RestoreScheme(const std::string& properties, const std::string& values);
  virtual bool RefreshSchemeList();
  /* Called after a scheme was opened; empty here. */
  virtual void SchemeOpened();
  /* A host request asked for action Mode (> 2); empty here. */
  virtual void RunHostMode(int mode);
  /* Around the restoring of one scheme value; empty here. */
  virtual void BeforeRestoreValue(vcl::TComponent* component, const std::string& text);
  virtual void AfterRestoreValue(vcl::TComponent* component, const std::string& text);

  // ---- Dynamic operations ---------------------------------------------------
  /* F2 or a lookup button on Control: focuses it when it can take the
     focus; for edPrintDate replaces its text with the date picker's
     answer. Descendants add their lookups and call this first. */
  virtual void LookupKey(vcl::Word key, vcl::TWinControl* control);
  /* The counter service (with the system settings and the caption note)
     and the validation service of the host object; stand-alone mode
     creates the host object first. A service that cannot be had stays
     unassigned. */
  virtual void CreateHostServices();
  /* The lookup service, only when ServiceFlags holds 4. */
  virtual void CreateLookupWindow();

  // ---- For descendants ------------------------------------------------------
  /* ConditionCount := N + ReservedConditions when ReservedConditions is not
     less than ConditionCount, else N. */
  void SetConditionCount(int n);
  /* Makes the comma list of component names the date fields (hooking their
     OnEnter/OnExit to the window's date checks); a list without
     "edPrintDate" is put in front of the current one, the same list again
     changes nothing. */
  void RegisterDateFields(const std::string& names);
  /* True when something in List (as SetRequired takes it) is missing: shows
     E;000037, shows its page and focuses it. Items whose flag is a number or
     "N" are not checked. */
  bool CheckRequired(const std::string& list);
  /* The date-field check of Control (entering or leaving); true when the
     field is acceptable. On failure the message has been shown and the
     first wrong edit focused. */
  bool CheckDateField(vcl::TObject* control, bool entering);

  // ---- Condition values and texts (BaseGeneValues) ---------------------------
  /* The edit mask of a date in the company format: "99/99/9999;1; " for
     kinds 2 and 3, year first ("9999", "99" for kind 4, "999" for kind 5)
     for the others; another kind leaves the year part empty. */
  std::string DateMask();
  /* The text of an empty date under DateMask (blanks and separators). */
  std::string BlankDate();
  /* A company-format date text as 'yyyymmdd' (not checked for validity):
     "" for an empty or blank text (and for an unknown kind); the text
     itself, trimmed, when it does not have three numeric parts. */
  std::string ToStorageDate(const std::string& text);
  /* Values[Index] := [#4, from, to] as 'yyyymmdd', in ascending order when
     both are given. */
  void DateRangeValue(const std::string& fromText, const std::string& toText,
                      platform::Variant& values, int index);
  /* Values[Index] := the panel's value: [#4, begin, end] in range mode,
     else [#5, row 1, ...] with each row [caption, sub-items...]. */
  void PanelValue(SelectPnl::TSelectPanel* panel, platform::Variant& values, int index);
  /* As PanelValue, every text cleaned first: with the edit's mask (the
     panel's, else the edit's own) the mask's literals are removed
     (StripMask), without one every Strip text is removed and the result
     trimmed. */
  void PanelValueStripped(SelectPnl::TSelectPanel* panel, platform::Variant& values,
                          const std::string& strip, int index);
  /* The scheme value text of a property list "Component.Property;...": one
     line (ended by CR LF) per item, fields separated by #3; an item that
     cannot be read, names no component or a property without text form
     gives an empty line. */
  std::string SchemeValueText(const std::string& properties);

  // ---- Server link and messages (BaseGeneU) ---------------------------------
  /* Configures MainMidas from the client settings' server list; false (the
     trail shown) when messages were recorded earlier, or on an error
     (recorded). */
  bool ConfigureConnection();
  /* Opens the application server: in process for the address "127.0.0.1",
     else through the socket. False on an error (recorded). */
  bool OpenAppServer();
  /* The system setting Name (loaded once; an empty Name loads them). Empty
     "SYS007".."SYS010" give their default captions (not in the
     compatibility build). */
  std::string GetSysSetting(const std::string& name);
  int DateFormatKind();
  std::string DateSeparator();
  /* The host's text of a message, for display. */
  std::string GetMessageText(const std::string& type, const std::string& number);
  /* Handles a message code "T;NNNNNN;arg;...": records it in the trail and
     shows it unless its number is below 1. An empty code clears the trail.
     Nothing happens while the Cancel button has the focus (current build). */
  void ShowMessageCode(const std::string& code);
  /* Records a failure text in the trail without showing it. */
  void RecordError(const std::string& text);
  /* Shows message Type/Number with Args; Buttons 0 takes the type's default
     buttons. Returns the modal result; the trail is not touched. */
  int ShowMessage(const std::string& type, const std::string& number, vcl::TMsgDlgButtons buttons,
                  const std::vector<std::string>& args);
  /* The window's message dialog; only errors while QuietMessages is set
     (else 0 and nothing shown). */
  int MessageBox(const std::string& text, vcl::TMsgDlgType dialogType, vcl::TMsgDlgButtons buttons);
  /* The validation service's check (or query, with UseQuery) of Key in
     Table/Kind; false without the service or on an error. */
  bool QueryTable(const std::string& table, const std::string& kind, bool useQuery,
                  platform::Variant& result, const platform::Variant& key);
  /* Validates Key; a refusal shows E;000001 or W;000004 (Severity "E" or
     "W") and returns false. Index picks an element of the answer (-2 asks
     for a query). */
  bool ValidateValue(const std::string& table, const std::string& kind, const std::string& severity,
                     int index, platform::Variant& result, const platform::Variant& key);
  /* A lookup into a select panel's edit or list (Control belongs to one).
     The list gets a row per row chosen; the edit takes the first one, and
     keeps its text when nothing was chosen. */
  void LookupIntoPanel(vcl::TWinControl* control, const std::string& table, const std::string& kind,
                       bool allColumns, const std::string& text, const platform::Variant& key);
  /* Lookup rows into a select panel's edit (user choice) or list, as
     "col0(padded to 4)" Separator "col1(padded to 11)"; a missing column
     shows as blanks, an answer without rows changes nothing. */
  void FillPanelFromRows(vcl::TWinControl* control, const platform::Variant& rows,
                         const std::string& separator);
  /* The date picker, started on Text when it is a yyyymmdd text, else on
     today; the answer in the company format. Text itself when nothing is
     picked, the picker fails, or there is no lookup service. */
  std::string PickDate(const std::string& text);
  /* The counter service's GetCounter(Name, Value, [CompanyID, DbName]);
     Result is unassigned without the service or when the call fails. */
  void GetCounter(const std::string& name, const platform::Variant& value,
                  platform::Variant& result);
  /* Stores the rights answer of GetPower and calls AfterRights. */
  void ApplyRights(const platform::Variant& answer);
  /* F1: the program's help page. */
  void ShowProgramHelp();

  // ---- Handlers (published methods) -----------------------------------------
  void FormCreate(vcl::TObject* sender);
  void FormShow(vcl::TObject* sender);
  void FormClose(vcl::TObject* sender, vcl::TCloseAction& action);
  void FormDestroy(vcl::TObject* sender);
  void FormKeyDown(vcl::TObject* sender, vcl::Word& key, vcl::TShiftState shift);
  void FormKeyPress(vcl::TObject* sender, char& key);
  void FormResize(vcl::TObject* sender);
  void btnOkClick(vcl::TObject* sender);
  void btnCancelClick(vcl::TObject* sender);
  void btnInsertClick(vcl::TObject* sender);
  void btnOpenClick(vcl::TObject* sender);
  void btnDeleteClick(vcl::TObject* sender);
  void lstConditionEdited(vcl::TObject* sender, vcl::TListItem* item, std::string& text);
  void lstConditionKeyDown(vcl::TObject* sender, vcl::Word& key, vcl::TShiftState shift);
  void pgOptionChange(vcl::TObject* sender);
  void pgOptionChanging(vcl::TObject* sender, bool& allowChange);
  void tsOption2Show(vcl::TObject* sender);
  void ViewIconExecute(vcl::TObject* sender);
  void ViewSmallIconExecute(vcl::TObject* sender);
  void ViewListExecute(vcl::TObject* sender);
  void ViewReportExecute(vcl::TObject* sender);
  void ToolButton1Click(vcl::TObject* sender);

  /* The published events (read only): the window's date-field checks and
     its required-field check, as installed on the hooked controls. */
  const vcl::TNotifyEvent& OnDateFieldEnter() const { return onDateFieldEnter_; }
  const vcl::TNotifyEvent& OnDateFieldExit() const { return onDateFieldExit_; }
  const vcl::TNotifyEvent& OnRequiredExit() const { return onRequiredExit_; }
  bool WantLog() const { return wantLog_; }
  void SetWantLog(bool on) { wantLog_ = on; }

  void WndProc(vcl::TMessage& message) override;
  void CreateParams(vcl::TCreateParams& params) override;
  void AfterConstruction() override;

 protected:
  // ---- State ----------------------------------------------------------------
  platform::Variant CounterService, ValidatorService, LookupService;
  platform::Variant AppServer;
  bool LocalServer = false;
  intptr_t HostWindow = 0;  // 0: none
  platform::Variant HostExtra;
  std::string ModuleFileName;
  std::string CaptionTitle;
  std::string ServerClass;
  std::string ProgramKind;
  std::string CaptionNote;
  std::unique_ptr<vcl::TStringList> SysSettings;
  int EnvCount = 0;
  int ConditionCount = 0;
  int ReservedConditions = 0;
  platform::Variant Request;
  uint8_t ServiceFlags = 0;
  std::string DateFields;
  std::unique_ptr<vcl::TStringList> SavedDateHandlers;
  std::string RequiredFields;
  std::unique_ptr<vcl::TStringList> SavedClickHandlers;
  std::unique_ptr<vcl::TStringList> ColourSnapshot;
  std::vector<vcl::TWinControl*> PageEndControls;
  bool InputError = false;
  vcl::TWinControl* FocusBack = nullptr;
  bool QuietMessages = false;
  std::string MessageCodes, MessageTexts;
  bool SystemPageArranged = false;
  platform::Variant HostRequest;
  bool PresetChecked = true, PresetApplied = false;
  bool Interactive = true;
  std::string SchemeProperties;
  std::unique_ptr<vcl::TStringList> SchemeDateRules;
  bool GenerateData = true;
  bool RightsFlag7 = false, RightsFlag8 = false;
  std::u16string BaseLimited;

  // ---- Steps --------------------------------------------------------------
  /* Checks a host preset [Items, Values]: every item names an existing
     component that can take a value; otherwise W;000014. */
  bool CheckPreset(const platform::Variant& preset);
  /* The window's date-field and required-field handlers. */
  void DateFieldEnter(vcl::TObject* sender);
  void DateFieldExit(vcl::TObject* sender);
  void RequiredExit(vcl::TObject* sender);
  /* Colours of all controls, as Name=Value entries, and their restoring. */
  void TakeColourSnapshot();
  void RestoreColours();
  /* True when Control counts as an end of its page for Enter. */
  bool IsPageEnd(vcl::TWinControl* control) const;
  /* Name is one of the registered date fields (ignoring case). */
  bool IsDateField(const std::string& name) const;
  /* The scheme value of a registered date field, by the first record of
     SchemeDateRules that names it: its date (Text), or "from #3 to" for a
     range panel; "" without a record. */
  std::string SchemeDateValue(vcl::TComponent* component, const std::string& text);
  /* Posts the window a close request. */
  void PostClose();
  /* True when the Cancel button has the focus (never in the compatibility
     build). */
  bool LeavingByCancel() const;
  /* The program's name from the program master (validation service). */
  void LookupProgramName();
  /* The module file's properties dialog (Ctrl+Alt+V). */
  void ShowModuleProperties();

 private:
  void BuildComponents();
  void HookDateField(const std::string& name);
  void UnhookDateField(const std::string& name);
  void RunSavedHandler(vcl::TObject* sender, const std::string& event);

  vcl::TNotifyEvent onDateFieldEnter_, onDateFieldExit_, onRequiredExit_;
  bool wantLog_ = false;
  bool standAlone_ = false;
};

}  // namespace BaseGene
