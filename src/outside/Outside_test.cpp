// Each outside call goes to the member of that name with its arguments in
// the stated order and shape; errors of the call reach the caller; the
// server work library is loaded, asked for its controller and unloaded.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "outside/AppServer.h"
#include "outside/Automation.h"
#include "outside/HostServices.h"
#include "outside/ServerModule.h"
#include "platform/core/Dispatch.h"

namespace Outside {
namespace {

using platform::VarArrayOf;
using platform::Variant;

// Renders a Variant with its kind, so that a wrong kind or shape shows.
std::string Show(const Variant& v) {
  if (v.IsArray()) {
    std::string text = "[";
    for (int32_t i = v.LowBound(); i <= v.HighBound(); ++i)
      text += (i > v.LowBound() ? "," : "") + Show(v[i]);
    return text + "]";
  }
  if (v.IsEmpty()) return "<empty>";
  if (v.Type() == platform::VarType::Boolean) return v.AsBoolean() ? "true" : "false";
  if (v.IsString()) return "'" + v.AsString() + "'";
  return platform::VarToStr(v);
}

// Records every call (member, arguments) and answers with Answer; writes
// OutArg into the last argument of a call when set.
class Recorder : public platform::Dispatch {
 public:
  Variant Invoke(std::string_view name, std::vector<Variant>& args) override {
    std::string call = std::string(name) + "(";
    for (size_t i = 0; i < args.size(); ++i) call += (i ? "," : "") + Show(args[i]);
    calls.push_back(call + ")");
    if (!outArg.IsEmpty() && !args.empty()) args.back() = outArg;
    if (fail) throw platform::EOleException("refused", "Recorder");
    return answer;
  }
  Variant GetProperty(std::string_view name) override {
    calls.push_back("get " + std::string(name));
    return answer;
  }
  void PutProperty(std::string_view name, const Variant& value) override {
    calls.push_back(std::string(name) + "=" + Show(value));
  }
  std::string ClassName() const override { return "Recorder"; }

  std::vector<std::string> calls;
  Variant answer;
  Variant outArg;
  bool fail = false;
};

class OutsideTest : public ::testing::Test {
 protected:
  std::shared_ptr<Recorder> recorder_ = std::make_shared<Recorder>();
  Variant object_{platform::DispatchPtr(recorder_)};
};

TEST_F(OutsideTest, EveryCallGoesByItsNameWithItsArguments) {
  const Variant row = VarArrayOf({Variant("x")});
  struct Case {
    std::function<void(const Variant&)> call;
    const char* expected;
  } cases[] = {
      {[](const Variant& o) { ComCounter(o); }, "Com_Counter()"},
      {[](const Variant& o) { ComValidator(o); }, "Com_Validator()"},
      {[](const Variant& o) { ComF2Window(o); }, "Com_F2Window()"},
      {[](const Variant& o) { GetMessage(o, "E", "000005"); }, "GetMessage('E','000005')"},
      {[](const Variant& o) { GetFileList(o, "pvqr82s.dll"); }, "GetFileList(['pvqr82s.dll'])"},
      {[](const Variant& o) { CallHelp(o, "PVQ", "12820000"); }, "CallHelp(['PVQ','12820000'])"},
      {[](const Variant& o) { GetSysInfo(o, "VRK"); }, "GetSysInfo('VRK')"},
      {[](const Variant& o) { GetCounter(o, "SIMPLESQL", Variant(int32_t{7}), "VRK", "VRKDEMO"); },
       "GetCounter('SIMPLESQL',7,['VRK','VRKDEMO'])"},
      {[](const Variant& o) { SetBaseLimited(o, Variant(u"L")); }, "BaseLimited='L'"},
      {[](const Variant& o) { F2GetData(o, VarArrayOf({Variant("PURMA")})); },
       "F2GetData(['PURMA'])"},
      {[](const Variant& o) { ShowInputDay(o, true, "20240305", "VRKDEMO"); },
       "ShowInputDay([true,'20240305','VRKDEMO'])"},
      {[](const Variant& o) { LoadTable(o, "U001", "PVQR82"); }, "LoadTable(['U001','PVQR82'])"},
      {[&](const Variant& o) { InsertConTable(o, row); }, "InsertConTable(['x'])"},
      {[&](const Variant& o) { DeleteConTable(o, row); }, "DeleteConTable(['x'])"},
      {[&](const Variant& o) { ChangeConName(o, row, Variant("y")); }, "ChangeConName(['x'],'y')"},
      {[](const Variant& o) { GetPower(o, "VRKDEMO", "U001", "PVQR82"); },
       "GetPower(['VRKDEMO','U001','PVQR82',''])"},
      {[](const Variant& o) { SQLType(o); }, "SQLType()"},
      {[&](const Variant& o) { Request(o, row); }, "Request(['x'])"},
      {[&](const Variant& o) { Request1(o, row, Variant("PC1")); }, "Request1(['x'],'PC1')"},
      {[](const Variant& o) {
         UpdateStatus1(o, Variant("J1"), Variant("texts"), Variant(int32_t{3}));
       },
       "UpdateStatus1('J1','texts',3)"},
      {[](const Variant& o) { ErrorDescript(o); }, "ErrorDescript()"},
      {[](const Variant& o) { AS_GetRecords(o, "pvdConSave"); }, "AS_GetRecords('pvdConSave')"},
      {[&](const Variant& o) { OpenReport(o, row); }, "OpenReport(['x'])"},
      {[](const Variant& o) { Navigate(o, "http://h/Server/ReportView.aspx"); },
       "Navigate('http://h/Server/ReportView.aspx')"},
  };
  for (const Case& c : cases) {
    recorder_->calls.clear();
    c.call(object_);
    ASSERT_EQ(recorder_->calls.size(), 1u) << c.expected;
    EXPECT_EQ(recorder_->calls[0], c.expected);
  }
}

TEST_F(OutsideTest, BrowserIsPlacedWithoutBars) {
  PlaceBrowser(object_, 0, 0, 1024, 720);
  EXPECT_EQ(recorder_->calls,
            (std::vector<std::string>{"Visible=true", "left=0", "top=0", "height=720", "width=1024",
                                      "menubar=false", "addressbar=false", "toolbar=false"}));
}

TEST_F(OutsideTest, CheckAndQueryAnswerABooleanAndTheRowOutArgument) {
  recorder_->answer = Variant(true);
  recorder_->outArg = VarArrayOf({Variant("CNY"), Variant("人民币")});
  Variant row;
  EXPECT_TRUE(CheckValue(object_, "CMSMF", "01", "VRKDEMO", VarArrayOf({Variant("CNY")}), row));
  EXPECT_EQ(recorder_->calls.back(), "CheckValue('CMSMF','01','VRKDEMO',['CNY'],<empty>)");
  EXPECT_EQ(Show(row), Show(recorder_->outArg));

  recorder_->answer = Variant(false);
  row = Variant();
  EXPECT_FALSE(QueryData(object_, "ADMMB", "01", "VRKDEMO", Variant("k"), row));
  EXPECT_EQ(recorder_->calls.back(), "QueryData('ADMMB','01','VRKDEMO','k',<empty>)");

  // An answer that is not a Boolean is the call's failure.
  recorder_->answer = Variant("maybe");
  EXPECT_THROW(CheckValue(object_, "T", "01", "DB", Variant("k"), row), platform::EVariantError);
}

TEST_F(OutsideTest, FailuresReachTheCaller) {
  recorder_->fail = true;
  EXPECT_THROW(LoadTable(object_, "U", "P"), platform::EOleException);
  // No object at all.
  EXPECT_THROW(ComCounter(Variant()), platform::EVariantError);
  // Classes nobody registered.
  EXPECT_THROW(CreateQueueManager(), platform::EOleError);
  EXPECT_THROW(CreateBrowser(), platform::EOleError);
  EXPECT_THROW(CreateServerObject("No.SuchClass"), platform::EOleError);
}

TEST_F(OutsideTest, HostAndServerObjectsAreCreatedByClassName) {
  std::vector<std::string> made;
  for (const char* name : {kHostClassName, kReportServerClass}) {
    platform::RegisterObjectFactory(name, [&made, name, this] {
      made.push_back(name);
      return platform::DispatchPtr(recorder_);
    });
  }
  EXPECT_EQ(CreateHostObject().AsDispatch(), recorder_);
  EXPECT_EQ(CreateServerObject(kReportServerClass).AsDispatch(), recorder_);
  EXPECT_EQ(made, (std::vector<std::string>{kHostClassName, kReportServerClass}));
  platform::UnregisterObjectFactory(kHostClassName);
  platform::UnregisterObjectFactory(kReportServerClass);
}

// ---------------------------------------------------------------------------

const std::string kModuleDir = VK_SERVER_MODULE_DIR "/";

bool IsLoaded(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return false;
  dlclose(handle);
  return true;
}

TEST(ServerModuleTest, LoadsRunsAndUnloads) {
  const std::string path = kModuleDir + "TESTS.DLL";
  const std::string log = (std::filesystem::temp_directory_path() / "outside-module.log").string();
  std::filesystem::remove(log);
  setenv("VK_SERVER_MODULE_LOG", log.c_str(), 1);
  {
    std::unique_ptr<TServerModule> module = TServerModule::Load(path);
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(module->HasController());
    EXPECT_TRUE(IsLoaded(path));
    Variant controller = module->NewController();
    EXPECT_EQ(ServerControllerMessage(controller), "");
    RunServerController(controller, VarArrayOf({Variant("J1"), Variant(int32_t{1})}));
    EXPECT_EQ(ServerControllerMessage(controller), "ran J1");
    EXPECT_THROW(RunServerController(controller, VarArrayOf({Variant("FAIL")})),
                 platform::EOleException);
  }
  EXPECT_FALSE(IsLoaded(path));
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "[J1|1]\n[FAIL]\n");
  unsetenv("VK_SERVER_MODULE_LOG");
  std::filesystem::remove(log);

  {
    std::unique_ptr<TServerModule> module = TServerModule::Load(path);
    ASSERT_NE(module, nullptr);
    module->KeepLoaded();
  }
  EXPECT_TRUE(IsLoaded(path));
}

TEST(ServerModuleTest, MissingLibraryOrExport) {
  EXPECT_EQ(TServerModule::Load(kModuleDir + "MISSINGS.DLL"), nullptr);
  std::unique_ptr<TServerModule> module = TServerModule::Load(kModuleDir + "NOEXPS.DLL");
  ASSERT_NE(module, nullptr);
  EXPECT_FALSE(module->HasController());
  EXPECT_THROW(module->NewController(), platform::EOleError);
}

}  // namespace
}  // namespace Outside
