#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

/* Code pages the suite uses. Byte strings hold text in one of them; wide
   strings are UTF-16. */
enum : int {
  CP_GBK = 936,     // simplified Chinese
  CP_BIG5 = 950,    // traditional Chinese
  CP_OEM_US = 437,  // English
  CP_SYSTEM = 0,    // the system code page, whatever it is
};

/* The system's ANSI code page: 936 for a zh_CN or zh_SG locale, 950 for
   zh_TW or zh_HK, 437 otherwise, read from LC_ALL, LC_CTYPE or LANG (first
   one set and not empty). A value set by SetSystemCodePage wins; the
   environment variable VRK_CODEPAGE (a number) wins over the locale. Any
   number other than 936 and 950 reads as 437, as any other locale does.
   The environment is read at each call; the result is always 936, 950 or 437. */
int SystemCodePage();
/* Puts a code page in place of the system's (tests); nullopt goes back to
   the environment. Safe to call while other threads convert. */
void SetSystemCodePage(std::optional<int> codePage);

/* The code page of one locale name ("zh_TW.Big5", "en_US.UTF-8", "C"), by
   the table of SystemCodePage. Language and territory compare without regard
   to case; "-" may stand for "_". */
int CodePageOfLocale(std::string_view locale);
/* SystemCodePage's reading of an environment, without the override: getEnv
   returns a variable's value or nullptr when it is not set. */
using EnvLookup = std::function<const char*(const char* name)>;
int CodePageFromEnvironment(const EnvLookup& getEnv);

/* True for the code pages this layer converts: 936, 950, 437 (and 0). */
bool IsSupportedCodePage(int codePage);

/* True when the byte starts a two-byte character in the code page (0: the
   system's): 0x81-0xFE in 936 and 950, never in 437. */
bool IsDBCSLeadByte(unsigned char byte, int codePage);

/* Wide text to bytes in a code page. Characters the code page cannot hold
   become "?" (one per character; a surrogate pair is one character), as do
   unpaired surrogates. An unsupported code page gives an empty result. */
std::string WideToBytes(std::u16string_view text, int codePage);
/* Bytes in a code page to wide text. An invalid byte, and a lead byte whose
   sequence is cut short, become "?" and conversion goes on with the next
   byte. An unsupported code page gives an empty result. */
std::u16string BytesToWide(std::string_view bytes, int codePage);

/* The plain conversions in the system code page. */
std::string WideToAnsi(std::u16string_view text);
std::u16string AnsiToWide(std::string_view bytes);

/* UTF-8 forms, for the places that talk to Qt, SQLite, libxml2 and the
   terminal. Invalid input (a malformed, overlong or surrogate sequence, or
   an unpaired surrogate in wide text) becomes U+FFFD, one for each maximal
   ill-formed part. */
std::string WideToUtf8(std::u16string_view text);
std::u16string Utf8ToWide(std::string_view text);

/* Character set numbers of fonts, and the code page a font's character set
   decodes with: GB2312 (134) 936, Big5 (136) 950, anything else the system
   code page. */
enum : int { DEFAULT_CHARSET = 1, GB2312_CHARSET = 134, CHINESEBIG5_CHARSET = 136 };
int CodePageOfCharset(int charset);

}  // namespace platform
