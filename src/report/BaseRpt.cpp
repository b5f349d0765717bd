// The report window: its system-page components and layout, registration,
// report defaults, footer and sign-off blocks, output flags, the report's
// request parts and the enabling of its three report buttons.

#include "report/BaseRpt.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "controls/BtChkBox.h"
#include "controls/DBLabel.h"
#include "controls/F2Button.h"
#include "platform/core/SysUtils.h"
#include "runtime/LibStrs.h"

namespace BaseRpt {

using platform::Variant;

namespace {

constexpr int kDataTypeLength = 10;
constexpr int kLineLength = 255;

// The date formats in the order of the company setting "Sys001" (1 to 5).
constexpr const char* kDateTypes[] = {"公历 YYYYMMDD", "公历 MMDDYYYY", "公历 DDMMYYYY",
                                      "民国年 YYMMDD", "民国年 YYYMMDD"};

// A row's column as text; "" outside the row or for a null.
std::string Column(const Variant& row, int index) {
  if (!row.IsArray() || index < row.LowBound() || index > row.HighBound()) return "";
  return platform::VarToStr(row[index]);
}

}  // namespace

// ---------------------------------------------------------------------------
// Class information.

const vcl::TClassInfo* TfrmBaseRpt::StaticClassInfo() {
  using P = vcl::PropBuilder<TfrmBaseRpt>;
  static const vcl::TClassInfo info("TfrmBaseRpt", BaseOpt::TfrmBaseOpt::StaticClassInfo(), {}, {
    P::PublishedMethod<&TfrmBaseRpt::FormCreate>("FormCreate"),
        P::PublishedMethod<&TfrmBaseRpt::FormShow>("FormShow"),
        P::PublishedMethod<&TfrmBaseRpt::chkViewClick>("chkViewClick"),
        P::PublishedMethod<&TfrmBaseRpt::edNoteIDEnter>("edNoteIDEnter"),
        P::PublishedMethod<&TfrmBaseRpt::edNoteIDExit>("edNoteIDExit"),
        P::PublishedMethod<&TfrmBaseRpt::edSignInIDExit>("edSignInIDExit"),
        P::PublishedMethod<&TfrmBaseRpt::btnQueryClick>("btnQueryClick"),
        P::PublishedMethod<&TfrmBaseRpt::btnDesignClick>("btnDesignClick"),
#if !VK_COMPAT_BUILD
        P::PublishedMethod<&TfrmBaseRpt::btnWebDesignClick>("btnWebDesignClick"),
#endif
        P::PublishedMethod<&TfrmBaseRpt::btnPeriodClick>("btnPeriodClick"),
  });
  return &info;
}

// ---------------------------------------------------------------------------
// Construction.

TfrmBaseRpt::TfrmBaseRpt(vcl::TComponent* owner) : BaseOpt::TfrmBaseOpt(owner) {
  SetName("frmBaseRpt");
  BuildComponents();
  OnCreate = vcl::MakeEvent<&TfrmBaseRpt::FormCreate>(this);
  OnShow = vcl::MakeEvent<&TfrmBaseRpt::FormShow>(this);
}

TfrmBaseRpt::~TfrmBaseRpt() = default;

void TfrmBaseRpt::BuildComponents() {
  btnOk->SetCaption("后台处理");
  btnOk->SetHint("后台处理");

  auto groupBox = [this](const char* name, const char* caption) {
    auto* group = new vcl::TGroupBox(this);
    group->SetName(name);
    group->SetParent(tsOption2);
    group->SetCaption(caption);
    return group;
  };
  auto checkBox = [this](vcl::TWinControl* parent, const char* name, const char* caption,
                         const char* hint) {
    auto* box = new BtChkBox::TBitCheckBox(this);
    box->SetName(name);
    box->SetParent(parent);
    box->SetCaption(caption);
    box->SetHint(hint);
    return box;
  };
  auto label = [this](vcl::TWinControl* parent, const char* name, const char* caption) {
    auto* l = new vcl::TLabel(this);
    l->SetName(name);
    l->SetParent(parent);
    l->SetCaption(caption);
    return l;
  };
  auto edit = [this](vcl::TWinControl* parent, const char* name, const char* hint, int maxLength) {
    auto* e = new vcl::TEdit(this);
    e->SetName(name);
    e->SetParent(parent);
    e->SetText("");
    e->SetHint(hint);
    e->SetMaxLength(maxLength);
    return e;
  };
  auto lookupButton = [this](vcl::TWinControl* parent, const char* name, const char* hint) {
    auto* b = new F2Button::TF2Button(this);
    b->SetName(name);
    b->SetParent(parent);
    b->SetHint(hint);
    return b;
  };

  // Outputs.
  grpGenType = groupBox("grpGenType", "报表生成选项");
  grpGenType->SetHint("信息生成的类型");
  const vcl::TNotifyEvent outputClick = vcl::MakeEvent<&TfrmBaseRpt::chkViewClick>(this);
  chkView = checkBox(grpGenType, "chkView", "生成报表", "生成报表档");
  chkView->SetChecked(true);
  chkHTML = checkBox(grpGenType, "chkHTML", "可供网页浏览", "直接生成HTML");
  chkDirectPrint = checkBox(grpGenType, "chkDirectPrint", "直接打印", "");
  chkDirectPrint->SetEnabled(false);
  for (BtChkBox::TBitCheckBox* box : {chkView, chkHTML, chkDirectPrint}) {
    box->SetWidth(130);
    box->OnClick = outputClick;
  }

  // Printed date format.
  cboDateType = new vcl::TComboBox(this);
  cboDateType->SetName("cboDateType");
  cboDateType->SetParent(tsOption2);
  cboDateType->SetStyle(vcl::csDropDownList);
  for (const char* type : kDateTypes) cboDateType->Items()->Add(type);
  cboDateType->SetItemIndex(0);
  lblDateType = new DBLabel::TDBLabel(this);
  lblDateType->SetName("lblDateType");
  lblDateType->SetParent(tsOption2);
  lblDateType->SetCaption("日期类型");
  lblDateType->SetPos(DBLabel::psLeft);
  lblDateType->SetFocusControl(cboDateType);

  // Footer and sign-off blocks.
  const vcl::TNotifyEvent idEnter = vcl::MakeEvent<&TfrmBaseRpt::edNoteIDEnter>(this);
  grpNote = groupBox("grpNote", "页脚");
  lblNoteID = label(grpNote, "lblNoteID", "编号");
  edNoteID = edit(grpNote, "edNoteID", "[F2]页脚信息查询", 6);
  edNoteID->OnEnter = idEnter;
  edNoteID->OnExit = vcl::MakeEvent<&TfrmBaseRpt::edNoteIDExit>(this);
  btnNote = lookupButton(grpNote, "btnNote", "页脚信息查询");
  lblNote1 = label(grpNote, "lblNote1", "页脚一");
  lblNote2 = label(grpNote, "lblNote2", "页脚二");
  lblNote3 = label(grpNote, "lblNote3", "页脚三");
  edNote1 = edit(grpNote, "edNote1", "", kLineLength);
  edNote2 = edit(grpNote, "edNote2", "", kLineLength);
  edNote3 = edit(grpNote, "edNote3", "", kLineLength);
  chkNoteEPPrint = checkBox(grpNote, "chkNoteEPPrint", "每页打印页脚", "");

  grpSignIn = groupBox("grpSignIn", "签核");
  lblSignInID = label(grpSignIn, "lblSignInID", "编号");
  edSignInID = edit(grpSignIn, "edSignInID", "[F2]签核信息查询", 6);
  edSignInID->OnEnter = idEnter;
  edSignInID->OnExit = vcl::MakeEvent<&TfrmBaseRpt::edSignInIDExit>(this);
  btnSignIn = lookupButton(grpSignIn, "btnSignIn", "签核信息查询");
  lblSignIn1 = label(grpSignIn, "lblSignIn1", "签核一");
  lblSignIn2 = label(grpSignIn, "lblSignIn2", "签核二");
  lblSignIn3 = label(grpSignIn, "lblSignIn3", "签核三");
  edSignIn1 = edit(grpSignIn, "edSignIn1", "", kLineLength);
  edSignIn2 = edit(grpSignIn, "edSignIn2", "", kLineLength);
  edSignIn3 = edit(grpSignIn, "edSignIn3", "", kLineLength);
  chkSignInEPPrint = checkBox(grpSignIn, "chkSignInEPPrint", "每页打印签核", "");

  // The report buttons on the bottom panel.
  auto reportButton = [this](const char* name, const char* caption, int left,
                             vcl::TNotifyEvent onClick) {
    auto* button = new vcl::TBitBtn(this);
    button->SetName(name);
    button->SetParent(Panel1);
    button->SetBounds(left, 9, 88, 25);
    button->SetCaption(caption);
    button->SetHint(caption);
    button->SetParentFont(false);
    button->Font()->SetName("宋体");
    button->Font()->SetHeight(-13);
    button->OnClick = onClick;
    return button;
  };
  btnQuery =
      reportButton("btnQuery", "直接查询", 8, vcl::MakeEvent<&TfrmBaseRpt::btnQueryClick>(this));
  btnDesign = reportButton("btnDesign", "设计报表", 101,
                           vcl::MakeEvent<&TfrmBaseRpt::btnDesignClick>(this));
#if !VK_COMPAT_BUILD
  btnWebDesign = reportButton("btnWebDesign", "web报表", 194,
                              vcl::MakeEvent<&TfrmBaseRpt::btnWebDesignClick>(this));
#endif

  // The periodic switch moves right of the report buttons; the report's
  // own handler calls the job window's first.
  btnPeriod->SetLeft(194);
  btnPeriod->OnClick = vcl::MakeEvent<&TfrmBaseRpt::btnPeriodClick>(this);
}

// ---------------------------------------------------------------------------
// Creation and show.

void TfrmBaseRpt::FormCreate(vcl::TObject* sender) {
  BaseOpt::TfrmBaseOpt::FormCreate(sender);
  DataType.clear();
  EnteredID.clear();
#if !VK_COMPAT_BUILD
  btnWebDesign->SetLeft(btnPeriod->Left() + btnPeriod->Width() + 15);
#endif
}

void TfrmBaseRpt::FormShow(vcl::TObject* sender) {
  BaseOpt::TfrmBaseOpt::FormShow(sender);
  btnNote->SetF2Control(edNoteID);
  btnSignIn->SetF2Control(edSignInID);
#if !VK_COMPAT_BUILD
  btnWebDesign->SetVisible(GetSysSetting("SYS181") != "N");
#endif
}

// ---------------------------------------------------------------------------
// Registration and initialisation.

void TfrmBaseRpt::RegisterFields() {
  BaseOpt::TfrmBaseOpt::RegisterFields();
  EnvCount = 14;
  ReservedConditions = 4;
  SetConditionCount(0);
  ProgramKind = "R";
  OutputFlags = 1;
  cboDateType->SetItemIndex(DateFormatKind() - 1);
  for (vcl::TEdit* line : {edNote1, edNote2, edNote3, edSignIn1, edSignIn2, edSignIn3})
    line->SetMaxLength(kLineLength);
#if !VK_COMPAT_BUILD
  // Wider by 80 pixels, with the buttons of the bottom panel's right end
  // keeping their distance from the right edge.
  SetWidth(Width() + 80);
  for (vcl::TControl* button :
       std::initializer_list<vcl::TControl*>{btnOk, btnSpd, btnCancel, btnOK01, btnOK02})
    button->SetLeft(button->Left() + 80);
#endif
}

bool TfrmBaseRpt::Initialize(const Variant& params) {
  if (!BaseOpt::TfrmBaseOpt::Initialize(params)) return false;
  try {
    LoadReportDefaults();
    if (GetSysSetting("SYS026") == "2") {
      // Gregorian years only: the two Minguo formats go.
      cboDateType->Items()->Delete(4);
      cboDateType->Items()->Delete(3);
    }
    EnableReportButtons();
    return true;
  } catch (const std::exception& e) {
    RecordError(e.what());
    return false;
  }
}

bool TfrmBaseRpt::DirectQueryRefused() {
#if VK_COMPAT_BUILD
  return false;
#else
  Variant answer;
  if (!QueryTable("ADMMB", "11", false, answer,
                  platform::VarArrayOf({Variant(platform::UpperCase(ProgramCode))})))
    return false;
  return !LibStrs::IsEmptyOrNull(answer) && Column(answer, 3) == "Y";
#endif
}

void TfrmBaseRpt::EnableReportButtons() {
  btnQuery->SetEnabled(LocalServer);
  btnDesign->SetEnabled(LocalServer);
  if (DirectQueryRefused()) btnQuery->SetEnabled(false);
}

void TfrmBaseRpt::btnPeriodClick(vcl::TObject* sender) {
  BaseOpt::TfrmBaseOpt::btnPeriodClick(sender);
  if (btnPeriod->Down()) {
    btnQuery->SetEnabled(false);
    btnDesign->SetEnabled(false);
#if !VK_COMPAT_BUILD
    btnWebDesign->SetEnabled(false);
#endif
    return;
  }
#if !VK_COMPAT_BUILD
  btnWebDesign->SetEnabled(true);
#endif
  EnableReportButtons();
}

// ---------------------------------------------------------------------------
// System page.

void TfrmBaseRpt::ArrangeSystemPage() {
  BaseOpt::TfrmBaseOpt::ArrangeSystemPage();
  SetWidth(std::max(Width(), 585));
  SetHeight(std::max(Height(), 460));

  edPrintDate->SetBounds(70, 5, 75, edPrintDate->Height());
  edPrintDate->SetTabOrder(0);
  lblToday->SetLeft(8);
  lblToday->SetTop(9);
  btnPrintDate->SetF2Control(edPrintDate);
  btnPrintDate->AlignToControl();
  cboDateType->SetLeft(280);
  cboDateType->SetTop(5);
  cboDateType->SetTabOrder(1);
  lblDateType->SetLeft(224);
  lblDateType->SetTop(9);

  grpGenTime->SetTop(31);
  grpGenTime->SetWidth(225);
  grpGenTime->SetTabOrder(2);
  grpGenType->SetBounds(242, 31, 146, 62);
  grpGenType->SetTabOrder(3);
  chkView->SetLeft(8);
  chkView->SetTop(13);
  chkHTML->SetLeft(8);
  chkHTML->SetTop(28);
  chkDirectPrint->SetLeft(8);
  chkDirectPrint->SetTop(43);

#if VK_COMPAT_BUILD
  grpAlarm->SetLeft(242);
  grpAlarm->SetTop(96);
  grpAlarm->SetWidth(146);
  grpAlarm->SetTabOrder(4);
#else
  chkNotify->SetLeft(241);
  chkNotify->SetTop(120);
  chkNotify->SetTabOrder(4);
  btnNotify->SetLeft(350);
  btnNotify->SetTop(116);
#endif

  // The two blocks differ only in their line labels' left and top, and in
  // the top of their every-page box.
  struct Block {
    vcl::TGroupBox* Group;
    int Top, TabOrder;
    vcl::TLabel* IdLabel;
    vcl::TEdit* Id;
    F2Button::TF2Button* Button;
    vcl::TLabel* LineLabels[3];
    vcl::TEdit* Lines[3];
    BtChkBox::TBitCheckBox* EveryPage;
    int LabelLeft, LabelTop, EveryPageTop;
  };
  const Block blocks[] = {
      {grpNote,
       152,
       5,
       lblNoteID,
       edNoteID,
       btnNote,
       {lblNote1, lblNote2, lblNote3},
       {edNote1, edNote2, edNote3},
       chkNoteEPPrint,
       10,
       39,
       15},
      {grpSignIn,
       256,
       6,
       lblSignInID,
       edSignInID,
       btnSignIn,
       {lblSignIn1, lblSignIn2, lblSignIn3},
       {edSignIn1, edSignIn2, edSignIn3},
       chkSignInEPPrint,
       9,
       38,
       16},
  };
  for (const Block& b : blocks) {
    b.Group->SetBounds(8, b.Top, 420, 99);
    b.Group->SetTabOrder(b.TabOrder);
    b.IdLabel->SetLeft(22);
    b.IdLabel->SetTop(16);
    b.Id->SetBounds(53, 12, 65, b.Id->Height());
    b.Button->SetF2Control(b.Id);
    b.Button->AlignToControl();
    for (int i = 0; i < 3; ++i) {
      b.LineLabels[i]->SetLeft(b.LabelLeft);
      b.LineLabels[i]->SetTop(b.LabelTop + 20 * i);
      b.Lines[i]->SetBounds(53, 34 + 20 * i, 365, b.Lines[i]->Height());
    }
    b.EveryPage->SetLeft(148);
    b.EveryPage->SetTop(b.EveryPageTop);
  }
  chkNoteEPPrint->SetWidth(261);
}

// ---------------------------------------------------------------------------
// Request parts.

bool TfrmBaseRpt::FillEnvironment(Variant& env, int count) {
  if (!BaseOpt::TfrmBaseOpt::FillEnvironment(env, count)) return false;
  env[13] = Variant(static_cast<int32_t>(OutputFlags & 7));
  env[14] = Variant(DataType);
  return true;
}

bool TfrmBaseRpt::FillConditionCaptions(Variant& captions, int own) {
  if (!BaseOpt::TfrmBaseOpt::FillConditionCaptions(captions, own)) return false;
  try {
    captions[own + 1] = platform::VarArrayOf({Variant(grpSignIn->Caption()), Variant("grpSignIn")});
    captions[own + 2] = platform::VarArrayOf({Variant(grpNote->Caption()), Variant("grpNote")});
    captions[own + 3] =
        platform::VarArrayOf({Variant(lblDateType->Caption()), Variant("cboDateType")});
    return true;
  } catch (const std::exception&) {
    ShowMessageCode("E;000030;" + GetMessageText("I", "000011"));
    return false;
  }
}

bool TfrmBaseRpt::FillConditionValues(Variant& values, int own) {
  if (!BaseOpt::TfrmBaseOpt::FillConditionValues(values, own)) return false;
  try {
    auto block = [](BtChkBox::TBitCheckBox* everyPage, vcl::TEdit* id, vcl::TEdit* const* lines) {
      return platform::VarArrayOf({Variant(everyPage->Caption()), Variant(everyPage->Checked()),
                                   Variant(id->Text()), Variant(lines[0]->Text()),
                                   Variant(lines[1]->Text()), Variant(lines[2]->Text())});
    };
    vcl::TEdit* const signInLines[] = {edSignIn1, edSignIn2, edSignIn3};
    vcl::TEdit* const noteLines[] = {edNote1, edNote2, edNote3};
    values[own + 1] = block(chkSignInEPPrint, edSignInID, signInLines);
    values[own + 2] = block(chkNoteEPPrint, edNoteID, noteLines);
    const int index = cboDateType->ItemIndex();
    values[own + 3] =
        platform::VarArrayOf({Variant(static_cast<int32_t>(index + 1)),
                              Variant(index >= 0 ? cboDateType->Items()->Get(index) : "")});
    return true;
  } catch (const std::exception&) {
    ShowMessageCode("E;000030");
    return false;
  }
}

void TfrmBaseRpt::ComposeSchemeProperties() {
  BaseOpt::TfrmBaseOpt::ComposeSchemeProperties();
  for (vcl::TGroupBox* group : {grpNote, grpSignIn})
    for (int i = 0; i < group->ControlCount(); ++i) {
      vcl::TControl* control = group->Controls(i);
      if (dynamic_cast<vcl::TCustomEdit*>(control))
        SchemeProperties += control->Name() + ".text;";
      else if (dynamic_cast<BtChkBox::TBitCheckBox*>(control))
        SchemeProperties += control->Name() + ".checked;";
    }
}

// ---------------------------------------------------------------------------
// Outputs and data type.

void TfrmBaseRpt::chkViewClick(vcl::TObject*) {
  if (!chkView->Checked() && !chkHTML->Checked() && !chkDirectPrint->Checked()) {
    ShowMessageCode("I;000005;");
    return;
  }
  OutputFlags = static_cast<uint8_t>((chkView->Checked() ? 1 : 0) | (chkHTML->Checked() ? 2 : 0) |
                                     (chkDirectPrint->Checked() ? 4 : 0));
}

void TfrmBaseRpt::SetDataType(const std::string& code) {
  DataType = platform::Copy(platform::Trim(platform::UpperCase(code)), 1, kDataTypeLength);
}

// ---------------------------------------------------------------------------
// Footer and sign-off blocks.

bool TfrmBaseRpt::LoadBlock(const std::string& blockKind, const std::string& id, bool warn) {
  const bool footer = blockKind == "1";
  vcl::TEdit* idEdit = footer ? edNoteID : edSignInID;
  vcl::TEdit* lines[] = {footer ? edNote1 : edSignIn1, footer ? edNote2 : edSignIn2,
                         footer ? edNote3 : edSignIn3};
  idEdit->SetText("");
  for (vcl::TEdit* line : lines) line->SetText("");
  if (id.empty()) return true;

  Variant row;
  if (QueryTable("CMSMS", "01", false, row,
                 platform::VarArrayOf({Variant(blockKind), Variant(id)})) &&
      !LibStrs::IsEmptyOrNull(row)) {
    idEdit->SetText(id);
    for (int i = 0; i < 3; ++i) lines[i]->SetText(Column(row, i + 1));
    return true;
  }
  if (!warn) return true;
  ShowMessageCode("W;000004;" + GetMessageText("R", footer ? "100235" : "100236"));
  return false;
}

bool TfrmBaseRpt::LoadFooter(const std::string& id, bool warn) { return LoadBlock("1", id, warn); }

bool TfrmBaseRpt::LoadSignOff(const std::string& id, bool warn) { return LoadBlock("2", id, warn); }

void TfrmBaseRpt::LoadReportDefaults() {
  btnNote->SetEnabled(true);
  btnSignIn->SetEnabled(true);
  Variant row;
  if (QueryTable("CMSMT", "01", false, row, platform::VarArrayOf({Variant(ProgramCode)})) &&
      !LibStrs::IsEmptyOrNull(row)) {
    row = VkConverter()->DataToUI(row);
    edNoteID->SetText(Column(row, 0));
    edNote1->SetText(Column(row, 3));
    edNote2->SetText(Column(row, 4));
    edNote3->SetText(Column(row, 5));
    btnNote->SetEnabled(Column(row, 1) == "Y");
    edSignInID->SetText(Column(row, 6));
    edSignIn1->SetText(Column(row, 9));
    edSignIn2->SetText(Column(row, 10));
    edSignIn3->SetText(Column(row, 11));
    btnSignIn->SetEnabled(Column(row, 7) == "Y");
  }
  for (vcl::TEdit* e : {edNoteID, edNote1, edNote2, edNote3}) e->SetReadOnly(!btnNote->Enabled());
  for (vcl::TEdit* e : {edSignInID, edSignIn1, edSignIn2, edSignIn3})
    e->SetReadOnly(!btnSignIn->Enabled());
}

void TfrmBaseRpt::edNoteIDEnter(vcl::TObject* sender) {
  if (auto* e = dynamic_cast<vcl::TCustomEdit*>(sender)) EnteredID = e->Text();
}

void TfrmBaseRpt::edNoteIDExit(vcl::TObject*) {
  const std::string text = edNoteID->Text();
  if (text == EnteredID) return;
  if (!LoadFooter(text, true) && edNoteID->CanFocus()) edNoteID->SetFocus();
}

void TfrmBaseRpt::edSignInIDExit(vcl::TObject*) {
  const std::string text = edSignInID->Text();
  if (text == EnteredID) return;
  if (!LoadSignOff(text, true) && edSignInID->CanFocus()) edSignInID->SetFocus();
}

void TfrmBaseRpt::LookupKey(vcl::Word key, vcl::TWinControl* control) {
  BaseOpt::TfrmBaseOpt::LookupKey(key, control);
  if (control != edNoteID && control != edSignInID) return;
  const bool footer = control == edNoteID;
  Variant rows;
  OpenLookup("CMSMS", "01", rows, false, "", platform::VarArrayOf({Variant(footer ? "1" : "2")}));
  // Nothing chosen (no answer, or an answer without rows): the block stays.
  if (!rows.IsArray() || rows.HighBound() < rows.LowBound()) return;
  const Variant row = rows[rows.LowBound()];
  vcl::TEdit* lines[] = {footer ? edNote1 : edSignIn1, footer ? edNote2 : edSignIn2,
                         footer ? edNote3 : edSignIn3};
  EnteredID = Column(row, 0);
  static_cast<vcl::TEdit*>(control)->SetText(EnteredID);
  for (int i = 0; i < 3; ++i) lines[i]->SetText(Column(row, i + 2));
}

// ---------------------------------------------------------------------------
// The report buttons' actions.

void TfrmBaseRpt::btnQueryClick(vcl::TObject*) {
  // STUB: direct query (local generation by the report's server module) is
  // not built yet.
}

void TfrmBaseRpt::btnDesignClick(vcl::TObject*) {
  // STUB: report design (registration, local preparation and the queue
  // manager's designer) is not built yet.
}

#if !VK_COMPAT_BUILD
void TfrmBaseRpt::btnWebDesignClick(vcl::TObject*) {
  // STUB: the web report (registration, preparation and the browser) is not
  // built yet.
}
#endif

}  // namespace BaseRpt
