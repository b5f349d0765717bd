#pragma once

// The report windows opened as the controller opens them, on a default
// installation of the suite (the host object and the application server's
// modules are the real ones), with the protected state they keep made
// readable, and lookups that can be answered by the test.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Variant.h"
#include "platform/vcl/Dialogs.h"
#include "report/Pvqr82CF.h"
#include "suite/PilgarWorkCenter/test/SuiteEnvironment.h"

namespace ReportTest {

/* One call of OpenLookup. */
struct LookupCall {
  std::string Table, Kind;
  bool Multi = false;
  std::string Text;
  platform::Variant Key;
};

/* What a test's lookups answer: when Rows is set, OpenLookup records the
   call and answers Rows instead of opening the host's lookup window. */
struct LookupScript {
  std::optional<platform::Variant> Rows;
  std::vector<LookupCall> Calls;
};

/* This program's window with its state readable by the tests. */
class TfrmTestPvqr82 : public Pvqr82CF::TfrmPvqr82 {
 public:
  explicit TfrmTestPvqr82(vcl::TComponent* owner) : TfrmPvqr82(owner) {}

  using TfrmBaseGene::ConditionCount;
  using TfrmBaseGene::DateFields;
  using TfrmBaseGene::EnvCount;
  using TfrmBaseGene::InputError;
  using TfrmBaseGene::LocalServer;
  using TfrmBaseGene::MessageCodes;
  using TfrmBaseGene::PageEndControls;
  using TfrmBaseGene::ProgramKind;
  using TfrmBaseGene::Request;
  using TfrmBaseGene::ReservedConditions;
  using TfrmBaseGene::RightsFlag8;
  using TfrmBaseGene::SchemeDateRules;
  using TfrmBaseGene::SchemeProperties;

  LookupScript* Lookups = nullptr;

  void OpenLookup(const std::string& table, const std::string& kind, platform::Variant& result,
                  bool multi, const std::string& text, const platform::Variant& key) override {
    if (!Lookups || !Lookups->Rows) {
      TfrmPvqr82::OpenLookup(table, kind, result, multi, text, key);
      return;
    }
    Lookups->Calls.push_back({table, kind, multi, text, key});
    result = *Lookups->Rows;
  }
};

/* A report window with no conditions of its own (its name passes the
   identity check of the program "PVQR82"). */
class TfrmTestBaseRpt : public BaseRpt::TfrmBaseRpt {
 public:
  explicit TfrmTestBaseRpt(vcl::TComponent* owner) : TfrmBaseRpt(owner) { SetName("frmPvqBase"); }

  using TfrmBaseGene::ConditionCount;
  using TfrmBaseGene::EnvCount;
  using TfrmBaseGene::Request;
  using TfrmBaseGene::ReservedConditions;
};

/* Who opens the window and where. */
struct Opening {
  std::string User = "DS";
  std::string Company = "VRK";
  std::string Database = "VRKDEMO";
  std::string Module = "PVQR82C.dll";
};

/* Windows on the default installation. Every message dialog is answered
   with its first button (vcl::ShownDialogs() keeps what it said); other
   modal windows go to OnForm, or are cancelled. */
class ReportWindowTest : public pilgarwc::test::SuiteTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  /* Creates, names the library and initialises a window of class T as
     the controller does; the result of Initialize goes to Initialized. */
  template <class T>
  T* Open(const Opening& opening = {}) {
    T* form = vcl::Create<T>(nullptr);
    windows_.push_back(form);
    Start(form, opening);
    return form;
  }
  TfrmTestPvqr82* OpenReport(const Opening& opening = {}) { return Open<TfrmTestPvqr82>(opening); }

  /* The texts of the message dialogs shown since the last call. */
  std::vector<std::string> TakeMessages();

  /* Sets a company setting in the installation's database for this test. */
  void SetCompanySetting(const std::string& company, const std::string& name,
                         const std::string& value);

  bool Initialized = false;
  std::function<void(vcl::TCustomForm&)> OnForm;

 private:
  void Start(BaseGene::TfrmBaseGene* form, const Opening& opening);
  std::vector<vcl::TCustomForm*> windows_;
  struct Setting {
    std::string Company, Name;
    std::optional<std::string> Value;
  };
  std::vector<Setting> saved_;
  size_t seenDialogs_ = 0;
};

/* The strings of an array Variant, as texts. */
std::vector<std::string> Texts(const platform::Variant& array);

/* A Variant as one text, arrays nested in brackets with their elements
   comma-separated; strings quoted, so that a string and a number differ. */
std::string Show(const platform::Variant& value);

}  // namespace ReportTest
