// GB and Big5 texts carry the same characters in two encodings, but most
// simplified characters have no Big5 code at all: the encodings alone would
// turn them into "?". So a text is decoded, its character forms are mapped
// (simplified to traditional on the way to Big5, back on the way to GB) and
// only then encoded for the other side.
#include "suite/Vklanguage/Vklanguage.h"

#include <opencc/opencc.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/core/CodePage.h"

namespace {

/* One OpenCC converter per direction, opened on first use and kept for the
   life of the library. When the configuration cannot be opened the texts
   are still re-encoded, without the change of character forms. */
class FormMapper {
 public:
  explicit FormMapper(const char* config) : handle_(opencc_open(config)) {}
  ~FormMapper() {
    if (Usable()) opencc_close(handle_);
  }
  FormMapper(const FormMapper&) = delete;
  FormMapper& operator=(const FormMapper&) = delete;

  std::string Map(const std::string& utf8) const {
    if (!Usable() || utf8.empty()) return utf8;
    char* mapped = opencc_convert_utf8(handle_, utf8.data(), utf8.size());
    if (mapped == nullptr) return utf8;
    std::string result(mapped);
    opencc_convert_utf8_free(mapped);
    return result;
  }

 private:
  bool Usable() const { return handle_ != reinterpret_cast<opencc_t>(-1); }
  opencc_t handle_;
};

const FormMapper& SimplifiedToTraditional() {
  static const FormMapper mapper("s2t.json");
  return mapper;
}

const FormMapper& TraditionalToSimplified() {
  static const FormMapper mapper("t2s.json");
  return mapper;
}

std::string Convert(std::string_view text, int fromCodePage, int toCodePage,
                    const FormMapper& mapper) {
  const std::string utf8 = platform::WideToUtf8(platform::BytesToWide(text, fromCodePage));
  return platform::WideToBytes(platform::Utf8ToWide(mapper.Map(utf8)), toCodePage);
}

long Deliver(const std::string& result, char* buffer, long size) {
  if (buffer != nullptr && size > 0)
    std::memcpy(buffer, result.data(), std::min(result.size(), static_cast<size_t>(size)));
  return static_cast<long>(result.size());
}

template <class F>
long Guarded(const char* text, long length, char* buffer, long size, F&& convert) {
  if (length < 0 || size < 0 || (text == nullptr && length > 0)) return -1;
  try {
    return Deliver(
        convert(std::string_view(text == nullptr ? "" : text, static_cast<size_t>(length))), buffer,
        size);
  } catch (...) {
    return -1;
  }
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) long GBtoBIG5(const char* text, long length, char* buffer,
                                                     long size) {
  return Guarded(text, length, buffer, size, [](std::string_view gb) {
    return Convert(gb, platform::CP_GBK, platform::CP_BIG5, SimplifiedToTraditional());
  });
}

__attribute__((visibility("default"))) long BIG5toGB(const char* text, long length, char* buffer,
                                                     long size) {
  return Guarded(text, length, buffer, size, [](std::string_view big5) {
    return Convert(big5, platform::CP_BIG5, platform::CP_GBK, TraditionalToSimplified());
  });
}

}  // extern "C"
