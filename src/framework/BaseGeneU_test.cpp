// The rules of the companion unit as functions of their inputs: program
// codes from file names, message codes and their texts, help numbers,
// rights, default captions, panel row texts and the module file's
// properties with its version record.

#include "framework/BaseGeneU.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/core/SysUtils.h"

// A version record in this test program, as the plug-in carries one.
asm(".pushsection .note.vrk.version,\"a\",@note\n"
    ".balign 4\n"
    ".long 4\n"
    ".long 2f - 1f\n"
    ".long 1\n"
    ".asciz \"VRK\"\n"
    "1: .ascii \"FileVersion=9.8.7.6\\0\"\n"
    ".ascii \"ProductVersion=9.8\\0\"\n"
    "2: .balign 4\n"
    ".popsection\n");

namespace BaseGeneU {
namespace {

using platform::VarArrayOf;
using platform::Variant;

TEST(ProgramCodeTest, FromModuleFileNames) {
  struct Case {
    const char* file;
    const char* code;
  } cases[] = {
      {"/opt/vrk/PVQR82C.dll", "PVQR82"},
      {"PVQR82C.DLL", "PVQR82"},
      {"/opt/vrk/pvqr82c.Dll", "PVQR82"},
      {"/opt/vrk/PVQR812C.dll", "PVQR812"},  // the stem decides the length
      {"/opt/vrk/PVQR82C.exe", "PVQR82"},    // another extension cuts two: 5, at least 6
      {"/opt/vrk/PVQR82CX.so", "PVQR82"},
      {"/opt/vrk/AB.dll", "AB.DLL"},  // shorter stems still give six characters
      {"/opt/vrk.d/PVQR82C.dll", "PVQR82"},
  };
  for (const Case& c : cases) EXPECT_EQ(ProgramCodeOf(c.file), c.code) << c.file;
}

TEST(PanelDateTypeTest, KindsOneToFiveAndOthers) {
  const SelectPnl::TDateType expected[] = {SelectPnl::dt_NoneCare, SelectPnl::dt_YYYYMMDD,
                                           SelectPnl::dt_MMDDYYYY, SelectPnl::dt_DDMMYYYY,
                                           SelectPnl::dt_YYMMDD,   SelectPnl::dt_YYYMMDD,
                                           SelectPnl::dt_NoneCare};
  for (int kind = 0; kind <= 6; ++kind) EXPECT_EQ(PanelDateType(kind), expected[kind]) << kind;
  EXPECT_EQ(PanelDateType(-1), SelectPnl::dt_NoneCare);
}

TEST(MessageCodeTest, TypeNumberArgumentsAndVisibility) {
  struct Case {
    const char* code;
    const char* type;
    const char* number;
    bool shown;
    std::vector<std::string> args;  // the leading ones; the rest are empty
  } cases[] = {
      {"E;000005", "E", "000005", true, {}},
      {"E;000001;进货单号", "E", "000001", true, {"进货单号"}},
      {"I;-000004;J1", "I", "000004", false, {"J1"}},
      {"W;000002;a;b;c", "W", "000002", true, {"a", "b", "c"}},
      {"R;200235", "R", "200235", true, {}},
      {"E;000000", "E", "00000", false, {}},
      {"E;abc", "E", "bc", false, {}},
      {"E;000005;", "E", "000005", true, {""}},
      {"E;000038; ", "E", "000038", true, {" "}},
      {"I;1;a;b;c;d;e;f;g;h;i;j;k;l",
       "I",
       "1",
       true,
       {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
  };
  for (const Case& c : cases) {
    const TMessageCode m = ParseMessageCode(c.code);
    EXPECT_EQ(m.Type, c.type) << c.code;
    EXPECT_EQ(m.Number, c.number) << c.code;
    EXPECT_EQ(m.Shown, c.shown) << c.code;
    for (size_t i = 0; i < m.Args.size(); ++i)
      EXPECT_EQ(m.Args[i], i < c.args.size() ? c.args[i] : "") << c.code << " argument " << i;
  }
}

TEST(MessageTextTest, FormattedOrPlainWithTheArguments) {
  const std::vector<std::string> ten = {"X", "", "", "", "", "", "", "", "", ""};
  EXPECT_EQ(FormatMessageText("%s不存在，请重新输入！", ten), "X不存在，请重新输入！");
  EXPECT_EQ(FormatMessageText("日期或时间格式不正确！%s", {"", "", ""}), "日期或时间格式不正确！");
  EXPECT_EQ(FormatMessageText("no arguments", ten), "no arguments");
  // A text that does not fit its arguments: the text, CR, every argument and ";".
  EXPECT_EQ(FormatMessageText("%d 笔", ten), "%d 笔\rX;;;;;;;;;;");
  EXPECT_EQ(FormatMessageText("%s %s", {"a"}), "%s %s\ra;");
  EXPECT_EQ(FormatMessageText("50%", {}), "50%\r");
}

TEST(MessageKindTest, DialogTypesAndDefaultButtons) {
  const vcl::TMsgDlgButtons ok = vcl::MsgDlgButtons({vcl::mbOK});
  struct Case {
    const char* type;
    vcl::TMsgDlgType dialog;
    vcl::TMsgDlgButtons buttons;
  } cases[] = {
      {"C", vcl::mtWarning, vcl::mbOKCancel},
      {"D", vcl::mtWarning, vcl::mbYesNoCancel},
      {"W", vcl::mtWarning, vcl::mbOKCancel},
      {"E", vcl::mtError, ok},
      {"I", vcl::mtInformation, ok},
      {"Q", vcl::mtConfirmation, vcl::mbOKCancel},
      {"R", vcl::mtCustom, ok},
      {"e", vcl::mtCustom, ok},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DialogTypeOf(c.type), c.dialog) << c.type;
    EXPECT_EQ(DefaultButtonsOf(c.type), c.buttons) << c.type;
  }
}

TEST(HelpNumberTest, FromTheProgramCode) {
  struct Case {
    const char* code;
    std::optional<std::string> number;
  } cases[] = {
      {"PVQR82", "12820000"},    // 4th "R": 1, 2, then "82"
      {"PVQB01", "13010000"},    // 4th "B": 1, 3
      {"XXXAR17", "62170000"},   // 4th "A", 5th "R"
      {"XXXMB05", "83050000"},   // 4th "M", 5th "B"
      {"pvqr82", "12820000"},    // letters in any case
      {"PVQX82", std::nullopt},  // 4th names no help
      {"XXXAQ1", std::nullopt},  // 5th names no help
      {"XXXA", std::nullopt},    // no 5th character
      {"PVQ", std::nullopt},     // no 4th character
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(HelpNumber(c.code), c.number) << c.code;
}

TEST(RightsTest, FlagsFromTheFourthCommaField) {
  const Variant answer = VarArrayOf({Variant("U001"), Variant("U001,PVQR82,PUR,YYYYYYNY")});
  const std::string rights = RightsText(answer);
  EXPECT_EQ(rights, "YYYYYYNY");
  EXPECT_FALSE(RightsFlag(rights, 7));
  EXPECT_TRUE(RightsFlag(rights, 8));
  EXPECT_TRUE(RightsFlag("YYY", 7));  // a missing character is not "N"
  EXPECT_TRUE(RightsFlag("", 8));
  EXPECT_TRUE(RightsFlag("NNNNNNnN", 7));  // only a capital N refuses
}

TEST(DefaultCaptionTest, GoodsClassificationSchemes) {
  struct Case {
    const char* name;
    const char* ui;
    std::optional<std::string> caption;
  } cases[] = {
      {"SYS007", "936", "商品分类方式一"}, {"sys008", "950", "商品分类方式二"},
      {"Sys009", "936", "商品分类方式三"}, {"SYS010", "936", "商品分类方式四"},
      {"SYS007", "437", "Inv.Cate.1"},     {"SYS009", "437", "Inv.Cate.3"},
      {"SYS010", "437", "Inv.Cate.4"},     {"SYS011", "936", std::nullopt},
      {"SYS00", "936", std::nullopt},      {"Sys001", "936", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DefaultClassCaption(c.name, c.ui), c.caption) << c.name << " " << c.ui;
}

TEST(PanelRowTextTest, PaddedColumnsAroundTheSeparator) {
  // Rows with other bounds are read from their first element.
  Variant fromOne = platform::VarArrayCreate({{1, 2}});
  fromOne[1] = Variant("AB");
  fromOne[2] = Variant(int32_t{7});
  const struct {
    Variant row;
    const char* separator;
    const char* text;
  } cases[] = {
      {VarArrayOf({Variant("3101"), Variant("A1")}), "-", "3101-A1         "},
      {VarArrayOf({Variant("31"), Variant("A1"), Variant("more")}), "-", "31  -A1         "},
      // Longer values are not cut.
      {VarArrayOf({Variant("12345"), Variant("ABCDEFGHIJKLM")}), " | ", "12345 | ABCDEFGHIJKLM"},
      {fromOne, "-", "AB  -7          "},
      // Missing columns are blank; a single value is column 0.
      {VarArrayOf({Variant("31")}), "-", "31  -           "},
      {platform::VarArrayCreate({{0, -1}}), "-", "    -           "},
      {Variant("3101"), "-", "3101-           "},
  };
  for (const auto& c : cases) EXPECT_EQ(PanelRowText(c.row, c.separator), c.text) << c.text;
}

TEST(ModuleFileInfoTest, SizeTimesAndTheVersionRecord) {
  const std::string self = platform::ProgramFileName();
  const TModuleFileInfo info = ReadModuleFileInfo(self);
  ASSERT_TRUE(info.Exists);
  EXPECT_EQ(info.FileName, self);
  EXPECT_EQ(info.Size, static_cast<int64_t>(std::filesystem::file_size(self)));
  EXPECT_EQ(info.Modified.size(), 19u) << info.Modified;  // yyyy/mm/dd hh:nn:ss
  EXPECT_FALSE(info.Accessed.empty());
  EXPECT_EQ(info.Version("FileVersion"), "9.8.7.6");
  EXPECT_EQ(info.Version("productversion"), "9.8");
  EXPECT_EQ(info.Version("InternalName"), "");

  // A file without a record, and no file.
  const std::string plain =
      (std::filesystem::temp_directory_path() / "framework-plain.txt").string();
  std::ofstream(plain) << "FileVersion=1.2.3.4";
  const TModuleFileInfo text = ReadModuleFileInfo(plain);
  EXPECT_TRUE(text.Exists);
  EXPECT_EQ(text.Size, 19);
  EXPECT_TRUE(text.Versions.empty());
  std::filesystem::remove(plain);
  const TModuleFileInfo missing = ReadModuleFileInfo(plain);
  EXPECT_FALSE(missing.Exists);
  EXPECT_EQ(missing.FileName, plain);
}

TEST(OSVersionTest, OverrideAndBack) {
  const std::string real = OSVersionText();
  EXPECT_EQ(real, platform::OSVersionNumbers());
  OverrideOSVersionText(kKeepModuleVersion);
  EXPECT_EQ(OSVersionText(), "4.90.73010104");
  OverrideOSVersionText(std::nullopt);
  EXPECT_EQ(OSVersionText(), real);
}

}  // namespace
}  // namespace BaseGeneU
