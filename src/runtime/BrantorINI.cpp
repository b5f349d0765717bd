#include "runtime/BrantorINI.h"

#include <cstdint>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/Exception.h"
#include "platform/core/IniFile.h"
#include "platform/core/NumText.h"
#include "platform/core/Registry.h"
#include "platform/core/SysUtils.h"
#include "runtime/LibStrs.h"
#include "runtime/VkMsg.h"

namespace BrantorINI {

using platform::IniFile;
using platform::Variant;

namespace {

constexpr char kScrambledMark[] = "VKS1:";
// A Windows user name holds at most this many characters.
constexpr size_t kMaxUserName = 31;

/* The byte mixed into the password's byte at position i. */
uint8_t KeyByte(size_t i) {
  static constexpr char kKey[] = "Brantor7";
  return static_cast<uint8_t>(kKey[i % 8] ^ (0x5C + 31 * i));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string ToSlashes(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

bool IsTrue(std::string_view value) {
  const std::string upper = platform::UpperCase(value);
  return upper == "1" || upper == "Y" || upper == "YES" || upper == "TRUE";
}

/* A folder value of the "WorkDLLPath" section as a full folder. */
std::string ResolveFolder(std::string value, const std::string& installPath) {
  const bool drive = value.size() >= 2 && value[1] == ':' &&
                     ((value[0] >= 'A' && value[0] <= 'Z') || (value[0] >= 'a' && value[0] <= 'z'));
  // A Linux absolute folder plays the part of a drive; "\\" starts a network share.
  const bool absolute = drive || value.starts_with('/') || value.starts_with("\\\\");
  if (!absolute) {
    if (value.starts_with('\\')) value.erase(0, 1);
    value = installPath + value;
  }
  return platform::IncludeTrailingPathDelimiter(ToSlashes(std::move(value)));
}

/* A stored password as plain text; a form that cannot be read is reported
   and gives the marker. */
std::string ReadPassword(const IniFile& ini, std::string_view key) {
  const std::string stored = ini.ReadString("DBE Setting", key, "");
  try {
    return UnscramblePassword(stored);
  } catch (const platform::Exception& e) {
    VkMsg::FormatExceptionReport(&e, "", "解析 Sa 时发生错误!");
    return kBadPasswordMarker;
  }
}

}  // namespace

std::string ScramblePassword(std::string_view password) {
  if (password.empty()) return {};
  std::string out = kScrambledMark;
  for (size_t i = 0; i < password.size(); ++i) {
    const auto mixed = static_cast<uint8_t>(static_cast<uint8_t>(password[i]) ^ KeyByte(i));
    out += platform::IntToHex(mixed, 2);
  }
  return out;
}

std::string UnscramblePassword(std::string_view stored) {
  if (stored.empty()) return {};
  const std::string_view mark = kScrambledMark;
  if (!stored.starts_with(mark) || (stored.size() - mark.size()) % 2 != 0) {
    throw platform::EConvertError("Not a stored password form");
  }
  stored.remove_prefix(mark.size());
  std::string password;
  for (size_t k = 0; k < stored.size(); k += 2) {
    const int high = HexDigit(stored[k]);
    const int low = HexDigit(stored[k + 1]);
    if (high < 0 || low < 0) {
      throw platform::EConvertError("Not a stored password form");
    }
    password += static_cast<char>((high * 16 + low) ^ KeyByte(k / 2));
  }
  return password;
}

int UIConvertKindOf(std::string_view uiCodePage, std::string_view systemCodePage) {
  if (uiCodePage == "950") return 2;
  if (uiCodePage == "936" && systemCodePage == "950") return 4;
  return 0;
}

int DataConvertKindOf(std::string_view uiCodePage, std::string_view dbCodePage) {
  if (uiCodePage == "950" && dbCodePage == "936") return 2;
  if (uiCodePage == "936" && dbCodePage == "950") return 1;
  return 0;
}

TBrantorIniBase::~TBrantorIniBase() = default;

void TBrantorIniBase::GetWorkDLLPaths(platform::StringList& list) const {
  list.Clear();
  for (const std::string& folder : WorkDLLPaths.Strings()) list.Add(folder);
}

void TBrantorIniBase::StartWithSystemCodePages() {
  const int system = platform::SystemCodePage();
  SystemCodePage = system == platform::CP_GBK || system == platform::CP_BIG5
                       ? platform::IntToStr(system)
                       : "437";
  UICodePage = SystemCodePage;
  DBCodePage = "936";
  ComputeConvertKinds();
}

void TBrantorIniBase::ComputeConvertKinds() {
  UIConvertKind = UIConvertKindOf(UICodePage, SystemCodePage);
  DataConvertKind = DataConvertKindOf(UICodePage, DBCodePage);
}

bool TBrantorIniBase::ReadRegistry(std::string_view pathValue) {
  platform::Registry registry(platform::RegRoot::LocalMachine);
  if (!registry.OpenKeyReadOnly(LibStrs::kBrantorKey)) {
    LastError = "E;000015";
    return false;
  }
  InstallPath = ToSlashes(registry.ReadString(pathValue));
  if (registry.ValueExists("ProfileType")) ProfileType = registry.ReadString("ProfileType");
  registry.CloseKey();
  if (InstallPath.empty()) return false;
  InstallPath = platform::IncludeTrailingPathDelimiter(InstallPath);
  return true;
}

void TBrantorIniBase::ChooseSettingsFile(std::string_view fileName) {
  if (!ProfileType.empty() && ProfileType != "0") {
    ProfileName = platform::UserName().substr(0, kMaxUserName);
    ProfileDir = InstallPath + "Profile/" + ProfileName + "/";
  } else {
    ProfileDir = InstallPath;
  }
  IniFileName = ProfileDir + std::string(fileName);
  if (!platform::FileExists(IniFileName)) {
    // The shared file is read even when it is missing too: every key then
    // takes its default.
    ProfileDir = InstallPath;
    IniFileName = InstallPath + std::string(fileName);
  }
}

void TBrantorIniBase::ResolveWorkDLLPaths(std::string_view defaultFolder) {
  if (WorkDLLPaths.Count() == 0) {
    WorkDLLPaths.Add(InstallPath + std::string(defaultFolder));
    return;
  }
  for (int i = 0; i < WorkDLLPaths.Count(); ++i) {
    const std::string& line = WorkDLLPaths[i];
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    WorkDLLPaths.Set(i, ResolveFolder(line.substr(equals + 1), InstallPath));
  }
}

TBrantorIniC::TBrantorIniC() { Load(); }

TBrantorIniC::~TBrantorIniC() = default;

void TBrantorIniC::Load() {
  StartWithSystemCodePages();
  if (!ReadRegistry("ClientPath")) return;
  ChooseSettingsFile("BrantorC.ini");

  const IniFile ini(IniFileName);
  LangType = ini.ReadString("Client Components", "LangType", "ENG");
  Version = ini.ReadString("ProductVersion", "Version", "");
#if !VK_COMPAT_BUILD
  CreateGifBeforeSendEF = ini.ReadString("UserDefine", "CreateGifBeforeSendEF", "Y");
#endif
  UICodePage = ini.ReadString("CodePage", "UICodePage", SystemCodePage);
  DBCodePage = ini.ReadString("CodePage", "DBCodePage", "936");
  SupportCallBack = IsTrue(ini.ReadString("Server Information", "SupportCallBack", "0"));
  std::string hosts = ini.ReadString("Server Information", "ComputerName", "127.0.0.1");
  const int32_t port = ini.ReadInteger("Server Information", "ServerPort", 211);
  for (std::string& line : ini.ReadSectionValues("WorkDLLPath")) WorkDLLPaths.Add(line);
#if !VK_COMPAT_BUILD
  AutoCheckNewMsg = ini.ReadString("TaskMessageCenter Setting", "AutoCheckNewMsg", "1");
  CheckInterval = ini.ReadString("TaskMessageCenter Setting", "CheckInterval", "1");
  PopupMsg = ini.ReadString("TaskMessageCenter Setting", "PopupMsg", "1");
  LoginCheck = ini.ReadString("TaskMessageCenter Setting", "LoginCheck", "0");
#endif
  ComputeConvertKinds();

  hosts = platform::Trim(hosts);
  if (hosts.ends_with(';')) hosts.pop_back();
  if (hosts.empty()) {
    LastError = "E;000016";
    return;
  }
  std::vector<std::string> names;
  for (size_t start = 0;;) {
    const size_t end = hosts.find(';', start);
    names.push_back(hosts.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  const auto count = static_cast<int32_t>(names.size());
  Servers = platform::VarArrayCreate({{0, 1}, {0, count - 1}});
  for (int32_t i = 0; i < count; ++i) {
    Servers.At(0, i) = Variant(names[i]);
    Servers.At(1, i) = Variant(port);
  }

  ResolveWorkDLLPaths("C_PKG/");
  Loaded = true;
}

TBrantorIniS::TBrantorIniS() { Load(); }

TBrantorIniS::~TBrantorIniS() = default;

void TBrantorIniS::Load() {
  StartWithSystemCodePages();
  if (!ReadRegistry("ServerPath")) return;
  ChooseSettingsFile("BrantorS.ini");

  const IniFile ini(IniFileName);
  DBSettings = platform::VarArrayCreate({{0, 3}, {0, 7}});
  auto text = [&](const char* section, const char* key, const char* defaultValue) {
    return Variant(ini.ReadString(section, key, defaultValue));
  };
  auto number = [&](const char* section, const char* key, int32_t defaultValue) {
    return Variant(ini.ReadInteger(section, key, defaultValue));
  };
  Variant& db = DBSettings;
  const char* dbe = "DBE Setting";
  Version = ini.ReadString("ProductVersion", "Version", "");
  UICodePage = ini.ReadString("CodePage", "UICodePage", SystemCodePage);
  DBCodePage = ini.ReadString("CodePage", "DBCodePage", "936");
  db.At(0, 1) = text(dbe, "MainUserName", "sa");
  db.At(0, 2) = Variant(ReadPassword(ini, "XXXXXX"));
  db.At(0, 0) = text(dbe, "MainAlias", "Pilgar");
  db.At(0, 3) = text(dbe, "MainDBType", "MSSQL");
  db.At(0, 4) = text(dbe, "MainDBName", "");
  db.At(0, 5) = text(dbe, "MainServerName", "");
#if !VK_COMPAT_BUILD
  SystemControlAddress = ini.ReadString(dbe, "SystemControlAddress", "");
  OtherSystemControlAddress = ini.ReadString(dbe, "OtherSystemControlAddress", "");
#endif
  db.At(0, 6) = number(dbe, "MainConnectionTimeOut", 300);
  db.At(0, 7) = number(dbe, "MainCommandTimeOut", 3000);
  db.At(1, 0) = text(dbe, "TempAlias", "PilgarTemp");
  db.At(1, 1) = text(dbe, "TempUserName", "sa");
  db.At(1, 2) = Variant(ReadPassword(ini, "TempPassword"));
  db.At(1, 3) = text(dbe, "TempDBType", "PARADOX");
  db.At(1, 4) = text(dbe, "TempDBName", "");
  db.At(1, 5) = text(dbe, "TempDriverName", "PostgreSQL");
  db.At(1, 6) = number(dbe, "TempConnectionTimeOut", 300);
  db.At(1, 7) = number(dbe, "TempCommandTimeOut", 3000);
  db.At(2, 0) = Variant(platform::Trim(ini.ReadString("DBPasswordCtrl", "ComputerName", "")));
  db.At(2, 1) = number("DBPasswordCtrl", "ServerPort", 211);
  db.At(2, 2) = number("DBPasswordCtrl", "ClientSocketPort", 1024);
  SupportCallBack = IsTrue(ini.ReadString("DBPasswordCtrl", "SupportCallBack", "0"));
  db.At(2, 3) = text(dbe, "DataBaseCodeOrder", "Chinese_Taiwan_Stroke_BIN");
  db.At(3, 0) = text(dbe, "EctAlias", "EDIDATA");
  db.At(3, 1) = text(dbe, "EctUserName", "sa");
  db.At(3, 2) = text(dbe, "EctPassword", "");
  for (std::string& line : ini.ReadSectionValues("WorkDLLPath")) WorkDLLPaths.Add(line);

#if !VK_COMPAT_BUILD
  const std::string mainServer = db.At(0, 5).AsString();
  if (platform::Trim(SystemControlAddress).empty()) SystemControlAddress = mainServer;
  if (platform::Trim(OtherSystemControlAddress).empty()) OtherSystemControlAddress = mainServer;
#endif
  const std::string mainType = db.At(0, 3).AsString();
  DBKind = platform::SameText(mainType, "ORACLE") ? 1 : platform::SameText(mainType, "DB2") ? 2 : 0;
  ComputeConvertKinds();

  ResolveWorkDLLPaths("S_PKG/");
  Loaded = true;
}

}  // namespace BrantorINI
