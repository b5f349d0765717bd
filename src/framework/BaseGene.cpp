// The generic option window: its components, creation, initialisation,
// registration of date and required fields, keys, Enter, page changes and
// window messages. The server link and the messages are in BaseGeneU.cpp,
// condition values and texts in BaseGeneValues.cpp, condition schemes in
// BaseGeneSchemes.cpp.

#include "framework/BaseGene.h"

#include <algorithm>

#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/SelectPnl.h"
#include "controls/VkRadioGroup.h"
#include "controls/VkSpin.h"
#include "framework/BaseGeneU.h"
#include "framework/Internal.h"
#include "framework/SchemeImages.h"
#include "platform/core/SysUtils.h"
#include "platform/remote/ClientDataSet.h"
#include "platform/remote/SocketConnection.h"
#include "platform/vcl/Grids.h"
#include "runtime/LibRTTI.h"
#include "runtime/LibStrs.h"

namespace BaseGene {

using platform::Variant;
using SelectPnl::TSelectPanel;

namespace {

// The parts of a comma list, each trimmed; empty parts are kept so that the
// caller decides about them.
std::vector<std::string> CommaItems(const std::string& list) {
  std::vector<std::string> items;
  std::string rest = list;
  while (!rest.empty()) {
    std::string head;
    LibStrs::SplitFirst(rest, ",", head);
    items.push_back(platform::Trim(head));
  }
  return items;
}

TSelectPanel* OwningPanel(const vcl::TComponent* c) {
  return c ? dynamic_cast<TSelectPanel*>(c->Owner()) : nullptr;
}

// The handler entries of a saved-handler list: the object of the first
// entry under Key (null when none).
void* SavedPointer(const vcl::TStringList* list, const std::string& key) {
  if (!list) return nullptr;
  const int i = list->IndexOf(key);
  return i < 0 ? nullptr : static_cast<void*>(list->Objects(i));
}

void SaveHandler(vcl::TStringList* list, const std::string& prefix, const vcl::TMethod& m) {
  if (m.Code) list->AddObject(prefix + ".Code", static_cast<vcl::TObject*>(m.Code));
  if (m.Data) list->AddObject(prefix + ".Data", static_cast<vcl::TObject*>(m.Data));
}

vcl::TMethod SavedHandler(const vcl::TStringList* list, const std::string& prefix) {
  return vcl::TMethod{SavedPointer(list, prefix + ".Code"), SavedPointer(list, prefix + ".Data")};
}

// The four action buttons whose clicks check the required fields first.
constexpr const char* kActionButtons[] = {"btnOk", "btnQuery", "btnDesign", "btnPeriod"};

}  // namespace

// ---------------------------------------------------------------------------
// Class information.

const vcl::TClassInfo* TfrmBaseGene::StaticClassInfo() {
  using P = vcl::PropBuilder<TfrmBaseGene>;
  static const vcl::TClassInfo info(
      "TfrmBaseGene", VKForm::TVKForm::StaticClassInfo(),
      {
          P::ReadOnlyEvent<&TfrmBaseGene::OnDateFieldEnter>("OnDateFieldEnter"),
          P::ReadOnlyEvent<&TfrmBaseGene::OnDateFieldExit>("OnDateFieldExit"),
          P::ReadOnlyEvent<&TfrmBaseGene::OnRequiredExit>("OnRequiredExit"),
          P::Bool<&TfrmBaseGene::WantLog, &TfrmBaseGene::SetWantLog>("WantLog"),
      },
      {
          P::PublishedMethod<&TfrmBaseGene::FormCreate>("FormCreate"),
          P::PublishedMethod<&TfrmBaseGene::FormShow>("FormShow"),
          P::PublishedMethod<&TfrmBaseGene::FormClose>("FormClose"),
          P::PublishedMethod<&TfrmBaseGene::FormDestroy>("FormDestroy"),
          P::PublishedMethod<&TfrmBaseGene::FormKeyDown>("FormKeyDown"),
          P::PublishedMethod<&TfrmBaseGene::FormKeyPress>("FormKeyPress"),
          P::PublishedMethod<&TfrmBaseGene::FormResize>("FormResize"),
          P::PublishedMethod<&TfrmBaseGene::btnOkClick>("btnOkClick"),
          P::PublishedMethod<&TfrmBaseGene::btnCancelClick>("btnCancelClick"),
          P::PublishedMethod<&TfrmBaseGene::btnInsertClick>("btnInsertClick"),
          P::PublishedMethod<&TfrmBaseGene::btnOpenClick>("btnOpenClick"),
          P::PublishedMethod<&TfrmBaseGene::btnDeleteClick>("btnDeleteClick"),
          P::PublishedMethod<&TfrmBaseGene::lstConditionEdited>("lstConditionEdited"),
          P::PublishedMethod<&TfrmBaseGene::lstConditionKeyDown>("lstConditionKeyDown"),
          P::PublishedMethod<&TfrmBaseGene::pgOptionChange>("pgOptionChange"),
          P::PublishedMethod<&TfrmBaseGene::pgOptionChanging>("pgOptionChanging"),
          P::PublishedMethod<&TfrmBaseGene::tsOption2Show>("tsOption2Show"),
          P::PublishedMethod<&TfrmBaseGene::ViewIconExecute>("ViewIconExecute"),
          P::PublishedMethod<&TfrmBaseGene::ViewSmallIconExecute>("ViewSmallIconExecute"),
          P::PublishedMethod<&TfrmBaseGene::ViewListExecute>("ViewListExecute"),
          P::PublishedMethod<&TfrmBaseGene::ViewReportExecute>("ViewReportExecute"),
          P::PublishedMethod<&TfrmBaseGene::ToolButton1Click>("ToolButton1Click"),
      });
  return &info;
}

// ---------------------------------------------------------------------------
// Construction: the window's components as its resource describes them.

TfrmBaseGene::TfrmBaseGene(vcl::TComponent* owner) : VKForm::TVKForm(owner) {
  SetName("frmBaseGene");
  SetCaption("frmBaseGene");
  SetBounds(Left(), Top(), 509, 355);
  SetBorderIcons(vcl::BorderIcon(vcl::biMaximize));
  SetKeyPreview(true);
  SetPosition(vcl::poScreenCenter);

  SysSettings = std::make_unique<vcl::TStringList>();
  SavedDateHandlers = std::make_unique<vcl::TStringList>();
  SavedClickHandlers = std::make_unique<vcl::TStringList>();
  ColourSnapshot = std::make_unique<vcl::TStringList>();
  SchemeDateRules = std::make_unique<vcl::TStringList>();

  BuildComponents();

  OnCreate = vcl::MakeEvent<&TfrmBaseGene::FormCreate>(this);
  OnShow = vcl::MakeEvent<&TfrmBaseGene::FormShow>(this);
  OnClose = vcl::MakeEvent<&TfrmBaseGene::FormClose>(this);
  OnDestroy = vcl::MakeEvent<&TfrmBaseGene::FormDestroy>(this);
  OnKeyDown = vcl::MakeEvent<&TfrmBaseGene::FormKeyDown>(this);
  OnKeyPress = vcl::MakeEvent<&TfrmBaseGene::FormKeyPress>(this);
  OnResize = vcl::MakeEvent<&TfrmBaseGene::FormResize>(this);
}

TfrmBaseGene::~TfrmBaseGene() = default;

void TfrmBaseGene::BuildComponents() {
  ImageList1 = new vcl::TImageList(this);
  ImageList1->SetName("ImageList1");
  ImageList1->SetWidth(18);
  ImageList1->SetHeight(18);
  ImageList2 = new vcl::TImageList(this);
  ImageList2->SetName("ImageList2");
  ImageList2->SetWidth(24);
  ImageList2->SetHeight(24);
  // The pictures come before the tool buttons and the list that show them.
  AddSchemeImages(ImageList1, ImageList2);

  auto menuItem = [this](vcl::TMenu* menu, const char* name, const char* caption,
                         vcl::TNotifyEvent onClick) {
    auto* item = new vcl::TMenuItem(this);
    item->SetName(name);
    item->SetCaption(caption);
    item->OnClick = onClick;
    menu->Items()->Add(item);
    return item;
  };
  muOperation = new vcl::TPopupMenu(this);
  muOperation->SetName("muOperation");
  N2 = menuItem(muOperation, "N2", "开启(&O)", vcl::MakeEvent<&TfrmBaseGene::btnOpenClick>(this));
  N3 = menuItem(muOperation, "N3", "删除(&D)", vcl::MakeEvent<&TfrmBaseGene::btnDeleteClick>(this));
  mnList = new vcl::TPopupMenu(this);
  mnList->SetName("mnList");
  N7 = menuItem(mnList, "N7", "大型图标(&G)", vcl::MakeEvent<&TfrmBaseGene::ViewIconExecute>(this));
  N8 = menuItem(mnList, "N8", "小型图标(&M)",
                vcl::MakeEvent<&TfrmBaseGene::ViewSmallIconExecute>(this));
  N9 = menuItem(mnList, "N9", "清单(&L)", vcl::MakeEvent<&TfrmBaseGene::ViewListExecute>(this));
  N10 = menuItem(mnList, "N10", "详细信息(&D)",
                 vcl::MakeEvent<&TfrmBaseGene::ViewReportExecute>(this));
  for (vcl::TMenuItem* item : {N7, N8, N9, N10}) item->SetRadioItem(true);
  N7->SetChecked(true);

  // The bottom panel first, so that it spans the window's width.
  Panel1 = new vcl::TPanel(this);
  Panel1->SetName("Panel1");
  Panel1->SetParent(this);
  Panel1->SetCaption("");
  Panel1->SetAlign(vcl::alBottom);
  Panel1->SetHeight(43);
  btnOk = new vcl::TBitBtn(this);
  btnOk->SetName("btnOk");
  btnOk->SetParent(Panel1);
  btnOk->SetBounds(336, 9, 75, 25);
  btnOk->SetCaption("确定");
  btnOk->SetHint("确定");
  btnOk->OnClick = vcl::MakeEvent<&TfrmBaseGene::btnOkClick>(this);
  btnCancel = new vcl::TBitBtn(this);
  btnCancel->SetName("btnCancel");
  btnCancel->SetParent(Panel1);
  btnCancel->SetBounds(416, 9, 75, 25);
  btnCancel->SetCaption("取消");
  btnCancel->SetHint("取消");
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(vcl::mrCancel);
  btnCancel->OnClick = vcl::MakeEvent<&TfrmBaseGene::btnCancelClick>(this);

  // The scheme panel on the left.
  pnlCondition = new vcl::TPanel(this);
  pnlCondition->SetName("pnlCondition");
  pnlCondition->SetParent(this);
  pnlCondition->SetCaption("");
  pnlCondition->SetAlign(vcl::alLeft);
  pnlCondition->SetWidth(151);
  lblCondition = new vcl::TLabel(this);
  lblCondition->SetName("lblCondition");
  lblCondition->SetParent(pnlCondition);
  lblCondition->SetAutoSize(false);
  lblCondition->SetAlign(vcl::alTop);
  lblCondition->SetHeight(21);
  lblCondition->SetCaption(" 条件方案");
  ToolBar1 = new vcl::TToolBar(this);
  ToolBar1->SetName("ToolBar1");
  ToolBar1->SetParent(pnlCondition);
  ToolBar1->SetAlign(vcl::alTop);
  ToolBar1->SetFlat(true);
  ToolBar1->SetButtonWidth(25);
  ToolBar1->SetButtonHeight(24);
  ToolBar1->SetImages(ImageList1);
  auto toolButton = [this](const char* name, const char* hint, const char* caption, int image,
                           vcl::TNotifyEvent onClick) {
    auto* button = new vcl::TToolButton(this);
    button->SetName(name);
    button->SetParent(ToolBar1);
    button->SetHint(hint);
    button->SetCaption(caption);
    button->SetImageIndex(image);
    button->OnClick = onClick;
    return button;
  };
  btnInsert = toolButton("btnInsert", "保存", "保存(&S)", 1,
                         vcl::MakeEvent<&TfrmBaseGene::btnInsertClick>(this));
  btnOpen = toolButton("btnOpen", "开启", "开启(&O)", 2,
                       vcl::MakeEvent<&TfrmBaseGene::btnOpenClick>(this));
  btnDelete = toolButton("btnDelete", "删除", "删除(&D)", 3,
                         vcl::MakeEvent<&TfrmBaseGene::btnDeleteClick>(this));
  ToolButton1 = toolButton("ToolButton1", "", "ViewIcon", 4,
                           vcl::MakeEvent<&TfrmBaseGene::ToolButton1Click>(this));
  ToolButton1->SetStyle(vcl::tbsDropDown);
  ToolButton1->SetDropdownMenu(mnList);
  lstCondition = new vcl::TListView(this);
  lstCondition->SetName("lstCondition");
  lstCondition->SetParent(pnlCondition);
  lstCondition->SetAlign(vcl::alClient);
  lstCondition->SetColumnClick(false);
  lstCondition->SetLargeImages(ImageList2);
  lstCondition->SetSmallImages(ImageList1);
  lstCondition->SetSortType(vcl::stText);
  lstCondition->SetPopupMenu(muOperation);
  lstCondition->OnDblClick = vcl::MakeEvent<&TfrmBaseGene::btnOpenClick>(this);
  lstCondition->OnEdited = vcl::MakeEvent<&TfrmBaseGene::lstConditionEdited>(this);
  lstCondition->OnKeyDown = vcl::MakeEvent<&TfrmBaseGene::lstConditionKeyDown>(this);

  Splitter1 = new vcl::TSplitter(this);
  Splitter1->SetName("Splitter1");
  Splitter1->SetParent(this);
  Splitter1->SetAlign(vcl::alLeft);
  Splitter1->SetBounds(151, 0, 3, Splitter1->Height());

  // The pages.
  pgOption = new ExtPage::TExtPageControl(this);
  pgOption->SetName("pgOption");
  pgOption->SetParent(this);
  pgOption->SetAlign(vcl::alClient);
  pgOption->SetHint("请输入选项条件");
  pgOption->OnChange = vcl::MakeEvent<&TfrmBaseGene::pgOptionChange>(this);
  pgOption->OnChanging = vcl::MakeEvent<&TfrmBaseGene::pgOptionChanging>(this);
  tsOption1 = new vcl::TTabSheet(this);
  tsOption1->SetName("tsOption1");
  tsOption1->SetPageControl(pgOption);
  tsOption1->SetCaption("基本选项");
  tsOption2 = new vcl::TTabSheet(this);
  tsOption2->SetName("tsOption2");
  tsOption2->SetPageControl(pgOption);
  tsOption2->SetCaption("系统选项");
  tsOption2->OnShow = vcl::MakeEvent<&TfrmBaseGene::tsOption2Show>(this);
  pgOption->SetActivePage(tsOption1);

  edPrintDate = new vcl::TMaskEdit(this);
  edPrintDate->SetName("edPrintDate");
  edPrintDate->SetParent(tsOption2);
  edPrintDate->SetBounds(60, 8, 85, 21);
  edPrintDate->SetHint("[F2]日期快手");
  edPrintDate->SetText("");
  lblToday = new DBLabel::TDBLabel(this);
  lblToday->SetName("lblToday");
  lblToday->SetParent(tsOption2);
  lblToday->SetCaption("制表日期");
  lblToday->SetPos(DBLabel::psLeft);
  lblToday->SetGap(4);
  lblToday->SetFocusControl(edPrintDate);
  btnPrintDate = new F2Button::TF2Button(this);
  btnPrintDate->SetName("btnPrintDate");
  btnPrintDate->SetParent(tsOption2);
  btnPrintDate->SetHint("日期快手");
  btnPrintDate->SetGlyphIndex(9);
  btnPrintDate->SetGap(2);
  btnPrintDate->SetF2Control(edPrintDate);

  // The server link.
  ObjBroker = std::make_unique<platform::remote::TSimpleObjectBroker>();
  MainMidas = std::make_unique<platform::remote::TSocketConnection>();
  MainMidas->SetObjectBroker(ObjBroker.get());
  ClientDataSet1 = std::make_unique<platform::remote::TClientDataSet>();
  ClientDataSet1->SetProviderName("pvdConSave");
  ClientDataSet1->SetRemoteServer(MainMidas.get());
  ClientDataSet1->AddIndex("Index1", "NCONDITION;CREATOR;PROGRAMME");
  ClientDataSet1->SetIndexName("Index1");
}

void TfrmBaseGene::CreateParams(vcl::TCreateParams& params) {
  VKForm::TVKForm::CreateParams(params);
  // Owned by the desktop, not by the host's window.
  params.WndParent = nullptr;
}

void TfrmBaseGene::AfterConstruction() {
  VKForm::TVKForm::AfterConstruction();
  if (!vcl::IsLiveComponent(this) || Disposed()) return;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* button = dynamic_cast<F2Button::TF2Button*>(Components(i))) button->SetFlat(true);
}

// ---------------------------------------------------------------------------
// Creation, show, close and destruction.

void TfrmBaseGene::FormCreate(vcl::TObject* sender) {
  VKForm::TVKForm::FormCreate(sender);
  if (SystemCodePage() == "950") platform::GlobalFormatSettings().DateSeparator = '/';
  vcl::Application->SetHintHidePause(500000);
  VersionText = "870401-0.00.00";
  CompanyID.clear();
  ProgramCode.clear();
  ProgramName.clear();
  RequiredFields.clear();
  DateFields.clear();
  onDateFieldEnter_ = vcl::MakeEvent<&TfrmBaseGene::DateFieldEnter>(this);
  onDateFieldExit_ = vcl::MakeEvent<&TfrmBaseGene::DateFieldExit>(this);
  onRequiredExit_ = vcl::MakeEvent<&TfrmBaseGene::RequiredExit>(this);
  InputError = false;
  SystemPageArranged = false;
  FocusBack = this;
  QuietMessages = false;
  Interactive = true;
#if !VK_COMPAT_BUILD
  PrepareDataSets();
#endif
  SchemeDateRules->Clear();
  for (int i = 0; i < ComponentCount(); ++i)
    if (LibRTTI::HasProperty(Components(i), "ImeName"))
      LibRTTI::SetTextProp(Components(i), "ImeName", "");
}

#if !VK_COMPAT_BUILD
void TfrmBaseGene::PrepareDataSets() {
  // Display labels and text conversion belong to data-aware data sets (the
  // component pack's client data set). This window's only data set is the
  // scheme data set, whose texts are converted where they are read, so
  // there is nothing to prepare here; descendants with data-aware data sets
  // prepare them in their override.
}
#endif

void TfrmBaseGene::FormShow(vcl::TObject* sender) {
  VKForm::TVKForm::FormShow(sender);
  SetCaption(CaptionTitle + "[" + CaptionNote + "]");
  pgOption->SetActivePageIndex(0);
  pgOptionChange(pgOption);
  ConvertOnce();

  // The scheme list's two columns, each as wide as its header and contents.
  std::string name, created;
  GetLangMessage("TfrmBaseGene", "sProjectName", name, true, "方案名称");
  GetLangMessage("TfrmBaseGene", "sCreateTime", created, true, "创建时间");
  vcl::TListColumns* columns = lstCondition->Columns();
  columns->Clear();
  vcl::TListColumn* nameColumn = columns->Add();
  nameColumn->SetCaption(name);
  nameColumn->SetAlignment(vcl::taRightJustify);
  vcl::TListColumn* dateColumn = columns->Add();
  dateColumn->SetCaption(created);
  dateColumn->SetAlignment(vcl::taLeftJustify);
  for (int c = 0; c < columns->Count(); ++c) {
    vcl::TCanvas* canvas = lstCondition->Canvas();
    int width = canvas->TextWidth(columns->Items(c)->Caption());
    for (int i = 0; i < lstCondition->Items()->Count(); ++i) {
      vcl::TListItem* item = lstCondition->Items()->Item(i);
      const std::string text =
          c == 0 ? item->Caption()
                 : (item->SubItems()->Count() >= c ? item->SubItems()->Get(c - 1) : "");
      width = std::max(width, canvas->TextWidth(text));
    }
    columns->Items(c)->SetWidth(width + 14);
  }
  RefreshSchemeList();
}

void TfrmBaseGene::FormClose(vcl::TObject*, vcl::TCloseAction& action) { action = vcl::caFree; }

void TfrmBaseGene::FormDestroy(vcl::TObject*) {
  SysSettings->Clear();
  SavedDateHandlers->Clear();
  SavedClickHandlers->Clear();
  ColourSnapshot->Clear();
  PageEndControls.clear();
  LookupService = Variant();
  ValidatorService = Variant();
  CounterService = Variant();
  if (!LocalServer) {
    try {
      MainMidas->SetConnected(false);
    } catch (const std::exception&) {
      // A connection that cannot even close is gone anyway.
    }
  }
  ClientDataSet1->Close();
  AppServer = Variant();
  HostObject = Variant();
  SchemeDateRules->Clear();
}

void TfrmBaseGene::FormResize(vcl::TObject*) {
  if (HostWindow) Internal::RepaintHostWindow(HostWindow);
}

void TfrmBaseGene::btnOkClick(vcl::TObject*) {
  // The job and report windows act on OK; the generic window has no job.
}

void TfrmBaseGene::btnCancelClick(vcl::TObject*) { Close(); }

void TfrmBaseGene::PostClose() { vcl::PostMessage(this, vcl::WM_CLOSE, 0, 0); }

bool TfrmBaseGene::LeavingByCancel() const {
#if VK_COMPAT_BUILD
  return false;
#else
  return btnCancel && btnCancel->Focused();
#endif
}

// ---------------------------------------------------------------------------
// Module file name, initialisation and registration.

void TfrmBaseGene::SetModuleFileName(const std::string& fileName) {
  ModuleFileName = fileName;
  if (platform::SameText(platform::ExtractFileExt(fileName), ".Dll")) return;
  standAlone_ = true;
  Initialize(platform::VarArrayOf({Variant(Internal::kStandAloneUser),
                                   Variant(Internal::kStandAloneCompany),
                                   Variant(Internal::kStandAloneDatabase)}));
}

bool TfrmBaseGene::Initialize(const Variant& params) {
  if (!CompanyID.empty()) return false;
  try {
    SysSettings = std::make_unique<vcl::TStringList>();
    PageEndControls.clear();
    ColourSnapshot = std::make_unique<vcl::TStringList>();
    SavedDateHandlers = std::make_unique<vcl::TStringList>();
    SavedClickHandlers = std::make_unique<vcl::TStringList>();
    LookupService = Variant();
    ValidatorService = Variant();
    CounterService = Variant();

    ReservedConditions = 1;
    MessageCodes.clear();
    MessageTexts.clear();
    edPrintDate->SetText("");
    HostRequest = Variant::Null();
    PresetChecked = true;
    PresetApplied = false;

    const int32_t high = params.HighBound();
    HostWindow = high >= 3 ? Internal::WindowHandleOf(params[3]) : 0;
    if (high > 3) {
      HostExtra = params[4];
    } else {
      ShowMessageCode("E;000038");
      PostClose();
    }

    Hide();
    UserID = platform::VarToStr(params[0]);
    CompanyID = platform::VarToStr(params[1]);
    DbName = platform::VarToStr(params[2]);

    ConnectServices();

    // The window must belong to the library's program: its name's letters
    // 4 to 6 are the program code's first three.
    if (!platform::SameText(platform::Copy(Name(), 4, 3), platform::Copy(ProgramCode, 1, 3))) {
      ShowMessageCode("E;000036");
      PostClose();
      return true;
    }

    MainMidas->SetConnected(false);
    bool connected = false;
    if (ConfigureConnection()) {
      PrepareConnection(MainMidas.get());
      if (!MainMidas->ServerName().empty()) connected = OpenAppServer();
    }
    if (!connected) {
      ShowMessageCode("E;000006");
      PostClose();
      return false;
    }
    return true;
  } catch (const std::exception& e) {
    RecordError(e.what());
    return false;
  }
}

void TfrmBaseGene::ConnectServices() {
  TakeColourSnapshot();
  CreateHostServices();
  RegisterFields();
  CreateLookupWindow();
}

void TfrmBaseGene::RegisterFields() {
  ProgramKind = "R";
  EnvCount = 9;
  ServiceFlags = 0;
  RegisterDateFields("edPrintDate");
  ProgramCode = BaseGeneU::ProgramCodeOf(ModuleFileName);
  ServerClass = ProgramCode + "S.Class1";
  LookupProgramName();
  SetConditionCount(0);
}

void TfrmBaseGene::SetConditionCount(int n) {
  ConditionCount = ReservedConditions >= ConditionCount ? n + ReservedConditions : n;
}

// ---------------------------------------------------------------------------
// Date fields.

void TfrmBaseGene::RegisterDateFields(const std::string& names) {
  std::string list = platform::Trim(names);
  if (list == DateFields) return;
  // Names registered already (a descendant registering its list again)
  // would only stand twice in the list: nothing changes. A list with the
  // print date replaces the old one and is always taken.
  if (!DateFields.empty() && platform::Pos("edPrintDate", list) == 0) {
    const std::vector<std::string> registered = CommaItems(DateFields);
    const std::vector<std::string> wanted = CommaItems(list);
    if (std::all_of(wanted.begin(), wanted.end(), [&](const std::string& name) {
          return std::find(registered.begin(), registered.end(), name) != registered.end();
        }))
      return;
  }
  if (!DateFields.empty()) {
    for (const std::string& name : CommaItems(DateFields)) UnhookDateField(name);
    if (platform::Pos("edPrintDate", list) == 0) list += "," + DateFields;
  }
  DateFields = list;
  for (const std::string& name : CommaItems(DateFields)) HookDateField(name);
}

void TfrmBaseGene::HookDateField(const std::string& name) {
  vcl::TComponent* c = FindComponent(name);
  if (!c) return;
  if (LibRTTI::HasProperty(c, "OnEnter")) {
    SaveHandler(SavedDateHandlers.get(), name + ".OnEnter", LibRTTI::GetEventProp(c, "OnEnter"));
    LibRTTI::SetEventProp(c, "OnEnter", onDateFieldEnter_.Method());
  }
  if (LibRTTI::HasProperty(c, "OnExit")) {
    SaveHandler(SavedDateHandlers.get(), name + ".OnExit", LibRTTI::GetEventProp(c, "OnExit"));
    LibRTTI::SetEventProp(c, "OnExit", onDateFieldExit_.Method());
  }
  if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
    panel->SetValueType(SelectPnl::vt_Date);
    panel->SetDateSign(DateSeparator());
    panel->SetDateType(BaseGeneU::PanelDateType(DateFormatKind()));
  }
}

void TfrmBaseGene::UnhookDateField(const std::string& name) {
  vcl::TComponent* c = FindComponent(name);
  if (!c) return;
  for (const char* event : {"OnEnter", "OnExit"})
    if (LibRTTI::HasProperty(c, event))
      LibRTTI::SetEventProp(c, event, SavedHandler(SavedDateHandlers.get(), name + "." + event));
}

void TfrmBaseGene::RunSavedHandler(vcl::TObject* sender, const std::string& event) {
  auto* c = dynamic_cast<vcl::TComponent*>(sender);
  if (!c) return;
  const vcl::TStringList* list =
      event == "OnClick" ? SavedClickHandlers.get() : SavedDateHandlers.get();
  const vcl::TMethod m = SavedHandler(list, c->Name() + "." + event);
  if (m.Code) vcl::TNotifyEvent::FromMethod(m)(sender);
}

void TfrmBaseGene::DateFieldEnter(vcl::TObject* sender) {
  InputError = false;
  auto* c = dynamic_cast<vcl::TComponent*>(sender);
  if (c && !c->Name().empty() && platform::Pos(c->Name(), DateFields) > 0)
    InputError = !CheckDateField(sender, true);
  if (!InputError) RunSavedHandler(sender, "OnEnter");
}

void TfrmBaseGene::DateFieldExit(vcl::TObject* sender) {
  if (LeavingByCancel()) return;
  InputError = false;
  auto* c = dynamic_cast<vcl::TComponent*>(sender);
  if (c && !c->Name().empty() && platform::Pos(c->Name(), DateFields) > 0)
    InputError = !CheckDateField(sender, false);
  if (!InputError) RunSavedHandler(sender, "OnExit");
}

// ---------------------------------------------------------------------------
// Required fields.

void TfrmBaseGene::SetRequired(const std::string& list) {
  const std::string items = platform::Trim(list);
  if (!RequiredFields.empty()) {
    RestoreColours();
    // Only a button that carries the hook gets its saved handler back: a
    // list that named no component hooked nothing, and putting back "no
    // handler" would leave those buttons dead.
    for (const char* name : kActionButtons)
      if (vcl::TComponent* button = FindComponent(name);
          button && LibRTTI::HasProperty(button, "OnClick") &&
          LibRTTI::GetEventProp(button, "OnClick") == onRequiredExit_.Method())
        LibRTTI::SetEventProp(
            button, "OnClick",
            SavedHandler(SavedClickHandlers.get(), std::string(name) + ".OnClick"));
  }
  RequiredFields = items;

  for (const std::string& item : CommaItems(items)) {
    const std::string name = platform::Trim(LibStrs::GetField(item, ";", 1));
    vcl::TComponent* c = name.empty() ? nullptr : FindComponent(name);
    if (!c) continue;
    int part = platform::StrToIntDef(platform::Trim(LibStrs::GetField(item, ";", 3)), 0);
    if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
      if (part < 0 || part > 3) part = 0;
      if (part == 0 || part == 1) panel->edBegin()->SetColor(kRequiredColour);
      if (part == 0 || part == 2) panel->edFinal()->SetColor(kRequiredColour);
      if (part == 0 || part == 3) panel->ListBox()->SetColor(kRequiredColour);
    } else if (LibRTTI::HasProperty(c, "Color")) {
      LibRTTI::SetOrdinalProp(c, "Color", kRequiredColour);
    }
    for (const char* buttonName : kActionButtons) {
      vcl::TComponent* button = FindComponent(buttonName);
      if (!button || !LibRTTI::HasProperty(button, "OnClick")) continue;
      SaveHandler(SavedClickHandlers.get(), std::string(buttonName) + ".OnClick",
                  LibRTTI::GetEventProp(button, "OnClick"));
      LibRTTI::SetEventProp(button, "OnClick", onRequiredExit_.Method());
    }
  }
}

namespace {

// Walks the window's controls as the colour snapshot does: a select panel
// gives its three parts; a container that is not a spin edit is walked
// into; any other windowed control with a colour gives itself.
template <class Visit>
void WalkColours(vcl::TWinControl* parent, Visit&& visit) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* control = dynamic_cast<vcl::TWinControl*>(parent->Controls(i));
    if (!control) continue;
    if (auto* panel = dynamic_cast<TSelectPanel*>(control)) {
      visit(panel->Name() + ".edBegin", static_cast<vcl::TControl*>(panel->edBegin()));
      visit(panel->Name() + ".edFinal", static_cast<vcl::TControl*>(panel->edFinal()));
      visit(panel->Name() + ".ListBox", static_cast<vcl::TControl*>(panel->ListBox()));
    } else if (control->ControlCount() > 0 && !dynamic_cast<VkSpin::TVkSpinEdit*>(control)) {
      WalkColours(control, visit);
    } else if (LibRTTI::HasProperty(control, "Color")) {
      visit(control->Name(), static_cast<vcl::TControl*>(control));
    }
  }
}

}  // namespace

void TfrmBaseGene::TakeColourSnapshot() {
  ColourSnapshot->Clear();
  WalkColours(this, [this](const std::string& name, vcl::TControl* control) {
    ColourSnapshot->Add(name + "=" + std::to_string(control->Color()));
  });
}

void TfrmBaseGene::RestoreColours() {
  WalkColours(this, [this](const std::string& name, vcl::TControl* control) {
    if (ColourSnapshot->IndexOfName(name) >= 0)
      control->SetColor(platform::StrToIntDef(ColourSnapshot->Values(name), control->Color()));
  });
}

void TfrmBaseGene::RequiredExit(vcl::TObject* sender) {
  vcl::TComponent* period = FindComponent("btnPeriod");
  const bool periodDown = period && LibRTTI::GetOrdinalProp(period, "Down") != 0;
  if (sender == btnOk || (period && periodDown)) InputError = CheckRequired(RequiredFields);
  vcl::TComponent* query = FindComponent("btnQuery");
  vcl::TComponent* design = FindComponent("btnDesign");
  if ((query && sender == query) || (design && sender == design))
    InputError = CheckRequired(RequiredFields);

  if (period && InputError) {
    const int last = pgOption->PageCount() - 1;
    if (pgOption->ActivePageIndex() != last) {
      LibRTTI::SetOrdinalProp(period, "Down", 0);
      if (last >= 0) pgOption->Pages(last)->SetTabVisible(false);
    }
    return;
  }
  if (!InputError) RunSavedHandler(sender, "OnClick");
}

bool TfrmBaseGene::CheckRequired(const std::string& list) {
  for (const std::string& item : CommaItems(list)) {
    const std::string name = platform::Trim(LibStrs::GetField(item, ";", 1));
    const std::string flag = platform::Trim(LibStrs::GetField(item, ";", 2));
    if (platform::TryStrToInt(flag) || platform::SameText(flag, "N")) continue;
    vcl::TComponent* c = name.empty() ? nullptr : FindComponent(name);
    if (!c) continue;

    vcl::TWinControl* focus = dynamic_cast<vcl::TWinControl*>(c);
    bool missing = false;
    if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
      if (panel->IsRangeMode()) {
        missing =
            Internal::IsBlankText(panel->edBegin()) || Internal::IsBlankText(panel->edFinal());
        focus = panel->edBegin();
      } else {
        missing = panel->ListBox()->Items()->Count() == 0;
        focus = panel->ListBox();
      }
    } else {
      missing = Internal::IsBlankText(c);
    }
    if (!missing) continue;

    ShowMessageCode("E;000037");
    auto* control = dynamic_cast<vcl::TControl*>(c);
    for (vcl::TControl* p = control ? control->Parent() : nullptr; p && p != this; p = p->Parent())
      if (auto* sheet = dynamic_cast<vcl::TTabSheet*>(p)) {
        if (sheet->PageControl()) sheet->PageControl()->SetActivePage(sheet);
        break;
      }
    if (control && control->Enabled() && focus && focus->CanFocus()) focus->SetFocus();
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Host requests.

void TfrmBaseGene::ApplyHostRequest(const Variant& request) {
  const Variant v = request[1];
  HostRequest = v;
  if (!v.IsArray()) return;

  const int mode = v[0].AsInteger();
  Interactive = mode == 0 || mode == 1;
  PresetApplied = false;
  bool accepted = false;
  if (v.HighBound() >= 1 && v[1].IsArray()) {
    const Variant& preset = v[1];
    PresetChecked = preset[0].AsBoolean();
    const Variant s = preset[1];
    if (s.IsArray()) accepted = PresetChecked ? CheckPreset(s) : ApplyPreset(s);
    PresetApplied = accepted && mode != 0;
  }

  if (!Converted) {
    ConvertOnce();
    // Shown windows have their caption from FormShow; a Big5 system needs
    // the title converted before the window is first shown.
    if (SystemCodePage() == "950") {
      CaptionTitle = VkConverter()->GBToBig5(CaptionTitle);
      if (standAlone_) {
        std::string note;
        GetLangMessage("TfrmBaseGene", "sExeVer", note, false, "[您现在运行的是Exe版本!]");
        CaptionTitle += note;
      }
      SetCaption(CaptionTitle + "[" + CaptionNote + "]");
    }
  }

  if (mode > 2 && accepted) {
    RunHostMode(mode);
  } else if (PresetApplied) {
    btnOk->Click();
  }
}

bool TfrmBaseGene::CheckPreset(const Variant& preset) {
  bool ok = true;
  try {
    const Variant items = preset[0];
    for (int32_t i = items.LowBound(); i <= items.HighBound() && ok; ++i) {
      try {
        vcl::TComponent* c = FindComponent(platform::VarToStr(items[i][1]));
        ok = c && (dynamic_cast<TSelectPanel*>(c) || dynamic_cast<vcl::TCustomComboBox*>(c) ||
                   LibRTTI::HasProperty(c, "ItemIndex") || LibRTTI::HasProperty(c, "Checked") ||
                   LibRTTI::HasProperty(c, "Text") || LibRTTI::HasProperty(c, "Lines"));
      } catch (const std::exception&) {
        ok = false;
      }
    }
  } catch (const std::exception&) {
    ok = false;
  }
  if (!ok) ShowMessageCode("W;000014");
  return ok;
}

bool TfrmBaseGene::ApplyPreset(const Variant&) { return false; }

// ---------------------------------------------------------------------------
// Keys.

void TfrmBaseGene::FormKeyDown(vcl::TObject*, vcl::Word& key, vcl::TShiftState shift) {
  const vcl::TShiftState modifiers = shift & (vcl::ssShift | vcl::ssAlt | vcl::ssCtrl);
  const bool ctrl = (modifiers & vcl::ssCtrl) != 0;
  switch (key) {
    case vcl::VK_ESCAPE:
      Close();
      return;
    case vcl::VK_F1:
      ShowProgramHelp();
      return;
    case vcl::VK_F2:
      LookupKey(key, ActiveControl());
      return;
    case 'V':
      if (modifiers == (vcl::ssCtrl | vcl::ssAlt)) ShowModuleProperties();
      return;
    case vcl::VK_TAB:
      if (ctrl) {
        pgOption->SelectNextPage((modifiers & vcl::ssShift) == 0);
        key = 0;
      }
      return;
    case vcl::VK_PRIOR:
    case vcl::VK_NEXT:
      if (ctrl) {
        pgOption->SelectNextPage(key == vcl::VK_NEXT);
        key = 0;
      }
      return;
    default:
      return;
  }
}

bool TfrmBaseGene::IsPageEnd(vcl::TWinControl* control) const {
  if (!control) return false;
  vcl::TWinControl* counted = control;
  if (TSelectPanel* panel = OwningPanel(control)) {
    if (control == panel->edBegin()) return false;
    if (control == panel->edFinal() || control == panel->ListBox()) counted = panel;
  } else if (auto* group = dynamic_cast<VkRadioGroup::TVkRadioGroup*>(control->Owner())) {
    counted = group;
  }
  return std::find(PageEndControls.begin(), PageEndControls.end(), counted) !=
         PageEndControls.end();
}

void TfrmBaseGene::FormKeyPress(vcl::TObject*, char& key) {
  if (key != 13) return;
  vcl::TWinControl* active = ActiveControl();
  if (!active) return;
  auto* memo = dynamic_cast<vcl::TCustomMemo*>(active);
  const int line = memo ? memo->CaretPos().Y : 0;

  if (auto* grid = dynamic_cast<vcl::TCustomDrawGrid*>(active)) {
    key = 0;
    if (grid->Col() == grid->ColCount() - 1) {
      if (grid->Row() == grid->RowCount() - 1) grid->SetRowCount(grid->RowCount() + 1);
      grid->SetRow(grid->Row() + 1);
      grid->SetCol(grid->FixedCols());
    } else {
      grid->SetCol(grid->Col() + 1);
    }
    return;
  }

  // The next page with a visible tab, never wrapping to the first.
  auto nextPage = [this] {
    vcl::TTabSheet* current = pgOption->ActivePage();
    vcl::TTabSheet* next = pgOption->FindNextPage(current, true, true);
    if (next && current && next->PageIndex() > current->PageIndex()) pgOption->UserSelect(next);
  };

  if (!IsPageEnd(active)) {
    if (memo && line < 2) return;
    key = 0;
    SelectNext(active, true, true);
    return;
  }
  if (memo) {
    if (line < 2) return;
    key = 0;
    nextPage();
  } else if (dynamic_cast<vcl::TCustomGrid*>(active)) {
    key = 0;
    SelectNext(active, true, true);
  } else {
    key = 0;
    nextPage();
  }
}

// ---------------------------------------------------------------------------
// Pages.

void TfrmBaseGene::pgOptionChange(vcl::TObject*) {
  vcl::TTabSheet* page = pgOption->ActivePage();
  if (!page) return;
  for (int order = 0;; ++order) {
    vcl::TWinControl* found = nullptr;
    for (int i = 0; i < page->ControlCount() && !found; ++i)
      if (auto* child = dynamic_cast<vcl::TWinControl*>(page->Controls(i));
          child && child->TabOrder() == order)
        found = child;
    if (!found) return;
    if (!found->Enabled()) continue;
    vcl::TWinControl* target = found;
    if (auto* panel = dynamic_cast<TSelectPanel*>(found))
      target = panel->IsRangeMode() ? static_cast<vcl::TWinControl*>(panel->edBegin())
                                    : static_cast<vcl::TWinControl*>(panel->ListBox());
    SetActiveControl(target);
    return;
  }
}

void TfrmBaseGene::pgOptionChanging(vcl::TObject*, bool& allowChange) {
  QuietMessages = true;
  InputError = false;
  if (vcl::TWinControl* active = ActiveControl()) {
    if (TSelectPanel* panel = OwningPanel(active)) {
      panel->OnExit(panel);
    } else {
      active->OnExit(active);
    }
  }
  QuietMessages = false;
  allowChange = !InputError;
}

void TfrmBaseGene::tsOption2Show(vcl::TObject*) {
  if (SystemPageArranged) return;
  SystemPageArranged = true;
  ArrangeSystemPage();
}

void TfrmBaseGene::ArrangeSystemPage() {
  tsOption2->SetParentFont(true);
  tsOption2->Font()->SetSize(9);
  if (Height() < 110) SetHeight(110);
  if (Width() < 315) SetWidth(315);
  lblToday->SetAutoSize(true);
  lblToday->SetBounds(8, 12, lblToday->Width(), lblToday->Height());
  edPrintDate->SetBounds(60, 8, 85, edPrintDate->Height());
  btnPrintDate->AlignToControl();
}

// ---------------------------------------------------------------------------
// Lookups and window messages.

void TfrmBaseGene::LookupKey(vcl::Word, vcl::TWinControl* control) {
  if (!control) return;
  if (control->CanFocus()) control->SetFocus();
  if (control == edPrintDate) edPrintDate->SetText(PickDate(edPrintDate->Text()));
}

void TfrmBaseGene::WndProc(vcl::TMessage& message) {
  switch (message.Msg) {
    case F2Button::kLookupMessage: {
      auto* control = reinterpret_cast<vcl::TControl*>(message.LParam);
      if (vcl::IsLiveComponent(control))
        LookupKey(vcl::VK_F2, dynamic_cast<vcl::TWinControl*>(control));
      message.Result = 0;
      return;
    }
    case vcl::CM_FOCUSCHANGED:
      VKForm::TVKForm::WndProc(message);
      FocusBack = reinterpret_cast<vcl::TWinControl*>(message.LParam);
      return;
    case vcl::WM_MOVE:
      VKForm::TVKForm::WndProc(message);
      if (HostWindow) Internal::RepaintHostWindow(HostWindow);
      return;
    default:
      VKForm::TVKForm::WndProc(message);
  }
}

// ---------------------------------------------------------------------------
// Empty hooks for descendants.

void TfrmBaseGene::AfterRights() {}
void TfrmBaseGene::PrepareConnection(platform::remote::TSocketConnection*) {}
void TfrmBaseGene::SchemeOpened() {}
void TfrmBaseGene::RunHostMode(int) {}
void TfrmBaseGene::BeforeRestoreValue(vcl::TComponent*, const std::string&) {}
void TfrmBaseGene::AfterRestoreValue(vcl::TComponent*, const std::string&) {}
void TfrmBaseGene::lstConditionKeyDown(vcl::TObject*, vcl::Word&, vcl::TShiftState) {}

// ---------------------------------------------------------------------------
// The scheme list's view styles.

namespace {

void SetViewStyle(vcl::TListView* list, vcl::TViewStyle style, vcl::TMenuItem* item) {
  list->Items()->BeginUpdate();
  list->SetViewStyle(style);
  list->Items()->EndUpdate();
  item->SetChecked(true);
}

}  // namespace

void TfrmBaseGene::ViewIconExecute(vcl::TObject*) { SetViewStyle(lstCondition, vcl::vsIcon, N7); }
void TfrmBaseGene::ViewSmallIconExecute(vcl::TObject*) {
  SetViewStyle(lstCondition, vcl::vsSmallIcon, N8);
}
void TfrmBaseGene::ViewListExecute(vcl::TObject*) { SetViewStyle(lstCondition, vcl::vsList, N9); }
void TfrmBaseGene::ViewReportExecute(vcl::TObject*) {
  SetViewStyle(lstCondition, vcl::vsReport, N10);
}

void TfrmBaseGene::ToolButton1Click(vcl::TObject* sender) {
  // Each click shows the next style of the sequence; the handler is found
  // by its published name, as the sequence names it.
  static const char* const kSequence[] = {"ViewIcon", "ViewSmallIcon", "ViewList", "ViewReport"};
  ToolButton1->SetTag((ToolButton1->Tag() + 1) % 4);
  const std::string handler = std::string(kSequence[ToolButton1->Tag()]) + "Execute";
  if (void* code = MethodAddress(handler))
    vcl::TNotifyEvent::FromMethod(vcl::TMethod{code, this})(sender);
}

}  // namespace BaseGene
