#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "framework/test/Support.h"
#include "platform/core/CodePage.h"
#include "platform/core/Registry.h"
#include "platform/remote/SocketConnection.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace framework_test {

using platform::AutoObject;
using platform::VarArrayOf;

std::string Show(const Variant& v) {
  if (v.IsArray()) {
    std::string text = "[";
    if (v.DimCount() == 2) return "[2d]";
    for (int32_t i = v.LowBound(); i <= v.HighBound(); ++i)
      text += (i > v.LowBound() ? "," : "") + Show(v[i]);
    return text + "]";
  }
  switch (v.Type()) {
    case platform::VarType::Empty:
      return "<empty>";
    case platform::VarType::Null:
      return "<null>";
    case platform::VarType::Boolean:
      return v.AsBoolean() ? "true" : "false";
    case platform::VarType::Dispatch:
      return "<object>";
    case platform::VarType::String:
    case platform::VarType::OleStr:
      return "'" + v.AsString() + "'";
    default:
      return platform::VarToStr(v);
  }
}

// ---------------------------------------------------------------------------

namespace {

std::string CallText(const std::string& name, const std::vector<Variant>& args) {
  std::string text = name + "(";
  for (size_t i = 0; i < args.size(); ++i) text += (i ? "," : "") + Show(args[i]);
  return text + ")";
}

// An automation object whose every member records itself and then runs
// its answer.
class Recording : public AutoObject {
 public:
  Recording(std::string className, std::vector<std::string>& calls,
            const std::set<std::string>& failing)
      : AutoObject(std::move(className)), calls_(calls), failing_(failing) {}
  void Member(const std::string& name, int minArgs, int maxArgs, Method answer) {
    AddMethod(name, minArgs, maxArgs, [this, name, answer](std::vector<Variant>& args) {
      calls_.push_back(CallText(name, args));
      if (failing_.count(name)) throw platform::EOleException(name + " failed", ClassName());
      return answer(args);
    });
  }
  using AutoObject::AddProperty;

 private:
  std::vector<std::string>& calls_;
  const std::set<std::string>& failing_;
};

}  // namespace

FakeHost::FakeHost() {
  auto counter = std::make_shared<Recording>("Test.Counter", Calls, Failing);
  counter->Member("GetSysInfo", 1, 1, [this](std::vector<Variant>&) {
    Variant a = platform::VarArrayCreate({{0, 1}, {0, static_cast<int32_t>(Settings.size()) - 1}});
    for (size_t i = 0; i < Settings.size(); ++i) {
      a.At(0, static_cast<int32_t>(i)) = Variant(Settings[i].first);
      a.At(1, static_cast<int32_t>(i)) = Variant(Settings[i].second);
    }
    return a;
  });
  counter->Member("GetCounter", 3, 3, [this](std::vector<Variant>&) { return CounterAnswer; });

  auto validator = std::make_shared<Recording>("Test.Validator", Calls, Failing);
  validator->AddProperty(
      "BaseLimited", [] { return Variant(""); },
      [this](const Variant& v) { Calls.push_back("BaseLimited=" + Show(v)); });
  for (const char* name : {"CheckValue", "QueryData"})
    validator->Member(name, 5, 5, [this](std::vector<Variant>& a) {
      const auto it = Rows.find(platform::VarToStr(a[0]));
      if (it == Rows.end()) return Variant(false);
      a[4] = it->second.second;
      return Variant(it->second.first);
    });

  auto lookup = std::make_shared<Recording>("Test.F2Window", Calls, Failing);
  lookup->Member("F2GetData", 1, 1, [this](std::vector<Variant>&) { return LookupAnswer; });
  lookup->Member("ShowInputDay", 1, 1,
                 [this](std::vector<Variant>&) { return Variant(PickedDate); });

  auto host = std::make_shared<Recording>("PilgarWorkCenter.Manager", Calls, Failing);
  const Variant counterObject{platform::DispatchPtr(counter)};
  const Variant validatorObject{platform::DispatchPtr(validator)};
  const Variant lookupObject{platform::DispatchPtr(lookup)};
  host->Member("Com_Counter", 0, 0, [this, counterObject](std::vector<Variant>&) {
    if (FailCounter) throw platform::Exception("no counter");
    return counterObject;
  });
  host->Member("Com_Validator", 0, 0, [this, validatorObject](std::vector<Variant>&) {
    if (FailValidator) throw platform::Exception("no validator");
    return validatorObject;
  });
  host->Member("Com_F2Window", 0, 0, [this, lookupObject](std::vector<Variant>&) {
    if (FailLookup) throw platform::Exception("no lookup");
    return lookupObject;
  });
  host->Member("GetMessage", 2, 2, [this](std::vector<Variant>& a) {
    const std::string key = platform::VarToStr(a[0]) + ";" + platform::VarToStr(a[1]);
    const auto it = Messages.find(key);
    return Variant(platform::VarToStr(a[0]) + platform::VarToStr(a[1]) + ":" +
                   (it == Messages.end() ? "%s" : it->second));
  });
  host->Member("GetFileList", 1, 1, [this](std::vector<Variant>&) { return FileInfo; });
  host->Member("CallHelp", 1, 1, [](std::vector<Variant>&) { return Variant(true); });
  object_ = Variant(platform::DispatchPtr(host));
}

FakeHost::~FakeHost() = default;

std::vector<std::string> FakeHost::CallsOf(const std::string& name) const {
  std::vector<std::string> found;
  for (const std::string& call : Calls)
    if (call.rfind(name + "(", 0) == 0 || call.rfind(name + "=", 0) == 0) found.push_back(call);
  return found;
}

// ---------------------------------------------------------------------------

const vcl::TClassInfo* TTestWindow::StaticClassInfo() {
  static const vcl::TClassInfo info("TTestWindow", TfrmBaseGene::StaticClassInfo());
  return &info;
}

TTestWindow::TTestWindow(vcl::TComponent* owner) : TfrmBaseGene(owner) {
  SetName("frmPvqTest");
  btnOk->OnClick = vcl::MakeEvent<&TTestWindow::CountOk>(this);
}

void TTestWindow::ArrangeSystemPage() {
  Calls.push_back("ArrangeSystemPage");
  TfrmBaseGene::ArrangeSystemPage();
}
void TTestWindow::RegisterFields() {
  Calls.push_back("RegisterFields");
  TfrmBaseGene::RegisterFields();
  if (WantLookup) ServiceFlags = 4;
}
void TTestWindow::SetRequired(const std::string& list) {
  Calls.push_back("SetRequired");
  TfrmBaseGene::SetRequired(list);
}
#if !VK_COMPAT_BUILD
void TTestWindow::PrepareDataSets() {
  Calls.push_back("PrepareDataSets");
  TfrmBaseGene::PrepareDataSets();
}
#endif
void TTestWindow::ConnectServices() {
  Calls.push_back("ConnectServices");
  TfrmBaseGene::ConnectServices();
}
bool TTestWindow::Initialize(const Variant& params) {
  Calls.push_back("Initialize");
  return TfrmBaseGene::Initialize(params);
}
bool TTestWindow::ApplyPreset(const Variant& values) {
  Calls.push_back("ApplyPreset");
  TfrmBaseGene::ApplyPreset(values);
  return PresetAnswer;
}
void TTestWindow::AfterRights() {
  Calls.push_back("AfterRights");
  TfrmBaseGene::AfterRights();
}
void TTestWindow::PrepareConnection(platform::remote::TSocketConnection* connection) {
  Calls.push_back("PrepareConnection");
  TfrmBaseGene::PrepareConnection(connection);
  connection->SetServerName(ServerName);
}
void TTestWindow::RunHostMode(int mode) {
  Calls.push_back("RunHostMode(" + std::to_string(mode) + ")");
  TfrmBaseGene::RunHostMode(mode);
}
void TTestWindow::LookupKey(vcl::Word key, vcl::TWinControl* control) {
  Calls.push_back("LookupKey");
  Lookups.push_back(control);
  TfrmBaseGene::LookupKey(key, control);
}
void TTestWindow::CreateHostServices() {
  Calls.push_back("CreateHostServices");
  TfrmBaseGene::CreateHostServices();
}
void TTestWindow::CreateLookupWindow() {
  Calls.push_back("CreateLookupWindow");
  TfrmBaseGene::CreateLookupWindow();
}

// ---------------------------------------------------------------------------

int gServersMade = 0;

namespace {

class TestServer : public AutoObject {
 public:
  TestServer() : AutoObject("Test.AppServer") {
    AddMethod("SQLType", 0, 0, [](std::vector<Variant>&) { return Variant(int32_t{5}); });
  }
};

}  // namespace

void SandboxTest::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "framework-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  dir_ = pattern + "/";
  WriteFile("registry.reg",
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\VRK\\Brantor]\r\n"
            "\"ClientPath\"=\"" +
                dir_ + "\"\r\n\"ServerPath\"=\"" + dir_ + "\"\r\n");
  WriteClientSettings("");
  WriteServerSettings("");
  platform::SetRegistryFile(dir_ + "registry.reg");
  platform::SetSystemCodePage(936);
  savedSettings_ = platform::GlobalFormatSettings();
  clock_.emplace([] {
    return platform::ComposeDateTime(platform::EncodeDate(2024, 3, 5),
                                     platform::EncodeTime(14, 7, 9, 0));
  });
  vcl::ClearShownDialogs();
  vcl::Application->SetModalHook([this](vcl::TCustomForm& form) {
    modals_.push_back(form.ClassName());
    if (dynamic_cast<vcl::TMessageForm*>(&form))
      for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* button = dynamic_cast<vcl::TButton*>(form.Components(i))) {
          form.SetModalResult(button->ModalResult());
          return;
        }
  });
  const Variant host = host_.Object();
  platform::RegisterObjectFactory("PilgarWorkCenter.Manager", [host] { return host.AsDispatch(); });
  gServersMade = 0;
  platform::RegisterObjectFactory("Test.AppServer", [] {
    ++gServersMade;
    return platform::DispatchPtr(std::make_shared<TestServer>());
  });
}

void SandboxTest::TearDown() {
  for (TTestWindow* window : windows_)
    if (vcl::IsLiveComponent(window)) window->Free();
  vcl::Application->ProcessMessages();
  vcl::Application->SetModalHook(nullptr);
  platform::UnregisterObjectFactory("PilgarWorkCenter.Manager");
  platform::UnregisterObjectFactory("Test.AppServer");
  clock_.reset();
  platform::GlobalFormatSettings() = savedSettings_;
  platform::SetSystemCodePage(std::nullopt);
  platform::SetRegistryFile(std::nullopt);
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string SandboxTest::WriteFile(const std::string& relative, const std::string& bytes) const {
  const std::filesystem::path path = dir_ + relative;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
  return path.string();
}

void SandboxTest::WriteClientSettings(const std::string& lines,
                                      const std::string& uiCodePage) const {
  const bool hasServer = lines.find("[Server Information]") != std::string::npos;
  WriteFile("BrantorC.ini", "[CodePage]\r\nUICodePage=" + uiCodePage + "\r\nDBCodePage=936\r\n" +
                                (hasServer ? ""
                                           : "[Server Information]\r\nComputerName=127.0.0.1\r\n"
                                             "ServerPort=211\r\n") +
                                lines);
}

void SandboxTest::WriteServerSettings(const std::string& lines) const {
  WriteFile("BrantorS.ini", "[CodePage]\r\nUICodePage=936\r\nDBCodePage=936\r\n" + lines);
}

TTestWindow* SandboxTest::NewWindow() {
  TTestWindow* window = vcl::Create<TTestWindow>(nullptr);
  windows_.push_back(window);
  window->SetModuleFileName(dir_ + "PVQR82C.dll");
  window->HostObject = host_.Object();
  return window;
}

Variant SandboxTest::HostParams(int count) {
  const Variant all[] = {Variant("U001"), Variant("VRK"), Variant("VRKDEMO"), Variant(int32_t{0}),
                         Variant("extra")};
  Variant params = platform::VarArrayCreate({{0, count - 1}});
  for (int i = 0; i < count; ++i) params[i] = all[i];
  return params;
}

TTestWindow* SandboxTest::InitializedWindow() {
  TTestWindow* window = NewWindow();
  EXPECT_TRUE(window->Initialize(HostParams()));
  return window;
}

void SandboxTest::ShowWindow(TTestWindow* window) {
  window->Show();
  vcl::Application->ProcessMessages();
}

std::vector<std::string> SandboxTest::DialogTexts() {
  std::vector<std::string> texts;
  for (const vcl::TShownDialog& d : vcl::ShownDialogs()) texts.push_back(d.Text);
  return texts;
}

}  // namespace framework_test
