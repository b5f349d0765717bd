#include "platform/core/test/CoreTestSupport.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace platform::test {

TTempFolder::TTempFolder(std::string_view stem) {
  std::string pattern =
      (std::filesystem::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
  path_ = pattern + "/";
}

TTempFolder::~TTempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TTempFolder::Write(const std::string& name, std::string_view bytes) const {
  const std::string file = path_ + name;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file);
  return file;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* old = getenv(name)) old_ = old;
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (old_)
    setenv(name_, old_->c_str(), 1);
  else
    unsetenv(name_);
}

}  // namespace platform::test
