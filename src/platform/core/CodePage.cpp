#include "platform/core/CodePage.h"

#include <iconv.h>

#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform {

namespace {

// 0 means "no override".
std::atomic<int> g_systemOverride{0};

int NormalizeSystemCodePage(long codePage) {
  return codePage == CP_GBK || codePage == CP_BIG5 ? static_cast<int>(codePage) : CP_OEM_US;
}

const char* IconvName(int codePage) {
  switch (codePage) {
    case CP_GBK:
      return "CP936";
    case CP_BIG5:
      return "CP950";
    case CP_OEM_US:
      return "CP437";
    default:
      return nullptr;
  }
}

constexpr const char* kWideName =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

/* iconv descriptors are not safe to share between threads, and opening one
   costs far more than a short conversion: each thread keeps its own. */
class DescriptorCache {
 public:
  ~DescriptorCache() {
    for (auto& entry : entries_) iconv_close(entry.cd);
  }

  // nullptr when the C library does not know the pair.
  iconv_t Get(const char* to, const char* from) {
    for (auto& entry : entries_) {
      if (entry.to == to && entry.from == from) {
        iconv(entry.cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        return entry.cd;
      }
    }
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    entries_.push_back({to, from, cd});
    return cd;
  }

 private:
  struct Entry {
    const char* to;  // the names are string literals, compared by address
    const char* from;
    iconv_t cd;
  };
  std::vector<Entry> entries_;
};

iconv_t Descriptor(const char* to, const char* from) {
  thread_local DescriptorCache cache;
  return cache.Get(to, from);
}

int Resolve(int codePage) { return codePage == CP_SYSTEM ? SystemCodePage() : codePage; }

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Compares a locale's language and territory ("zh_CN") with its leading part.
bool LocaleIs(std::string_view locale, std::string_view langTerritory) {
  if (locale.size() < langTerritory.size()) return false;
  for (size_t i = 0; i < langTerritory.size(); ++i) {
    char a = locale[i];
    char b = langTerritory[i];
    if (b == '_') {
      if (a != '_' && a != '-') return false;
    } else if ((a | 0x20) != (b | 0x20)) {
      return false;
    }
  }
  if (locale.size() == langTerritory.size()) return true;
  char next = locale[langTerritory.size()];
  return next == '.' || next == '@';
}

}  // namespace

int SystemCodePage() {
  int forced = g_systemOverride.load(std::memory_order_relaxed);
  if (forced != 0) return forced;
  return CodePageFromEnvironment([](const char* name) { return std::getenv(name); });
}

void SetSystemCodePage(std::optional<int> codePage) {
  g_systemOverride.store(codePage ? NormalizeSystemCodePage(*codePage) : 0,
                         std::memory_order_relaxed);
}

int CodePageOfLocale(std::string_view locale) {
  if (LocaleIs(locale, "zh_CN") || LocaleIs(locale, "zh_SG")) return CP_GBK;
  if (LocaleIs(locale, "zh_TW") || LocaleIs(locale, "zh_HK")) return CP_BIG5;
  return CP_OEM_US;
}

int CodePageFromEnvironment(const EnvLookup& getEnv) {
  if (const char* forced = getEnv("VRK_CODEPAGE"); forced != nullptr && *forced != '\0') {
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(forced, &end, 10);
    if (errno == 0 && end != forced && *end == '\0') return NormalizeSystemCodePage(value);
  }
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = getEnv(name);
    if (value != nullptr && *value != '\0') return CodePageOfLocale(value);
  }
  return CP_OEM_US;
}

bool IsSupportedCodePage(int codePage) { return codePage == CP_SYSTEM || IconvName(codePage); }

bool IsDBCSLeadByte(unsigned char byte, int codePage) {
  codePage = Resolve(codePage);
  return (codePage == CP_GBK || codePage == CP_BIG5) && byte >= 0x81 && byte <= 0xFE;
}

std::string WideToBytes(std::u16string_view text, int codePage) {
  const char* name = IconvName(Resolve(codePage));
  if (name == nullptr || text.empty()) return {};
  iconv_t cd = Descriptor(name, kWideName);
  if (cd == nullptr) return {};

  std::string out;
  out.reserve(text.size() * 2);
  const char16_t* pos = text.data();
  const char16_t* const end = text.data() + text.size();
  char chunk[4096];
  while (pos < end) {
    // iconv's input pointer is non-const in its signature but is only read.
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(pos));
    size_t inLeft = static_cast<size_t>(end - pos) * sizeof(char16_t);
    char* outPtr = chunk;
    size_t outLeft = sizeof chunk;
    size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    int error = errno;
    out.append(chunk, static_cast<size_t>(outPtr - chunk));
    pos = reinterpret_cast<const char16_t*>(in);
    if (result != static_cast<size_t>(-1) || error == E2BIG || pos >= end) continue;
    // A character the code page cannot hold, or a surrogate without its
    // partner: one "?" for the whole character.
    out.push_back('?');
    if (IsHighSurrogate(*pos) && pos + 1 < end && IsLowSurrogate(pos[1]))
      pos += 2;
    else
      pos += 1;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

std::u16string BytesToWide(std::string_view bytes, int codePage) {
  const char* name = IconvName(Resolve(codePage));
  if (name == nullptr || bytes.empty()) return {};
  iconv_t cd = Descriptor(kWideName, name);
  if (cd == nullptr) return {};

  std::u16string out;
  out.reserve(bytes.size());
  const char* pos = bytes.data();
  const char* const end = bytes.data() + bytes.size();
  char16_t chunk[2048];
  while (pos < end) {
    char* in = const_cast<char*>(pos);
    size_t inLeft = static_cast<size_t>(end - pos);
    char* outPtr = reinterpret_cast<char*>(chunk);
    size_t outLeft = sizeof chunk;
    size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    int error = errno;
    out.append(chunk,
               static_cast<size_t>(outPtr - reinterpret_cast<char*>(chunk)) / sizeof(char16_t));
    pos = in;
    if (result != static_cast<size_t>(-1) || error == E2BIG || pos >= end) continue;
    // EILSEQ (a byte that starts no character here) or EINVAL (a sequence
    // cut short by the end): the one byte becomes "?" and the next byte
    // starts afresh, so a broken lead byte never swallows the line end after it.
    out.push_back(u'?');
    ++pos;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

std::string WideToAnsi(std::u16string_view text) { return WideToBytes(text, CP_SYSTEM); }

std::u16string AnsiToWide(std::string_view bytes) { return BytesToWide(bytes, CP_SYSTEM); }

std::string WideToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(out,
                 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::u16string Utf8ToWide(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    // Number of continuation bytes and the allowed range of the first one
    // (the narrower ranges exclude overlong forms, surrogates and values
    // above U+10FFFF).
    size_t need = 0;
    unsigned char low = 0x80, high = 0xBF;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      need = 1;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      need = 2;
      cp = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      need = 3;
      cp = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    size_t taken = 1;
    for (; taken <= need && i + taken < n; ++taken) {
      unsigned char c = static_cast<unsigned char>(text[i + taken]);
      unsigned char lo = taken == 1 ? low : 0x80;
      unsigned char hi = taken == 1 ? high : 0xBF;
      if (c < lo || c > hi) break;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (taken == need + 1) {
      AppendUtf16(out, cp);
    } else {
      out.push_back(0xFFFD);  // the maximal ill-formed part; the byte that broke it starts anew
    }
    i += taken;
  }
  return out;
}

int CodePageOfCharset(int charset) {
  switch (charset) {
    case GB2312_CHARSET:
      return CP_GBK;
    case CHINESEBIG5_CHARSET:
      return CP_BIG5;
    default:
      return SystemCodePage();
  }
}

}  // namespace platform
