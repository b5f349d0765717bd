#include "platform/core/CodePage.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

namespace platform {
namespace {

// Hex dump of bytes, so that a failing case shows which byte is wrong.
std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string Hex(std::u16string_view text) {
  std::string out;
  char buf[8];
  for (char16_t c : text) {
    snprintf(buf, sizeof buf, "%s%04X", out.empty() ? "" : " ", static_cast<unsigned>(c));
    out += buf;
  }
  return out;
}

class CodePageTest : public ::testing::Test {
 protected:
  void TearDown() override { SetSystemCodePage(std::nullopt); }
};

// Texts every code page holds, with their bytes; they must convert both ways.
struct RoundTripCase {
  int codePage;
  std::u16string wide;
  std::string bytes;
};

const RoundTripCase kRoundTrips[] = {
    {936, u"中", "\xD6\xD0"},
    {936, u"中文abc",
     "\xD6\xD0\xCE\xC4"
     "abc"},
    {936, u"确定", "\xC8\xB7\xB6\xA8"},
    {936, u"门é│", "\xC3\xC5\xA8\xA6\xA9\xA6"},
    {936, u"€", "\x80"},
    {950, u"中", "\xA4\xA4"},
    {950, u"中文abc",
     "\xA4\xA4\xA4\xE5"
     "abc"},
    {950, u"門€", "\xAA\xF9\xA3\xE1"},
    {437, u"éüñ│", "\x82\x81\xA4\xB3"},
    {437, u"\u00A0", "\xFF"},
    {936, u"tab\tline\r\n", "tab\tline\r\n"},
    {950, std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
};

TEST_F(CodePageTest, ConvertsKnownCharactersBothWays) {
  for (const auto& c : kRoundTrips) {
    SCOPED_TRACE(testing::Message() << "code page " << c.codePage << ", bytes " << Hex(c.bytes));
    EXPECT_EQ(Hex(WideToBytes(c.wide, c.codePage)), Hex(c.bytes));
    EXPECT_EQ(Hex(BytesToWide(c.bytes, c.codePage)), Hex(c.wide));
  }
}

TEST_F(CodePageTest, ProgramLiteralsAreGbBytes) {
  // Every target is compiled so that narrow literals hold GB text.
  EXPECT_EQ(Hex(std::string("确定")), Hex(WideToBytes(u"确定", CP_GBK)));
}

struct OneWayCase {
  int codePage;
  std::u16string wide;
  std::string bytes;
};

// Characters the code page cannot hold: one "?" each, a pair counting as one.
const OneWayCase kUnmappable[] = {
    {936, u"a한b", "a?b"},
    {936, u"x😀y", "x?y"},  // surrogate pair: one character, one "?"
    {936, u"😀😀", "??"},
    {950, u"门中", "?\xA4\xA4"},  // simplified form, absent from Big5
    {437, u"中文", "??"},
    {437, u"é€", "\x82?"},
    {936, u"a\xD800", "a?"},  // high surrogate at the end
    {936,
     u"\xD800"
     "b",
     "?b"},  // high surrogate before a plain character
    {936,
     u"\xDC00"
     "c",
     "?c"},                              // lone low surrogate
    {950, u"\xDC00\xD800", "??"},        // reversed pair: two lone surrogates
    {437, u"\xD83D\xD83D\xDE00", "??"},  // lone high, then a whole pair
};

TEST_F(CodePageTest, UnmappableCharactersBecomeOneQuestionMarkEach) {
  for (const auto& c : kUnmappable) {
    SCOPED_TRACE(testing::Message() << "code page " << c.codePage << ", text " << Hex(c.wide));
    EXPECT_EQ(Hex(WideToBytes(c.wide, c.codePage)), Hex(c.bytes));
  }
}

// Invalid bytes and sequences cut short: "?" and on with the next byte.
const OneWayCase kInvalidBytes[] = {
    {936, u"a?", "a\xD6"},    // lead byte at the end
    {936, u"?\n", "\xD6\n"},  // lead byte before a line end keeps the line end
    {936, u"?中", "\xFF\xD6\xD0"}, {936, u"??", "\xFF\xFF"},      {950, u"?", "\xA4"},
    {950, u"? x", "\xA4 x"},       {950, u"中?", "\xA4\xA4\xA4"}, {950, u"?中", "\xFF\xA4\xA4"},
};

TEST_F(CodePageTest, InvalidOrTruncatedBytesBecomeQuestionMarks) {
  for (const auto& c : kInvalidBytes) {
    SCOPED_TRACE(testing::Message() << "code page " << c.codePage << ", bytes " << Hex(c.bytes));
    EXPECT_EQ(Hex(BytesToWide(c.bytes, c.codePage)), Hex(c.wide));
  }
}

TEST_F(CodePageTest, LongTextsWithErrorsAcrossBufferBoundaries) {
  // Longer than the conversion's work buffers, with faults scattered through
  // it, so that every refill and every recovery happens many times.
  std::u16string wide;
  std::string gb;
  for (int i = 0; i < 5000; ++i) {
    wide += i % 97 == 0 ? u"한" : u"中";
    gb += i % 97 == 0 ? "?" : "\xD6\xD0";
    wide += u'a';
    gb += 'a';
  }
  EXPECT_EQ(WideToBytes(wide, CP_GBK), gb);

  std::string broken;
  std::u16string expected;
  for (int i = 0; i < 5000; ++i) {
    broken += i % 89 == 0 ? "\xFF" : "\xD6\xD0";
    expected += i % 89 == 0 ? u"?" : u"中";
  }
  broken += "\xD6";
  expected += u"?";
  EXPECT_EQ(BytesToWide(broken, CP_GBK), expected);
}

TEST_F(CodePageTest, UnsupportedCodePagesGiveEmptyResults) {
  for (int codePage : {1252, 65001, -1, 20936}) {
    SCOPED_TRACE(codePage);
    EXPECT_FALSE(IsSupportedCodePage(codePage));
    EXPECT_EQ(WideToBytes(u"abc", codePage), "");
    EXPECT_EQ(BytesToWide("abc", codePage), u"");
  }
  for (int codePage : {0, 936, 950, 437}) EXPECT_TRUE(IsSupportedCodePage(codePage)) << codePage;
}

TEST_F(CodePageTest, CodePageZeroAndAnsiFormsFollowTheSystemCodePage) {
  SetSystemCodePage(950);
  EXPECT_EQ(AnsiToWide("\xA4\xA4"), u"中");
  EXPECT_EQ(WideToAnsi(u"中"), "\xA4\xA4");
  EXPECT_EQ(WideToBytes(u"中", CP_SYSTEM), "\xA4\xA4");
  SetSystemCodePage(936);
  EXPECT_EQ(AnsiToWide("\xD6\xD0"), u"中");
  EXPECT_EQ(WideToAnsi(u"中"), "\xD6\xD0");
  SetSystemCodePage(437);
  EXPECT_EQ(WideToAnsi(u"中é"), "?\x82");
}

TEST_F(CodePageTest, OverrideWinsAndOtherNumbersReadAs437) {
  const int fromEnvironment = SystemCodePage();
  // Whatever the environment says, each override is seen at once.
  for (int codePage : {936, 950, 437}) {
    SetSystemCodePage(codePage);
    EXPECT_EQ(SystemCodePage(), codePage);
  }
  SetSystemCodePage(1252);
  EXPECT_EQ(SystemCodePage(), 437);
  SetSystemCodePage(0);
  EXPECT_EQ(SystemCodePage(), 437);
  SetSystemCodePage(std::nullopt);
  EXPECT_EQ(SystemCodePage(), fromEnvironment);
}

TEST_F(CodePageTest, LocaleTable) {
  const struct {
    const char* locale;
    int codePage;
  } cases[] = {
      {"zh_CN", 936},
      {"zh_CN.UTF-8", 936},
      {"zh_CN.GB18030", 936},
      {"zh_SG.GBK", 936},
      {"ZH_cn.utf8", 936},
      {"zh-CN", 936},
      {"zh_CN@euro", 936},
      {"zh_TW", 950},
      {"zh_TW.Big5", 950},
      {"zh_HK.UTF-8", 950},
      {"zh_MO.UTF-8", 437},
      {"zh", 437},
      {"zh_CNX", 437},
      {"en_US.UTF-8", 437},
      {"C", 437},
      {"POSIX", 437},
      {"", 437},
      {"de_DE.ISO-8859-1", 437},
  };
  for (const auto& c : cases) EXPECT_EQ(CodePageOfLocale(c.locale), c.codePage) << c.locale;
}

TEST_F(CodePageTest, EnvironmentPrecedence) {
  const struct {
    std::map<std::string, std::string> env;
    int codePage;
  } cases[] = {
      {{}, 437},
      {{{"LANG", "zh_TW.UTF-8"}}, 950},
      {{{"LANG", "zh_TW.UTF-8"}, {"LC_CTYPE", "zh_CN.UTF-8"}}, 936},
      {{{"LANG", "zh_TW.UTF-8"}, {"LC_CTYPE", "zh_CN.UTF-8"}, {"LC_ALL", "C"}}, 437},
      {{{"LANG", "zh_TW.UTF-8"}, {"LC_ALL", ""}}, 950},  // empty counts as not set
      {{{"LANG", "C"}, {"VRK_CODEPAGE", "936"}}, 936},
      {{{"LC_ALL", "zh_CN"}, {"VRK_CODEPAGE", "950"}}, 950},
      {{{"LC_ALL", "zh_CN"}, {"VRK_CODEPAGE", "1252"}}, 437},
      {{{"LC_ALL", "zh_CN"}, {"VRK_CODEPAGE", "95O"}}, 936},  // not a number: ignored
      {{{"LC_ALL", "zh_CN"}, {"VRK_CODEPAGE", ""}}, 936},
  };
  for (const auto& c : cases) {
    int got = CodePageFromEnvironment([&](const char* name) -> const char* {
      auto it = c.env.find(name);
      return it == c.env.end() ? nullptr : it->second.c_str();
    });
    std::string described;
    for (const auto& [k, v] : c.env) described += k + "=" + v + " ";
    EXPECT_EQ(got, c.codePage) << described;
  }
}

TEST_F(CodePageTest, CharsetsAndLeadBytes) {
  SetSystemCodePage(950);
  EXPECT_EQ(CodePageOfCharset(GB2312_CHARSET), 936);
  EXPECT_EQ(CodePageOfCharset(CHINESEBIG5_CHARSET), 950);
  EXPECT_EQ(CodePageOfCharset(DEFAULT_CHARSET), 950);
  SetSystemCodePage(437);
  EXPECT_EQ(CodePageOfCharset(DEFAULT_CHARSET), 437);
  EXPECT_EQ(CodePageOfCharset(0), 437);

  EXPECT_TRUE(IsDBCSLeadByte(0xD6, CP_GBK));
  EXPECT_TRUE(IsDBCSLeadByte(0x81, CP_BIG5));
  EXPECT_FALSE(IsDBCSLeadByte(0x80, CP_GBK));
  EXPECT_FALSE(IsDBCSLeadByte(0xFF, CP_GBK));
  EXPECT_FALSE(IsDBCSLeadByte('A', CP_GBK));
  EXPECT_FALSE(IsDBCSLeadByte(0xD6, CP_OEM_US));
  EXPECT_FALSE(IsDBCSLeadByte(0xD6, CP_SYSTEM));  // system is 437 here
}

TEST_F(CodePageTest, Utf8FormsConvertBothWays) {
  const struct {
    std::string utf8;
    std::u16string wide;
  } cases[] = {
      {"", u""},
      {"abc", u"abc"},
      {"\xC3\xA9", u"\u00E9"},
      {"\xE4\xB8\xAD\xE6\x96\x87", u"中文"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xEF\xBF\xBF", u"\uFFFF"},
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(Utf8ToWide(c.utf8)), Hex(c.wide)) << Hex(c.utf8);
    EXPECT_EQ(Hex(WideToUtf8(c.wide)), Hex(c.utf8)) << Hex(c.wide);
  }
}

TEST_F(CodePageTest, InvalidUtf8BecomesReplacementPerMaximalPart) {
  const struct {
    std::string utf8;
    std::u16string wide;
  } cases[] = {
      {"\x80", u"\uFFFD"},
      {"\xFF", u"\uFFFD"},
      {"a\xC3", u"a\uFFFD"},  // cut short at the end
      {"\xE4\xB8"
       "a",
       u"\uFFFD"
       "a"},  // cut short: one replacement
      {"\xF0\x9F\x98", u"\uFFFD"},
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong "/"
      {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},            // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xC3\xA9\xA9", u"\u00E9\uFFFD"},                  // stray continuation
  };
  for (const auto& c : cases) EXPECT_EQ(Hex(Utf8ToWide(c.utf8)), Hex(c.wide)) << Hex(c.utf8);

  EXPECT_EQ(Hex(WideToUtf8(u"\xD800")), "EF BF BD");
  EXPECT_EQ(Hex(WideToUtf8(u"a\xDC00"
                           "b")),
            "61 EF BF BD 62");
  EXPECT_EQ(Hex(WideToUtf8(u"\xD83D\xD83D\xDE00")), "EF BF BD F0 9F 98 80");
}

TEST_F(CodePageTest, ThreadsConvertIndependently) {
  // Each thread keeps its own converters; interleaved use must not mix up
  // their states or code pages.
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &failures] {
      const RoundTripCase& c = kRoundTrips[t % 3 == 0 ? 1 : t % 3 == 1 ? 6 : 8];
      for (int i = 0; i < 2000; ++i) {
        if (WideToBytes(c.wide, c.codePage) != c.bytes) ++failures[t];
        if (BytesToWide(c.bytes + "\xFF", c.codePage).substr(0, c.wide.size()) != c.wide)
          ++failures[t];
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

}  // namespace
}  // namespace platform
