#include "runtime/BrantorINI.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/SysUtils.h"
#include "runtime/RuntimeTestSupport.h"

namespace BrantorINI {
namespace {

using platform::Variant;
using Strings = std::vector<std::string>;

// The compatibility build's readers have no fields for these keys.
template <class T>
constexpr bool kHasMessageCenterKeys = requires(const T& ini) {
  ini.CreateGifBeforeSendEF;
  ini.AutoCheckNewMsg;
  ini.CheckInterval;
  ini.PopupMsg;
  ini.LoginCheck;
};
template <class T>
constexpr bool kHasControlAddresses = requires(const T& ini) {
  ini.SystemControlAddress;
  ini.OtherSystemControlAddress;
};
static_assert(kHasMessageCenterKeys<TBrantorIniC> == !VK_COMPAT_BUILD);
static_assert(kHasControlAddresses<TBrantorIniS> == !VK_COMPAT_BUILD);

/* An installation in the sandbox: "install/" with the client and server paths
   pointing at it. */
class BrantorIniTest : public runtime_test::SandboxTest {
 protected:
  std::string Install() const { return Path("install/"); }

  void InstallRegistry(const std::string& extra = "") const {
    SetRegistry(RegValue("ClientPath", Path("install")) + RegValue("ServerPath", Path("install")) +
                extra);
  }
  void ClientSettings(const std::string& text) const { WriteFile("install/BrantorC.ini", text); }
  void ServerSettings(const std::string& text) const { WriteFile("install/BrantorS.ini", text); }

  static Strings Paths(const TBrantorIniBase& ini) { return ini.WorkDLLPaths.Strings(); }
  static Strings Hosts(const TBrantorIniC& ini) {
    Strings hosts;
    if (!ini.Servers.IsArray()) return hosts;
    for (int32_t i = 0; i <= ini.Servers.HighBound(2); ++i) {
      hosts.push_back(ini.Servers.At(0, i).AsString());
      EXPECT_EQ(ini.Servers.At(1, i).Type(), platform::VarType::Integer);
    }
    return hosts;
  }
  std::optional<std::string> AlertLog() const {
    return ReadFile(Path("install/Log/Alert_KORALGenerator_20240305.log"));
  }
};

TEST_F(BrantorIniTest, MissingRegistryKeyLeavesTheSystemCodePages) {
  const struct {
    int system;
    const char* codePage;
    int uiKind;
    int dataKind;
  } cases[] = {
      {936, "936", 0, 0},
      {950, "950", 2, 2},  // a Big5 interface on the GB default database
      {437, "437", 0, 0},
  };
  for (const auto& c : cases) {
    platform::SetSystemCodePage(c.system);
    const TBrantorIniC client;
    const TBrantorIniS server;
    for (const TBrantorIniBase* ini : {static_cast<const TBrantorIniBase*>(&client),
                                       static_cast<const TBrantorIniBase*>(&server)}) {
      EXPECT_FALSE(ini->Loaded);
      EXPECT_EQ(ini->LastError, "E;000015");
      EXPECT_EQ(ini->SystemCodePage, c.codePage);
      EXPECT_EQ(ini->UICodePage, c.codePage);
      EXPECT_EQ(ini->DBCodePage, "936");
      EXPECT_EQ(ini->UIConvertKind, c.uiKind) << c.system;
      EXPECT_EQ(ini->DataConvertKind, c.dataKind) << c.system;
      EXPECT_EQ(ini->WorkDLLPaths.Count(), 0);
      EXPECT_EQ(ini->InstallPath, "");
    }
    EXPECT_TRUE(client.Servers.IsEmpty());
    EXPECT_TRUE(server.DBSettings.IsEmpty());
  }
}

TEST_F(BrantorIniTest, EmptyInstallPathEndsTheLoadWithoutError) {
  SetRegistry(RegValue("ClientPath", "") + RegValue("ProfileType", "0"));
  const TBrantorIniC client;
  EXPECT_FALSE(client.Loaded);
  EXPECT_EQ(client.LastError, "");
  EXPECT_TRUE(client.Servers.IsEmpty());
  EXPECT_EQ(client.WorkDLLPaths.Count(), 0);
  const TBrantorIniS server;  // no "ServerPath" at all
  EXPECT_FALSE(server.Loaded);
  EXPECT_EQ(server.LastError, "");
  EXPECT_TRUE(server.DBSettings.IsEmpty());
}

TEST_F(BrantorIniTest, ClientReadsEveryKeyOfItsFile) {
  InstallRegistry();
  CopyFixture("BrantorC_full.ini", "install/BrantorC.ini");
  const TBrantorIniC ini;
  ASSERT_TRUE(ini.Loaded);
  EXPECT_EQ(ini.LastError, "");
  EXPECT_EQ(ini.InstallPath, Install());
  EXPECT_EQ(ini.ProfileType, "0");
  EXPECT_EQ(ini.ProfileName, "Default");
  EXPECT_EQ(ini.ProfileDir, Install());
  EXPECT_EQ(ini.IniFileName, Install() + "BrantorC.ini");
  EXPECT_EQ(ini.LangType, "CHT");
  EXPECT_EQ(ini.Version, "9.0.3");
  EXPECT_EQ(ini.SystemCodePage, "936");
  EXPECT_EQ(ini.UICodePage, "950");
  EXPECT_EQ(ini.DBCodePage, "936");
  EXPECT_EQ(ini.UIConvertKind, 2);
  EXPECT_EQ(ini.DataConvertKind, 2);
  EXPECT_TRUE(ini.SupportCallBack);
  ASSERT_EQ(Hosts(ini), (Strings{"hostA", "hostB"}));
  EXPECT_EQ(ini.Servers.At(1, 0), Variant(212));
  EXPECT_EQ(ini.Servers.At(1, 1), Variant(212));
  EXPECT_EQ(Paths(ini), (Strings{"D:/Bin/", Install() + "Pkg/", Install() + "Pkg/", "/opt/pkg/",
                                 "//server/share/bin/", Install() + "Sub/Dir/"}));
#if !VK_COMPAT_BUILD
  EXPECT_EQ(ini.CreateGifBeforeSendEF, "N");
  EXPECT_EQ(ini.AutoCheckNewMsg, "0");
  EXPECT_EQ(ini.CheckInterval, "5");
  EXPECT_EQ(ini.PopupMsg, "0");
  EXPECT_EQ(ini.LoginCheck, "1");
#endif
}

TEST_F(BrantorIniTest, ClientWithoutSettingsFileTakesTheDefaults) {
  platform::SetSystemCodePage(437);
  SetRegistry(RegValue("ClientPath", Path("install")));  // a "/" is added
  const TBrantorIniC ini;
  ASSERT_TRUE(ini.Loaded);
  EXPECT_EQ(ini.IniFileName, Install() + "BrantorC.ini");
  EXPECT_EQ(ini.SystemCodePage, "437");
  EXPECT_EQ(ini.UICodePage, "437");
  EXPECT_EQ(ini.DBCodePage, "936");
  EXPECT_EQ(ini.UIConvertKind, 0);
  EXPECT_EQ(ini.DataConvertKind, 0);
  EXPECT_EQ(ini.LangType, "ENG");
  EXPECT_EQ(ini.Version, "");
  EXPECT_FALSE(ini.SupportCallBack);
  ASSERT_EQ(Hosts(ini), (Strings{"127.0.0.1"}));
  EXPECT_EQ(ini.Servers.At(1, 0), Variant(211));
  EXPECT_EQ(Paths(ini), (Strings{Install() + "C_PKG/"}));
#if !VK_COMPAT_BUILD
  EXPECT_EQ(ini.CreateGifBeforeSendEF, "Y");
  EXPECT_EQ(ini.AutoCheckNewMsg, "1");
  EXPECT_EQ(ini.CheckInterval, "1");
  EXPECT_EQ(ini.PopupMsg, "1");
  EXPECT_EQ(ini.LoginCheck, "0");
#endif
}

TEST_F(BrantorIniTest, StoredFolderWithBackslashesReadsWithSlashes) {
  std::string stored = Path("install");
  for (char& c : stored) {
    if (c == '/') c = '\\';
  }
  SetRegistry(RegValue("ClientPath", stored + "\\"));
  const TBrantorIniC ini;
  EXPECT_EQ(ini.InstallPath, Install());
  EXPECT_EQ(Paths(ini), (Strings{Install() + "C_PKG/"}));
}

TEST_F(BrantorIniTest, ConvertKindsFollowTheCodePages) {
  const struct {
    int system;
    const char* ui;
    const char* db;
    int uiKind;
    int dataKind;
  } cases[] = {
      {936, "950", "936", 2, 2}, {950, "936", "950", 4, 1}, {936, "936", "950", 0, 1},
      {950, "950", "950", 2, 0}, {437, "437", "936", 0, 0}, {950, "936", "936", 4, 0},
      {936, "936", "936", 0, 0},
  };
  InstallRegistry();
  for (const auto& c : cases) {
    platform::SetSystemCodePage(c.system);
    ClientSettings(std::string("[CodePage]\nUICodePage=") + c.ui + "\nDBCodePage=" + c.db + "\n");
    ServerSettings(std::string("[CodePage]\nUICodePage=") + c.ui + "\nDBCodePage=" + c.db + "\n");
    const TBrantorIniC client;
    const TBrantorIniS server;
    for (const TBrantorIniBase* ini : {static_cast<const TBrantorIniBase*>(&client),
                                       static_cast<const TBrantorIniBase*>(&server)}) {
      EXPECT_EQ(ini->UICodePage, c.ui);
      EXPECT_EQ(ini->DBCodePage, c.db);
      EXPECT_EQ(ini->UIConvertKind, c.uiKind) << c.system << " " << c.ui << " " << c.db;
      EXPECT_EQ(ini->DataConvertKind, c.dataKind) << c.system << " " << c.ui << " " << c.db;
    }
  }
}

TEST_F(BrantorIniTest, SupportCallBackIsOneOfFourWords) {
  const struct {
    const char* value;
    bool expected;
  } cases[] = {
      {"yes", true}, {"on", false}, {"1", true}, {"TRUE", true},  {"y", true},
      {"0", false},  {"2", false},  {"", false}, {"true ", true},  // values are trimmed
  };
  InstallRegistry();
  for (const auto& c : cases) {
    ClientSettings(std::string("[Server Information]\nSupportCallBack=") + c.value + "\n");
    ServerSettings(std::string("[DBPasswordCtrl]\nSupportCallBack=") + c.value + "\n");
    EXPECT_EQ(TBrantorIniC().SupportCallBack, c.expected) << c.value;
    EXPECT_EQ(TBrantorIniS().SupportCallBack, c.expected) << c.value;
  }
}

TEST_F(BrantorIniTest, HostListGivesOneServerPerName) {
  const struct {
    const char* lines;
    Strings hosts;
    int port;
  } cases[] = {
      {"ComputerName=a;b;\nServerPort=212", {"a", "b"}, 212},
      {"ComputerName=a;b;;", {"a", "b", ""}, 211},  // only one trailing ";" goes
      {"ComputerName=a;;b", {"a", "", "b"}, 211},
      {"ComputerName=\" a ; b \"", {"a ", " b"}, 211},  // names are taken as written
      {"ComputerName=srv1\nServerPort=port", {"srv1"}, 211},
      {"ServerPort=300", {"127.0.0.1"}, 300},
  };
  InstallRegistry();
  for (const auto& c : cases) {
    ClientSettings(std::string("[Server Information]\n") + c.lines + "\n");
    const TBrantorIniC ini;
    EXPECT_TRUE(ini.Loaded) << c.lines;
    EXPECT_EQ(Hosts(ini), c.hosts) << c.lines;
    ASSERT_EQ(ini.Servers.LowBound(1), 0);
    ASSERT_EQ(ini.Servers.HighBound(1), 1);
    EXPECT_EQ(ini.Servers.At(1, 0), Variant(c.port)) << c.lines;
  }
}

TEST_F(BrantorIniTest, EmptyHostListFailsWithTheRawFolderLines) {
  InstallRegistry();
  for (const char* lines : {"ComputerName=", "ComputerName=  ;  "}) {
    ClientSettings(std::string("[Server Information]\n") + lines + "\n[WorkDLLPath]\nP=\\Pkg\n");
    const TBrantorIniC ini;
    EXPECT_FALSE(ini.Loaded) << lines;
    EXPECT_EQ(ini.LastError, "E;000016") << lines;
    EXPECT_TRUE(ini.Servers.IsEmpty());
    EXPECT_EQ(Paths(ini), (Strings{"P=\\Pkg"}));
  }
  CopyFixture("BrantorC_nohost.ini", "install/BrantorC.ini");
  const TBrantorIniC ini;
  EXPECT_EQ(ini.LastError, "E;000016");
  EXPECT_EQ(Paths(ini), (Strings{"Path1=\\Pkg", "Path2=D:\\Bin"}));
}

TEST_F(BrantorIniTest, PerUserProfileReadsTheUsersFile) {
  const std::string user = platform::UserName().substr(0, 31);
  const std::string profile = Install() + "Profile/" + user + "/";
  InstallRegistry(RegValue("ProfileType", "1"));
  ClientSettings("[Client Components]\nLangType=shared\n");
  WriteFile("install/Profile/" + user + "/BrantorC.ini", "[Client Components]\nLangType=own\n");
  const TBrantorIniC ini;
  EXPECT_EQ(ini.ProfileType, "1");
  EXPECT_EQ(ini.ProfileName, user);
  EXPECT_EQ(ini.ProfileDir, profile);
  EXPECT_EQ(ini.IniFileName, profile + "BrantorC.ini");
  EXPECT_EQ(ini.LangType, "own");
  EXPECT_EQ(Paths(ini), (Strings{Install() + "C_PKG/"}));  // folders stay under the install
}

TEST_F(BrantorIniTest, PerUserProfileWithoutAFileFallsBackToTheSharedOne) {
  const std::string user = platform::UserName().substr(0, 31);
  const struct {
    const char* profileType;
    const char* profileName;
  } cases[] = {{"1", nullptr}, {"2", nullptr}, {"0", "Default"}, {"", "Default"}};
  ClientSettings("[Client Components]\nLangType=shared\n");
  ServerSettings("[ProductVersion]\nVersion=shared\n");
  for (const auto& c : cases) {
    InstallRegistry(RegValue("ProfileType", c.profileType));
    const TBrantorIniC client;
    const TBrantorIniS server;
    EXPECT_EQ(client.LangType, "shared") << c.profileType;
    EXPECT_EQ(server.Version, "shared") << c.profileType;
    for (const TBrantorIniBase* ini : {static_cast<const TBrantorIniBase*>(&client),
                                       static_cast<const TBrantorIniBase*>(&server)}) {
      EXPECT_EQ(ini->ProfileType, c.profileType);
      EXPECT_EQ(ini->ProfileName, c.profileName ? c.profileName : user) << c.profileType;
      EXPECT_EQ(ini->ProfileDir, Install()) << c.profileType;
    }
  }
}

TEST_F(BrantorIniTest, ServerReadsEveryKeyOfItsFile) {
  InstallRegistry();
  CopyFixture("BrantorS_full.ini", "install/BrantorS.ini");
  const TBrantorIniS ini;
  ASSERT_TRUE(ini.Loaded);
  EXPECT_EQ(ini.LastError, "");
  EXPECT_EQ(ini.IniFileName, Install() + "BrantorS.ini");
  EXPECT_EQ(ini.Version, "9.0.3");
  EXPECT_EQ(ini.UIConvertKind, 0);
  EXPECT_EQ(ini.DataConvertKind, 1);
  EXPECT_TRUE(ini.SupportCallBack);
  EXPECT_EQ(ini.DBKind, 1);
  const Variant& db = ini.DBSettings;
  ASSERT_EQ(db.DimCount(), 2);
  EXPECT_EQ(db.HighBound(1), 3);
  EXPECT_EQ(db.HighBound(2), 7);
  const Variant expected[4][8] = {
      {Variant("ErpMain"), Variant("erp"), Variant("secret"), Variant("oracle"), Variant("ERPDB"),
       Variant("dbhost"), Variant(60), Variant(600)},
      {Variant("ErpTemp"), Variant("tmpuser"), Variant("temp pw"), Variant("MSSQL"),
       Variant("TEMPDB"), Variant("SQL Server"), Variant(30), Variant(3000)},
      {Variant("pwhost"), Variant(215), Variant(2048), Variant("Chinese_PRC_BIN"), Variant(),
       Variant(), Variant(), Variant()},
      {Variant("EDI"), Variant("edi"), Variant("plainEct"), Variant(), Variant(), Variant(),
       Variant(), Variant()},
  };
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 8; ++col) {
      EXPECT_EQ(db.At(row, col), expected[row][col]) << row << "," << col;
    }
  }
#if !VK_COMPAT_BUILD
  EXPECT_EQ(ini.SystemControlAddress, "ctrl1");
  EXPECT_EQ(ini.OtherSystemControlAddress, "dbhost");  // blank: the main server
#endif
  EXPECT_EQ(Paths(ini), (Strings{Install() + "S_PKG/", "/srv/pkg/"}));
  EXPECT_FALSE(AlertLog().has_value()) << "no password problem to report";
}

TEST_F(BrantorIniTest, ServerWithoutSettingsFileTakesTheDefaults) {
  InstallRegistry();
  const TBrantorIniS ini;
  ASSERT_TRUE(ini.Loaded);
  const Variant expected[4][8] = {
      {Variant("Pilgar"), Variant("sa"), Variant(""), Variant("MSSQL"), Variant(""), Variant(""),
       Variant(300), Variant(3000)},
      {Variant("PilgarTemp"), Variant("sa"), Variant(""), Variant("PARADOX"), Variant(""),
       Variant("PostgreSQL"), Variant(300), Variant(3000)},
      {Variant(""), Variant(211), Variant(1024), Variant("Chinese_Taiwan_Stroke_BIN"), Variant(),
       Variant(), Variant(), Variant()},
      {Variant("EDIDATA"), Variant("sa"), Variant(""), Variant(), Variant(), Variant(), Variant(),
       Variant()},
  };
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 8; ++col) {
      EXPECT_EQ(ini.DBSettings.At(row, col), expected[row][col]) << row << "," << col;
    }
  }
  EXPECT_EQ(ini.DBKind, 0);
  EXPECT_FALSE(ini.SupportCallBack);
#if !VK_COMPAT_BUILD
  EXPECT_EQ(ini.SystemControlAddress, "");
  EXPECT_EQ(ini.OtherSystemControlAddress, "");
#endif
  EXPECT_EQ(Paths(ini), (Strings{Install() + "S_PKG/"}));
}

TEST_F(BrantorIniTest, DatabaseKindAndControlAddresses) {
  const struct {
    const char* type;
    int kind;
    const char* control;
    const char* expectedControl;
  } cases[] = {
      {"ORACLE", 1, "ctrl", "ctrl"}, {"Db2", 2, "", "main"},    {"MSSQL", 0, "  ", "main"},
      {"DB2X", 0, "x", "x"},         {"oracle", 1, "", "main"},
  };
  InstallRegistry();
  for (const auto& c : cases) {
    ServerSettings(std::string("[DBE Setting]\nMainDBType=") + c.type +
                   "\nMainServerName=main\nSystemControlAddress=\"" + c.control + "\"\n");
    const TBrantorIniS ini;
    EXPECT_EQ(ini.DBKind, c.kind) << c.type;
#if !VK_COMPAT_BUILD
    EXPECT_EQ(ini.SystemControlAddress, c.expectedControl) << c.control;
    EXPECT_EQ(ini.OtherSystemControlAddress, "main");
#endif
  }
}

TEST_F(BrantorIniTest, UnreadablePasswordGivesTheMarkerAndAReport) {
  SetRegistry(RegValue("ServerPath", Path("install")));
  CopyFixture("BrantorS_badpassword.ini", "install/BrantorS.ini");
  const TBrantorIniS ini;
  ASSERT_TRUE(ini.Loaded);  // the load goes on
  EXPECT_EQ(ini.DBSettings.At(0, 2), Variant(kBadPasswordMarker));
  EXPECT_EQ(ini.DBSettings.At(1, 2), Variant(kBadPasswordMarker));
  EXPECT_EQ(ini.DBSettings.At(3, 0), Variant("EDI2"));
  const auto log = AlertLog();
  ASSERT_TRUE(log.has_value());
  size_t reports = 0;
  for (size_t at = log->find("Programer Message: 解析 Sa 时发生错误!\r\n"); at != std::string::npos;
       at = log->find("Programer Message:", at + 1)) {
    ++reports;
  }
  EXPECT_EQ(reports, 2u);
  EXPECT_NE(log->find("Exception is EConvertError"), std::string::npos);
}

TEST_F(BrantorIniTest, GetWorkDLLPathsReplacesTheCallersList) {
  InstallRegistry();
  ServerSettings("[WorkDLLPath]\nA=Bin\nB=/opt/x\n");
  const TBrantorIniS ini;
  platform::StringList list;
  list.Add("stale");
  ini.GetWorkDLLPaths(list);
  EXPECT_EQ(list.Strings(), (Strings{Install() + "Bin/", "/opt/x/"}));
}

TEST(PasswordTest, ScrambledPasswordsComeBack) {
  for (const std::string& password :
       {std::string("sa"), std::string("p@ss w0rd;=\""), std::string("中文密码"),
        std::string(300, 'x'), std::string("\x01\xFF", 2)}) {
    const std::string stored = ScramblePassword(password);
    EXPECT_TRUE(stored.starts_with("VKS1:")) << stored;
    EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF", 5), std::string::npos) << stored;
    EXPECT_EQ(stored.find(password), std::string::npos) << "not stored as plain text";
    EXPECT_EQ(UnscramblePassword(stored), password);
  }
  EXPECT_EQ(ScramblePassword(""), "");
  EXPECT_EQ(UnscramblePassword(""), "");
  EXPECT_EQ(UnscramblePassword("VKS1:"), "");
  EXPECT_EQ(UnscramblePassword("VKS1:6d6c98a5c9ec"), "secret");  // either case of hex
}

TEST(PasswordTest, OtherTextsCannotBeUnscrambled) {
  for (const char* stored : {"secret", "VKS1:ABC", "VKS1:ZZ", "vks1:6D6C98A5C9EC", " VKS1:00"}) {
    EXPECT_THROW(UnscramblePassword(stored), platform::EConvertError) << stored;
  }
}

}  // namespace
}  // namespace BrantorINI
