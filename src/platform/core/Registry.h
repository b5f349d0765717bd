#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/* Read-only stand-in for the system registry. The keys live in one text file
   in the notation of registry export files:

     [HKEY_LOCAL_MACHINE\Software\VRK\Brantor]
     "ClientPath"="/opt/vrk/client/"
     "ServerPort"=dword:000000d3
     @="the key's default value"

   Roots are HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT and HKEY_CURRENT_USER (or
   HKLM, HKCR, HKCU). Key paths and value names compare without regard to
   case; "\" and "/" both separate key names. "\\" and "\"" escape inside
   quoted names and values (any other backslash stays as written); lines
   starting with ";" are comments. A value written twice, or a key written
   in two places, gives the later value. Values are bytes as written; a file
   with a UTF-8 or UTF-16LE byte-order mark is first converted to the system
   code page. Malformed lines, keys to delete ("[-...]", "name"=-) and other
   value kinds (hex:...) are skipped; values after a malformed key line are
   skipped up to the next key line. A key exists when it, or a key below it,
   is named in the file.

   The file is the one named by SetRegistryFile, else by the environment
   variable VRK_REGISTRY, else ~/.config/vrk/registry.reg. A missing or
   unreadable file is an empty registry. */
std::string RegistryFile();
/* Puts a registry file in place (tests); nullopt goes back to the default. */
void SetRegistryFile(std::optional<std::string> path);

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine };

class Registry {
 public:
  explicit Registry(RegRoot root = RegRoot::LocalMachine);

  /* Opens a key for reading; false (and the open key unchanged) when it does
     not exist. A path with a leading separator starts at the root; without
     one it is relative to the open key, or to the root when none is open.
     Reads the file at this moment; later changes to it are not seen. */
  bool OpenKeyReadOnly(std::string_view key);
  void CloseKey();
  /* Whether a key exists, with the same path rules as OpenKeyReadOnly. */
  bool KeyExists(std::string_view key) const;
  /* Path of the open key below the root, names separated by "\" ("" for the
     root or when no key is open). */
  std::string CurrentPath() const;

  /* Values of the open key; "" names the default value. A missing value or
     no open key gives "" / false. */
  bool ValueExists(std::string_view name) const;
  /* A string value; a dword value reads as "" (it is not a string). */
  std::string ReadString(std::string_view name) const;
  /* A dword value, or a string holding a number by TryStrToInt's rules;
     else nullopt. */
  std::optional<int32_t> ReadInteger(std::string_view name) const;

 private:
  struct Key;
  std::vector<std::string> Resolve(std::string_view key) const;

  RegRoot root_;
  std::shared_ptr<const Key> open_;
};

}  // namespace platform
