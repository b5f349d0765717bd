#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

/* Read-only stand-in for the system registry. The keys live in one text file
   in the notation of registry export files:

     [HKEY_LOCAL_MACHINE\Software\VRK\Brantor]
     "ClientPath"="/opt/vrk/client/"
     "ServerPort"=dword:000000d3

   Key paths and value names compare without regard to case; "\\" and "\""
   escape inside quoted values; lines starting with ";" are comments. Values
   are bytes as written. The file is the one named by SetRegistryFile, else
   by the environment variable VRK_REGISTRY, else ~/.config/vrk/registry.reg.
   A missing or unreadable file is an empty registry. */
std::string RegistryFile();
/* Puts a registry file in place (tests); nullopt goes back to the default. */
void SetRegistryFile(std::optional<std::string> path);

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine };

class Registry {
 public:
  explicit Registry(RegRoot root = RegRoot::LocalMachine);

  /* Opens a key (backslash-separated, leading backslash optional) for reading;
     false when it does not exist. Reads the file at this moment. */
  bool OpenKeyReadOnly(std::string_view key);
  void CloseKey();
  bool KeyExists(std::string_view key) const;

  /* Values of the open key. A missing value or no open key gives "" / false. */
  bool ValueExists(std::string_view name) const;
  std::string ReadString(std::string_view name) const;
  /* A dword value, or a string holding a decimal number; else nullopt. */
  std::optional<int32_t> ReadInteger(std::string_view name) const;

 private:
  struct Key;
  RegRoot root_;
  std::shared_ptr<const Key> open_;
};

}  // namespace platform
