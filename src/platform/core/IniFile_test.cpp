#include "platform/core/IniFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/test/CoreTestSupport.h"

namespace platform {
namespace {

using Strings = std::vector<std::string>;

const std::string kData = VK_TEST_DATA_DIR "/";

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSystemCodePage(936); }
  void TearDown() override { SetSystemCodePage(std::nullopt); }
  // A file of the given bytes in the test's temporary folder.
  std::string TempFile(const std::string& name, const std::string& bytes) {
    return folder_.Write(name, bytes);
  }
  test::TTempFolder folder_{"inifile"};
};

TEST_F(IniFileTest, ReadsStringsByThePlatformRules) {
  IniFile ini(kData + "ini_client.ini");
  const struct {
    const char* section;
    const char* key;
    const char* defaultValue;
    const char* expected;
  } cases[] = {
      {"Client Components", "LangType", "ENG", "CHT"},
      {"client components", "LANGTYPE", "ENG", "CHT"},  // any case
      {"  CodePage ", " UICodePage\t", "", "950"},      // names are trimmed
      {"ProductVersion", "Version", "", "5.0.1"},       // blanks around the value go
      {"CodePage", "DBCodePage", "", "936"},            // quotes go
      {"Server Information", "ComputerName", "127.0.0.1", "host1;host2;"},
      {"WorkDLLPath", "PATH1", "", "D:\\Bin"},  // the first of two wins
      {"WorkDLLPath", "Path3", "default", ""},  // empty is a value
      {"TaskMessageCenter Setting", "AutoCheckNewMsg", "1", "0"},
      {"TaskMessageCenter Setting", "CheckInterval", "1", "\"5"},  // no pair, no stripping
      {"TaskMessageCenter Setting", "Quoted", "", "a\"b"},
      {"TaskMessageCenter Setting", "Single", "", "x"},
      {"TaskMessageCenter Setting", "Mixed", "", "\"y'"},
      {"TaskMessageCenter Setting", "Empty", "default", ""},
      {"TaskMessageCenter Setting", "OnlyQuote", "", "\""},
      {"TaskMessageCenter Setting", "Inner", "", " spaced "},
      {"TaskMessageCenter Setting", "Chinese", "", "\xD6\xD0\xCE\xC4"},
      {"TaskMessageCenter Setting", "Equals", "", "a=b=c"},
      {"Padded Section", "Key", "", "v"},
      {"中文节", "键", "", "值"},
      // Missing keys and sections give the default, without trailing blanks.
      {"TaskMessageCenter Setting", "PopupMsg", "1", "1"},
      {"TaskMessageCenter Setting", "LoginCheck", " 0  ", " 0"},
      {"No Such Section", "LangType", "ENG", "ENG"},
      {"Client Components", "orphan", "none", "none"},  // lines before any section
      {"", "orphan", "none", "none"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ini.ReadString(c.section, c.key, c.defaultValue), c.expected)
        << "[" << c.section << "] " << c.key;
  }
}

TEST_F(IniFileTest, IntegersAndBooleans) {
  IniFile ini(kData + "ini_client.ini");
  const struct {
    const char* key;
    int32_t expected;  // with default -1
    bool flag;         // ReadBool with default true
  } cases[] = {
      {"Hex", 31, true},     {"Dollar", 255, true},
      {"Neg", -12, true},    {"Zero", 0, false},
      {"Two", 2, true},      {"Spaced", 12, true},
      {"Big", -1, true},     {"Text", -1, true},
      {"Empty", -1, true},   {"CheckInterval", -1, true},
      {"Missing", -1, true}, {"AutoCheckNewMsg", 0, false},  // quotes go before the number is read
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ini.ReadInteger("TaskMessageCenter Setting", c.key, -1), c.expected) << c.key;
    EXPECT_EQ(ini.ReadBool("TaskMessageCenter Setting", c.key, true), c.flag) << c.key;
  }
  EXPECT_FALSE(ini.ReadBool("TaskMessageCenter Setting", "Text", false));
  EXPECT_EQ(ini.ReadInteger("Server Information", "ServerPort", 211), 212);
  EXPECT_EQ(ini.ReadInteger("Server Information", "ComputerName", 211), 211);
}

TEST_F(IniFileTest, SectionsAndTheirLines) {
  IniFile ini(kData + "ini_client.ini");
  EXPECT_EQ(ini.ReadSections(),
            (Strings{"Client Components", "ProductVersion", "CodePage", "Server Information",
                     "WorkDLLPath", "TaskMessageCenter Setting", "Empty Section", "Padded Section",
                     "中文节"}));
  EXPECT_EQ(ini.ReadSection("workdllpath"), (Strings{"Path1", "Path2", "Path3"}));
  EXPECT_EQ(ini.ReadSectionValues("WorkDLLPath"),
            (Strings{"Path1=D:\\Bin", "Path2=\\Pkg", "Path3="}));
  EXPECT_EQ(ini.ReadSectionValues("CodePage"), (Strings{"UICodePage=950", "DBCodePage=936"}));
  EXPECT_EQ(ini.ReadSection("Empty Section"), Strings{});
  EXPECT_EQ(ini.ReadSection("Nowhere"), Strings{});

  EXPECT_TRUE(ini.SectionExists("codepage"));
  EXPECT_FALSE(ini.SectionExists("Empty Section"));  // no keys: not there for the platform
  EXPECT_FALSE(ini.SectionExists("Nowhere"));
  EXPECT_TRUE(ini.ValueExists("WorkDLLPath", "path3"));  // an empty value exists
  EXPECT_FALSE(ini.ValueExists("WorkDLLPath", "Path4"));
  EXPECT_FALSE(ini.ValueExists("Nowhere", "Path1"));
}

TEST_F(IniFileTest, MalformedLinesAreIgnored) {
  IniFile ini(kData + "ini_malformed.ini");
  EXPECT_EQ(ini.ReadSections(), (Strings{"Good", "Tail", ""}));
  // A "[" line without "]" opens nothing: the lines after it stay in Good.
  // The second [good] is not read at all.
  EXPECT_EQ(ini.ReadSectionValues("Good"), (Strings{"A=1", "B=after a broken section line"}));
  EXPECT_EQ(ini.ReadString("Good", "D", "none"), "none");
  EXPECT_EQ(ini.ReadString("Good", ";C", "none"), "none");
  EXPECT_EQ(ini.ReadString("Good", "", "none"), "none");
  EXPECT_EQ(ini.ReadString("Tail", "F", ""), "6");
  EXPECT_EQ(ini.ReadString("", "G", ""), "in the section without a name");
  EXPECT_FALSE(ini.SectionExists("Unclosed"));
  EXPECT_FALSE(ini.SectionExists("Broken"));
}

TEST_F(IniFileTest, ByteOrderMarkAndLineEnds) {
  IniFile bom(kData + "ini_utf8bom.ini");
  EXPECT_EQ(bom.ReadSections(), Strings{"Section"});
  EXPECT_EQ(bom.ReadString("Section", "Name", ""), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(bom.ReadString("Section", "Ascii", ""), "plain");

  // CR LF, LF and a last line without its end all read alike.
  IniFile mixed(TempFile("mixed.ini", "[S]\r\nA=1\r\nB=2\nC=3"));
  EXPECT_EQ(mixed.ReadSectionValues("S"), (Strings{"A=1", "B=2", "C=3"}));
}

TEST_F(IniFileTest, MissingFileReadsAsEmpty) {
  for (std::string name :
       {kData + "ini_no_such_file.ini", std::string(VK_TEST_DATA_DIR), std::string()}) {
    IniFile ini(name);
    EXPECT_EQ(ini.FileName(), name);
    EXPECT_EQ(ini.ReadString("CodePage", "DBCodePage", "936"), "936");
    EXPECT_EQ(ini.ReadInteger("Server Information", "ServerPort", 211), 211);
    EXPECT_TRUE(ini.ReadBool("A", "B", true));
    EXPECT_TRUE(ini.ReadSections().empty());
    EXPECT_FALSE(ini.SectionExists("CodePage"));
  }
}

TEST_F(IniFileTest, ValuesAreCutAt2047BytesWithoutSplittingACharacter) {
  std::string gbRun;  // 1023 characters of two bytes
  for (int i = 0; i < 1023; ++i) gbRun += "\xD6\xD0";
  const std::string mib(1 << 20, 'v');
  std::string text = "[S]\n";
  text += "Long=" + mib + "\n";
  text += "QuotedLong=\"" + mib + "\"\n";
  text += "Fits=a" + gbRun + "\n";   // 2047 bytes: all of it
  text += "Over=aa" + gbRun + "\n";  // the last character would end past 2047
  text += "Key" + mib + "=huge key\n";
  text += std::string(1 << 20, '=') + "\n";
  text += "[" + mib + "\n";
  text += "After=ok\n";
  std::string file = TempFile("big.ini", text);

  auto start = std::chrono::steady_clock::now();
  IniFile ini(file);
  EXPECT_EQ(ini.ReadString("S", "Long", ""), mib.substr(0, 2047));
  EXPECT_EQ(ini.ReadString("S", "QuotedLong", ""), mib.substr(0, 2047));
  EXPECT_EQ(ini.ReadString("S", "Fits", ""), "a" + gbRun);
  EXPECT_EQ(ini.ReadString("S", "Over", ""), "aa" + gbRun.substr(0, 2044));
  EXPECT_EQ(ini.ReadString("S", "Key" + mib, ""), "huge key");
  EXPECT_EQ(ini.ReadString("S", "After", ""), "ok");
  EXPECT_EQ(ini.ReadString("S", "Missing", mib), mib.substr(0, 2047));  // the default too
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

  // Without double-byte characters every byte counts alone.
  SetSystemCodePage(437);
  IniFile english(file);
  EXPECT_EQ(english.ReadString("S", "Over", ""), ("aa" + gbRun).substr(0, 2047));
}

}  // namespace
}  // namespace platform
