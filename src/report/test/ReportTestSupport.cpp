#include "report/test/ReportTestSupport.h"

#include "platform/core/Dispatch.h"
#include "suite/db/Database.h"

namespace ReportTest {

using pilgarwc::test::Suite;
using platform::Variant;

void ReportWindowTest::SetUp() {
  pilgarwc::test::SuiteTest::SetUp();
  seenDialogs_ = 0;
  vcl::Application->SetModalHook([this](vcl::TCustomForm& form) {
    if (auto* dialog = dynamic_cast<vcl::TMessageForm*>(&form)) {
      for (int i = 0; i < dialog->ComponentCount(); ++i)
        if (auto* button = dynamic_cast<vcl::TButton*>(dialog->Components(i))) {
          button->Click();
          return;
        }
      return;
    }
    if (OnForm)
      OnForm(form);
    else
      form.SetModalResult(vcl::mrCancel);
  });
}

void ReportWindowTest::TearDown() {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
    if (vcl::IsLiveComponent(*it)) (*it)->Free();
  windows_.clear();
  vcl::Application->ProcessMessages();
  if (!saved_.empty()) {
    suitedb::Database db = suitedb::Database::Open(Suite::Get().DatabaseFile());
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->Value)
        db.Execute("INSERT OR REPLACE INTO sys_setting (company_id, name, value) VALUES (?, ?, ?)",
                   {it->Company, it->Name, *it->Value});
      else
        db.Execute("DELETE FROM sys_setting WHERE company_id = ? AND name = ?",
                   {it->Company, it->Name});
    }
    saved_.clear();
  }
  pilgarwc::test::SuiteTest::TearDown();
}

void ReportWindowTest::Start(BaseGene::TfrmBaseGene* form, const Opening& opening) {
  form->SetModuleFileName("/opt/vrk/" + opening.Module);
  form->HostObject = NewHost();
  Initialized = form->Initialize(
      platform::VarArrayOf({Variant(opening.User), Variant(opening.Company),
                            Variant(opening.Database), Variant(int32_t{0}), Variant("")}));
}

std::vector<std::string> ReportWindowTest::TakeMessages() {
  std::vector<std::string> texts;
  const auto& shown = vcl::ShownDialogs();
  for (size_t i = seenDialogs_; i < shown.size(); ++i) texts.push_back(shown[i].Text);
  seenDialogs_ = shown.size();
  return texts;
}

void ReportWindowTest::SetCompanySetting(const std::string& company, const std::string& name,
                                         const std::string& value) {
  suitedb::Database db = suitedb::Database::Open(Suite::Get().DatabaseFile());
  saved_.push_back({company, name,
                    db.QueryText("SELECT value FROM sys_setting WHERE company_id = ? AND name = ?",
                                 {company, name})});
  db.Execute("INSERT OR REPLACE INTO sys_setting (company_id, name, value) VALUES (?, ?, ?)",
             {company, name, value});
}

std::vector<std::string> Texts(const Variant& array) {
  std::vector<std::string> texts;
  if (!array.IsArray()) return texts;
  for (int32_t i = array.LowBound(); i <= array.HighBound(); ++i)
    texts.push_back(platform::VarToStr(array[i]));
  return texts;
}

std::string Show(const Variant& value) {
  if (value.IsArray()) {
    std::string text = "[";
    for (int32_t i = value.LowBound(); i <= value.HighBound(); ++i)
      text += (i > value.LowBound() ? "," : "") + Show(value[i]);
    return text + "]";
  }
  switch (value.Type()) {
    case platform::VarType::Empty:
      return "<empty>";
    case platform::VarType::Null:
      return "<null>";
    case platform::VarType::Boolean:
      return value.AsBoolean() ? "true" : "false";
    case platform::VarType::String:
    case platform::VarType::OleStr:
      return "'" + value.AsString() + "'";
    default:
      return platform::VarToStr(value);
  }
}

}  // namespace ReportTest
