// The goods-receipt list's option window: its two condition pages, their
// defaults, lookups and exit checks, and the eleven conditions it adds to
// the report job.

#include "report/Pvqr82CF.h"

#include <memory>

#include "controls/BtChkBox.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/SelectPnl.h"
#include "controls/VkRadioGroup.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Mask.h"
#include "runtime/LibStrs.h"

namespace Pvqr82CF {

using platform::Variant;
using SelectPnl::TSelectPanel;

namespace {

struct PanelSetup {
  const char* Name;
  const char* Caption;
  SelectPnl::TSelectStyle Style;
  SelectPnl::TValueType ValueType;
  bool UseVertical;
  int GlyphIndex;
  int Left, Top, Width, Height;
  const char* ChildHints[9];
};

const PanelSetup kPanels[] = {
    {"sp01",
     "选择进货单号",
     SelectPnl::sp_UserChoice,
     SelectPnl::vt_String,
     false,
     8,
     8,
     2,
     353,
     88,
     {"用户自定输入方式", "[F2]进货单号信息查询", "进货单号信息查询", "[F2]进货单号信息查询",
      "进货单号信息查询", "[F2]进货单号信息查询", "进货单号信息查询", "多选-删除一笔信息",
      "多选-删除己选信息"}},
    {"sp03",
     "选择日期",
     SelectPnl::sp_Range,
     SelectPnl::vt_Date,
     true,
     9,
     8,
     134,
     353,
     70,
     {"用户自定输入方式", "[F2]日期快手", "日期快手", "[F2]日期快手", "日期快手",
      "多选-己选择的信息", "多选-信息开窗", "多选-删除一笔信息", "多选-删除己选信息"}},
    {"sp04",
     "选择供应商编号",
     SelectPnl::sp_UserChoice,
     SelectPnl::vt_String,
     false,
     61,
     8,
     206,
     353,
     88,
     {"用户自定输入方式", "[F2]供应商编号信息查询", "供应商编号信息查询", "[F2]供应商编号信息查询",
      "供应商编号信息查询", "[F2]供应商编号信息查询", "供应商编号信息查询", "多选-删除一笔信息",
      "多选-删除己选信息"}},
};

std::unique_ptr<vcl::TStringList> Lines(std::initializer_list<const char*> texts) {
  auto list = std::make_unique<vcl::TStringList>();
  for (const char* text : texts) list->Add(text);
  return list;
}

// The text a lookup key is cut from: what a masked edit shows (with its
// literals), any other control's text.
std::string KeyText(vcl::TWinControl* control) {
  if (auto* edit = dynamic_cast<vcl::TCustomMaskEdit*>(control)) return edit->EditText();
  return control->Text();
}

// The select panel whose begin edit, final edit or list Control is; nullptr
// for any other control, the panel's choice box and the panel itself
// included, since a lookup can only put its answer into an edit or a list.
TSelectPanel* PanelOf(vcl::TWinControl* control) {
  auto* panel = control ? dynamic_cast<TSelectPanel*>(control->Owner()) : nullptr;
  if (!panel) return nullptr;
  if (control == panel->edBegin() || control == panel->edFinal() || control == panel->ListBox())
    return panel;
  return nullptr;
}

}  // namespace

std::string ReceiptNumberText(const std::string& text, const std::string& mask) {
  if (mask.empty()) return LibStrs::ReplaceAll(text, "-", "", true);
  std::string keeping = mask;
  if (const size_t at = keeping.find(";0;"); at != std::string::npos) keeping.replace(at, 3, ";1;");
  return vcl::FormatMaskText(keeping, text);
}

// ---------------------------------------------------------------------------
// Class information.

const vcl::TClassInfo* TfrmPvqr82::StaticClassInfo() {
  using P = vcl::PropBuilder<TfrmPvqr82>;
  static const vcl::TClassInfo info("TfrmPvqr82", BaseRpt::TfrmBaseRpt::StaticClassInfo(), {},
                                    {
                                        P::PublishedMethod<&TfrmPvqr82::ed05Exit>("ed05Exit"),
                                        P::PublishedMethod<&TfrmPvqr82::ed06Exit>("ed06Exit"),
                                        P::PublishedMethod<&TfrmPvqr82::btnOkClick>("btnOkClick"),
                                    });
  return &info;
}

// ---------------------------------------------------------------------------
// Construction.

TfrmPvqr82::TfrmPvqr82(vcl::TComponent* owner) : BaseRpt::TfrmBaseRpt(owner) {
  SetName("frmPvqr82");
  SetHeight(460);
  BuildComponents();
  ApplyLimits();
  btnOk->OnClick = vcl::MakeEvent<&TfrmPvqr82::btnOkClick>(this);
}

TfrmPvqr82::~TfrmPvqr82() = default;

void TfrmPvqr82::BuildComponents() {
  // tsOption1: the three select panels, the date choice and the two codes.
  TSelectPanel** panels[] = {&sp01, &sp03, &sp04};
  for (int i = 0; i < 3; ++i) {
    const PanelSetup& s = kPanels[i];
    auto* panel = new TSelectPanel(this);
    // As the window's resource loads it: the style does not swap the sizes.
    panel->BeginLoad();
    panel->SetName(s.Name);
    panel->SetParent(tsOption1);
    panel->SetCaption(s.Caption);
    panel->SetBeginWords(Lines({"起", "起"}).get());
    panel->SetFinalWords(Lines({"止", "止"}).get());
    panel->SetHintWord("区间选择");
    panel->SetDateSign("/");
    panel->SetCanOpenWin(true);
    panel->SetUseDiscard(false);
    panel->SetColumnsAutoSize(true);
    panel->SetShowColumnHeader(false);
    panel->SetHideSelection(false);
    panel->SetOtherWidth(353);
    panel->SetOtherHeight(45);
    panel->SetStyle(s.Style);
    panel->SetUserChoice(true);
    panel->SetUseVertical(s.UseVertical);
    panel->SetValueType(s.ValueType);
    panel->SetGlyphIndex(s.GlyphIndex);
    auto hints = std::make_unique<vcl::TStringList>();
    for (const char* hint : s.ChildHints) hints->Add(hint);
    panel->SetChildHints(hints.get());
    panel->SetBounds(s.Left, s.Top, s.Width, s.Height);
    panel->SetTabOrder(i == 0 ? 0 : i + 1);
    panel->EndLoad();
    *panels[i] = panel;
  }

  rg02 = new VkRadioGroup::TVkRadioGroup(this);
  rg02->SetName("rg02");
  rg02->SetParent(tsOption1);
  rg02->SetCaption("日期选择");
  rg02->SetColumns(2);
  rg02->Items()->Add("单据日");
  rg02->Items()->Add("验收日");
  rg02->SetBounds(8, 92, 353, 40);
  rg02->SetTabOrder(1);

  auto codeEdit = [this](const char* labelName, const char* caption, const char* name,
                         const char* hint, const char* buttonName, const char* buttonHint,
                         int glyph, int top, int tabOrder, vcl::TNotifyEvent onExit,
                         vcl::TLabel*& label, vcl::TEdit*& edit, F2Button::TF2Button*& button) {
    edit = new vcl::TEdit(this);
    edit->SetName(name);
    edit->SetParent(tsOption1);
    edit->SetText("");
    edit->SetHint(hint);
    edit->SetBounds(96, top, 80, 21);
    edit->SetTabOrder(tabOrder);
    edit->OnExit = onExit;
    label = new vcl::TLabel(this);
    label->SetName(labelName);
    label->SetParent(tsOption1);
    label->SetCaption(caption);
    label->SetLeft(10);
    label->SetTop(top + 4);
    label->SetFocusControl(edit);
    button = new F2Button::TF2Button(this);
    button->SetName(buttonName);
    button->SetParent(tsOption1);
    button->SetHint(buttonHint);
    button->SetGlyphIndex(glyph);
    button->SetF2Control(edit);
  };
  codeEdit("lbl05", "选择进货工厂", "ed05", "[F2]进货工厂信息查询", "btn05", "进货工厂信息查询", 63,
           300, 4, vcl::MakeEvent<&TfrmPvqr82::ed05Exit>(this), lbl05, ed05, btn05);
  codeEdit("lbl06", "选择币种", "ed06", "[F2]币种信息查询", "btn06", "币种信息查询", 44, 326, 5,
           vcl::MakeEvent<&TfrmPvqr82::ed06Exit>(this), lbl06, ed06, btn06);

  // TabSheet1, the second condition page, right after the first.
  TabSheet1 = new vcl::TTabSheet(this);
  TabSheet1->SetName("TabSheet1");
  TabSheet1->SetPageControl(pgOption);
  TabSheet1->SetCaption("高级选项");
  TabSheet1->SetPageIndex(1);

  auto comboBox = [this](const char* labelName, const char* caption, const char* name,
                         std::initializer_list<const char*> items, int top, int tabOrder,
                         vcl::TLabel*& label, vcl::TComboBox*& combo) {
    combo = new vcl::TComboBox(this);
    combo->SetName(name);
    combo->SetParent(TabSheet1);
    combo->SetStyle(vcl::csDropDownList);
    for (const char* item : items) combo->Items()->Add(item);
    combo->SetItemIndex(0);
    combo->SetBounds(110, top, 145, 21);
    combo->SetTabOrder(tabOrder);
    label = new vcl::TLabel(this);
    label->SetName(labelName);
    label->SetParent(TabSheet1);
    label->SetCaption(caption);
    label->SetLeft(16);
    label->SetTop(top + 4);
    label->SetFocusControl(combo);
  };
  comboBox("lbl07", "选择审核状态", "cbo07", {"已审核", "未审核", "作废", "全部"}, 16, 0, lbl07,
           cbo07);
  comboBox("lbl08", "选择结账状态", "cbo08", {"未结账", "已结账", "全部"}, 46, 1, lbl08, cbo08);

  auto checkBox = [this](const char* name, const char* caption, int top, int tabOrder) {
    auto* box = new BtChkBox::TBitCheckBox(this);
    box->SetName(name);
    box->SetParent(TabSheet1);
    box->SetCaption(caption);
    box->SetBounds(16, top, 200, 17);
    box->SetTabOrder(tabOrder);
    return box;
  };
  chk09 = checkBox("chk09", "仅打印暂不付款者", 80, 2);
  chk10 = checkBox("chk10", "仅打印无采购单者", 104, 3);
  chk11 = checkBox("chk11", "打印单价金额", 128, 4);
}

void TfrmPvqr82::ApplyLimits() {
  sp01->SetEditMask(kReceiptMask);
  for (TSelectPanel* panel : {sp01, sp04})
    for (vcl::TCustomEdit* edit : {static_cast<vcl::TCustomEdit*>(panel->edBegin()),
                                   static_cast<vcl::TCustomEdit*>(panel->edFinal())})
      edit->SetMaxLength(panel == sp01 ? 16 : 10);
  ed05->SetMaxLength(6);
  ed06->SetMaxLength(4);
}

// ---------------------------------------------------------------------------
// Registration and initialisation.

void TfrmPvqr82::RegisterFields() {
  BaseRpt::TfrmBaseRpt::RegisterFields();
  RegisterDateFields("sp03");
  SetConditionCount(11);
}

bool TfrmPvqr82::Initialize(const Variant& params) {
  if (!BaseRpt::TfrmBaseRpt::Initialize(params)) return false;
  try {
    ApplyLimits();
    rg02->SetItemIndex(0);
    cbo07->SetItemIndex(0);
    cbo08->SetItemIndex(0);
    chk09->SetChecked(false);
    chk10->SetChecked(false);
    chk11->SetChecked(RightsFlag8);
    chk11->SetEnabled(RightsFlag8);
    PageEndControls.push_back(ed06);
    PageEndControls.push_back(chk11);
    return true;
  } catch (const std::exception& e) {
    RecordError(e.what());
    return false;
  }
}

// ---------------------------------------------------------------------------
// Lookups and exit checks.

void TfrmPvqr82::LookupKey(vcl::Word key, vcl::TWinControl* control) {
  BaseRpt::TfrmBaseRpt::LookupKey(key, control);
  if (!control) return;
  TSelectPanel* panel = PanelOf(control);

  if (panel == sp01) {
    const std::string text = KeyText(control);
    const Variant lookupKey = platform::VarArrayOf(
        {Variant(LibStrs::GetField(text, "-", 1)), Variant(LibStrs::GetField(text, "-", 2))});
    Variant rows;
    OpenLookup("ASTTO", "01", rows, !sp01->IsRangeMode(), "", lookupKey);
    if (rows.IsArray() && rows.HighBound() >= rows.LowBound())
      FillPanelFromRows(control, rows, "-");
  } else if (panel == sp03) {
    if (control != sp03->ListBox()) control->SetText(PickDate(control->Text()));
  } else if (panel == sp04) {
    LookupIntoPanel(control, "PURMA", "01", false, control->Text(),
                    platform::VarArrayOf({Variant("")}));
  } else if (control == ed05 || control == ed06) {
    auto* edit = static_cast<vcl::TEdit*>(control);
    Variant rows;
    OpenLookup(edit == ed05 ? "CMSMB" : "CMSMF", "01", rows, false, edit->Text(),
               platform::VarArrayOf({Variant("")}));
    if (rows.IsArray() && rows.HighBound() >= rows.LowBound() && rows[rows.LowBound()].IsArray()) {
      const Variant& row = rows[rows.LowBound()];
      edit->SetText(platform::VarToStr(row[row.LowBound()]));
    }
  }
}

bool TfrmPvqr82::CheckCode(vcl::TEdit* edit, const std::string& table) {
  // Sending the focus back to a refused code leaves the other code edit
  // when it has the focus; that exit is not a check of its own.
  if (refocusing_) return true;
  const std::string code = edit->Text();
  if (code.empty()) {
    InputError = false;
    return true;
  }
  Variant answer;
  if (ValidateValue(table, "01", "E", -1, answer, platform::VarArrayOf({Variant(code)}))) {
    InputError = false;
    return true;
  }
  InputError = true;
  refocusing_ = true;
  if (edit->CanFocus()) edit->SetFocus();
  refocusing_ = false;
  edit->SelectAll();
  return false;
}

void TfrmPvqr82::ed05Exit(vcl::TObject*) { CheckCode(ed05, "CMSMB"); }

void TfrmPvqr82::ed06Exit(vcl::TObject*) { CheckCode(ed06, "CMSMF"); }

void TfrmPvqr82::SchemeOpened() {
  ed05Exit(ed05);
  ed06Exit(ed06);
}

void TfrmPvqr82::btnOkClick(vcl::TObject* sender) { BaseRpt::TfrmBaseRpt::btnOkClick(sender); }

// ---------------------------------------------------------------------------
// Conditions.

bool TfrmPvqr82::FillConditionCaptions(Variant& captions, int own) {
  if (!BaseRpt::TfrmBaseRpt::FillConditionCaptions(captions, own)) return false;
  try {
    const std::pair<std::string, const char*> items[] = {
        {sp01->Caption(), "sp01"},   {rg02->Caption(), "rg02"},   {sp03->Caption(), "sp03"},
        {sp04->Caption(), "sp04"},   {lbl05->Caption(), "ed05"},  {lbl06->Caption(), "ed06"},
        {lbl07->Caption(), "cbo07"}, {lbl08->Caption(), "cbo08"}, {chk09->Caption(), "chk09"},
        {chk10->Caption(), "chk10"}, {chk11->Caption(), "chk11"},
    };
    int i = 1;
    for (const auto& [caption, name] : items)
      captions[i++] = platform::VarArrayOf({Variant(caption), Variant(name)});
    return true;
  } catch (const std::exception&) {
    ShowMessageCode("E;000030;" + GetMessageText("I", "000011"));
    return false;
  }
}

Variant TfrmPvqr82::ChoiceValue(int index, const std::string& text) {
  return platform::VarArrayOf({Variant(static_cast<int32_t>(index + 1)), Variant(text)});
}

Variant TfrmPvqr82::ReceiptNumbersValue() const {
  const std::string& mask = sp01->EditMask();
  if (sp01->IsRangeMode())
    return platform::VarArrayOf({Variant(LibStrs::kRangeMark),
                                 Variant(ReceiptNumberText(sp01->edBegin()->Text(), mask)),
                                 Variant(ReceiptNumberText(sp01->edFinal()->Text(), mask))});
  vcl::TListItems* items = sp01->Items();
  Variant list = platform::VarArrayCreate({{0, items->Count()}});
  list[0] = Variant(LibStrs::kListMark);
  for (int i = 0; i < items->Count(); ++i) {
    vcl::TListItem* item = items->Item(i);
    vcl::TStrings* subItems = item->SubItems();
    Variant row = platform::VarArrayCreate({{0, subItems->Count()}});
    row[0] = Variant(ReceiptNumberText(item->Caption(), mask));
    for (int s = 0; s < subItems->Count(); ++s) row[s + 1] = Variant(subItems->Get(s));
    list[i + 1] = row;
  }
  return list;
}

bool TfrmPvqr82::FillConditionValues(Variant& values, int own) {
  if (rg02->ItemIndex() == 0) SetDataType("A");
  if (rg02->ItemIndex() == 1) SetDataType("B");
  if (!BaseRpt::TfrmBaseRpt::FillConditionValues(values, own)) return false;
  try {
    auto itemText = [](vcl::TStrings* items, int index) {
      return index >= 0 && index < items->Count() ? items->Get(index) : std::string();
    };
    auto yesNo = [](const BtChkBox::TBitCheckBox* box) {
      return Variant(box->Checked() ? "Y" : "N");
    };

    values[1] = ReceiptNumbersValue();
    values[2] = ChoiceValue(rg02->ItemIndex(), itemText(rg02->Items(), rg02->ItemIndex()));
    DateRangeValue(sp03->edBegin()->Text(), sp03->edFinal()->Text(), values, 3);
    PanelValue(sp04, values, 4);
    values[5] = Variant(ed05->Text());
    values[6] = Variant(ed06->Text());
    values[7] = ChoiceValue(cbo07->ItemIndex(), itemText(cbo07->Items(), cbo07->ItemIndex()));
    values[8] = ChoiceValue(cbo08->ItemIndex(), itemText(cbo08->Items(), cbo08->ItemIndex()));
    values[9] = yesNo(chk09);
    values[10] = yesNo(chk10);
    values[11] = yesNo(chk11);
    return true;
  } catch (const std::exception&) {
    ShowMessageCode("E;000030");
    return false;
  }
}

}  // namespace Pvqr82CF
