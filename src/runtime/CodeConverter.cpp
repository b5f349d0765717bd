#include "runtime/CodeConverter.h"

#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/StringList.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "runtime/BrantorINI.h"
#include "runtime/LibRTTI.h"
#include "runtime/LibStrs.h"
#include "runtime/TranslatorU.h"

namespace CodeConverter {

using platform::Variant;
using vcl::TTypeKind;

const vcl::TEnumInfo DesignTypeInfo{"TDesignType", {"dtClient", "dtServer"}};

namespace {

/* A published object property of the given type name, or nullptr. */
vcl::TObject* TypedObjectProp(vcl::TObject* object, std::string_view name,
                              std::string_view typeName) {
  const vcl::TPropInfo* p = vcl::GetPropInfo(object, name, {TTypeKind::tkClass});
  if (p == nullptr || p->TypeName != typeName) return nullptr;
  return p->GetObject(object);
}

bool IsConvertingKind(int kind) { return kind == 1 || kind == 2; }

}  // namespace

void SetFontForKind(int kind, vcl::TFont* font) {
  if (font == nullptr) return;
  switch (kind) {
    case 0:
    case 1:
    case 4:
      font->SetName("SimSun");
      font->SetCharset(platform::GB2312_CHARSET);
      break;
    case 2:
    case 3:
      font->SetName("SimSun");
      font->SetCharset(platform::CHINESEBIG5_CHARSET);
      break;
    default:
      break;
  }
}

const vcl::TClassInfo* TCodeConverter::StaticClassInfo() {
  using P = vcl::PropBuilder<TCodeConverter>;
  static const vcl::TClassInfo info(
      "TCodeConverter", vcl::TComponent::StaticClassInfo(),
      {P::Enum<&TCodeConverter::DesignType, &TCodeConverter::SetDesignType>("DesignType",
                                                                            &DesignTypeInfo)});
  return &info;
}

TCodeConverter::TCodeConverter(vcl::TComponent* owner) : vcl::TComponent(owner) {
  LoadSettings();
  if (uiConvertKind_ != 0) translator_ = std::make_unique<TranslatorU::TTranslator>();
}

TCodeConverter::~TCodeConverter() = default;

void TCodeConverter::LoadSettings() {
  std::unique_ptr<BrantorINI::TBrantorIniBase> reader;
  if (designType_ == dtServer)
    reader = std::make_unique<BrantorINI::TBrantorIniS>();
  else
    reader = std::make_unique<BrantorINI::TBrantorIniC>();
  systemCodePage_ = reader->SystemCodePage;
  uiCodePage_ = reader->UICodePage;
  dbCodePage_ = reader->DBCodePage;
  uiConvertKind_ = reader->UIConvertKind;
  dataConvertKind_ = reader->DataConvertKind;
}

std::string TCodeConverter::GBToBig5(const std::string& text) const {
  if (text.empty() || !translator_) return text;
  return translator_->GBToBig5(text);
}

std::string TCodeConverter::Big5ToGB(const std::string& text) const {
  if (text.empty() || !translator_) return text;
  return translator_->Big5ToGB(text);
}

std::string TCodeConverter::ConvertText(int kind, const std::string& text) const {
  if (kind == 1) return Big5ToGB(text);
  if (kind == 2) return GBToBig5(text);
  return text;
}

Variant TCodeConverter::ConvertValue(int kind, const Variant& value) const {
  Variant result = value;
  if (!IsConvertingKind(kind) || !translator_ || value.IsEmpty() || value.IsNull()) return result;
  if (!value.IsArray()) return Variant(ConvertText(kind, value.AsString()));
  if (value.DimCount() == 1) {
    for (int32_t i = value.LowBound(1); i <= value.HighBound(1); ++i) {
      const Variant& element = value[i];
      result[i] = element.IsArray() ? ConvertValue(kind, element)
                                    : Variant(ConvertText(kind, element.AsString()));
    }
  } else if (value.DimCount() == 2) {
    for (int32_t i = value.LowBound(1); i <= value.HighBound(1); ++i)
      for (int32_t j = value.LowBound(2); j <= value.HighBound(2); ++j)
        result.At(i, j) = ConvertValue(kind, value.At(i, j));
  }
  return result;
}

Variant TCodeConverter::TextToUI(const Variant& value) const {
  return ConvertValue(uiConvertKind_, value);
}

Variant TCodeConverter::DataToUI(const Variant& value) const {
  return ConvertValue(dataConvertKind_, value);
}

namespace {
int ReverseKind(int kind) { return kind == 1 ? 2 : kind == 2 ? 1 : 0; }
}  // namespace

Variant TCodeConverter::UIToText(const Variant& value) const {
  try {
    return ConvertValue(ReverseKind(uiConvertKind_), value);
  } catch (...) {
    return value;
  }
}

Variant TCodeConverter::UIToData(const Variant& value) const {
  try {
    return ConvertValue(ReverseKind(dataConvertKind_), value);
  } catch (...) {
    return value;
  }
}

// --- Converting a window ----------------------------------------------------

// A list is converted as its whole text in one call. When the line count
// stays the same the lines are put back one by one, so that the objects the
// list holds beside its texts survive.
void TCodeConverter::ConvertStrings(int kind, vcl::TObject* object) const {
  auto* strings = dynamic_cast<vcl::TStrings*>(object);
  if (strings == nullptr || strings->Count() == 0 || !IsConvertingKind(kind)) return;
  platform::StringList converted;
  converted.SetText(ConvertText(kind, strings->Text()));
  strings->BeginUpdate();
  if (converted.Count() == strings->Count()) {
    for (int i = 0; i < converted.Count(); ++i)
      if (strings->Get(i) != converted[i]) strings->Put(i, converted[i]);
  } else {
    strings->SetText(converted.Text());
  }
  strings->EndUpdate();
}

void TCodeConverter::ConvertListView(int kind, vcl::TCustomListView* view) const {
  if (view == nullptr || !IsConvertingKind(kind)) return;
  vcl::TListColumns* columns = view->Columns();
  for (int i = 0; i < columns->Count(); ++i)
    columns->Items(i)->SetCaption(ConvertText(kind, columns->Items(i)->Caption()));
  vcl::TListItems* items = view->Items();
  items->BeginUpdate();
  for (int i = 0; i < items->Count(); ++i) {
    vcl::TListItem* item = items->Item(i);
    item->SetCaption(ConvertText(kind, item->Caption()));
    vcl::TStrings* sub = item->SubItems();
    for (int n = 0; n < sub->Count(); ++n) sub->Put(n, ConvertText(kind, sub->Get(n)));
  }
  items->EndUpdate();
}

void TCodeConverter::ConvertCommonProperties(vcl::TComponent* c) const {
  const int kind = uiConvertKind_;
  for (const char* name : {"Font", "TitleFont"})
    SetFontForKind(kind, dynamic_cast<vcl::TFont*>(TypedObjectProp(c, name, "TFont")));

  for (const char* name : {"Caption", "Hint", "ButtonHint"}) {
    const vcl::TPropInfo* p = vcl::GetPropInfo(c, name, {TTypeKind::tkString});
    if (p != nullptr && p->SetStr) p->SetStr(c, ConvertText(kind, p->GetStr(c)));
  }

  auto* combo = dynamic_cast<vcl::TCustomComboBox*>(c);
  if (vcl::TObject* items = TypedObjectProp(c, "Items", "TStrings")) {
    const int selected = combo ? combo->ItemIndex() : -1;
    ConvertStrings(kind, items);
    if (combo && combo->Items()->Count() > 0) combo->SetItemIndex(selected);
  }
  ConvertStrings(kind, TypedObjectProp(c, "Lines", "TStrings"));

  // Owner-drawn lists draw their items with the control's font, which the
  // system's own drawing would not use.
  const vcl::TPropInfo* style = vcl::GetPropInfo(c, "Style", {TTypeKind::tkEnumeration});
  if (style != nullptr && style->Enum != nullptr && style->SetOrd) {
    const std::string current = style->Enum->NameOf(style->GetOrd(c));
    std::string wanted;
    if (style->TypeName == "TComboBoxStyle") {
      if (current == "csDropDown") wanted = "csOwnerDrawVariable";
      if (current == "csDropDownList") wanted = "csOwnerDrawFixed";
    } else if (style->TypeName == "TListBoxStyle") {
      if (current == "lbStandard") wanted = "lbOwnerDrawFixed";
    }
    const int value = wanted.empty() ? -1 : style->Enum->ValueOf(wanted);
    if (value >= 0) {
      const int selected = combo ? combo->ItemIndex() : -1;
      style->SetOrd(c, value);
      if (combo && combo->Items()->Count() > 0 && combo->ItemIndex() < 0)
        combo->SetItemIndex(selected);
    }
  }

  if (auto* panels = dynamic_cast<vcl::TCollection*>(TypedObjectProp(c, "Panels", "TStatusPanels")))
    for (int i = 0; i < panels->Count(); ++i) {
      vcl::TCollectionItem* panel = panels->Items(i);
      LibRTTI::SetTextProp(panel, "Text", ConvertText(kind, LibRTTI::GetTextProp(panel, "Text")));
    }
}

namespace {

/* A list property converted as a whole and given back through the
   property's setter (which lets a control lay itself out anew). */
template <class F>
void ReplaceList(vcl::TComponent* c, std::string_view name, F&& convert) {
  const vcl::TPropInfo* p = vcl::GetPropInfo(c, name, {TTypeKind::tkClass});
  auto* strings = p ? dynamic_cast<vcl::TStrings*>(p->GetObject(c)) : nullptr;
  if (strings == nullptr) return;
  vcl::TStringList copy;
  copy.Assign(strings);
  convert(copy);
  if (p->SetObject)
    p->SetObject(c, &copy);
  else
    strings->Assign(&copy);
}

}  // namespace

void TCodeConverter::ConvertByClass(vcl::TComponent* c) const {
  const int kind = uiConvertKind_;
  if (auto* menu = dynamic_cast<vcl::TMenu*>(c)) {
    menu->SetOwnerDraw(true);  // menu items then use the screen's menu font
    return;
  }
  if (!IsConvertingKind(kind)) return;

  if (auto* view = dynamic_cast<vcl::TCustomListView*>(c)) ConvertListView(kind, view);

  if (c->InheritsFrom("TTabSet")) {
    const int64_t selected = LibRTTI::GetOrdinalProp(c, "TabIndex");
    ConvertStrings(kind, LibRTTI::GetObjectPropValue(c, "Tabs"));
    LibRTTI::SetOrdinalProp(c, "TabIndex", selected);
  }

  if (c->InheritsFrom("TSelectPanel")) {
    ReplaceList(c, "ChildHints", [&](vcl::TStringList& hints) {
      for (int i = 0; i < hints.Count(); ++i) hints.Put(i, ConvertText(kind, hints.Get(i)));
    });
    for (const char* words : {"BeginWords", "FinalWords"})
      ReplaceList(c, words, [&](vcl::TStringList& list) { ConvertStrings(kind, &list); });
    LibRTTI::SetTextProp(c, "HintWord", ConvertText(kind, LibRTTI::GetTextProp(c, "HintWord")));
    ConvertListView(kind, dynamic_cast<vcl::TCustomListView*>(LibRTTI::FindPart(c, "ListBox")));
  }

  if (auto* combo = dynamic_cast<vcl::TCustomComboBox*>(c)) {
    if (combo->Style() != vcl::csSimple) combo->SetStyle(vcl::csOwnerDrawFixed);
    if (combo->ItemIndex() < 0 && combo->Items()->Count() > 0) combo->SetItemIndex(0);
  }

  if (c->InheritsFrom("TDBNavigator"))
    ConvertStrings(kind, LibRTTI::GetObjectPropValue(c, "Hints"));

  if (auto* grid = dynamic_cast<vcl::TStringGrid*>(c))
    for (int col = 0; col < grid->ColCount(); ++col)
      for (int row = 0; row < grid->RowCount(); ++row) {
        const std::string text = grid->Cells(col, row);
        if (!text.empty()) grid->SetCells(col, row, ConvertText(kind, text));
      }
}

/* Converts a window once for the interface:
   1. on a Big5 system the caption is converted to Big5 (the system draws
      captions in its own code page);
   2. the window's Hint and ButtonHint;
   3. the screen's icon, hint and menu fonts (the hint display is switched
      off and on so that the hint window takes the new font);
   4. for every component the window owns, in ownership order, the
      properties it publishes: Font and TitleFont, Caption, Hint,
      ButtonHint, Items and Lines (the selection of a combo box survives),
      Style (lists become owner-drawn), status Panels;
   5. then by class: list views, tab sets, select panels, combo boxes,
      menus (owner-drawn for every kind), navigator hints, string grids.
   Kind 4 changes fonts and drawing only. */
void TCodeConverter::ConvertForm(vcl::TCustomForm* form) {
  if (!translator_ || form == nullptr) return;
  const int kind = uiConvertKind_;
  if (systemCodePage_ == "950") form->SetCaption(ConvertText(2, form->Caption()));
  for (const char* name : {"Hint", "ButtonHint"}) {
    const vcl::TPropInfo* p = vcl::GetPropInfo(form, name, {TTypeKind::tkString});
    if (p != nullptr && p->SetStr) p->SetStr(form, ConvertText(kind, p->GetStr(form)));
  }
  SetFontForKind(kind, vcl::Screen->IconFont());
  SetFontForKind(kind, vcl::Screen->HintFont());
  SetFontForKind(kind, vcl::Screen->MenuFont());
  vcl::Application->SetShowHint(false);
  vcl::Application->SetShowHint(true);

  // A conversion may add or remove components (a control laying itself out
  // anew); the walk takes the list as it was.
  std::vector<vcl::TComponent*> components;
  for (int i = 0; i < form->ComponentCount(); ++i) components.push_back(form->Components(i));
  for (vcl::TComponent* c : components) {
    if (!vcl::IsLiveComponent(c)) continue;
    ConvertCommonProperties(c);
    ConvertByClass(c);
  }
}

// --- Message dialog -----------------------------------------------------------

int TCodeConverter::MessageDialog(const std::string& text, vcl::TMsgDlgType type,
                                  vcl::TMsgDlgButtons buttons) const {
  if (text.empty()) return 0;
  std::string shown = text;
  if (uiCodePage_ == "936" || systemCodePage_ == "936") shown += "      ";
  vcl::TMessageForm* dialog = vcl::CreateMessageDialog(shown, type, buttons);
  struct Release {
    vcl::TMessageForm* dialog;
    ~Release() {
      if (vcl::IsLiveComponent(dialog)) dialog->Free();
    }
  } release{dialog};

  auto* owner = dynamic_cast<vcl::TCustomForm*>(Owner());
  if (owner != nullptr) {
    if (owner->WindowState() == vcl::wsMinimized) owner->SetWindowState(vcl::wsNormal);
    dialog->SetCaption(owner->Caption());
  }
  SetFontForKind(uiConvertKind_, dialog->Font());
  if (uiCodePage_ != "437")
    for (int i = 0; i < dialog->ComponentCount(); ++i)
      if (auto* button = dynamic_cast<vcl::TButton*>(dialog->Components(i)))
        button->SetCaption(TextToUI(Variant(LibStrs::MsgButtonCaption(button->Name()))).AsString());
  return dialog->ShowModal();
}

}  // namespace CodeConverter
