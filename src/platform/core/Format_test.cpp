#include "platform/core/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/core/CodePage.h"
#include "platform/core/Exception.h"

namespace platform {
namespace {

struct Case {
  const char* pattern;
  std::vector<FormatArg> args;
  std::string expected;
};

void ExpectAll(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    try {
      EXPECT_EQ(Format(c.pattern, c.args), c.expected);
    } catch (const Exception& e) {
      ADD_FAILURE() << e.ClassName() << ": " << e.Message();
    }
  }
}

TEST(FormatTest, Integers) {
  ExpectAll({
      {"%d", {42}, "42"},
      {"%d", {-42}, "-42"},
      {"%.2d", {5}, "05"},
      {"%.2d", {-5}, "-05"},
      {"%.4d", {2024}, "2024"},
      {"%.4d", {12345}, "12345"},
      {"%.0d", {0}, "0"},
      {"%d%.2d%.2d", {2024, 3, 5}, "20240305"},
      {"%.2d:%.2d", {8, 5}, "08:05"},
      {"%5d|", {42}, "   42|"},
      {"%-5d|", {42}, "42   |"},
      {"%6.3d", {-7}, "  -007"},
      {"%d", {int64_t{-9223372036854775807 - 1}}, "-9223372036854775808"},
      {"%d", {uint32_t{4294967295u}}, "4294967295"},
      {"%u", {-1}, "4294967295"},
      {"%u", {int64_t{-5000000000}}, "18446744068709551616"},
      {"%.3u", {7}, "007"},
      {"%x", {255}, "FF"},
      {"%x", {-1}, "FFFFFFFF"},
      {"%.4x", {26}, "001A"},
      {"%X", {48879}, "BEEF"},
      {"%D", {3}, "3"},
  });
}

TEST(FormatTest, Floats) {
  ExpectAll({
      {"%f", {1.0}, "1.00"},
      {"%.1f", {0.25}, "0.3"},  // a tie rounds away from zero
      {"%.2f", {0.125}, "0.13"},
      {"%.2f", {-0.125}, "-0.13"},
      {"%.2f", {-0.001}, "0.00"},
      {"%.0f", {2.5}, "3"},
      {"%.2f", {2.675}, "2.67"},  // stored just below the tie
      {"%.3f", {0.0005}, "0.001"},
      {"%.2f", {999.999}, "1000.00"},
      {"%.2f", {1e20}, "1E20"},
      {"%8.2f|", {3.14159}, "    3.14|"},
      {"%-8.2f|", {3.14159}, "3.14    |"},
      {"%n", {1234567.891}, "1,234,567.89"},
      {"%.0n", {999.5}, "1,000"},
      {"%.1n", {-1234.56}, "-1,234.6"},
      {"%n", {12.0}, "12.00"},
      {"%e", {1234.5}, "1.23450000000000E+003"},
      {"%.3e", {-0.000123456}, "-1.23E-004"},
      {"%.1e", {9.96}, "1E+001"},
      {"%e", {0.0}, "0.00000000000000E+000"},
      {"%.2e", {1e100}, "1.0E+100"},
      {"%.30e", {1.0 / 3}, "3.33333333333333315E-001"},  // at most 18 digits
      {"%.25f", {0.1}, "0.100000000000000006"},
      {"%g", {0.1}, "0.1"},
      {"%g", {1234.5}, "1234.5"},
      {"%g", {1e15}, "1E15"},
      {"%g", {123456789012345.0}, "123456789012345"},
      {"%g", {0.00001}, "0.00001"},
      {"%g", {0.0000015}, "1.5E-6"},
      {"%.3g", {1234.5}, "1.23E3"},
      {"%.2g", {0.996}, "1"},
      {"%g", {0.0}, "0"},
      {"%g", {-2.5}, "-2.5"},
      {"%g", {std::numeric_limits<double>::infinity()}, "INF"},
      {"%f", {-std::numeric_limits<double>::infinity()}, "-INF"},
      {"%e", {std::nan("")}, "NAN"},
  });
}

TEST(FormatTest, MoneyTakesTheSignOfTheSystemCodePage) {
  struct MoneyCase {
    int codePage;
    const char* pattern;
    double value;
    std::string expected;
  };
  const MoneyCase cases[] = {
      {936, "%m", 1234.5, "￥1,234.50"},
      {950, "%m", 1234.5, "NT$1,234.50"},
      {437, "%.0m", -1234.5, "-$1,235"},
      {437, "%m", -0.001, "$0.00"},
  };
  for (const MoneyCase& c : cases) {
    SCOPED_TRACE(c.codePage);
    SetSystemCodePage(c.codePage);
    EXPECT_EQ(Format(c.pattern, {c.value}), c.expected);
  }
  SetSystemCodePage(std::nullopt);
}

TEST(FormatTest, TextsCharactersPointersAndPercent) {
  SetSystemCodePage(936);
  const char* text = "abc";
  ExpectAll({
      {"%s", {"确定"}, "确定"},
      {"[%s]", {""}, "[]"},
      {"%s", {std::string("a\0b", 3)}, std::string("a\0b", 3)},
      {"%.2s", {"abcdef"}, "ab"},
      {"%.9s", {"abc"}, "abc"},
      {"%5s|%-5s|", {"ab", "cd"}, "   ab|cd   |"},
      {"%3s", {"abcdef"}, "abcdef"},
      {"%s", {std::u16string(u"取消")}, "取消"},
      {"%s%s", {'x', std::string_view("yz")}, "xyz"},
      {"100%%", {}, "100%"},
      {"%%d", {}, "%d"},
      {"%p", {static_cast<const void*>(nullptr)}, "0000000000000000"},
      {"%p",
       {static_cast<const void*>(text)},
       [&] {
         char buffer[32];
         std::snprintf(buffer, sizeof buffer, "%016llX",
                       static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(text)));
         return std::string(buffer);
       }()},
      {"Can not Get Message\rType= %s, ID= %s ",
       {"E", "000005"},
       "Can not Get Message\rType= E, ID= 000005 "},
  });
  SetSystemCodePage(std::nullopt);
}

TEST(FormatTest, IndexesAndStars) {
  ExpectAll({
      {"%1:s %0:s", {"a", "b"}, "b a"},
      {"%d %d %0:d %d", {10, 20}, "10 20 10 20"},
      {"%1:-4d|", {1, 2}, "2   |"},
      {"%*d|", {4, 7}, "   7|"},
      {"%-*d|", {4, 7}, "7   |"},
      {"%.*f", {3, 2.0}, "2.000"},
      {"%*.*d", {5, 3, 9}, "  009"},
      {"%*d|", {-3, 7}, "7|"},
      {"%s", {"used", "extra", 3}, "used"},
  });
}

TEST(FormatTest, VariantArguments) {
  ExpectAll({
      {"%s", {Variant("text")}, "text"},
      {"%s", {Variant(int32_t{12})}, "12"},
      {"%s", {Variant(true)}, "True"},
      {"[%s]", {Variant()}, "[]"},
      {"[%s]", {Variant::Null()}, "[]"},
      {"%.3d", {Variant(int32_t{7})}, "007"},
      {"%d", {Variant(int16_t{-3})}, "-3"},
      {"%x", {Variant(int32_t{255})}, "FF"},
  });
}

TEST(FormatTest, MismatchesRaiseConvertErrorNamingThePattern) {
  struct ErrorCase {
    const char* pattern;
    std::vector<FormatArg> args;
  };
  const ErrorCase cases[] = {
      {"%d", {}},        // missing argument
      {"%d %d", {1}},    // second one missing
      {"%2:d", {1, 2}},  // index past the arguments
      {"%d", {"12"}},    // text for an integer
      {"%d", {1.5}},     // float for an integer
      {"%d", {'1'}},     // character for an integer
      {"%x", {2.0}},
      {"%f", {1}},             // integer for a float
      {"%f", {Variant(1.5)}},  // Variants serve %s and integers only
      {"%s", {7}},             // number for a text
      {"%s", {2.5}},
      {"%s", {VarArrayOf({1, 2})}},
      {"%d", {Variant("12")}},  // a Variant of text is not an integer
      {"%d", {Variant(2.0)}},
      {"%d", {Variant(true)}},
      {"%p", {1}},
      {"%", {1}},  // pattern ends in "%"
      {"abc%", {}},
      {"%5", {1}},  // unfinished specifier
      {"%.", {1}},
      {"%.x", {1}},  // precision without a number
      {"%k", {1}},   // unknown type
      {"%c", {'a'}},
      {"%*d", {"4", 1}},  // width argument not an integer
      {"%.*f", {1.0, 1.0}},
      {"%99999999999d", {1}},  // width beyond any integer
      {"%-0:d", {1}},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.pattern);
    try {
      const std::string result = Format(c.pattern, c.args);
      ADD_FAILURE() << "no exception, result '" << result << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(),
                "Format '" + std::string(c.pattern) + "' invalid or incompatible with argument");
    }
  }
}

}  // namespace
}  // namespace platform
