#pragma once

// What the job-window tests share: a host object of the tests' own, a
// default installation of the suite (whose report module stores the jobs
// the window submits, in this process), a small window derived from the job
// window, and a sandbox for every test.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/BtChkBox.h"
#include "controls/SelectPnl.h"
#include "jobs/BaseOpt.h"
#include "platform/core/DateTime.h"
#include "platform/core/Dispatch.h"

namespace jobs_test {

using platform::Variant;

/* A Variant with its kind and shape: 'text', numbers, dates as
   <yyyy-mm-dd hh:nn:ss>, [a,b] for arrays, <empty>, <null>. */
std::string Show(const Variant& value);

/* The host object with its counter, validation and lookup services. Calls
   are recorded as "member(args)"; a message text is "<type><number>:"
   followed by Messages["type;number"], else "%s". */
class FakeHost {
 public:
  FakeHost();
  Variant Object() const { return object_; }
  std::vector<std::string> CallsOf(const std::string& member) const;

  std::vector<std::string> Calls;
  std::map<std::string, std::string> Messages;
  std::vector<std::pair<std::string, std::string>> Settings = {
      {"Sys001", "1"}, {"Sys002", "/"}, {"VRK002", "test"}};
  Variant CounterAnswer;   // GetCounter
  std::string PickedDate;  // ShowInputDay

 private:
  Variant object_;
};

/* The suite's default installation (scripts/install.sh into a temporary
   folder, made once per process and removed at the end). */
class Installation {
 public:
  static Installation& Get();
  const std::string& Home() const { return home_; }
  std::string DatabaseFile() const { return home_ + "vrk.db"; }
  /* A registry file like the installation's whose client folder is a new
     folder with its own BrantorC.ini (local server, that interface code
     page). */
  std::string ClientRegistry(const std::string& uiCodePage);
  /* Removes the installation when one was made. */
  static void RemoveIfMade();

 private:
  std::string root_, home_;
  int clients_ = 0;
};

/* One stored job, as the report module keeps it. */
struct StoredJob {
  bool Found = false;
  std::optional<int> GenerationMode;
  std::string ProgramKind, RunAt, UserID;
  /* A part of the stored request (tagged JSON) by JSON path, for example
     "$.v[0].v[9].v" for environment field 10. */
  std::function<std::string(const std::string& path)> Part;
};
StoredJob ReadJob(const std::string& jobId);
int JobCount();

/* The tests' window below the job window, "frmPvqJob" (letters 4-6 fit the
   program code PVQR82): a range panel sp01 (a date field), an edit ed05
   and a check box chk09 on the first page, giving three conditions. */
class TJobWindow : public BaseOpt::TfrmBaseOpt {
  VCL_CLASS_INFO()
 public:
  explicit TJobWindow(vcl::TComponent* owner);

  SelectPnl::TSelectPanel* sp01 = nullptr;
  vcl::TEdit* ed05 = nullptr;
  BtChkBox::TBitCheckBox* chk09 = nullptr;

  void RegisterFields() override;
  bool FillConditionCaptions(Variant& captions, int own) override;
  bool FillConditionValues(Variant& values, int own) override;

  template <class T>
  T* Add(const std::string& name, vcl::TWinControl* parent) {
    auto* c = new T(this);
    c->SetName(name);
    c->SetParent(parent);
    return c;
  }

  using TfrmBaseOpt::AppServer;
  using TfrmBaseOpt::ComposingRequired;
  using TfrmBaseOpt::ConditionCount;
  using TfrmBaseOpt::DateFields;
  using TfrmBaseOpt::EnvCount;
  using TfrmBaseOpt::InputError;
  using TfrmBaseOpt::Interactive;
  using TfrmBaseOpt::LookupService;
  using TfrmBaseOpt::MessageCodes;
  using TfrmBaseOpt::PeriodPageFresh;
  using TfrmBaseOpt::Request;
  using TfrmBaseOpt::RequiredFields;
  using TfrmBaseOpt::SchemeProperties;
  using TfrmBaseOpt::ServiceFlags;
};

/* The sandbox of every test: the installation's registry with a client
   folder of the test's own, the GB code page, the clock at 2024-03-05
   14:07:09, the format settings put back afterwards, a modal hook that
   answers every message dialog with its first button, and the fake host. */
class JobsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  /* A new window (OnCreate has run) for the library file PVQR82C.dll with
     the fake host; Prepare runs before Initialize. */
  TJobWindow* Window(const std::function<void(TJobWindow*)>& prepare = {},
                     const std::string& uiCodePage = "936");
  static Variant HostParams();
  static void ShowWindow(TJobWindow* window);
  static std::vector<std::string> DialogTexts();
  static bool Alive(const vcl::TComponent* c) { return vcl::IsLiveComponent(c); }

  FakeHost host_;

 private:
  std::vector<TJobWindow*> windows_;
  std::optional<platform::ScopedClock> clock_;
  platform::FormatSettings savedSettings_;
};

}  // namespace jobs_test
