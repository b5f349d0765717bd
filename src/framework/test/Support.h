#pragma once

// What the window tests share: a host object of the tests' own that records
// what the window asks of it, a small derived window that records the order
// in which its virtual operations run, and a sandbox (temporary folder,
// registry file, code page, clock, modal hook) for every test.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "framework/BaseGene.h"
#include "platform/core/DateTime.h"
#include "platform/core/Dispatch.h"
#include "platform/vcl/Dialogs.h"

namespace framework_test {

using platform::Variant;

/* Renders a Variant with its kind and shape, so that tests compare the
   exact arguments a service received. */
std::string Show(const Variant& value);

/* A host object "PilgarWorkCenter.Manager" with its three services. Every
   call is recorded as "member(args)" in Calls (services included); answers
   come from the public fields. A message text is "<type><number>:" followed
   by the text in Messages under "type;number" when there is one, else by
   "%s". */
class FakeHost {
 public:
  FakeHost();
  ~FakeHost();
  Variant Object() const { return object_; }

  std::vector<std::string> Calls;
  /* Calls whose member name is Name, in order. */
  std::vector<std::string> CallsOf(const std::string& name) const;

  std::map<std::string, std::string> Messages;  // "E;000005" -> text
  std::vector<std::pair<std::string, std::string>> Settings = {
      {"Sys001", "1"}, {"Sys002", "/"}, {"VRK002", "测试公司"}};
  /* CheckValue/QueryData answers by table: the Boolean and the row. */
  std::map<std::string, std::pair<bool, Variant>> Rows;
  Variant LookupAnswer;        // F2GetData
  std::string PickedDate;      // ShowInputDay
  Variant CounterAnswer;       // GetCounter
  Variant FileInfo{""};        // GetFileList
  bool FailCounter = false;    // Com_Counter raises
  bool FailValidator = false;  // Com_Validator raises
  bool FailLookup = false;     // Com_F2Window raises

  /* Members (of the host and its services) that raise when called. */
  std::set<std::string> Failing;

 private:
  Variant object_;
};

/* A window of the tests' own below the generic window, named "frmPvqTest"
   (its letters 4 to 6, "Pvq", fit the program code PVQR82). It records its
   virtual operations in Calls, counts the clicks of OK, and lets a test
   choose the server class its connection asks for. */
class TTestWindow : public BaseGene::TfrmBaseGene {
  VCL_CLASS_INFO()
 public:
  explicit TTestWindow(vcl::TComponent* owner);

  std::vector<std::string> Calls;
  std::string ServerName = "Test.AppServer";
  bool PresetAnswer = false;  // what ApplyPreset answers
  bool WantLookup = false;    // registers the need for the lookup service
  int OkClicks = 0;
  std::vector<vcl::TWinControl*> Lookups;  // controls LookupKey was called for

  void CountOk(vcl::TObject*) { ++OkClicks; }

  void ArrangeSystemPage() override;
  void RegisterFields() override;
  void SetRequired(const std::string& list) override;
#if !VK_COMPAT_BUILD
  void PrepareDataSets() override;
#endif
  void ConnectServices() override;
  bool Initialize(const Variant& params) override;
  bool ApplyPreset(const Variant& values) override;
  void AfterRights() override;
  void PrepareConnection(platform::remote::TSocketConnection* connection) override;
  void RunHostMode(int mode) override;
  void LookupKey(vcl::Word key, vcl::TWinControl* control) override;
  void CreateHostServices() override;
  void CreateLookupWindow() override;

  template <class T>
  T* Add(const std::string& name, vcl::TWinControl* parent) {
    auto* c = new T(this);
    c->SetName(name);
    c->SetParent(parent);
    return c;
  }

  // The window's state, open to the tests.
  using TfrmBaseGene::AppServer;
  using TfrmBaseGene::BaseLimited;
  using TfrmBaseGene::CaptionNote;
  using TfrmBaseGene::CaptionTitle;
  using TfrmBaseGene::ColourSnapshot;
  using TfrmBaseGene::ConditionCount;
  using TfrmBaseGene::CounterService;
  using TfrmBaseGene::DateFields;
  using TfrmBaseGene::EnvCount;
  using TfrmBaseGene::FocusBack;
  using TfrmBaseGene::GenerateData;
  using TfrmBaseGene::HostExtra;
  using TfrmBaseGene::HostRequest;
  using TfrmBaseGene::HostWindow;
  using TfrmBaseGene::InputError;
  using TfrmBaseGene::Interactive;
  using TfrmBaseGene::LocalServer;
  using TfrmBaseGene::LookupService;
  using TfrmBaseGene::MessageCodes;
  using TfrmBaseGene::MessageTexts;
  using TfrmBaseGene::ModuleFileName;
  using TfrmBaseGene::PageEndControls;
  using TfrmBaseGene::PresetApplied;
  using TfrmBaseGene::PresetChecked;
  using TfrmBaseGene::ProgramKind;
  using TfrmBaseGene::QuietMessages;
  using TfrmBaseGene::RequiredFields;
  using TfrmBaseGene::ReservedConditions;
  using TfrmBaseGene::RightsFlag7;
  using TfrmBaseGene::RightsFlag8;
  using TfrmBaseGene::SavedClickHandlers;
  using TfrmBaseGene::SavedDateHandlers;
  using TfrmBaseGene::ServerClass;
  using TfrmBaseGene::ServiceFlags;
  using TfrmBaseGene::SystemPageArranged;
  using TfrmBaseGene::ValidatorService;
};

/* A server object of the tests' own, made in process for the class
   "Test.AppServer" while a SandboxTest runs; it counts how often it was
   made and answers SQLType() with 5. */
extern int gServersMade;

/* The sandbox of every window test:
   - a temporary folder with an installation whose registry file names it
     as client and server folder; BrantorC.ini names the server Address
     ("127.0.0.1" unless a test writes another) and port 211;
   - the GB code page, the clock at 2024-03-05 14:07:09;
   - a modal hook that records every modal form by class name (Modals) and
     answers message dialogs with their first button, and a fresh
     ShownDialogs();
   - the fake host registered as "PilgarWorkCenter.Manager", and the test
     server class "Test.AppServer".
   Windows made with NewWindow are freed at the end unless already gone. */
class SandboxTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string Path(const std::string& relative) const { return dir_ + relative; }
  std::string WriteFile(const std::string& relative, const std::string& bytes) const;
  /* Rewrites BrantorC.ini / BrantorS.ini with these lines after the code
     page section. */
  void WriteClientSettings(const std::string& lines, const std::string& uiCodePage = "936") const;
  void WriteServerSettings(const std::string& lines) const;

  /* A new test window (Create<T>: OnCreate has run), its module file set to
     .../PVQR82C.dll and its host object the fake host. */
  TTestWindow* NewWindow();
  /* NewWindow, then Initialize with [U001, VRK, VRKDEMO, 0, extra]. */
  TTestWindow* InitializedWindow();
  static Variant HostParams(int count = 5);
  /* Shows the window (modeless) and processes messages. */
  static void ShowWindow(TTestWindow* window);
  static bool Alive(const vcl::TComponent* c) { return vcl::IsLiveComponent(c); }

  /* Texts of the message dialogs shown since the test began. */
  static std::vector<std::string> DialogTexts();

  FakeHost host_;
  std::vector<std::string> modals_;
  std::string dir_;

 private:
  std::vector<TTestWindow*> windows_;
  std::optional<platform::ScopedClock> clock_;
  platform::FormatSettings savedSettings_;
};

}  // namespace framework_test
