#include "runtime/LibStrs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/Exception.h"
#include "platform/core/NumText.h"
#include "platform/core/SysUtils.h"
#include "runtime/RuntimeTestSupport.h"

namespace LibStrs {
namespace {

using platform::DateTime;
using platform::EncodeDate;
using platform::Variant;
using platform::VarType;

DateTime Day(int year, int month, int day) { return EncodeDate(year, month, day); }

TEST(LibStrsTest, PadRightFillsUpToTheWidth) {
  const struct {
    const char* text;
    std::vector<int> args;
    const char* expected;
  } cases[] = {
      {"AB", {4}, "AB  "},   {"ABCDE", {4}, "ABCDE"},  // longer texts are not cut
      {"ABCD", {4}, "ABCD"}, {"AB", {4, '0'}, "AB00"}, {"", {3, '*'}, "***"},
      {"AB", {}, "AB"},      {"AB", {-1}, "AB"},       {"中", {4}, "中  "},  // widths count bytes
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PadRight(c.text, c.args), c.expected) << c.text;
  }
}

TEST(LibStrsTest, GetFieldWalksTheSeparatedText) {
  const struct {
    const char* text;
    const char* separator;
    int index;
    const char* expected;
  } cases[] = {
      {"a;b;c", ";", 1, "a"},
      {"a;b;c", ";", 2, "b"},
      {"a;b;c", ";", 3, "c"},
      {"a;b;c", ";", 4, ""},
      {"a;b", ";", 3, ""},
      {"", ";", 1, ""},
      {"a;b;", ";", 2, "b"},
      {"a;b;", ";", 3, ""},  // a trailing separator gives an empty last field
      {";a", ";", 1, ""},
      {"a;b", ";", 0, ""},
      {"a;b", ";", -1, ""},
      {"a<>b<>c", "<>", 2, "b"},
      {"aXbxc", "x", 2, "c"},  // the separator is case-sensitive
      {"abc", "", 1, "abc"},   // no separator: one field
      {"abc", "", 2, ""},
      {"A\x03"
       "B\x03"
       "C",
       kFieldSeparator, 2, "B"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetField(c.text, c.separator, c.index), c.expected)
        << c.text << " / " << c.separator << " / " << c.index;
  }
}

TEST(LibStrsTest, CountFieldsCountsSeparatorsPlusOne) {
  const struct {
    const char* text;
    const char* separator;
    int expected;
  } cases[] = {
      {"", ";", 0},     {"a", ";", 1}, {"a,,b", ",", 3},
      {"a;b;", ";", 3}, {";", ";", 2}, {"aaa", "aa", 3},  // overlapping occurrences count
      {"abc", "", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CountFields(c.text, c.separator), c.expected) << c.text << " / " << c.separator;
  }
}

TEST(LibStrsTest, SplitFirstCutsAtTheFirstSeparator) {
  const struct {
    const char* text;
    const char* separator;
    const char* head;
    const char* rest;
  } cases[] = {
      {"a;b;c", ";", "a", "b;c"}, {"abc", ";", "abc", ""},  {"", ";", "", ""},
      {";x", ";", "", "x"},       {"a--b", "--", "a", "b"}, {"abc", "", "abc", ""},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    std::string head = "old";
    SplitFirst(text, c.separator, head);
    EXPECT_EQ(head, c.head) << c.text;
    EXPECT_EQ(text, c.rest) << c.text;
  }
}

TEST(LibStrsTest, DateToDisplayWritesTheCompanyFormat) {
  const struct {
    int kind;
    const char* separator;
    DateTime date;
    const char* expected;
  } cases[] = {
      {4, "/", Day(1990, 3, 20), "79/03/20"},
      {5, "/", Day(1990, 3, 20), "079/03/20"},
      {4, "/", Day(2024, 1, 5), "113/01/05"},
      {1, "/", Day(2024, 1, 5), "2024/01/05"},
      {2, "-/", Day(2024, 1, 5), "01-05-2024"},  // only the first separator character
      {2, "", Day(2024, 1, 5), "01052024"},
      {3, ".", Day(2024, 1, 5), "05.01.2024"},
      {1, "/", Day(800, 12, 31), "0800/12/31"},  // years are zero-padded
      {5, "/", Day(2911, 1, 1), "1000/01/01"},   // and printed in full when longer
      {1, "/", DateTime{Day(2024, 1, 5).Value + 0.75}, "2024/01/05"},  // time of day ignored
      {0, "/", Day(2024, 1, 5), ""},
      {6, "/", Day(2024, 1, 5), ""},
      {1, "/", DateTime{0}, ""},
      {1, "/", DateTime{1e9}, ""},  // outside the platform's range
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateToDisplay(c.kind, c.separator, c.date), c.expected)
        << "kind " << c.kind << ", " << c.expected;
  }
}

TEST(LibStrsTest, MonthToDisplayWritesYearAndMonth) {
  const struct {
    int kind;
    const char* separator;
    DateTime date;
    const char* expected;
  } cases[] = {
      {1, "/", Day(2024, 1, 5), "2024/01"}, {2, "-", Day(2024, 1, 5), "01-2024"},
      {3, ".", Day(2024, 1, 5), "01.2024"}, {4, "/", Day(1990, 3, 20), "79/03"},
      {5, "/", Day(1990, 3, 20), "079/03"}, {1, "", Day(2024, 11, 5), "202411"},
      {7, "/", Day(2024, 1, 5), ""},        {1, "/", DateTime{0}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MonthToDisplay(c.kind, c.separator, c.date), c.expected) << c.expected;
  }
}

TEST(LibStrsTest, DisplayToDateReadsTheCompanyFormat) {
  const struct {
    const char* text;
    int kind;
    const char* separator;
    double expected;
  } cases[] = {
      {"113/01/05", 5, "/", Day(2024, 1, 5).Value},
      {"79/03/20", 4, "/", Day(1990, 3, 20).Value},
      {"2024/01/05", 1, "/", Day(2024, 1, 5).Value},
      {"01-05-2024", 2, "-", Day(2024, 1, 5).Value},
      {"05.01.2024", 3, ".", Day(2024, 1, 5).Value},
      {" 2024 / 01 / 05 ", 1, "/", Day(2024, 1, 5).Value},  // parts are trimmed
      {"2024/02/30", 1, "/", Day(2024, 3, 1).Value},        // the day runs on
      {"2024/01/05/9", 1, "/", Day(2024, 1, 5).Value},      // after a third separator: ignored
      {"2024-/01-/05", 1, "-/", Day(2024, 1, 5).Value},     // the whole separator text
      {"2024/13/01", 1, "/", 0},
      {"2024/0/05", 1, "/", 0},
      {"2024/01/x", 1, "/", 0},
      {"2024/01", 1, "/", 0},
      {"2024/01/05", 1, "", 0},  // no separator: parts 2 and 3 are empty
      {"2024/01/05", 1, "-/", 0},
      {"2024/01/05", 6, "/", 0},
      {"", 1, "/", 0},
      {"   ", 1, "/", 0},
      {"10000/01/01", 1, "/", 0},  // beyond the platform's years
      {"9999/12/32", 1, "/", 0},   // runs on past its last day
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DisplayToDate(c.text, c.kind, c.separator).Value, c.expected)
        << c.text << " kind " << c.kind;
  }
}

TEST(LibStrsTest, YmdToDateNeedsEightCharactersOfARealDate) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"20240105", Day(2024, 1, 5).Value},
      {"17521231", Day(1752, 12, 31).Value},  // no range check here
      {"2024010", 0},
      {"202401051", 0},
      {"20240230", 0},
      {"20241301", 0},
      {"00000101", 0},
      {"2024 105", 0},
      {"abcdefgh", 0},
      {"", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(YmdToDate(c.text).Value, c.expected) << c.text;
  }
}

TEST(LibStrsTest, IsValidYmdAcceptsRealDatesInRange) {
  // The compatibility build has no range check: every real date is valid.
  constexpr bool kRangeChecked = !VK_COMPAT_BUILD;
  const struct {
    const char* text;
    bool expected;
  } cases[] = {
      {"", true},  // an empty condition sets no limit
      {"20240229", true},
      {"20230229", false},
      {"17530101", true},
      {"99991231", true},
      {"17521231", !kRangeChecked},
      {"00010101", !kRangeChecked},
      {"20241301", false},
      {"2024x101", false},
      {"2024013", true},  // characters 7-8 read "3": the length is not checked
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsValidYmd(c.text), c.expected) << c.text;
  }
}

TEST(LibStrsTest, IifAndIsEmptyOrNull) {
  EXPECT_EQ(Iif(true, Variant(1), Variant("b")), Variant(1));
  EXPECT_EQ(Iif(false, Variant(1), Variant("b")), Variant("b"));
  const struct {
    Variant value;
    bool expected;
  } cases[] = {
      {Variant(), true},   {Variant::Null(), true}, {Variant(""), false},
      {Variant(0), false}, {Variant(u""), false},   {platform::VarArrayOf({}), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsEmptyOrNull(c.value), c.expected) << platform::VarTypeName(c.value.Type());
  }
}

TEST(LibStrsTest, DateAddMovesByMonthsOrDays) {
  const struct {
    Variant value;
    const char* unit;
    int n;
    const char* expected;
  } cases[] = {
      {Variant("20240131"), "M", 1, "20240229"},  // the day is reduced to fit
      {Variant("20241215"), "M", 1, "20250115"},
      {Variant("20240331"), "m", -1, "20240229"},
      {Variant("20240115"), "m", -1, "20231215"},
      {Variant("20240115"), "M", 11, "20241215"},  // remainder 0 gives December
      {Variant("20241231"), "M", 12, "20251231"},
      {Variant("20240105"), "D", 30, "20240204"},
      {Variant("20240301"), "d", -1, "20240229"},
      {Variant("20240105"), "D", 0, "20240105"},
      {Variant(u"20240105"), "D", 1, "20240106"},  // a wide text too
      {Variant(Day(2024, 1, 31)), "M", 13, "20250228"},
      {Variant(DateTime{Day(2024, 1, 31).Value + 0.5}), "D", 1, "20240201"},
      {Variant("99991231"), "D", 1, ""},  // beyond year 9999
      {Variant("99991215"), "M", 1, ""},
      {Variant("00010115"), "M", -1, ""},
      {Variant(""), "M", 1, ""},
      {Variant("20240230"), "D", 1, ""},  // not a date
      {Variant("20240105"), "Y", 1, ""},
      {Variant("20240105"), "", 1, ""},
      {Variant(DateTime{0}), "D", 1, ""},
      {Variant(20240105), "D", 1, ""},  // a number is neither text nor date
      {Variant::Null(), "D", 1, ""},
      {Variant(), "D", 1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateAdd(c.value, c.unit, c.n), c.expected)
        << platform::VarToStr(c.value) << " " << c.unit << " " << c.n;
  }
}

TEST(LibStrsTest, ReplaceAllReplacesUntilNoneIsLeft) {
  const struct {
    const char* text;
    const char* oldText;
    const char* newText;
    bool trim;
    const char* expected;
  } cases[] = {
      {"x;0;y;0;", ";0;", ";1;", true, "x;1;y;1;"},
      {"aab", "ab", "b", true, "b"},  // an occurrence formed by a replacement goes too
      {"xaaay", "aa", "a", false, "xay"},
      {"abab", "ab", "", true, ""},
      {"a-b-c", "-", "", true, "abc"},
      {"  abc  ", "a", "A", true, "abc"},  // equal ignoring case: only trimmed
      {"  abc  ", "a", "A", false, "  abc  "},
      {"\tab\r\n", "a", "b", true, "bb"},
      {" abc ", "", "x", true, "abc"},
      {"a.b.c", ".", "..", false, "a..b..c"},  // the new text holds the old: once each
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceAll(c.text, c.oldText, c.newText, c.trim), c.expected) << c.text;
  }
}

TEST(LibStrsTest, DaysInMonthFollowsTheGregorianCalendar) {
  const struct {
    int year, month, expected;
  } cases[] = {
      {1900, 2, 28}, {2000, 2, 29},  {2024, 2, 29}, {2023, 2, 28}, {2024, 1, 31},
      {2024, 4, 30}, {2024, 12, 31}, {2024, 13, 0}, {2024, 0, 0},  {2024, -1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DaysInMonth(c.year, c.month), c.expected) << c.year << "-" << c.month;
  }
}

TEST(LibStrsTest, IsLocalHostAddressIsAnExactMatch) {
  EXPECT_TRUE(IsLocalHostAddress("127.0.0.1"));
  for (const char* other : {"127.0.0.1 ", "localhost", "127.0.0.01", "", "127.0.0.2"}) {
    EXPECT_FALSE(IsLocalHostAddress(other)) << other;
  }
}

class CodePageTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetSystemCodePage(936); }
  void TearDown() override { platform::SetSystemCodePage(std::nullopt); }
};

const char kGbChinese[] = "\xD6\xD0\xCE\xC4";    // 中文 in GB
const char kBig5Chinese[] = "\xA4\xA4\xA4\xE5";  // 中文 in Big5

TEST_F(CodePageTest, WideAndCodePageTextsConvertBothWays) {
  const struct {
    std::u16string wide;
    int codePage;
    std::string bytes;
  } cases[] = {
      {u"中文", 936, kGbChinese},
      {u"中文", 950, kBig5Chinese},
      {u"中文", 437, "??"},
      {u"中文", 0, kGbChinese},      // the system's
      {u"中文", 65001, kGbChinese},  // unknown here: the system's
      {u"", 950, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WideToCodePage(c.wide, c.codePage), c.bytes) << c.codePage;
    if (c.codePage != 437) {
      EXPECT_EQ(CodePageToWide(c.bytes, c.codePage), c.wide) << c.codePage;
    }
  }
  // Both stop at a zero character, as the system conversions do.
  EXPECT_EQ(WideToCodePage(std::u16string(u"ab\0cd", 5), 936), "ab");
  EXPECT_EQ(CodePageToWide(std::string("ab\0cd", 5), 936), u"ab");
}

TEST_F(CodePageTest, VarWideToCodePageConvertsEveryTextToBytes) {
  const struct {
    Variant value;
    int codePage;
    Variant expected;
  } cases[] = {
      {Variant(u"中文"), 936, Variant(std::string(kGbChinese))},
      {Variant(u"中文"), 950, Variant(std::string(kBig5Chinese))},
      {Variant(std::string(kGbChinese)), 950, Variant(std::string(kBig5Chinese))},
      {Variant(), 936, Variant()},
      {Variant::Null(), 936, Variant::Null()},
      {Variant(12), 936, Variant(12)},
      {platform::VarArrayOf({Variant(u"中"), Variant(5), Variant::Null(),
                             platform::VarArrayOf({Variant(u"文"), Variant(true)})}),
       936,
       platform::VarArrayOf({Variant("\xD6\xD0"), Variant(5), Variant::Null(),
                             platform::VarArrayOf({Variant("\xCE\xC4"), Variant(true)})})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VarWideToCodePage(c.value, c.codePage), c.expected)
        << platform::VarTypeName(c.value.Type());
  }
}

TEST_F(CodePageTest, VarCodePageToWideReadsEveryTextInTheCodePage) {
  const struct {
    Variant value;
    int codePage;
    Variant expected;
  } cases[] = {
      {Variant(std::string(kGbChinese)), 936, Variant(u"中文")},
      {Variant(std::string(kBig5Chinese)), 950, Variant(u"中文")},
      {Variant(u"中文"), 936, Variant(u"中文")},  // its GB bytes read as GB
      {Variant(3.5), 936, Variant(3.5)},
      {platform::VarArrayOf({Variant("\xD6\xD0"), platform::VarArrayOf({Variant("\xCE\xC4")})}),
       936, platform::VarArrayOf({Variant(u"中"), platform::VarArrayOf({Variant(u"文")})})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VarCodePageToWide(c.value, c.codePage), c.expected)
        << platform::VarTypeName(c.value.Type());
  }
}

TEST_F(CodePageTest, ArraysKeepTheirBoundsAndTablesKeepTheirNestedArrays) {
  Variant list = platform::VarArrayCreate({{1, 2}});
  list[1] = Variant(u"中");
  list[2] = Variant(7);
  const Variant bytes = VarWideToCodePage(list, 936);
  ASSERT_EQ(bytes.LowBound(), 1);
  EXPECT_EQ(bytes[1], Variant("\xD6\xD0"));
  EXPECT_EQ(bytes[2], Variant(7));

  // A table converts its text cells and leaves arrays in cells alone.
  Variant table = platform::VarArrayCreate({{0, 1}, {0, 1}});
  table.At(0, 0) = Variant(u"中");
  table.At(0, 1) = platform::VarArrayOf({Variant(u"文")});
  table.At(1, 0) = Variant(2);
  table.At(1, 1) = Variant("\xCE\xC4");
  const Variant converted = VarWideToCodePage(table, 950);
  EXPECT_EQ(converted.At(0, 0), Variant("\xA4\xA4"));
  EXPECT_EQ(converted.At(0, 1), platform::VarArrayOf({Variant(u"文")}));
  EXPECT_EQ(converted.At(1, 0), Variant(2));
  EXPECT_EQ(converted.At(1, 1), Variant("\xA4\xE5"));

  // A request travels to the server in wide texts and comes back unchanged.
  const Variant request = platform::VarArrayOf(
      {platform::VarArrayOf({Variant("PVQR82"), Variant(1)}), Variant(kGbChinese)});
  const Variant wide = VarCodePageToWide(request, 936);
  EXPECT_EQ(wide[1], Variant(u"中文"));
  EXPECT_EQ(VarWideToCodePage(wide, 936), request);
}

TEST(LibStrsTest, JoinCountedWritesTheCountAndItems) {
  const struct {
    const char* prefix;
    Variant counted;
    std::string expected;
  } cases[] = {
      {"P", platform::VarArrayOf({Variant(2), Variant("x"), Variant("y")}),
       "P\x03"
       "2\x03x\x03y\x03"},
      {"", platform::VarArrayOf({Variant(0)}),
       "\x03"
       "0\x03"},
      {"P", platform::VarArrayOf({Variant("1"), Variant(5), Variant("unused")}),
       "P\x03"
       "1\x03"
       "5\x03"},
      {"P", platform::VarArrayOf({Variant(1), Variant::Null()}),
       "P\x03"
       "1\x03\x03"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JoinCounted(c.prefix, c.counted), c.expected) << c.prefix;
  }
  // The errors of a bad array reach the caller.
  EXPECT_THROW(JoinCounted("P", platform::VarArrayOf({Variant("abc")})), platform::EVariantError);
  EXPECT_THROW(JoinCounted("P", platform::VarArrayOf({Variant(3), Variant("a")})),
               platform::EVariantError);
  EXPECT_THROW(JoinCounted("P", Variant("2")), platform::EVariantError);
}

TEST(LibStrsTest, StripMaskLeavesTheEnteredCharacters) {
  const struct {
    const char* value;
    const char* mask;
    const char* expected;
  } cases[] = {
      // Date masks keep literals in the text and show blanks as spaces.
      {"2024/01/05", "9999/99/99;1; ", "20240105"},
      {"01-05-2024", "99-99-9999;1; ", "01052024"},
      {"113/01/05", "999/99/99;1; ", "1130105"},
      {"20240105", "9999/99/99;1; ", "20240105"},  // literals the value lacks are supplied
      {"2024/01", "9999/99/99;1; ", "202401  "},
      {"", "9999/99/99;1; ", "        "},
      {"12:30", "99:99;1;_", "1230"},
      {"2024/01/05", "9999/99/99", "20240105"},  // no fields: literals kept, blank "_"
      // Without saved literals the value is only the input characters.
      {"20240105", "9999/99/99;0;_", "20240105"},
      {"2024", "9999/99/99;0;_", "2024    "},
      {"PO12345678901", "!aaaa-aaaaaaaaaaa;0; ", "  PO12345678901"},  // "!": from the right
      {"PO12345678901", "aaaa-aaaaaaaaaaa;0; ", "PO12345678901  "},
      {"PO  -12345678901", "!aaaa-aaaaaaaaaaa;1; ", "PO  12345678901"},
      {"AB-12345678901", "!aaaa-aaaaaaaaaaa;1; ", "  AB12345678901"},
      {"2024/01/05", "9999/99/99;0;_", "20240105"},  // literals are taken where they match
      {"1234567", "999;0;_", "123"},                 // characters beyond the places are dropped
      {"1234567", "!999;0;_", "567"},
      // The blank character reads as a blank.
      {"12_45", "99999;1;_", "12 45"},
      {"12*45", "99999;1;*", "12 45"},
      // Escaped mask characters are literals; case directives take no place
      // and set the case of the letters after them.
      {"9123-9", "\\9999-\\9;1;_", "123"},
      {"abCD", ">LL<ll;1;_", "ABcd"},
      {"abCD", ">L<>L<ll;1;_", "Abcd"},
      {"中文", ">cccc;1;_", "中文"},  // case rules touch ASCII letters only
      {"any text", "", "any text"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StripMask(c.value, c.mask), c.expected) << c.value << " | " << c.mask;
  }
}

TEST(LibStrsTest, StripMaskReadsSlashAndColonAsTheFormatSeparators) {
  platform::FormatSettings& settings = platform::GlobalFormatSettings();
  const platform::FormatSettings saved = settings;
  settings.DateSeparator = '-';
  settings.TimeSeparator = '.';
  EXPECT_EQ(StripMask("2024-01-05", "9999/99/99;1;_"), "20240105");
  EXPECT_EQ(StripMask("12.30", "99:99;1;_"), "1230");
  settings = saved;
}

TEST(LibStrsTest, MsgButtonCaptionMapsTheButtonKinds) {
  const struct {
    const char* name;
    const char* caption;
  } cases[] = {
      {"Yes", "是(&Y)"},       {"No", "否(&N)"},
      {"OK", "确定"},          {"Cancel", "取消"},
      {"Abort", "中断(&A)"},   {"Retry", "重试(&R)"},
      {"Ignore", "忽略(&I)"},  {"All", "全部(&A)"},
      {"NoToAll", "全否(&o)"}, {"YesToAll", "全是(&A)"},
      {"Help", "帮助(&H)"},    {"yes", "yes"},  // case-sensitive
      {"Close", "Close"},      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MsgButtonCaption(c.name), c.caption) << c.name;
  }
}

TEST(LibStrsTest, TextToFloatDefReadsDecimalNumbers) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"1.5", 1.5}, {"  -2.5e3", -2500},
      {"+7", 7},    {"1.5 ", -1},  // trailing blank
      {"abc", -1},  {"", -1},
      {"1,5", -1},  {"12abc", -1},
      {"0x10", -1}, {"  ", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToFloatDef(c.text, -1), c.expected) << "'" << c.text << "'";
  }
}

// Logs go to <install>/Log; the sandbox supplies the registry, clock and folders.
class WriteLogTest : public runtime_test::SandboxTest {};

TEST_F(WriteLogTest, GetInstallPathPrefersTheClientFolder) {
  const struct {
    std::string values;
    std::string expected;
  } cases[] = {
      {RegValue("ClientPath", "/c/") + RegValue("ServerPath", "/s/"), "/c/"},
      {RegValue("ClientPath", "") + RegValue("ServerPath", "/s"), "/s"},
      {RegValue("ClientPath", "D:\\VRK\\Client\\"), "D:/VRK/Client/"},  // "\" read as "/"
      {RegValue("ProfileType", "0"), ""},
  };
  EXPECT_EQ(GetInstallPath(), "");  // no key at all
  for (const auto& c : cases) {
    SetRegistry(c.values);
    EXPECT_EQ(GetInstallPath(), c.expected) << c.values;
  }
}

TEST_F(WriteLogTest, WritesOneStampedLinePerCallUnderTheInstallFolder) {
  SetRegistry(RegValue("ClientPath", Path("client")));
  ASSERT_TRUE(WriteLog("libstrs", "LINE[115] first", "D"));
  SetClock(platform::ComposeDateTime(Day(2024, 3, 5), platform::EncodeTime(23, 59, 59, 999)));
  ASSERT_TRUE(WriteLog("libstrs", "second", "D"));
  EXPECT_EQ(ReadFile(Path("client/Log/Alert_libstrs_20240305.log")),
            "[2024/03/05 14:07:09:045] LINE[115] first\r\n"
            "[2024/03/05 23:59:59:999] second\r\n");
}

TEST_F(WriteLogTest, PeriodAndNameChooseTheFile) {
  SetRegistry(RegValue("ServerPath", Path("server") + "/"));
  const struct {
    const char* name;
    const char* period;
    const char* file;
  } cases[] = {
      {"libstrs", "D", "Alert_libstrs_20240305.log"},
      {"libstrs", "M", "Alert_libstrs_202403.log"},
      {"libstrs", "Y", "Alert_libstrs_2024.log"},
      {"libstrs", "X", "Alert_libstrs_20240305.log"},  // anything else: daily
      {"libstrs", "", "Alert_libstrs_20240305.log"},
      {"trace.txt", "D", "Alert_trace.txt_20240305"},  // a full stop: no ".log"
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteLog(c.name, c.period, c.period)) << c.file;
    const auto content = ReadFile(Path("server/Log/") + c.file);
    ASSERT_TRUE(content.has_value()) << c.file;
    EXPECT_NE(content->find(std::string("] ") + c.period + "\r\n"), std::string::npos) << c.file;
  }
}

TEST_F(WriteLogTest, TimeStampUsesTheFormatSeparators) {
  SetRegistry(RegValue("ClientPath", Path("client")));
  platform::GlobalFormatSettings().DateSeparator = '-';
  platform::GlobalFormatSettings().TimeSeparator = '.';
  ASSERT_TRUE(WriteLog("libstrs", "x", "D"));
  EXPECT_EQ(ReadFile(Path("client/Log/Alert_libstrs_20240305.log")),
            "[2024-03-05 14.07.09.045] x\r\n");
}

TEST_F(WriteLogTest, WithoutInstallFolderWritesUnderTheProgramFolder) {
  const std::string name = "runtime_test_" + platform::IntToStr(getpid());
  const std::string file = platform::ProgramFolder() + "Log/Alert_" + name + "_20240305.log";
  ASSERT_TRUE(WriteLog(name, "no install folder", "D"));
  const auto content = ReadFile(file);
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
  std::filesystem::remove(platform::ProgramFolder() + "Log", ignored);  // only when empty
  EXPECT_EQ(content, "[2024/03/05 14:07:09:045] no install folder\r\n");
}

TEST_F(WriteLogTest, AnUnwritableFolderGivesFalse) {
  // A file where the folder should be: nothing can be created below it.
  WriteFile("blocker", "x");
  SetRegistry(RegValue("ClientPath", Path("blocker")));
  EXPECT_FALSE(WriteLog("libstrs", "lost", "D"));
  WriteFile("client/Log/Alert_libstrs_20240305.log/x", "a folder in the file's place");
  EXPECT_FALSE(WriteLogIn(Path("client"), "libstrs", "lost", "D"));
  EXPECT_TRUE(WriteLogIn(Path("other"), "libstrs", "kept", "D"));
}

TEST_F(WriteLogTest, GetTempDirIsTheTemporaryFolderWithASlash) {
  EXPECT_EQ(GetTempDir(), Path("tmp/"));
}

}  // namespace
}  // namespace LibStrs
