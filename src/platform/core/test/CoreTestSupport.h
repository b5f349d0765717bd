#pragma once

// Helpers for tests that need the file system or the environment: a
// temporary folder of their own and an environment variable set for a while.

#include <optional>
#include <string>
#include <string_view>

namespace platform::test {

/* A new folder under the system's temporary folder, named "<stem>-XXXXXX",
   removed with everything in it on destruction. Raises std::runtime_error
   when it cannot be made. */
class TTempFolder {
 public:
  explicit TTempFolder(std::string_view stem);
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  /* The folder, ending in "/". */
  const std::string& Path() const { return path_; }
  /* Writes Bytes, exactly, as the file Name in the folder (replacing what
     was there) and returns the file's full name. */
  std::string Write(const std::string& name, std::string_view bytes) const;

 private:
  std::string path_;
};

/* Sets an environment variable (or removes it, for a null Value) and puts
   the earlier state back on destruction. */
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace platform::test
