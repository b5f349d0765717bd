// The generic window's link to the outside world: the host services, the
// system settings, the application server, coded messages and their trail,
// validations, lookups, the date picker, counters, rights, help and the
// local run of the report's server module.

#include "framework/BaseGeneU.h"

#include <elf.h>
#include <sys/stat.h>

#include <QWidget>
#include <ctime>
#include <fstream>
#include <iterator>

#include "framework/BaseGene.h"
#include "framework/Internal.h"
#include "framework/ModuleProperties.h"
#include "outside/AppServer.h"
#include "outside/HostServices.h"
#include "outside/ServerModule.h"
#include "platform/core/CodePage.h"
#include "platform/core/Format.h"
#include "platform/core/SysUtils.h"
#include "platform/remote/SocketConnection.h"
#include "runtime/BrantorINI.h"
#include "runtime/CodeConverter.h"
#include "runtime/LibRTTI.h"
#include "runtime/LibStrs.h"

namespace BaseGeneU {

using platform::Variant;

std::string ProgramCodeOf(std::string_view moduleFileName) {
  const std::string file = platform::ExtractFileName(moduleFileName);
  const std::string ext = platform::ExtractFileExt(file);
  const int64_t cut = platform::SameText(ext, ".Dll") ? 1 : 2;
  const int64_t n = static_cast<int64_t>(file.size()) - static_cast<int64_t>(ext.size()) - cut;
  return platform::UpperCase(platform::Copy(file, 1, std::max<int64_t>(n, 6)));
}

SelectPnl::TDateType PanelDateType(int kind) {
  switch (kind) {
    case 1:
      return SelectPnl::dt_YYYYMMDD;
    case 2:
      return SelectPnl::dt_MMDDYYYY;
    case 3:
      return SelectPnl::dt_DDMMYYYY;
    case 4:
      return SelectPnl::dt_YYMMDD;
    case 5:
      return SelectPnl::dt_YYYMMDD;
    default:
      return SelectPnl::dt_NoneCare;
  }
}

TMessageCode ParseMessageCode(std::string_view code) {
  TMessageCode m;
  std::string rest(code);
  LibStrs::SplitFirst(rest, ";", m.Type);
  LibStrs::SplitFirst(rest, ";", m.Number);
  // The remaining fields are the arguments; an empty remainder has none.
  for (size_t i = 0; i < m.Args.size() && !rest.empty(); ++i)
    LibStrs::SplitFirst(rest, ";", m.Args[i]);
  m.Shown = platform::StrToIntDef(m.Number, 0) > 0;
  if (!m.Shown) m.Number = platform::Copy(m.Number, 2, static_cast<int64_t>(m.Number.size()));
  return m;
}

std::string FormatMessageText(const std::string& text, const std::vector<std::string>& args) {
  std::vector<platform::FormatArg> formatArgs(args.begin(), args.end());
  try {
    return platform::Format(text, formatArgs);
  } catch (const platform::Exception&) {
    std::string plain = text + "\r";
    for (const std::string& arg : args) plain += arg + ";";
    return plain;
  }
}

vcl::TMsgDlgType DialogTypeOf(std::string_view type) {
  if (type == "C" || type == "D" || type == "W") return vcl::mtWarning;
  if (type == "E") return vcl::mtError;
  if (type == "I") return vcl::mtInformation;
  if (type == "Q") return vcl::mtConfirmation;
  return vcl::mtCustom;
}

vcl::TMsgDlgButtons DefaultButtonsOf(std::string_view type) {
  if (type == "C" || type == "W" || type == "Q") return vcl::mbOKCancel;
  if (type == "D") return vcl::mbYesNoCancel;
  return vcl::MsgDlgButtons({vcl::mbOK});
}

std::optional<std::string> HelpNumber(std::string_view programCode) {
  const std::string p(programCode);
  const std::string c = platform::UpperCase(platform::Copy(p, 4, 1));
  if (c.empty()) return std::nullopt;
  std::string d, x;
  if (c == "A" || c == "M") {
    d = c == "A" ? "6" : "8";
    x = platform::UpperCase(platform::Copy(p, 5, 1));
  } else {
    d = "1";
    x = c;
  }
  if (x == "B") {
    d += "3";
  } else if (x == "R") {
    d += "2";
  } else {
    return std::nullopt;
  }
  return d + platform::Copy(p, static_cast<int64_t>(p.size()) - 1, 2) + "0000";
}

std::string RightsText(const Variant& answer) {
  return LibStrs::GetField(platform::VarToStr(answer[1]), ",", 4);
}

bool RightsFlag(std::string_view rightsText, int position) {
  return platform::Copy(rightsText, position, 1) != "N";
}

std::optional<std::string> DefaultClassCaption(std::string_view name, std::string_view uiCodePage) {
  static const char* const kChinese[] = {"商品分类方式一", "商品分类方式二", "商品分类方式三",
                                         "商品分类方式四"};
  static const char* const kEnglish[] = {"Inv.Cate.1", "Inv.Cate.2", "Inv.Cate.3", "Inv.Cate.4"};
  static const char* const kNames[] = {"SYS007", "SYS008", "SYS009", "SYS010"};
  const std::string upper = platform::UpperCase(name);
  for (int i = 0; i < 4; ++i)
    if (upper == kNames[i]) return uiCodePage == "437" ? kEnglish[i] : kChinese[i];
  return std::nullopt;
}

std::string PanelRowText(const Variant& row, std::string_view separator) {
  // A row that is a single value or has fewer than two columns shows empty
  // columns where it has none.
  auto column = [&row](int n) -> std::string {
    if (!row.IsArray()) return n == 0 ? platform::VarToStr(row) : "";
    const int32_t at = row.LowBound() + n;
    return at <= row.HighBound() ? platform::VarToStr(row[at]) : "";
  };
  return LibStrs::PadRight(column(0), {4}) + std::string(separator) +
         LibStrs::PadRight(column(1), {11});
}

namespace {
std::optional<std::string>& OSVersionOverride() {
  static std::optional<std::string> text;
  return text;
}
}  // namespace

std::string OSVersionText() {
  return OSVersionOverride() ? *OSVersionOverride() : platform::OSVersionNumbers();
}

void OverrideOSVersionText(std::optional<std::string> text) {
  OSVersionOverride() = std::move(text);
}

// ---------------------------------------------------------------------------
// The module file's properties.

std::string TModuleFileInfo::Version(std::string_view name) const {
  for (const auto& [key, value] : Versions)
    if (platform::SameText(key, name)) return value;
  return "";
}

namespace {

std::string LocalTimeText(time_t seconds) {
  tm local{};
  localtime_r(&seconds, &local);
  platform::DateTime moment{};
  platform::DateTime date{}, time{};
  if (!platform::TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date) ||
      !platform::TryEncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), 0, time))
    return "";
  moment = platform::ComposeDateTime(date, time);
  return platform::FormatDateTime("yyyy/mm/dd hh:nn:ss", moment);
}

// The Name=Value entries of the version note (owner "VRK", type 1) of a
// 64-bit ELF file; empty for any other file.
std::vector<std::pair<std::string, std::string>> ReadVersionNote(const std::string& bytes) {
  std::vector<std::pair<std::string, std::string>> entries;
  if (bytes.size() < sizeof(Elf64_Ehdr) || bytes.compare(0, 4, ELFMAG) != 0 ||
      static_cast<unsigned char>(bytes[EI_CLASS]) != ELFCLASS64)
    return entries;
  Elf64_Ehdr header;
  std::copy_n(bytes.data(), sizeof header, reinterpret_cast<char*>(&header));
  for (unsigned i = 0; i < header.e_shnum; ++i) {
    const uint64_t at = header.e_shoff + static_cast<uint64_t>(i) * header.e_shentsize;
    if (at + sizeof(Elf64_Shdr) > bytes.size()) break;
    Elf64_Shdr section;
    std::copy_n(bytes.data() + at, sizeof section, reinterpret_cast<char*>(&section));
    if (section.sh_type != SHT_NOTE || section.sh_offset + section.sh_size > bytes.size()) continue;
    uint64_t pos = section.sh_offset;
    const uint64_t end = section.sh_offset + section.sh_size;
    auto align4 = [](uint64_t n) { return (n + 3) & ~uint64_t{3}; };
    while (pos + sizeof(Elf64_Nhdr) <= end) {
      Elf64_Nhdr note;
      std::copy_n(bytes.data() + pos, sizeof note, reinterpret_cast<char*>(&note));
      const uint64_t nameAt = pos + sizeof note;
      const uint64_t descAt = nameAt + align4(note.n_namesz);
      if (descAt + note.n_descsz > end) break;
      const std::string owner(bytes.data() + nameAt, note.n_namesz ? note.n_namesz - 1 : 0);
      if (owner == "VRK" && note.n_type == 1) {
        const std::string desc(bytes.data() + descAt, note.n_descsz);
        size_t start = 0;
        while (start < desc.size()) {
          size_t stop = desc.find('\0', start);
          if (stop == std::string::npos) stop = desc.size();
          const std::string entry = desc.substr(start, stop - start);
          const size_t eq = entry.find('=');
          if (eq != std::string::npos)
            entries.emplace_back(entry.substr(0, eq), entry.substr(eq + 1));
          start = stop + 1;
        }
        return entries;
      }
      pos = descAt + align4(note.n_descsz);
    }
  }
  return entries;
}

}  // namespace

TModuleFileInfo ReadModuleFileInfo(const std::string& path) {
  TModuleFileInfo info;
  info.FileName = path;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return info;
  info.Exists = true;
  info.Size = static_cast<int64_t>(st.st_size);
  info.Modified = LocalTimeText(st.st_mtime);
  info.Accessed = LocalTimeText(st.st_atime);
  info.Changed = LocalTimeText(st.st_ctime);
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  info.Versions = ReadVersionNote(bytes);
  return info;
}

}  // namespace BaseGeneU

// ===========================================================================

namespace BaseGene {

using platform::Variant;

namespace Internal {

intptr_t WindowHandleOf(const Variant& value) {
  if (value.IsEmpty() || value.IsNull()) return 0;
  if (value.Type() == platform::VarType::Double || value.Type() == platform::VarType::Currency)
    return static_cast<intptr_t>(value.AsDouble());
  return value.AsInteger();
}

void RepaintHostWindow(intptr_t handle) {
  if (QWidget* window = QWidget::find(static_cast<WId>(handle))) window->repaint();
}

bool IsBlankText(vcl::TComponent* component) {
  if (!LibRTTI::HasProperty(component, "Text")) return false;
  const std::string text = LibRTTI::GetTextProp(component, "Text");
  std::string blank;
  if (LibRTTI::HasProperty(component, "EditMask")) {
    const std::string mask = LibRTTI::GetTextProp(component, "EditMask");
    // What the edit shows for an empty value while its mask keeps literals:
    // the blank edit text, read back as the value.
    if (LibStrs::GetField(mask, ";", 2) == "1") {
      const vcl::TEditMaskRules rules(mask);
      blank = rules.Unformat(rules.BlankEditText());
    }
  }
  return platform::Trim(text) == platform::Trim(blank);
}

bool UpdateFile(const std::string&, const std::string&, std::string& errorText, bool) {
  errorText.clear();
  return true;
}

}  // namespace Internal

// ---------------------------------------------------------------------------
// Host services and settings.

void TfrmBaseGene::CreateHostServices() {
  if (standAlone_) {
    try {
      HostObject = Outside::CreateHostObject();
    } catch (const std::exception&) {
      HostObject = Variant();
    }
  }
  try {
    CounterService = Outside::ComCounter(HostObject);
    GetSysSetting("");
    CaptionNote = GetSysSetting("VRK002");
  } catch (const std::exception&) {
    CounterService = Variant();
  }
  try {
    ValidatorService = Outside::ComValidator(HostObject);
  } catch (const std::exception&) {
    ValidatorService = Variant();
  }
}

void TfrmBaseGene::CreateLookupWindow() {
  if ((ServiceFlags & 4) == 0) return;
  try {
    LookupService = Outside::ComF2Window(HostObject);
  } catch (const std::exception&) {
    LookupService = Variant();
  }
}

std::string TfrmBaseGene::GetSysSetting(const std::string& name) {
  if (name.empty()) {
    if (CounterService.IsEmpty()) return "";
    const Variant a = Outside::GetSysInfo(CounterService, CompanyID);
    for (int32_t i = a.LowBound(2); i <= a.HighBound(2); ++i)
      SysSettings->SetValue(platform::VarToStr(a.At(a.LowBound(1), i)),
                            platform::VarToStr(a.At(a.LowBound(1) + 1, i)));
    return "";
  }
  std::string value;
  try {
    value = SysSettings->Values(name);
  } catch (const std::exception&) {
    value.clear();
  }
#if !VK_COMPAT_BUILD
  if (value.empty())
    if (auto caption = BaseGeneU::DefaultClassCaption(name, UICodePage())) return *caption;
#endif
  return Converted ? VkConverter()->DataToUI(Variant(value)).AsString() : value;
}

int TfrmBaseGene::DateFormatKind() { return platform::StrToIntDef(GetSysSetting("Sys001"), 1); }

std::string TfrmBaseGene::DateSeparator() {
  const std::string separator = GetSysSetting("Sys002");
  return separator.empty() ? "/" : separator;
}

void TfrmBaseGene::LookupProgramName() {
  ProgramName.clear();
  Variant row;
  if (QueryTable("ADMMB", "01", false, row, platform::VarArrayOf({Variant(ProgramCode)}))) {
    try {
      ProgramName = platform::VarToStr(row[0]);
      wantLog_ = platform::VarToStr(row[4]) == "Y";
      if (row.HighBound() >= 7 && UICodePage() == "437") ProgramName = platform::VarToStr(row[7]);
    } catch (const std::exception&) {
      ProgramName = ProgramCode;
      wantLog_ = false;
    }
  }
  CaptionTitle = ProgramName;
}

// ---------------------------------------------------------------------------
// The application server.

bool TfrmBaseGene::ConfigureConnection() {
  try {
    MainMidas->SetConnected(false);
    const BrantorINI::TBrantorIniC settings;
    if (!MessageCodes.empty()) {
      ShowMessageCode(MessageCodes);
      return false;
    }
    const Variant& servers = settings.Servers;
    if (servers.IsArray()) {
      MainMidas->SetAddress(platform::VarToStr(servers.At(0, servers.LowBound(2))));
      MainMidas->SetObjectBroker(nullptr);
      MainMidas->SetPort(servers.At(1, servers.LowBound(2)).AsInteger());
    }
    return true;
  } catch (const std::exception& e) {
    RecordError(e.what());
    return false;
  }
}

bool TfrmBaseGene::OpenAppServer() {
  try {
    AppServer = Variant();
    if (MainMidas->Connected()) MainMidas->SetConnected(false);
    LocalServer = LibStrs::IsLocalHostAddress(MainMidas->Address());
    if (LocalServer) {
      const Variant server = Outside::CreateServerObject(MainMidas->ServerName());
      MainMidas->SetAppServer(server);
      AppServer = server;
    } else {
      MainMidas->SetAppServer(Variant());
      MainMidas->SetConnected(true);
      if (MainMidas->Connected()) AppServer = MainMidas->AppServer();
    }
    return true;
  } catch (const std::exception& e) {
    RecordError(e.what());
    return false;
  }
}

// ---------------------------------------------------------------------------
// Messages.

std::string TfrmBaseGene::GetMessageText(const std::string& type, const std::string& number) {
  const std::string fallback =
      platform::Format("Can not Get Message\rType= %s, ID= %s ", {type, number});
  std::string text = fallback;
  if (!LibStrs::IsEmptyOrNull(HostObject)) {
    try {
      text = platform::VarToStr(Outside::GetMessage(HostObject, type, number));
    } catch (const std::exception&) {
      text = fallback;
    }
  }
  return VkConverter()->DataToUI(Variant(text)).AsString();
}

void TfrmBaseGene::ShowMessageCode(const std::string& codeText) {
  // A copy: the caller may hand in the trail itself, which grows below.
  const std::string code = codeText;
  if (LeavingByCancel()) return;
  if (code.empty()) {
    MessageCodes.clear();
    MessageTexts.clear();
    return;
  }
  MessageCodes += code + "; ";
  const BaseGeneU::TMessageCode m = BaseGeneU::ParseMessageCode(code);
  const std::string text = BaseGeneU::FormatMessageText(
      GetMessageText(m.Type, m.Number), std::vector<std::string>(m.Args.begin(), m.Args.end()));
  if (platform::Pos(text, MessageTexts) == 0) MessageTexts += text + "; ";
  if (m.Shown) MessageBox(text, BaseGeneU::DialogTypeOf(m.Type), vcl::MsgDlgButtons({vcl::mbOK}));
}

void TfrmBaseGene::RecordError(const std::string& text) {
  if (LeavingByCancel()) return;
  const std::string trimmed = platform::Trim(text);
  if (trimmed.empty()) {
    MessageCodes.clear();
    MessageTexts.clear();
    return;
  }
  MessageCodes += "E;-1; ";
  if (platform::Pos(trimmed, MessageTexts) == 0) MessageTexts += trimmed + "; ";
}

int TfrmBaseGene::ShowMessage(const std::string& type, const std::string& number,
                              vcl::TMsgDlgButtons buttons, const std::vector<std::string>& args) {
  const std::string text = BaseGeneU::FormatMessageText(GetMessageText(type, number), args);
  return MessageBox(text, BaseGeneU::DialogTypeOf(type),
                    buttons != 0 ? buttons : BaseGeneU::DefaultButtonsOf(type));
}

int TfrmBaseGene::MessageBox(const std::string& text, vcl::TMsgDlgType dialogType,
                             vcl::TMsgDlgButtons buttons) {
  if (QuietMessages && dialogType != vcl::mtError) return 0;
  vcl::TMessageForm* dialog = vcl::CreateMessageDialog(text, dialogType, buttons);
  int result = vcl::mrNone;
  try {
    dialog->SetCaption(Caption());
    if (UICodePage() != "437") {
      for (int i = 0; i < dialog->ComponentCount(); ++i)
        if (auto* button = dynamic_cast<vcl::TButton*>(dialog->Components(i)))
          button->SetCaption(VkConverter()
                                 ->TextToUI(Variant(LibStrs::MsgButtonCaption(button->Name())))
                                 .AsString());
    }
    CodeConverter::SetFontForKind(UIConvertKind(), dialog->Font());
    result = dialog->ShowModal();
  } catch (...) {
    dialog->Free();
    throw;
  }
  dialog->Free();
  if (Disposed()) return result;
  if (vcl::TWinControl* active = ActiveControl()) vcl::PostMessage(active, vcl::WM_LBUTTONUP, 0, 0);
  if (dialogType == vcl::mtError && vcl::IsLiveComponent(FocusBack) && FocusBack->CanFocus())
    FocusBack->SetFocus();
  return result;
}

// ---------------------------------------------------------------------------
// Validation and lookups.

bool TfrmBaseGene::QueryTable(const std::string& table, const std::string& kind, bool useQuery,
                              Variant& result, const Variant& key) {
  const Variant dataKey = VkConverter()->UIToData(key);
  if (ValidatorService.IsEmpty()) return false;
  try {
    Outside::SetBaseLimited(ValidatorService, Variant(BaseLimited));
  } catch (const std::exception&) {
    // The limits are advice to the service; a service without them still checks.
  }
  bool ok = false;
  try {
    ok = useQuery ? Outside::QueryData(ValidatorService, table, kind, DbName, dataKey, result)
                  : Outside::CheckValue(ValidatorService, table, kind, DbName, dataKey, result);
  } catch (const std::exception&) {
    return false;
  }
  if (Converted) result = VkConverter()->DataToUI(result);
  return ok;
}

bool TfrmBaseGene::ValidateValue(const std::string& table, const std::string& kind,
                                 const std::string& severity, int index, Variant& result,
                                 const Variant& key) {
  if (LeavingByCancel()) return true;
  if (LibStrs::IsEmptyOrNull(key)) {
    result = Variant();
    ShowMessageCode("");
    return true;
  }
  Variant answer;
  if (!QueryTable(table, kind, index == -2, answer, key)) {
    std::string code;
    if (severity == "E") code = "E;000001;" + GetMessageText("I", "000008");
    if (severity == "W") code = "W;000004;" + GetMessageText("I", "000008");
    ShowMessageCode(code);
    return false;
  }
  result = Variant();
  if (!LibStrs::IsEmptyOrNull(answer)) {
    const bool inside =
        answer.IsArray() && index >= answer.LowBound() && index <= answer.HighBound();
    result = inside ? answer[index] : answer;
  }
  ShowMessageCode("");
  return true;
}

void TfrmBaseGene::OpenLookup(const std::string& table, const std::string& kind, Variant& result,
                              bool multi, const std::string& text, const Variant& key) {
  if (LibStrs::IsEmptyOrNull(LookupService)) {
    result = Variant();
    return;
  }
#if VK_COMPAT_BUILD
  Variant a = platform::VarArrayCreate({{0, 16}});
#else
  Variant a = platform::VarArrayCreate({{0, 18}});
#endif
  a[0] = Variant(table);
  a[1] = Variant(kind);
  a[2] = VkConverter()->UIToData(key);
  a[3] = Variant(multi);
  a[4] = VkConverter()->UIToData(Variant(text));
  a[5] = Variant(CompanyID);
  a[6] = Variant(DbName);
  a[7] = Variant(static_cast<int32_t>(Handle()->winId()));
  a[8] = Variant(int32_t{1});
  a[9] = Variant(false);
  a[10] = Variant(int32_t{0});  // reserved for the lookup service
  a[11] = a[12] = a[13] = Variant("");
  a[14] = Variant(BaseLimited);
  a[15] = Variant(RightsFlag8);
  a[16] = Variant(RightsFlag7);
#if !VK_COMPAT_BUILD
  a[17] = HostObject;
  a[18] = Variant(UserID);
#endif
  try {
    result = Outside::F2GetData(LookupService, a);
  } catch (const std::exception&) {
    // A lookup window that fails has chosen nothing.
    result = Variant();
    return;
  }
  if (Converted) result = VkConverter()->DataToUI(result);
}

namespace {

// The elements of a looked-up row, as texts, at most four unless all.
std::vector<std::string> RowTexts(const Variant& row, bool allColumns) {
  std::vector<std::string> texts;
  if (!row.IsArray()) {
    texts.push_back(platform::VarToStr(row));
    return texts;
  }
  for (int32_t i = row.LowBound(); i <= row.HighBound(); ++i) {
    if (!allColumns && texts.size() == 4) break;
    texts.push_back(platform::VarToStr(row[i]));
  }
  return texts;
}

std::string Joined(const std::vector<std::string>& texts, const std::string& separator) {
  std::string joined;
  for (size_t i = 0; i < texts.size(); ++i) joined += (i ? separator : "") + texts[i];
  return joined;
}

}  // namespace

void TfrmBaseGene::LookupIntoPanel(vcl::TWinControl* control, const std::string& table,
                                   const std::string& kind, bool allColumns,
                                   const std::string& text, const Variant& key) {
  auto* panel = control ? dynamic_cast<SelectPnl::TSelectPanel*>(control->Owner()) : nullptr;
  if (!panel) {
    std::string message;
    GetLangMessage("TfrmBaseGene", "sBBM", message, false,
                   "同学, 你吗帮帮忙, 这个 Procedure 是专门给TSelectPanel元件用的!");
    MessageBox(message, vcl::mtError, vcl::MsgDlgButtons({vcl::mbOK}));
    return;
  }
  Variant rows;
  if (control == panel->ListBox()) {
    OpenLookup(table, kind, rows, true, text, key);
    if (!rows.IsArray()) return;
    for (int32_t i = rows.LowBound(); i <= rows.HighBound(); ++i) {
      const std::vector<std::string> columns = RowTexts(rows[i], allColumns);
      if (panel->UseDiscard()) {
        panel->ListBox()->AddRow({Joined(columns, panel->Discard())});
      } else {
        panel->ListBox()->AddRow(columns);
      }
    }
    return;
  }
  OpenLookup(table, kind, rows, false, text, key);
  // Nothing chosen (no answer, or an answer without rows): the text stays.
  if (LibStrs::IsEmptyOrNull(rows) || (rows.IsArray() && rows.HighBound() < rows.LowBound()))
    return;
  if (panel->UseDiscard()) {
    // The answer's own elements; rows of columns give the first row's.
    const Variant& elements =
        rows.IsArray() && rows.HighBound() >= rows.LowBound() && rows[rows.LowBound()].IsArray()
            ? rows[rows.LowBound()]
            : rows;
    control->SetText(Joined(RowTexts(elements, allColumns), panel->Discard()));
  } else if (rows.IsArray()) {
    const Variant& first = rows[rows.LowBound()];
    control->SetText(platform::VarToStr(first.IsArray() ? first[first.LowBound()] : first));
  } else {
    control->SetText(platform::VarToStr(rows));
  }
}

void TfrmBaseGene::FillPanelFromRows(vcl::TWinControl* control, const Variant& rows,
                                     const std::string& separator) {
  auto* panel = control ? dynamic_cast<SelectPnl::TSelectPanel*>(control->Owner()) : nullptr;
  if (!panel || !rows.IsArray() || rows.HighBound() < rows.LowBound()) return;
  if (panel->UserChoice()) {
    const Variant& first = rows[rows.LowBound()];
    if (first.IsArray()) control->SetText(BaseGeneU::PanelRowText(first, separator));
    return;
  }
  for (int32_t i = rows.LowBound(); i <= rows.HighBound(); ++i)
    panel->ListBox()->AddRow({BaseGeneU::PanelRowText(rows[i], separator)});
}

std::string TfrmBaseGene::PickDate(const std::string& text) {
  // Without a picker the date the user had stays: every caller puts the
  // answer in place of the field's text.
  if (LibStrs::IsEmptyOrNull(LookupService)) return text;
  const std::string start =
      text.size() == 8 ? text : platform::FormatDateTime("yyyymmdd", platform::Date());
  const int kind = DateFormatKind();
  std::string answer;
  try {
    answer = platform::Trim(
        platform::VarToStr(Outside::ShowInputDay(LookupService, kind > 3, start, DbName)));
  } catch (const std::exception&) {
    answer.clear();
  }
  if (answer.empty()) return text;
  return LibStrs::DateToDisplay(kind, DateSeparator(), LibStrs::YmdToDate(answer));
}

void TfrmBaseGene::GetCounter(const std::string& name, const Variant& value, Variant& result) {
  result = Variant();
  if (CounterService.IsEmpty()) return;
  try {
    result =
        Outside::GetCounter(CounterService, platform::UpperCase(name), value, CompanyID, DbName);
  } catch (const std::exception&) {
    // A failed call answers nothing; the caller keeps what it had.
    result = Variant();
    return;
  }
  if (Converted) result = VkConverter()->DataToUI(result);
}

void TfrmBaseGene::ApplyRights(const Variant& answer) {
  const std::string rights = BaseGeneU::RightsText(answer);
  RightsFlag7 = BaseGeneU::RightsFlag(rights, 7);
  RightsFlag8 = BaseGeneU::RightsFlag(rights, 8);
  BaseLimited =
      platform::AnsiToWide(LibStrs::JoinCounted(platform::VarToStr(answer[4]), answer[5]));
  AfterRights();
}

void TfrmBaseGene::ShowProgramHelp() {
  const std::optional<std::string> number = BaseGeneU::HelpNumber(ProgramCode);
  if (!number) return;
  try {
    Outside::CallHelp(HostObject, platform::Copy(ProgramCode, 1, 3), *number);
  } catch (const std::exception& e) {
    RecordError(e.what());
  }
}

void TfrmBaseGene::ShowModuleProperties() {
  TfrmModuleProperties* dialog = vcl::Create<TfrmModuleProperties>(nullptr);
  try {
    dialog->ShowFile(BaseGeneU::ReadModuleFileInfo(ModuleFileName));
    dialog->ShowModal();
  } catch (...) {
    dialog->Free();
    throw;
  }
  dialog->Free();
}

// ---------------------------------------------------------------------------
// Local generation.

bool TfrmBaseGene::GenerateLocally(const std::string& jobId, const std::string& programCode,
                                   const std::string& jobKey, int count, const Variant& values,
                                   const std::string& dbName, const std::string& kind,
                                   const std::string&, const std::string& userID,
                                   const std::string& companyID, const std::string& dataType) {
  vcl::Application->ProcessMessages();
  bool result = false;
  try {
    const BrantorINI::TBrantorIniS settings;
    const platform::StringList& folders = settings.WorkDLLPaths;
    if (folders.Count() == 0) return false;

    const std::string fileName = programCode + "S.DLL";
    auto fileInfo = [&]() -> std::string {
      try {
        return platform::VarToStr(Outside::GetFileList(HostObject, platform::LowerCase(fileName)));
      } catch (const std::exception&) {
        return "";
      }
    };
    std::string path, errorText, packageFolder;
    for (int i = 0; i < folders.Count() && path.empty(); ++i) {
      const std::string folder = platform::IncludeTrailingPathDelimiter(folders[i]);
      if (packageFolder.empty() && platform::Pos("S_PKG", platform::UpperCase(folder)) > 0)
        packageFolder = folder;
      if (platform::FileExists(folder + fileName) &&
          Internal::UpdateFile(fileInfo(), folder + fileName, errorText, true))
        path = folder + fileName;
    }
    if (path.empty()) {
      const std::string folder = packageFolder.empty()
                                     ? platform::IncludeTrailingPathDelimiter(folders[0])
                                     : packageFolder;
      if (!Internal::UpdateFile(fileInfo(), folder + fileName, errorText, true)) return false;
      path = folder + fileName;
    }

    std::unique_ptr<Outside::TServerModule> module = Outside::TServerModule::Load(path);
    if (!module || !module->HasController()) return false;
    {
      Variant controller = module->NewController();
      Variant args;
      if (platform::UpperCase(kind) == "B") {
        args = platform::VarArrayOf({Variant(jobId), Variant(companyID), Variant(userID), values,
                                     Variant(dbName), Variant(jobKey),
                                     Variant(int32_t{0})});  // reserved for the module
      } else {
        args = platform::VarArrayOf(
            {Variant(jobId), Variant(dataType), Variant(companyID), Variant(userID),
             Variant(dbName), values, Variant(int32_t{count}), Variant(platform::UpperCase(kind)),
             Variant(jobKey), Variant(int32_t{0}),  // reserved for the module
             Variant(int32_t{GenerateData ? 1 : 0}), Variant(UICodePage())});
      }
      try {
        Outside::RunServerController(controller, args);
        result = true;
      } catch (const std::exception& e) {
        RecordError(e.what());
        result = false;
      }
      std::string message;
      try {
        message = Outside::ServerControllerMessage(controller);
      } catch (const std::exception&) {
        message.clear();
      }
      // An empty message clears the trail after a good run; after a failed
      // one the trail keeps the reason, which the caller shows.
      if (result || !platform::Trim(message).empty()) RecordError(message);
    }
    if (BaseGeneU::OSVersionText() == BaseGeneU::kKeepModuleVersion) module->KeepLoaded();
  } catch (const std::exception& e) {
    RecordError(e.what());
    result = false;
  }
  vcl::Application->ProcessMessages();
  return result;
}

}  // namespace BaseGene
