// Condition values and texts of the generic option window: the request, the
// company date format and its checks, the values of date ranges and select
// panels, and the scheme value text with its restoring.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "controls/DBLabel.h"
#include "controls/SelectPnl.h"
#include "framework/BaseGene.h"
#include "platform/core/DateTime.h"
#include "platform/core/NumText.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/TypInfo.h"
#include "runtime/LibRTTI.h"
#include "runtime/LibStrs.h"

namespace BaseGene {

using platform::Variant;
using SelectPnl::TSelectPanel;

namespace {

constexpr char kEtx = '\x03';     // fields of a scheme line
constexpr char kRowEnd = '\x04';  // end of a row in a list text
constexpr char kColumn = '\x01';  // between a row's columns in a list text
constexpr char kLineEnd[] = "\r\n";

bool InRangeMode(const TSelectPanel* panel) {
  return panel->Style() == SelectPnl::sp_Range ||
         (panel->Style() == SelectPnl::sp_UserChoice && panel->UserChoice());
}

// The rows of a list as [#5, [caption, sub-items...], ...] (bounds 0..N),
// each caption passed through Clean.
template <class Clean>
Variant ListValue(const vcl::TListItems* items, Clean&& clean) {
  Variant list = platform::VarArrayCreate({{0, items->Count()}});
  list[0] = Variant(LibStrs::kListMark);
  for (int i = 0; i < items->Count(); ++i) {
    const vcl::TListItem* item = items->Item(i);
    const vcl::TStrings* subItems = item->SubItems();
    Variant row = platform::VarArrayCreate({{0, subItems->Count()}});
    row[0] = Variant(clean(item->Caption()));
    for (int s = 0; s < subItems->Count(); ++s) row[s + 1] = Variant(subItems->Get(s));
    list[i + 1] = std::move(row);
  }
  return list;
}

// The list text of a panel: every row followed by #4; a row is its caption,
// then #1 and the sub-items joined by #1 when it has any.
std::string ListText(const TSelectPanel* panel) {
  std::string text;
  const vcl::TListItems* items = panel->Items();
  for (int i = 0; i < items->Count(); ++i) {
    const vcl::TListItem* item = items->Item(i);
    text += item->Caption();
    const vcl::TStrings* subItems = item->SubItems();
    for (int s = 0; s < subItems->Count(); ++s) text += kColumn + subItems->Get(s);
    text += kRowEnd;
  }
  return text;
}

// Refills a panel's list from a list text; raises when a row cannot be
// added.
void FillListFromText(TSelectPanel* panel, const std::string& text) {
  panel->Items()->Clear();
  std::string rest = text;
  while (!rest.empty()) {
    std::string piece;
    LibStrs::SplitFirst(rest, std::string(1, kRowEnd), piece);
    if (piece.empty()) continue;
    std::vector<std::string> columns;
    std::string row = piece;
    while (true) {
      std::string column;
      const bool last = row.find(kColumn) == std::string::npos;
      LibStrs::SplitFirst(row, std::string(1, kColumn), column);
      columns.push_back(column);
      if (last) break;
    }
    panel->ListBox()->AddRow(columns);
  }
}

// Floating-point properties travel in the platform's general form with the
// platform's decimal separator; where fifteen digits would not give the same
// number back, the shortest exact form is written instead, so that a value
// always reads back as it was written.
std::string FloatText(double value) {
  std::string text = platform::FloatToStr(value);
  if (const auto back = platform::TryStrToFloat(text); !back || *back != value) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.assign(buffer, ec == std::errc() ? end : buffer);
  }
  const char separator = platform::GlobalFormatSettings().DecimalSeparator;
  std::replace(text.begin(), text.end(), '.', separator);
  return text;
}

double ReadFloatText(const std::string& line) {
  std::string text = line;
  const char separator = platform::GlobalFormatSettings().DecimalSeparator;
  if (separator != '.') {
    if (text.find('.') != std::string::npos)
      throw platform::EConvertError("'" + line + "' is not a valid floating point value");
    std::replace(text.begin(), text.end(), separator, '.');
  }
  const auto value = platform::TryStrToFloat(text);
  if (!value) throw platform::EConvertError("'" + line + "' is not a valid floating point value");
  return *value;
}

int64_t ReadInteger(const std::string& line) {
  const auto value = platform::TryStrToInt(platform::Trim(line));
  if (!value) throw platform::EConvertError("'" + line + "' is not a valid integer value");
  return *value;
}

// The date-shift step of a scheme date. STUB: shifting by a date-shift
// record is not built yet; the entered date is stored as it is.
std::string ShiftDate(const std::string& base, const std::string& /*count*/,
                      const std::string& /*unit*/, const std::string& /*days*/,
                      const std::string& /*rule*/) {
  return base;
}

bool AllZero(const std::string& a, const std::string& b, const std::string& c) {
  return a == "0" && b == "0" && c == "0";
}

std::string Field(const std::string& text, int index) {
  return LibStrs::GetField(text, LibStrs::kFieldSeparator, index);
}

// Cuts the next item off a property list and splits it into component and
// property name; false (names empty) when the item is not "Name.Property".
bool NextItem(std::string& properties, std::string& component, std::string& property) {
  std::string item;
  LibStrs::SplitFirst(properties, ";", item);
  item = platform::Trim(item);
  component.clear();
  property.clear();
  const size_t dot = item.find('.');
  if (dot == std::string::npos) return false;
  component = platform::Trim(item.substr(0, dot));
  property = platform::Trim(item.substr(dot + 1));
  return !component.empty() && !property.empty();
}

}  // namespace

// ---------------------------------------------------------------------------
// The request.

bool TfrmBaseGene::BuildRequest() {
  if (EnvCount <= 0 || (ConditionCount <= 0 && !PresetApplied)) {
    ShowMessage("I", "000003", 0, {""});
    return false;
  }
  Variant env = platform::VarArrayCreate({{1, EnvCount}});
  Variant captions = platform::VarArrayCreate({{1, std::max(ConditionCount, 0)}});
  Variant values = platform::VarArrayCreate({{1, std::max(ConditionCount, 0)}});
  const int own = ConditionCount - ReservedConditions;

  // A filled array must end at Count and hold something at every position.
  auto complete = [this](const Variant& array, int count, const char* key, const char* fallback) {
    std::string name;
    GetLangMessage("TfrmBaseGene", key, name, true, fallback);
    const int high = array.IsArray() ? array.HighBound() : -1;
    if (high != count) {
      ShowMessage("W", "000002", 0, {name, std::to_string(count), std::to_string(high)});
      return false;
    }
    for (int i = 1; i <= count; ++i)
      if (array[i].IsEmpty() || array[i].IsNull()) {
        ShowMessage("W", "000003", 0, {name, std::to_string(count), std::to_string(i)});
        return false;
      }
    return true;
  };

  if (!FillConditionCaptions(captions, own)) return false;
  if (!complete(captions, ConditionCount, "sOption", "选择条件文字")) return false;
  if (!FillConditionValues(values, own)) return false;
  if (!complete(values, ConditionCount, "sOptionInf", "选择条件信息")) return false;
  if (!FillEnvironment(env, EnvCount)) return false;
  if (!complete(env, EnvCount, "sEnvSetting", "环境设置")) return false;

  Request = platform::VarArrayOf(
      {env, VkConverter()->UIToData(captions), VkConverter()->UIToData(values)});
  return true;
}

bool TfrmBaseGene::FillEnvironment(Variant& env, int) {
  env[1] = Variant(platform::UpperCase(ProgramCode));
  env[2] = Variant(int32_t{EnvCount});
  env[3] = Variant(int32_t{ConditionCount});
  env[4] = Variant(CompanyID);
  env[5] = Variant(UserID);
  env[6] = Variant(DbName);
  env[7] = Variant(platform::Now());
  env[8] = Variant(ServerClass);
  env[9] = Variant(platform::UpperCase(ProgramKind));
  return true;
}

bool TfrmBaseGene::FillConditionCaptions(Variant& captions, int own) {
  try {
    GenerateData = true;
    captions[own + ReservedConditions] =
        platform::VarArrayOf({Variant(lblToday->Caption()), Variant("edPrintDate")});
    return true;
  } catch (const std::exception&) {
    ShowMessageCode("E;000030;" + GetMessageText("I", "000011"));
    return false;
  }
}

bool TfrmBaseGene::FillConditionValues(Variant& values, int own) {
  try {
    const std::string text = platform::Trim(edPrintDate->Text());
    const std::string separator = DateSeparator();
    // Only part of the date typed leaves a separator at one end.
    const bool partial = !separator.empty() && (text.starts_with(separator.substr(0, 1)) ||
                                                text.ends_with(separator.substr(0, 1)));
    values[ReservedConditions + own] =
        Variant(text.empty() || partial ? std::string() : ToStorageDate(text));
    return true;
  } catch (const std::exception&) {
    ShowMessageCode("E;000030");
    return false;
  }
}

// ---------------------------------------------------------------------------
// The company date format.

std::string TfrmBaseGene::DateMask() {
  const int kind = DateFormatKind();
  const std::string separator = DateSeparator();
  const std::string year = kind >= 1 && kind <= 3 ? "9999"
                           : kind == 4            ? "99"
                           : kind == 5            ? "999"
                                                  : "";
  if (kind == 2 || kind == 3) return "99" + separator + "99" + separator + year + ";1; ";
  return year + separator + "99" + separator + "99" + ";1; ";
}

std::string TfrmBaseGene::BlankDate() {
  const int kind = DateFormatKind();
  const std::string separator = DateSeparator();
  const std::string year = kind >= 1 && kind <= 3 ? "    "
                           : kind == 4            ? "  "
                           : kind == 5            ? "   "
                                                  : "";
  if (kind == 2 || kind == 3) return "  " + separator + "  " + separator + year;
  return year + separator + "  " + separator + "  ";
}

std::string TfrmBaseGene::ToStorageDate(const std::string& text) {
  const std::string trimmed = platform::Trim(text);
  if (trimmed.empty() || trimmed == platform::Trim(BlankDate())) return "";

  std::string rest = trimmed, first, second;
  const std::string separator = DateSeparator();
  LibStrs::SplitFirst(rest, separator, first);
  LibStrs::SplitFirst(rest, separator, second);
  auto number = [](const std::string& part) {
    return platform::TryStrToInt(platform::Trim(part)).value_or(-1);
  };
  const int a = number(first), b = number(second), c = number(rest);
  if (a == -1 || b == -1 || c == -1) return trimmed;

  int year, month, day;
  switch (DateFormatKind()) {
    case 1:
      year = a, month = b, day = c;
      break;
    case 2:
      year = c, month = a, day = b;
      break;
    case 3:
      year = c, month = b, day = a;
      break;
    case 4:
    case 5:
      year = a + 1911, month = b, day = c;
      break;
    default:
      return "";
  }
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%d%.2d%.2d", year, month, day);
  return buffer;
}

bool TfrmBaseGene::CheckDateField(vcl::TObject* control, bool entering) {
  std::vector<vcl::TCustomEdit*> edits;
  auto* panel = dynamic_cast<TSelectPanel*>(control);
  auto* masked = dynamic_cast<vcl::TCustomMaskEdit*>(control);
  auto* edit = dynamic_cast<vcl::TCustomEdit*>(control);
  if (panel) {
    if (entering) {
      panel->SetEditMask(DateMask());
      return true;
    }
    edits = {panel->edBegin(), panel->edFinal()};
  } else if (masked || edit) {
    if (entering) {
      if (masked) {
        masked->SetEditMask(DateMask());
      } else {
        edit->SetText(BlankDate());
      }
      return true;
    }
    edits = {edit};
  } else {
    std::string text;
    GetLangMessage("TfrmBaseGene", "sDatePramError", text, true,
                   "判断日期的函数第一个参数错误, 只能传下列三种物件:");
    MessageBox(text + "\r" + "TSelectPanel, TMaskedit, TEdit", vcl::mtCustom,
               vcl::MsgDlgButtons({vcl::mbOK}));
    return false;
  }

  for (vcl::TCustomEdit* e : edits) {
    const std::string value = ToStorageDate(e->Text());
    if (value.empty() || LibStrs::IsValidYmd(value)) continue;
    if (e->CanFocus()) e->SetFocus();
    ShowMessageCode("E;000005");
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Values of date ranges and select panels.

void TfrmBaseGene::DateRangeValue(const std::string& fromText, const std::string& toText,
                                  Variant& values, int index) {
  std::string from = ToStorageDate(fromText), to = ToStorageDate(toText);
  if (!from.empty() && !to.empty() && platform::CompareText(from, to) > 0) std::swap(from, to);
  values[index] = platform::VarArrayOf({Variant(LibStrs::kRangeMark), Variant(from), Variant(to)});
}

void TfrmBaseGene::PanelValue(TSelectPanel* panel, Variant& values, int index) {
  if (InRangeMode(panel)) {
    values[index] =
        platform::VarArrayOf({Variant(LibStrs::kRangeMark), Variant(panel->edBegin()->Text()),
                              Variant(panel->edFinal()->Text())});
    return;
  }
  values[index] = ListValue(panel->Items(), [](const std::string& caption) { return caption; });
}

void TfrmBaseGene::PanelValueStripped(TSelectPanel* panel, Variant& values,
                                      const std::string& strip, int index) {
  auto maskOf = [panel](const vcl::TCustomMaskEdit* edit) {
    if (!panel->EditMask().empty()) return panel->EditMask();
    return edit->IsMasked() ? edit->EditMask() : std::string();
  };
  auto cleaner = [&strip](const std::string& mask) {
    return [mask, &strip](const std::string& text) {
      return mask.empty() ? LibStrs::ReplaceAll(text, strip, "", true)
                          : LibStrs::StripMask(text, mask);
    };
  };
  if (InRangeMode(panel)) {
    const std::string begin = cleaner(maskOf(panel->edBegin()))(panel->edBegin()->Text());
    const std::string end = cleaner(maskOf(panel->edFinal()))(panel->edFinal()->Text());
    values[index] =
        platform::VarArrayOf({Variant(LibStrs::kRangeMark), Variant(begin), Variant(end)});
    return;
  }
  // List captions are cleaned with the begin edit's mask made to keep its
  // literals, as a list row is shown.
  std::string mask = maskOf(panel->edBegin());
  if (const size_t at = mask.find(";0;"); at != std::string::npos) mask.replace(at, 3, ";1;");
  values[index] = ListValue(panel->Items(), cleaner(mask));
}

// ---------------------------------------------------------------------------
// The scheme value text.

bool TfrmBaseGene::IsDateField(const std::string& name) const {
  std::string rest = DateFields;
  while (!rest.empty()) {
    std::string item;
    LibStrs::SplitFirst(rest, ",", item);
    if (platform::SameText(platform::Trim(item), name)) return true;
  }
  return false;
}

std::string TfrmBaseGene::SchemeDateValue(vcl::TComponent* component, const std::string& text) {
  const std::string* rule = nullptr;
  std::string found;
  for (int i = 0; i < SchemeDateRules->Count() && !rule; ++i) {
    found = SchemeDateRules->Get(i);
    if (platform::SameText(Field(found, 2), component->Name())) rule = &found;
  }
  if (!rule) return "";

  if (Field(*rule, 1) != "0") {
    std::string value = ToStorageDate(text);
    if (Field(*rule, 3) == "Y" && !AllZero(Field(*rule, 4), Field(*rule, 6), Field(*rule, 7)))
      value = ShiftDate(value, Field(*rule, 4), Field(*rule, 5), Field(*rule, 7), Field(*rule, 6));
    return value;
  }
  auto* panel = dynamic_cast<TSelectPanel*>(component);
  std::string from = panel ? ToStorageDate(panel->edBegin()->Text()) : "";
  std::string to = panel ? ToStorageDate(panel->edFinal()->Text()) : "";
  if (Field(*rule, 3) == "Y" && !from.empty() &&
      !AllZero(Field(*rule, 4), Field(*rule, 6), Field(*rule, 7)))
    from = ShiftDate(from, Field(*rule, 4), Field(*rule, 5), Field(*rule, 7), Field(*rule, 6));
  if (Field(*rule, 8) == "Y" && !to.empty() &&
      !AllZero(Field(*rule, 9), Field(*rule, 11), Field(*rule, 12)))
    to = ShiftDate(to, Field(*rule, 9), Field(*rule, 10), Field(*rule, 12), Field(*rule, 11));
  return from + kEtx + to;
}

std::string TfrmBaseGene::SchemeValueText(const std::string& properties) {
  std::string text;
  std::string rest = properties;
  while (!rest.empty()) {
    std::string name, property;
    std::string line;
    vcl::TComponent* c = NextItem(rest, name, property) ? FindComponent(name) : nullptr;
    if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
      line = LibRTTI::HasProperty(panel, property)
                 ? platform::VarToStr(vcl::GetPropValue(panel, property))
                 : std::string();
      switch (panel->Style()) {
        case SelectPnl::sp_Range:
          line += kEtx;
          line += IsDateField(panel->Name())
                      ? SchemeDateValue(panel, "")
                      : panel->edBegin()->Text() + kEtx + panel->edFinal()->Text();
          break;
        case SelectPnl::sp_Discrete:
          line += kEtx + ListText(panel);
          break;
        case SelectPnl::sp_UserChoice:
          line += kEtx + std::string(panel->UserChoice() ? "True" : "False") + kEtx;
          line += panel->UserChoice() ? panel->edBegin()->Text() + kEtx + panel->edFinal()->Text()
                                      : ListText(panel);
          break;
      }
    } else if (c && LibRTTI::HasProperty(c, property)) {
      switch (vcl::PropType(c, property)) {
        case vcl::TTypeKind::tkString: {
          const std::string value = vcl::GetStrProp(c, property);
          line = IsDateField(c->Name()) ? SchemeDateValue(c, value) : value;
          break;
        }
        case vcl::TTypeKind::tkInteger:
        case vcl::TTypeKind::tkChar:
          line = std::to_string(vcl::GetOrdProp(c, property));
          break;
        case vcl::TTypeKind::tkEnumeration:
          line = vcl::GetEnumProp(c, property);
          break;
        case vcl::TTypeKind::tkFloat:
          line = FloatText(vcl::GetFloatProp(c, property));
          break;
        default:
          break;
      }
    } else if (auto* combo = dynamic_cast<vcl::TCustomComboBox*>(c)) {
      line = std::to_string(combo->ItemIndex());
    }
    text += line + kLineEnd;
  }
  return text;
}

bool TfrmBaseGene::RestoreScheme(const std::string& properties, const std::string& values) {
  std::string rest = properties;
  std::string lines = values;
  try {
    while (!rest.empty()) {
      std::string name, property, line;
      const bool valid = NextItem(rest, name, property);
      LibStrs::SplitFirst(lines, kLineEnd, line);
      vcl::TComponent* c = valid ? FindComponent(name) : nullptr;
      if (!c) continue;
      BeforeRestoreValue(c, line);

      if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
        const std::string kind = Field(line, 1);
        if (kind == "sp_Range") {
          std::string from = Field(line, 2), to = Field(line, 3);
          if (IsDateField(panel->Name())) {
            panel->SetEditMask(DateMask());
            from =
                LibStrs::DateToDisplay(DateFormatKind(), DateSeparator(), LibStrs::YmdToDate(from));
            to = LibStrs::DateToDisplay(DateFormatKind(), DateSeparator(), LibStrs::YmdToDate(to));
          }
          panel->edBegin()->SetText(from);
          panel->edFinal()->SetText(to);
        } else if (kind == "sp_Discrete") {
          FillListFromText(panel, Field(line, 2));
        } else if (kind == "sp_UserChoice") {
          const int choice = vcl::BooleanInfo.ValueOf(Field(line, 2));
          if (choice < 0) throw platform::EConvertError("Invalid choice " + Field(line, 2));
          panel->SetUserChoice(choice == 1);
          if (Field(line, 2) != "True") {
            FillListFromText(panel, Field(line, 3));
          } else {
            panel->edBegin()->SetText(Field(line, 3));
            panel->edFinal()->SetText(Field(line, 4));
          }
        }
        continue;
      }

      if (LibRTTI::HasProperty(c, property)) {
        switch (vcl::PropType(c, property)) {
          case vcl::TTypeKind::tkInteger:
          case vcl::TTypeKind::tkChar:
            vcl::SetOrdProp(c, property, ReadInteger(line));
            break;
          case vcl::TTypeKind::tkEnumeration:
            vcl::SetEnumProp(c, property, line);
            break;
          case vcl::TTypeKind::tkFloat:
            vcl::SetFloatProp(c, property, ReadFloatText(line));
            break;
          case vcl::TTypeKind::tkString:
            if (IsDateField(c->Name())) {
              if (LibRTTI::HasProperty(c, "EditMask")) vcl::SetStrProp(c, "EditMask", DateMask());
              vcl::SetStrProp(c, property,
                              LibStrs::DateToDisplay(DateFormatKind(), DateSeparator(),
                                                     LibStrs::YmdToDate(line)));
            } else {
              vcl::SetStrProp(c, property, line);
            }
            break;
          default:
            // A property without a text form ends the restore.
            return true;
        }
      } else if (auto* combo = dynamic_cast<vcl::TCustomComboBox*>(c)) {
        combo->SetItemIndex(static_cast<int>(ReadInteger(line)));
      }
      AfterRestoreValue(c, line);
    }
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

}  // namespace BaseGene
