#include "jobs/test/JobsSupport.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/core/CodePage.h"
#include "platform/core/Registry.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"

namespace jobs_test {

namespace fs = std::filesystem;
using platform::AutoObject;
using platform::VarArrayOf;

std::string Show(const Variant& v) {
  if (v.IsArray()) {
    if (v.DimCount() == 2) return "[2d]";
    std::string text = "[";
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
    case platform::VarType::Date:
      return "<" + platform::FormatDateTime("yyyy-mm-dd hh:nn:ss", v.AsDate()) + ">";
    case platform::VarType::String:
    case platform::VarType::OleStr:
      return "'" + v.AsString() + "'";
    default:
      return platform::VarToStr(v);
  }
}

// ---------------------------------------------------------------------------

namespace {

class Recording : public AutoObject {
 public:
  Recording(std::string className, std::vector<std::string>& calls)
      : AutoObject(std::move(className)), calls_(calls) {}
  void Member(const std::string& name, int minArgs, int maxArgs, Method answer) {
    AddMethod(name, minArgs, maxArgs, [this, name, answer](std::vector<Variant>& args) {
      std::string call = name + "(";
      for (size_t i = 0; i < args.size(); ++i) call += (i ? "," : "") + Show(args[i]);
      calls_.push_back(call + ")");
      return answer(args);
    });
  }
  using AutoObject::AddProperty;

 private:
  std::vector<std::string>& calls_;
};

}  // namespace

FakeHost::FakeHost() {
  auto counter = std::make_shared<Recording>("Test.Counter", Calls);
  counter->Member("GetSysInfo", 1, 1, [this](std::vector<Variant>&) {
    const auto last = static_cast<int32_t>(Settings.size()) - 1;
    Variant a = platform::VarArrayCreate({{0, 1}, {0, last}});
    for (int32_t i = 0; i <= last; ++i) {
      a.At(0, i) = Variant(Settings[static_cast<size_t>(i)].first);
      a.At(1, i) = Variant(Settings[static_cast<size_t>(i)].second);
    }
    return a;
  });
  counter->Member("GetCounter", 3, 3, [this](std::vector<Variant>&) { return CounterAnswer; });

  auto validator = std::make_shared<Recording>("Test.Validator", Calls);
  validator->AddProperty(
      "BaseLimited", [] { return Variant(""); }, [](const Variant&) {});
  for (const char* name : {"CheckValue", "QueryData"})
    validator->Member(name, 5, 5, [](std::vector<Variant>&) { return Variant(false); });

  auto lookup = std::make_shared<Recording>("Test.F2Window", Calls);
  lookup->Member("F2GetData", 1, 1, [](std::vector<Variant>&) { return Variant(); });
  lookup->Member("ShowInputDay", 1, 1,
                 [this](std::vector<Variant>&) { return Variant(PickedDate); });

  auto host = std::make_shared<Recording>("PilgarWorkCenter.Manager", Calls);
  const Variant services[] = {Variant(platform::DispatchPtr(counter)),
                              Variant(platform::DispatchPtr(validator)),
                              Variant(platform::DispatchPtr(lookup))};
  host->Member("Com_Counter", 0, 0, [s = services[0]](std::vector<Variant>&) { return s; });
  host->Member("Com_Validator", 0, 0, [s = services[1]](std::vector<Variant>&) { return s; });
  host->Member("Com_F2Window", 0, 0, [s = services[2]](std::vector<Variant>&) { return s; });
  host->Member("GetMessage", 2, 2, [this](std::vector<Variant>& a) {
    const std::string type = platform::VarToStr(a[0]), number = platform::VarToStr(a[1]);
    const auto it = Messages.find(type + ";" + number);
    return Variant(type + number + ":" + (it == Messages.end() ? "%s" : it->second));
  });
  host->Member("GetFileList", 1, 1, [](std::vector<Variant>&) { return Variant(""); });
  host->Member("CallHelp", 1, 1, [](std::vector<Variant>&) { return Variant(true); });
  object_ = Variant(platform::DispatchPtr(host));
}

std::vector<std::string> FakeHost::CallsOf(const std::string& member) const {
  std::vector<std::string> found;
  for (const std::string& call : Calls)
    if (call.rfind(member + "(", 0) == 0) found.push_back(call);
  return found;
}

// ---------------------------------------------------------------------------

namespace {

std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& file, const std::string& text) {
  fs::create_directories(fs::path(file).parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace

namespace {
Installation& Instance() {
  static Installation installation;
  return installation;
}
}  // namespace

Installation& Installation::Get() {
  Installation& installation = Instance();
  if (installation.home_.empty()) {
    char pattern[] = "/tmp/vk-jobs-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp");
    installation.root_ = pattern;
    installation.home_ = installation.root_ + "/vrk/";
    // VK_TEST_DATA_DIR is <repository>/src/jobs/testdata.
    const std::string script =
        (fs::path(VK_TEST_DATA_DIR).parent_path().parent_path().parent_path() / "scripts" /
         "install.sh")
            .string();
    const std::string command = "VRK_HOME='" + installation.home_ + "' bash '" + script + "' '" +
                                VK_BIN_DIR + "' >/dev/null 2>'" + installation.root_ +
                                "/install.log'";
    if (std::system(command.c_str()) != 0)
      throw std::runtime_error("install.sh failed: " +
                               ReadText(installation.root_ + "/install.log"));
  }
  return installation;
}

std::string Installation::ClientRegistry(const std::string& uiCodePage) {
  const std::string client = home_ + "client" + std::to_string(++clients_) + "/";
  WriteText(client + "BrantorC.ini",
            "[Server Information]\nComputerName=127.0.0.1\n"
            "ServerPort=211\n[CodePage]\nUICodePage=" +
                uiCodePage + "\nDBCodePage=936\n");
  std::string registry = ReadText(home_ + "registry.reg");
  const std::string key = "\"ClientPath\"=\"" + home_ + "\"";
  const size_t at = registry.find(key);
  if (at == std::string::npos) throw std::runtime_error("no ClientPath in the registry file");
  registry.replace(at, key.size(), "\"ClientPath\"=\"" + client + "\"");
  WriteText(client + "registry.reg", registry);
  return client + "registry.reg";
}

void Installation::RemoveIfMade() {
  Installation& installation = Instance();
  std::error_code ignored;
  if (!installation.root_.empty()) fs::remove_all(installation.root_, ignored);
  installation.root_.clear();
  installation.home_.clear();
}

namespace {

// A read-only connection of the test's own to the installation's database.
class Db {
 public:
  Db() {
    if (sqlite3_open_v2(Installation::Get().DatabaseFile().c_str(), &db_, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK)
      throw std::runtime_error("cannot open the database");
  }
  ~Db() { sqlite3_close(db_); }
  /* The first row's columns as texts (NULL as "<null>"); empty when none. */
  std::vector<std::string> Row(const std::string& sql, const std::vector<std::string>& args) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(db_));
    for (size_t i = 0; i < args.size(); ++i)
      sqlite3_bind_text(statement, static_cast<int>(i + 1), args[i].c_str(), -1, SQLITE_TRANSIENT);
    std::vector<std::string> row;
    if (sqlite3_step(statement) == SQLITE_ROW)
      for (int c = 0; c < sqlite3_column_count(statement); ++c) {
        const auto* text = sqlite3_column_text(statement, c);
        row.push_back(text ? reinterpret_cast<const char*>(text) : "<null>");
      }
    sqlite3_finalize(statement);
    return row;
  }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace

StoredJob ReadJob(const std::string& jobId) {
  StoredJob job;
  const std::vector<std::string> row =
      Db().Row("SELECT gen_mode, program_kind, run_at, user_id FROM job WHERE job_id = ?", {jobId});
  if (row.empty()) return job;
  job.Found = true;
  if (row[0] != "<null>") job.GenerationMode = std::stoi(row[0]);
  job.ProgramKind = row[1];
  job.RunAt = row[2];
  job.UserID = row[3];
  job.Part = [jobId](const std::string& path) {
    const auto part =
        Db().Row("SELECT json_extract(request_json, ?) FROM job WHERE job_id = ?", {path, jobId});
    return part.empty() ? std::string("<none>") : part[0];
  };
  return job;
}

int JobCount() { return std::stoi(Db().Row("SELECT count(*) FROM job", {}).at(0)); }

// ---------------------------------------------------------------------------

const vcl::TClassInfo* TJobWindow::StaticClassInfo() {
  static const vcl::TClassInfo info("TJobWindow", TfrmBaseOpt::StaticClassInfo());
  return &info;
}

TJobWindow::TJobWindow(vcl::TComponent* owner) : TfrmBaseOpt(owner) {
  SetName("frmPvqJob");
  sp01 = Add<SelectPnl::TSelectPanel>("sp01", tsOption1);
  sp01->SetBounds(8, 8, 353, 45);
  sp01->SetTabOrder(0);
  ed05 = Add<vcl::TEdit>("ed05", tsOption1);
  ed05->SetBounds(8, 60, 85, 21);
  ed05->SetTabOrder(1);
  chk09 = Add<BtChkBox::TBitCheckBox>("chk09", tsOption1);
  chk09->SetBounds(8, 90, 97, 17);
  chk09->SetTabOrder(2);
}

void TJobWindow::RegisterFields() {
  TfrmBaseOpt::RegisterFields();
  RegisterDateFields("sp01");
  SetConditionCount(3);
}

bool TJobWindow::FillConditionCaptions(Variant& captions, int own) {
  captions[1] = VarArrayOf({Variant("进货日期"), Variant("sp01")});
  captions[2] = VarArrayOf({Variant("进货工厂"), Variant("ed05")});
  captions[3] = VarArrayOf({Variant("仅打印暂不付款者"), Variant("chk09")});
  return TfrmBaseOpt::FillConditionCaptions(captions, own);
}

bool TJobWindow::FillConditionValues(Variant& values, int own) {
  DateRangeValue(sp01->edBegin()->Text(), sp01->edFinal()->Text(), values, 1);
  values[2] = Variant(ed05->Text());
  values[3] = Variant(chk09->Checked() ? "Y" : "N");
  return TfrmBaseOpt::FillConditionValues(values, own);
}

// ---------------------------------------------------------------------------

void JobsTest::SetUp() {
  platform::SetRegistryFile(Installation::Get().ClientRegistry("936"));
  platform::SetSystemCodePage(936);
  savedSettings_ = platform::GlobalFormatSettings();
  clock_.emplace([] {
    return platform::ComposeDateTime(platform::EncodeDate(2024, 3, 5),
                                     platform::EncodeTime(14, 7, 9, 0));
  });
  vcl::ClearShownDialogs();
  vcl::Application->SetModalHook([](vcl::TCustomForm& form) {
    if (dynamic_cast<vcl::TMessageForm*>(&form))
      for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* button = dynamic_cast<vcl::TButton*>(form.Components(i))) {
          form.SetModalResult(button->ModalResult());
          return;
        }
  });
}

void JobsTest::TearDown() {
  for (TJobWindow* window : windows_)
    if (vcl::IsLiveComponent(window)) window->Free();
  vcl::Application->ProcessMessages();
  vcl::Application->SetModalHook(nullptr);
  clock_.reset();
  platform::GlobalFormatSettings() = savedSettings_;
  platform::SetSystemCodePage(std::nullopt);
  platform::SetRegistryFile(std::nullopt);
}

TJobWindow* JobsTest::Window(const std::function<void(TJobWindow*)>& prepare,
                             const std::string& uiCodePage) {
  if (uiCodePage != "936")
    platform::SetRegistryFile(Installation::Get().ClientRegistry(uiCodePage));
  TJobWindow* window = vcl::Create<TJobWindow>(nullptr);
  windows_.push_back(window);
  window->SetModuleFileName(Installation::Get().Home() + "PVQR82C.dll");
  window->HostObject = host_.Object();
  if (prepare) prepare(window);
  EXPECT_TRUE(window->Initialize(HostParams()));
  return window;
}

Variant JobsTest::HostParams() {
  return VarArrayOf(
      {Variant("U001"), Variant("VRK"), Variant("VRKDEMO"), Variant(int32_t{0}), Variant("extra")});
}

void JobsTest::ShowWindow(TJobWindow* window) {
  window->Show();
  vcl::Application->ProcessMessages();
}

std::vector<std::string> JobsTest::DialogTexts() {
  std::vector<std::string> texts;
  for (const vcl::TShownDialog& d : vcl::ShownDialogs()) texts.push_back(d.Text);
  return texts;
}

}  // namespace jobs_test
