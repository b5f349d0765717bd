#include "runtime/TranslatorU.h"

#include <dlfcn.h>

#include <type_traits>
#include <utility>

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/SysUtils.h"
#include "suite/Vklanguage/Vklanguage.h"

namespace TranslatorU {

// The program and the library must agree on the entry points' form.
static_assert(std::is_same_v<decltype(&GBtoBIG5), TVkLanguageConvert>);

namespace {

std::optional<std::string>& FolderOverride() {
  static std::optional<std::string> folder;
  return folder;
}

}  // namespace

void SetLibraryFolder(std::optional<std::string> folder) { FolderOverride() = std::move(folder); }

std::string LibraryFolder() {
  if (FolderOverride()) return platform::IncludeTrailingPathDelimiter(*FolderOverride());
  return platform::ProgramFolder();
}

TTranslator::TTranslator() {
  const std::string path = LibraryFolder() + kLibraryName;
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr)
    throw platform::Exception(
        platform::Format("Load Library %s Error!", {std::string(kLibraryName)}));
  gbToBig5_ = reinterpret_cast<Convert>(dlsym(handle_, "GBtoBIG5"));
  big5ToGB_ = reinterpret_cast<Convert>(dlsym(handle_, "BIG5toGB"));
  if (gbToBig5_ == nullptr || big5ToGB_ == nullptr) {
    dlclose(handle_);
    handle_ = nullptr;
    throw platform::Exception("Get Library Procedure Address Error!");
  }
}

TTranslator::~TTranslator() {
  if (handle_ != nullptr) dlclose(handle_);
}

std::string TTranslator::GBToBig5(const std::string& text) const { return Call(gbToBig5_, text); }

std::string TTranslator::Big5ToGB(const std::string& text) const { return Call(big5ToGB_, text); }

std::string TTranslator::Call(Convert function, const std::string& text) {
  if (function == nullptr || text.empty()) return text;
  const long length = static_cast<long>(text.size());
  // Both encodings take at most as many bytes per character as the other,
  // so one call is usually enough; a longer answer gets a second call.
  std::string result(text.size() + 16, '\0');
  long needed = function(text.data(), length, result.data(), static_cast<long>(result.size()));
  if (needed > static_cast<long>(result.size())) {
    result.assign(static_cast<size_t>(needed), '\0');
    needed = function(text.data(), length, result.data(), static_cast<long>(result.size()));
  }
  if (needed < 0 || needed > static_cast<long>(result.size())) return text;
  result.resize(static_cast<size_t>(needed));
  return result;
}

}  // namespace TranslatorU
