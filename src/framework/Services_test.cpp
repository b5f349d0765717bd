// The host services as the window obtains and uses them: system settings,
// validation and its index rules, the lookup window and its argument array,
// lookups into select panels, the date picker, counters, rights, and the
// local run of the report's server module.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QWidget>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "controls/SelectPnl.h"
#include "framework/BaseGeneU.h"
#include "framework/test/Support.h"
#include "platform/vcl/StdCtrls.h"

namespace framework_test {
namespace {

using platform::VarArrayOf;
using platform::Variant;
using SelectPnl::TSelectPanel;

class ServicesTest : public SandboxTest {};

// ---------------------------------------------------------------------------
// Services and settings.

TEST_F(ServicesTest, ServicesComeFromTheHostObject) {
  TTestWindow* w = InitializedWindow();
  EXPECT_FALSE(w->CounterService.IsEmpty());
  EXPECT_FALSE(w->ValidatorService.IsEmpty());
  EXPECT_TRUE(w->LookupService.IsEmpty());  // ServiceFlags does not hold 4
  EXPECT_EQ(host_.CallsOf("Com_F2Window").size(), 0u);
  EXPECT_EQ(host_.CallsOf("GetSysInfo"), std::vector<std::string>{"GetSysInfo('VRK')"});

  TTestWindow* withLookup = NewWindow();
  withLookup->WantLookup = true;
  ASSERT_TRUE(withLookup->Initialize(HostParams()));
  EXPECT_FALSE(withLookup->LookupService.IsEmpty());
}

TEST_F(ServicesTest, AServiceThatCannotBeHadStaysUnassigned) {
  host_.FailCounter = true;
  host_.FailValidator = true;
  host_.FailLookup = true;
  TTestWindow* w = NewWindow();
  w->WantLookup = true;
  ASSERT_TRUE(w->Initialize(HostParams()));
  EXPECT_TRUE(w->CounterService.IsEmpty());
  EXPECT_TRUE(w->ValidatorService.IsEmpty());
  EXPECT_TRUE(w->LookupService.IsEmpty());
  EXPECT_EQ(w->CaptionNote, "");
  EXPECT_EQ(w->GetSysSetting("Sys001"), "");
  EXPECT_EQ(w->DateFormatKind(), 1);
  EXPECT_EQ(w->DateSeparator(), "/");
  platform::Variant row("untouched");
  EXPECT_FALSE(w->QueryTable("CMSMB", "01", false, row, VarArrayOf({Variant("A")})));
  EXPECT_EQ(w->PickDate("20240305"), "20240305");  // no picker: the date stays
  platform::Variant counter("x");
  w->GetCounter("SimpleSQL", Variant("q"), counter);
  EXPECT_TRUE(counter.IsEmpty());
  platform::Variant rows("x");
  w->OpenLookup("PURMA", "01", rows, false, "", Variant(""));
  EXPECT_TRUE(rows.IsEmpty());
}

TEST_F(ServicesTest, SystemSettingsAndTheirDefaults) {
  host_.Settings = {
      {"Sys001", "abc"}, {"Sys002", ""}, {"VRK002", "总公司"}, {"SYS007", "大类"}, {"SYS008", ""}};
  TTestWindow* w = InitializedWindow();
  EXPECT_EQ(w->DateFormatKind(), 1);   // not a number
  EXPECT_EQ(w->DateSeparator(), "/");  // empty
  EXPECT_EQ(w->CaptionNote, "总公司");
  EXPECT_EQ(w->GetSysSetting("vrk002"), "总公司");  // names ignore case
  EXPECT_EQ(w->GetSysSetting("SYS007"), "大类");
  EXPECT_EQ(w->GetSysSetting("NoSuch"), "");
#if VK_COMPAT_BUILD
  EXPECT_EQ(w->GetSysSetting("SYS008"), "");
  EXPECT_EQ(w->GetSysSetting("Sys010"), "");
#else
  EXPECT_EQ(w->GetSysSetting("SYS008"), "商品分类方式二");
  EXPECT_EQ(w->GetSysSetting("Sys010"), "商品分类方式四");
#endif
  // Settings are loaded once; reading them asks nothing more.
  EXPECT_EQ(host_.CallsOf("GetSysInfo").size(), 1u);

  host_.Settings = {{"Sys001", "4"}, {"Sys002", "-"}};
  WriteClientSettings("", "437");
  TTestWindow* english = InitializedWindow();
  EXPECT_EQ(english->DateFormatKind(), 4);
  EXPECT_EQ(english->DateSeparator(), "-");
#if VK_COMPAT_BUILD
  EXPECT_EQ(english->GetSysSetting("SYS009"), "");
#else
  EXPECT_EQ(english->GetSysSetting("SYS009"), "Inv.Cate.3");
  EXPECT_EQ(english->GetSysSetting("SYS010"), "Inv.Cate.4");
#endif
}

// ---------------------------------------------------------------------------
// Validation.

TEST_F(ServicesTest, QueryTableHandsTheLimitsAndAsksCheckOrQuery) {
  host_.Rows["CMSMF"] = {true, VarArrayOf({Variant("CNY"), Variant("人民币")})};
  TTestWindow* w = InitializedWindow();
  w->BaseLimited = u"PURMA=S001";
  Variant row;
  EXPECT_TRUE(w->QueryTable("CMSMF", "01", false, row, VarArrayOf({Variant("CNY")})));
  EXPECT_EQ(Show(row), "['CNY','人民币']");
  EXPECT_TRUE(w->QueryTable("CMSMF", "01", true, row, VarArrayOf({Variant("CNY")})));
  const std::vector<std::string> calls = host_.CallsOf("BaseLimited");
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls.back(), "BaseLimited='PURMA=S001'");
  EXPECT_EQ(host_.CallsOf("CheckValue").back(),
            "CheckValue('CMSMF','01','VRKDEMO',['CNY'],<empty>)");
  EXPECT_EQ(host_.CallsOf("QueryData").back(),
            "QueryData('CMSMF','01','VRKDEMO',['CNY'],['CNY','人民币'])");
  EXPECT_FALSE(w->QueryTable("NOTAB", "01", false, row, Variant("X")));
}

TEST_F(ServicesTest, ValidateValueIndexRules) {
  host_.Rows["CMSMB"] = {true, VarArrayOf({Variant("P01"), Variant("一厂"), Variant("Y")})};
  TTestWindow* w = InitializedWindow();
  struct Case {
    int index;
    const char* result;
    const char* operation;
  } cases[] = {
      {-1, "['P01','一厂','Y']", "CheckValue"},
      {0, "'P01'", "CheckValue"},
      {2, "'Y'", "CheckValue"},
      {5, "['P01','一厂','Y']", "CheckValue"},  // beyond the answer: all of it
      {-2, "['P01','一厂','Y']", "QueryData"},  // -2 asks for a query
  };
  for (const Case& c : cases) {
    Variant result("before");
    const size_t checks = host_.CallsOf(c.operation).size();
    EXPECT_TRUE(
        w->ValidateValue("CMSMB", "01", "E", c.index, result, VarArrayOf({Variant("P01")})));
    EXPECT_EQ(Show(result), c.result) << c.index;
    EXPECT_EQ(host_.CallsOf(c.operation).size(), checks + 1) << c.index;
  }
  EXPECT_TRUE(DialogTexts().empty());

  // An empty answer gives an unassigned result.
  host_.Rows["CMSMB"] = {true, Variant()};
  Variant result("before");
  EXPECT_TRUE(w->ValidateValue("CMSMB", "01", "E", 0, result, Variant("P01")));
  EXPECT_TRUE(result.IsEmpty());
}

TEST_F(ServicesTest, RefusedValuesShowTheSeveritysMessage) {
  host_.Messages["E;000001"] = "%s不存在，请重新输入！";
  host_.Messages["W;000004"] = "%s不存在！";
  host_.Messages["I;000008"] = "输入的代码";
  TTestWindow* w = InitializedWindow();
  struct Case {
    const char* severity;
    std::vector<std::string> texts;
    const char* codes;
  } cases[] = {
      {"E", {"E000001:I000008:输入的代码不存在，请重新输入！"}, "E;000001;I000008:输入的代码; "},
      {"W", {"W000004:I000008:输入的代码不存在！"}, "W;000004;I000008:输入的代码; "},
      {"N", {}, ""},  // no message of its own; the trail is cleared
  };
  for (const Case& c : cases) {
    vcl::ClearShownDialogs();
    w->ShowMessageCode("");
    w->RecordError("earlier");
    Variant result("kept");
    EXPECT_FALSE(
        w->ValidateValue("CMSMB", "01", c.severity, 0, result, VarArrayOf({Variant("ZZ")})));
    EXPECT_EQ(result, Variant("kept"));
    EXPECT_EQ(DialogTexts(), c.texts) << c.severity;
    EXPECT_EQ(w->MessageCodes, *c.codes ? std::string("E;-1; ") + c.codes : "") << c.severity;
  }
  // An empty key passes, clears the trail and the result.
  w->RecordError("earlier");
  Variant result("kept");
  EXPECT_TRUE(w->ValidateValue("CMSMB", "01", "E", 0, result, Variant()));
  EXPECT_TRUE(result.IsEmpty());
  EXPECT_EQ(w->MessageCodes, "");
  EXPECT_TRUE(w->ValidateValue("CMSMB", "01", "E", 0, result, Variant::Null()));
}

// ---------------------------------------------------------------------------
// Lookups.

TEST_F(ServicesTest, OpenLookupSendsTheArgumentArray) {
  host_.LookupAnswer = VarArrayOf({VarArrayOf({Variant("S001"), Variant("供应商一")})});
  TTestWindow* w = NewWindow();
  w->WantLookup = true;
  ASSERT_TRUE(w->Initialize(HostParams()));
  w->BaseLimited = u"L";
  w->RightsFlag7 = true;
  w->RightsFlag8 = false;
  Variant rows;
  w->OpenLookup("PURMA", "01", rows, true, "S0", VarArrayOf({Variant("")}));
  EXPECT_EQ(Show(rows), "[['S001','供应商一']]");
  const std::vector<std::string> calls = host_.CallsOf("F2GetData");
  ASSERT_EQ(calls.size(), 1u);
  const std::string handle = std::to_string(static_cast<int32_t>(w->Handle()->winId()));
#if VK_COMPAT_BUILD
  EXPECT_EQ(calls[0], "F2GetData(['PURMA','01',[''],true,'S0','VRK','VRKDEMO'," + handle +
                          ",1,false,0,'','','','L',false,true])");
#else
  EXPECT_EQ(calls[0], "F2GetData(['PURMA','01',[''],true,'S0','VRK','VRKDEMO'," + handle +
                          ",1,false,0,'','','','L',false,true,<object>,'U001'])");
#endif
}

TEST_F(ServicesTest, LookupIntoPanelListAndEdits) {
  host_.LookupAnswer = VarArrayOf(
      {VarArrayOf({Variant("S001"), Variant("一"), Variant("b"), Variant("c"), Variant("d")}),
       VarArrayOf({Variant("S002"), Variant("二")})});
  TTestWindow* w = NewWindow();
  w->WantLookup = true;
  auto* panel = w->Add<TSelectPanel>("sp04", w->tsOption1);
  ASSERT_TRUE(w->Initialize(HostParams()));

  // The list: rows of at most four columns, or all of them.
  panel->SetStyle(SelectPnl::sp_Discrete);
  w->LookupIntoPanel(panel->ListBox(), "PURMA", "01", false, "", VarArrayOf({Variant("")}));
  ASSERT_EQ(panel->ListBox()->Items()->Count(), 2);
  EXPECT_EQ(panel->ListBox()->Items()->Item(0)->Caption(), "S001");
  EXPECT_EQ(panel->ListBox()->Items()->Item(0)->SubItems()->Count(), 3);
  EXPECT_NE(host_.CallsOf("F2GetData")[0].find("'PURMA','01',[''],true"), std::string::npos);
  panel->ListBox()->Items()->Clear();
  w->LookupIntoPanel(panel->ListBox(), "PURMA", "01", true, "", VarArrayOf({Variant("")}));
  EXPECT_EQ(panel->ListBox()->Items()->Item(0)->SubItems()->Count(), 4);
  // With UseDiscard each row is one column, joined by Discard.
  panel->ListBox()->Items()->Clear();
  panel->SetUseDiscard(true);
  panel->SetDiscard("|");
  w->LookupIntoPanel(panel->ListBox(), "PURMA", "01", false, "", VarArrayOf({Variant("")}));
  EXPECT_EQ(panel->ListBox()->Items()->Item(0)->Caption(), "S001|一|b|c");
  EXPECT_EQ(panel->ListBox()->Items()->Item(1)->Caption(), "S002|二");

  // An edit: single selection; the first row's code, or the joined answer.
  panel->SetUseDiscard(false);
  w->LookupIntoPanel(panel->edBegin(), "PURMA", "01", false, "S", VarArrayOf({Variant("")}));
  EXPECT_EQ(panel->edBegin()->Text(), "S001");
  EXPECT_NE(host_.CallsOf("F2GetData").back().find("'PURMA','01',[''],false,'S'"),
            std::string::npos);
  panel->SetUseDiscard(true);
  w->LookupIntoPanel(panel->edFinal(), "PURMA", "01", false, "", VarArrayOf({Variant("")}));
  EXPECT_EQ(panel->edFinal()->Text(), "S001|一|b|c");
  host_.LookupAnswer = VarArrayOf({Variant("X1"), Variant("Y1")});
  w->LookupIntoPanel(panel->edFinal(), "PURMA", "01", false, "", VarArrayOf({Variant("")}));
  EXPECT_EQ(panel->edFinal()->Text(), "X1|Y1");
  panel->SetUseDiscard(false);
  host_.LookupAnswer = Variant("Z9");
  w->LookupIntoPanel(panel->edFinal(), "PURMA", "01", false, "", VarArrayOf({Variant("")}));
  EXPECT_EQ(panel->edFinal()->Text(), "Z9");
  // Nothing chosen: the edit keeps its text.
  host_.LookupAnswer = Variant();
  w->LookupIntoPanel(panel->edFinal(), "PURMA", "01", false, "", VarArrayOf({Variant("")}));
  EXPECT_EQ(panel->edFinal()->Text(), "Z9");
  EXPECT_TRUE(DialogTexts().empty());
}

// A service whose call fails answers nothing: no rows, no counter answer,
// no date picked, and whatever the user had stays in place.
TEST_F(ServicesTest, AFailingCallAnswersNothing) {
  host_.LookupAnswer = VarArrayOf({VarArrayOf({Variant("S001")})});
  host_.CounterAnswer = Variant("Y");
  host_.PickedDate = "20240401";
  TTestWindow* w = NewWindow();
  w->WantLookup = true;
  auto* panel = w->Add<TSelectPanel>("sp04", w->tsOption1);
  ASSERT_TRUE(w->Initialize(HostParams()));
  panel->edBegin()->SetText("S009");
  panel->SetStyle(SelectPnl::sp_Discrete);
  host_.Failing = {"F2GetData", "GetCounter", "ShowInputDay"};

  Variant rows("before");
  w->OpenLookup("PURMA", "01", rows, false, "", Variant(""));
  EXPECT_TRUE(rows.IsEmpty());
  w->LookupIntoPanel(panel->edBegin(), "PURMA", "01", false, "S", Variant(""));
  EXPECT_EQ(panel->edBegin()->Text(), "S009");
  w->LookupIntoPanel(panel->ListBox(), "PURMA", "01", false, "", Variant(""));
  EXPECT_EQ(panel->ListBox()->Items()->Count(), 0);
  Variant counter("before");
  w->GetCounter("SimpleSQL", Variant("q"), counter);
  EXPECT_TRUE(counter.IsEmpty());
  EXPECT_EQ(w->PickDate("2024/03/01"), "2024/03/01");
  // Every call was made, and failed.
  EXPECT_EQ(host_.CallsOf("F2GetData").size(), 3u);
  EXPECT_EQ(host_.CallsOf("GetCounter").size(), 1u);
  EXPECT_EQ(host_.CallsOf("ShowInputDay").size(), 1u);
  EXPECT_TRUE(DialogTexts().empty());
}

TEST_F(ServicesTest, ALookupAnswerWithoutRowsChangesNothing) {
  host_.LookupAnswer = platform::VarArrayCreate({{0, -1}});
  TTestWindow* w = NewWindow();
  w->WantLookup = true;
  auto* panel = w->Add<TSelectPanel>("sp04", w->tsOption1);
  ASSERT_TRUE(w->Initialize(HostParams()));
  for (bool discard : {false, true}) {
    panel->SetUseDiscard(discard);
    panel->edFinal()->SetText("S009");
    w->LookupIntoPanel(panel->edFinal(), "PURMA", "01", false, "", Variant(""));
    EXPECT_EQ(panel->edFinal()->Text(), "S009") << discard;
  }
  panel->SetStyle(SelectPnl::sp_UserChoice);
  w->FillPanelFromRows(panel->edBegin(), host_.LookupAnswer, "-");
  panel->SetUserChoice(false);
  w->FillPanelFromRows(panel->ListBox(), host_.LookupAnswer, "-");
  EXPECT_EQ(panel->edBegin()->Text(), "");
  EXPECT_EQ(panel->ListBox()->Items()->Count(), 0);
}

TEST_F(ServicesTest, LookupIntoPanelRefusesControlsOfNoPanel) {
  TTestWindow* w = NewWindow();
  w->WantLookup = true;
  auto* edit = w->Add<vcl::TEdit>("ed05", w->tsOption1);
  ASSERT_TRUE(w->Initialize(HostParams()));
  w->LookupIntoPanel(edit, "PURMA", "01", false, "", Variant(""));
  ASSERT_EQ(vcl::ShownDialogs().size(), 1u);
  EXPECT_EQ(vcl::ShownDialogs()[0].Text,
            "同学, 你吗帮帮忙, 这个 Procedure 是专门给TSelectPanel元件用的!");
  EXPECT_EQ(vcl::ShownDialogs()[0].DialogType, vcl::mtError);
  EXPECT_TRUE(host_.CallsOf("F2GetData").empty());
}

TEST_F(ServicesTest, FillPanelFromRowsPadsTheColumns) {
  TTestWindow* w = NewWindow();
  auto* panel = w->Add<TSelectPanel>("sp01", w->tsOption1);
  panel->SetStyle(SelectPnl::sp_UserChoice);
  ASSERT_TRUE(w->Initialize(HostParams()));
  const Variant rows = VarArrayOf({VarArrayOf({Variant("3101"), Variant("A1")}),
                                   VarArrayOf({Variant("31"), Variant("24010100001")})});
  // The range chosen (UserChoice true): the edit takes the first row.
  w->FillPanelFromRows(panel->edBegin(), rows, "-");
  EXPECT_EQ(panel->edBegin()->Text(), "3101-A1         ");
  EXPECT_EQ(panel->ListBox()->Items()->Count(), 0);
  // The list chosen: every row is added as one column.
  panel->SetUserChoice(false);
  w->FillPanelFromRows(panel->ListBox(), rows, "-");
  ASSERT_EQ(panel->ListBox()->Items()->Count(), 2);
  EXPECT_EQ(panel->ListBox()->Items()->Item(0)->Caption(), "3101-A1         ");
  EXPECT_EQ(panel->ListBox()->Items()->Item(1)->Caption(), "31  -24010100001");
  EXPECT_EQ(panel->ListBox()->Items()->Item(1)->SubItems()->Count(), 0);
}

TEST_F(ServicesTest, PickDateStartsOnTheTextOrToday) {
  host_.Settings = {{"Sys001", "5"}, {"Sys002", "."}};
  TTestWindow* w = NewWindow();
  w->WantLookup = true;
  ASSERT_TRUE(w->Initialize(HostParams()));
  struct Case {
    const char* text;
    const char* picked;
    const char* start;
    const char* result;
  } cases[] = {
      {"20240305", "20240401", "'20240305'", "113.04.01"},    // a yyyymmdd text
      {"2024/03/05", "20240401", "'20240305'", "113.04.01"},  // anything else: today
      {"", "20231231", "'20240305'", "112.12.31"},
      {"113.01.02", "", "'20240305'", "113.01.02"},  // nothing picked: the text
      {"abc", "  ", "'20240305'", "abc"},
  };
  for (const Case& c : cases) {
    host_.PickedDate = c.picked;
    EXPECT_EQ(w->PickDate(c.text), c.result) << c.text;
    EXPECT_EQ(host_.CallsOf("ShowInputDay").back(),
              std::string("ShowInputDay([true,") + c.start + ",'VRKDEMO'])")
        << c.text;
  }
  host_.PickedDate = "20240305";
  EXPECT_EQ(w->PickDate("20240305"), "113.03.05");
}

TEST_F(ServicesTest, CountersAndRights) {
  host_.CounterAnswer = VarArrayOf({VarArrayOf({Variant("Y")})});
  TTestWindow* w = InitializedWindow();
  Variant result;
  w->GetCounter("SimpleSQL", VarArrayOf({Variant("SELECT 1"), Variant("MA003")}), result);
  EXPECT_EQ(Show(result), "[['Y']]");
  EXPECT_EQ(host_.CallsOf("GetCounter").back(),
            "GetCounter('SIMPLESQL',['SELECT 1','MA003'],['VRK','VRKDEMO'])");

  struct Case {
    const char* rights;
    bool flag7, flag8;
  } cases[] = {
      {"U001,PVQR82,PUR,YYYYYYYY", true, true},
      {"U001,PVQR82,PUR,YYYYYYNY", false, true},
      {"U001,PVQR82,PUR,YYYYYYYN", true, false},
      {"U001,PVQR82,PUR,YYY", true, true},
      {"U001,PVQR82", true, true},
  };
  for (const Case& c : cases) {
    w->Calls.clear();
    const Variant answer = VarArrayOf(
        {Variant("U001"), Variant(c.rights), Variant("张伟"), Variant("进货单"), Variant("PUR"),
         VarArrayOf({Variant(int32_t{2}), Variant("PURMA=S001"), Variant("CMSMB=P01")})});
    w->ApplyRights(answer);
    EXPECT_EQ(w->RightsFlag7, c.flag7) << c.rights;
    EXPECT_EQ(w->RightsFlag8, c.flag8) << c.rights;
    EXPECT_EQ(w->BaseLimited,
              u"PUR\x03"
              u"2\x03PURMA=S001\x03"
              u"CMSMB=P01\x03");
    EXPECT_EQ(w->Calls, std::vector<std::string>{"AfterRights"});
  }
}

// ---------------------------------------------------------------------------
// Local generation.

bool IsLoaded(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return false;
  dlclose(handle);
  return true;
}

class GenerateTest : public ServicesTest {
 protected:
  void SetUp() override {
    ServicesTest::SetUp();
    log_ = Path("module.log");
    setenv("VK_SERVER_MODULE_LOG", log_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("VK_SERVER_MODULE_LOG");
    BaseGeneU::OverrideOSVersionText(std::nullopt);
    ServicesTest::TearDown();
  }
  std::string Runs() const {
    std::ifstream in(log_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  bool Generate(TTestWindow* w, const std::string& job, const std::string& kind) {
    return w->GenerateLocally(job, "PVQR82", "202403050001", 1,
                              VarArrayOf({Variant("v1"), Variant("v2")}), "VRKDEMO", kind,
                              "PVQR82S.Class1", "U001", "VRK", "B");
  }
  std::string log_;
  const std::string module_ = std::string(VK_SERVER_MODULE_DIR) + "/PVQR82S.DLL";
};

TEST_F(GenerateTest, RunsTheServerModuleWithTheArgumentsOfItsKind) {
  WriteServerSettings("[WorkDLLPath]\r\nPath1=" + Path("empty") +
                      "\r\nPath2=" + std::string(VK_SERVER_MODULE_DIR) + "\r\n");
  host_.FileInfo = Variant("<Modify>2024/03/01 10:00:00</Modify>");
  TTestWindow* w = InitializedWindow();
  w->RecordError("earlier");
  EXPECT_TRUE(Generate(w, "J1", "r"));
  EXPECT_TRUE(Generate(w, "J2", "B"));
  EXPECT_EQ(Runs(),
            "[J1|B|VRK|U001|VRKDEMO|[v1|v2]|1|R|202403050001|0|1|936]\n"
            "[J2|VRK|U001|[v1|v2]|VRKDEMO|202403050001|0]\n");
  // The module's message texts are recorded; the file was asked about once per run.
  EXPECT_EQ(w->MessageTexts, "earlier; ran J1; ran J2; ");
  EXPECT_EQ(
      host_.CallsOf("GetFileList"),
      (std::vector<std::string>{"GetFileList(['pvqr82s.dll'])", "GetFileList(['pvqr82s.dll'])"}));
  EXPECT_FALSE(IsLoaded(module_));

  w->GenerateData = false;
  EXPECT_TRUE(Generate(w, "J3", "R"));
  EXPECT_NE(Runs().find("[J3|B|VRK|U001|VRKDEMO|[v1|v2]|1|R|202403050001|0|0|936]"),
            std::string::npos);
}

TEST_F(GenerateTest, AFailingRunIsRecorded) {
  WriteServerSettings("[WorkDLLPath]\r\nPath1=" + std::string(VK_SERVER_MODULE_DIR) + "\r\n");
  TTestWindow* w = InitializedWindow();
  // The run's error, then the module's own message; nothing is shown.
  EXPECT_FALSE(Generate(w, "FAIL", "R"));
  EXPECT_EQ(w->MessageCodes, "E;-1; E;-1; ");
  EXPECT_EQ(w->MessageTexts, "module run failed; failed FAIL; ");
  EXPECT_TRUE(DialogTexts().empty());
  // A failed run whose module has nothing to say keeps its reason for the
  // caller to show.
  w->RecordError("");
  EXPECT_FALSE(Generate(w, "FAILQUIET", "R"));
  EXPECT_EQ(w->MessageCodes, "E;-1; ");
  EXPECT_EQ(w->MessageTexts, "module run failed; ");
  // A good run: the module's message in a cleared trail.
  w->RecordError("");
  EXPECT_TRUE(Generate(w, "J4", "R"));
  EXPECT_EQ(w->MessageTexts, "ran J4; ");
}

TEST_F(GenerateTest, MissingModuleOrFolders) {
  // Folders without the module: the S_PKG one (or the first) is tried.
  WriteServerSettings("[WorkDLLPath]\r\nPath1=" + Path("a") + "\r\nPath2=" + Path("S_PKG") +
                      "\r\n");
  TTestWindow* w = InitializedWindow();
  EXPECT_FALSE(Generate(w, "J1", "R"));
  EXPECT_EQ(Runs(), "");
  EXPECT_EQ(host_.CallsOf("GetFileList").size(), 1u);
  // A file that is no library cannot be loaded.
  WriteFile("S_PKG/PVQR82S.DLL", "not a library");
  EXPECT_FALSE(Generate(w, "J1", "R"));
  EXPECT_EQ(w->MessageTexts, "");
  // No settings at all: no folders.
  WriteFile("registry.reg", "Windows Registry Editor Version 5.00\r\n");
  EXPECT_FALSE(Generate(w, "J1", "R"));
  EXPECT_EQ(Runs(), "");
}

TEST_F(GenerateTest, OnOneSystemVersionTheModuleStaysLoaded) {
  WriteServerSettings("[WorkDLLPath]\r\nPath1=" + std::string(VK_SERVER_MODULE_DIR) + "\r\n");
  TTestWindow* w = InitializedWindow();
  BaseGeneU::OverrideOSVersionText("6.1.0");
  EXPECT_TRUE(Generate(w, "J1", "R"));
  EXPECT_FALSE(IsLoaded(module_));
  BaseGeneU::OverrideOSVersionText(BaseGeneU::kKeepModuleVersion);
  EXPECT_TRUE(Generate(w, "J2", "R"));
  EXPECT_TRUE(IsLoaded(module_));
}

}  // namespace
}  // namespace framework_test
