#pragma once

#include <string>
#include <string_view>

#include "platform/core/StringList.h"
#include "platform/core/Variant.h"

/* The suite's configuration: the registry key "Software/VRK/Brantor" of the
   local machine names the installation folders, and the settings files
   "BrantorC.ini" (client) and "BrantorS.ini" (server) hold the code pages,
   the application servers, the databases and the work-library folders. A
   reader loads everything when it is made and is read-only afterwards;
   nothing is ever written back. Folders are written with "/" and end in one. */
namespace BrantorINI {

/* What a stored password that cannot be unscrambled reads as. */
inline constexpr char kBadPasswordMarker[] = "#BAD-PASSWORD#";

/* The stored form of a database password: a marker, then each byte mixed
   with a fixed key stream and written as two upper-case hex digits. An empty
   password is stored as an empty text. */
std::string ScramblePassword(std::string_view password);
/* The password of a stored form made by ScramblePassword; "" for "". Raises
   EConvertError for a text that is not such a form. */
std::string UnscramblePassword(std::string_view stored);

/* Interface conversion kind: 2 when the interface code page is "950", 4 for
   a "936" interface on a "950" system, else 0. */
int UIConvertKindOf(std::string_view uiCodePage, std::string_view systemCodePage);
/* Data conversion kind: 2 for a "950" interface on a "936" database, 1 for a
   "936" interface on a "950" database, else 0. */
int DataConvertKindOf(std::string_view uiCodePage, std::string_view dbCodePage);

/* The fields and load steps both readers share. */
class TBrantorIniBase {
 public:
  virtual ~TBrantorIniBase();

  bool Loaded = false;      // the load ran to its end
  std::string LastError;    // "E;000015" no registry key, "E;000016" no host (client)
  std::string InstallPath;  // "ClientPath" or "ServerPath", ending in "/" when set
  std::string ProfileType = "0";
  std::string ProfileName = "Default";
  std::string ProfileDir;      // folder of the settings file read
  std::string IniFileName;     // full name of the settings file read
  std::string SystemCodePage;  // "936", "950", or "437" for any other system
  std::string UICodePage;
  std::string DBCodePage = "936";
  int UIConvertKind = 0;
  int DataConvertKind = 0;
  bool SupportCallBack = false;
  std::string Version;
  /* Folders in which work libraries are sought, in the order of the
     "WorkDLLPath" section (its raw "key=value" lines when the client load
     stopped for want of a host). */
  platform::StringList WorkDLLPaths;

  /* Replaces the content of list by WorkDLLPaths. */
  void GetWorkDLLPaths(platform::StringList& list) const;

 protected:
  TBrantorIniBase() = default;
  /* Code pages from the system and the conversion kinds they give. */
  void StartWithSystemCodePages();
  void ComputeConvertKinds();
  /* Reads the installation folder from the registry value pathValue and
     "ProfileType". False when the key is missing (LastError set) or the
     folder is empty. */
  bool ReadRegistry(std::string_view pathValue);
  /* The per-user or shared settings file of that name; sets ProfileName,
     ProfileDir and IniFileName. */
  void ChooseSettingsFile(std::string_view fileName);
  /* Turns the raw "key=value" lines of WorkDLLPaths into folders, or sets
     the one default folder InstallPath + defaultFolder when there are none. */
  void ResolveWorkDLLPaths(std::string_view defaultFolder);
};

/* The client side's configuration ("ClientPath", "BrantorC.ini"). */
class TBrantorIniC : public TBrantorIniBase {
 public:
  /* Loads at once; Loaded and LastError tell how far it got. */
  TBrantorIniC();
  ~TBrantorIniC() override;

  std::string LangType;
  /* [0..1, 0..N-1]: row 0 the host names, row 1 their port (integer);
     unassigned when no host list was read. */
  platform::Variant Servers;
#if !VK_COMPAT_BUILD
  std::string CreateGifBeforeSendEF;
  std::string AutoCheckNewMsg;
  std::string CheckInterval;
  std::string PopupMsg;
  std::string LoginCheck;
#endif

 private:
  void Load();
};

/* The server side's configuration ("ServerPath", "BrantorS.ini"). */
class TBrantorIniS : public TBrantorIniBase {
 public:
  /* Loads at once; Loaded and LastError tell how far it got. */
  TBrantorIniS();
  ~TBrantorIniS() override;

  /* [0..3, 0..7]: rows main database, temporary database, password-control
     service, data-exchange database; columns alias, user name, password,
     type, name, server or driver name, connection and command time-outs
     (integers). Row 2 holds computer name, server port, client socket port
     and sort order. Unassigned when the load stopped before the file. */
  platform::Variant DBSettings;
  int DBKind = 0;  // 1 main database "ORACLE", 2 "DB2", else 0
#if !VK_COMPAT_BUILD
  std::string SystemControlAddress;
  std::string OtherSystemControlAddress;
#endif

 private:
  void Load();
};

}  // namespace BrantorINI
