#include "runtime/LanguageController.h"

#include <gtest/gtest.h>
#include <libxml/tree.h>

#include <string>
#include <vector>

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"
#include "runtime/UiTestSupport.h"

namespace LanguageController {
namespace {

using platform::Variant;
using runtime_ui_test::Big5;
using runtime_ui_test::GB;

const char kGBHeader[] = "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n";

/* The window packages are applied to; it logs the elements applied. */
class TfrmLangTest : public vcl::TForm {
  VCL_CLASS_INFO()
 public:
  explicit TfrmLangTest(vcl::TComponent* owner) : vcl::TForm(owner) {
    SetName("frmTest");
    SetCaption("frmTest");
    label = Make<vcl::TLabel>("lblName");
    label->SetCaption("name");
    edit = Make<vcl::TEdit>("edName");
    combo = Make<vcl::TComboBox>("cboKind");
    combo->Items()->SetText("A\r\nB");
    combo->SetItemIndex(1);
    view = Make<vcl::TListView>("lvList");
    view->Columns()->Add()->SetCaption("c0");
    view->Columns()->Add()->SetCaption("c1");
    view->Items()->Add()->SetCaption("r0");
  }
  template <class T>
  T* Make(const std::string& name) {
    auto* c = new T(this);
    c->SetName(name);
    c->SetParent(this);
    return c;
  }
  void BeforeLoad(vcl::TComponent* component, xmlNode* node) {
    log.push_back(component->Name() + "<" + reinterpret_cast<const char*>(node->name));
  }
  void AfterLoad(vcl::TComponent* component, xmlNode*) { log.push_back(component->Name() + ">"); }

  vcl::TLabel* label;
  vcl::TEdit* edit;
  vcl::TComboBox* combo;
  vcl::TListView* view;
  std::vector<std::string> log;
};

const vcl::TClassInfo* TfrmLangTest::StaticClassInfo() {
  static const vcl::TClassInfo info("TfrmLangTest", vcl::TForm::StaticClassInfo());
  return &info;
}

class LanguageTest : public runtime_ui_test::InstallationTest {
 protected:
  void SetUp() override {
    InstallationTest::SetUp();
    Configure(936, "936", "936");
    window_ = vcl::Create<TfrmLangTest>(nullptr);
    controller_ = new TVkLangController(window_);
    controller_->SetName("LangController");
  }
  void TearDown() override {
    window_->Free();
    InstallationTest::TearDown();
  }

  /* Writes the package "TfrmLangTest" (CHS) and makes it the active one. */
  void Activate(const std::string& xml) {
    WritePackage("CHS", "TfrmLangTest", xml);
    controller_->SetLangPackageName("TfrmLangTest");
    controller_->SetActive(true);
  }
  void Load(const std::string& xml) {
    Activate(xml);
    controller_->Reader().LoadComponent(window_);
  }
  std::string ActivationError(const std::string& xml) {
    try {
      Activate(xml);
    } catch (const LanguageControllerError& e) {
      return e.Message();
    }
    return "(no error)";
  }

  TfrmLangTest* window_ = nullptr;
  TVkLangController* controller_ = nullptr;
};

struct FolderCase {
  int system;
  const char* ui;
  const char* code;  // "" when no folder results
};

TEST_F(LanguageTest, TheLanguageFolderFollowsTheInterfaceCodePage) {
  const FolderCase cases[] = {
      {936, "936", "CHS"}, {936, "950", "CHT"}, {437, "437", "ENG"}, {936, "1252", ""}};
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.ui);
    Configure(c.system, c.ui, "936");
    for (const char* code : {"CHS", "CHT", "ENG"})
      WriteFile("install/MultiLanguage/" + std::string(code) + "/x", "");
    EXPECT_EQ(GetLanguageDir(CodeConverter::dtClient),
              *c.code ? Path("install/MultiLanguage/") + c.code + "/" : "");
  }
  // The server reader gives the server's installation; a missing folder gives nothing.
  EXPECT_EQ(GetLanguageDir(CodeConverter::dtServer), "");
  WriteFile("server/MultiLanguage/CHS/x", "");
  Configure(936, "936", "936");
  EXPECT_EQ(GetLanguageDir(CodeConverter::dtServer), Path("server/MultiLanguage/CHS/"));
}

TEST_F(LanguageTest, APackageSetsTheWindowAndTheComponentsItNames) {
  controller_->BeforeLoadComponent = vcl::MakeEvent<&TfrmLangTest::BeforeLoad>(window_);
  controller_->AfterLoadComponent = vcl::MakeEvent<&TfrmLangTest::AfterLoad>(window_);
  Load(std::string(kGBHeader) +
       "<Root PixelsPerInch=\"120\" Caption=\"采购单\" Hint=\"提示\">\n"
       "  <Group>\n"
       "    <lblName Caption=\"名称\" Font.Name=\"Arial\" Font.Color=\"clRed\" "
       "Font.Style=\" [fsBold] \" Alignment=\" taCenter \"/>\n"
       "  </Group>\n"
       "  <lblName Caption=\"second\" Hint=\"second\"/>\n"
       "  <edAbsent Caption=\"nobody\"/>\n"
       "  <edName Text=\"代码\" Width=\"wide\" Height=\"30\" Nonesuch=\"1\" MaxLength=\"8\"/>\n"
       "</Root>\n");
  // A read-only property before them does not stop the others.
  EXPECT_EQ(window_->PixelsPerInch(), 96);
  EXPECT_EQ(window_->Caption(), "采购单");
  EXPECT_EQ(window_->Hint(), "提示");
  // The first element of a name applies, wherever it is.
  EXPECT_EQ(window_->label->Caption(), "名称");
  EXPECT_EQ(window_->label->Hint(), "");
  EXPECT_EQ(window_->label->Font()->Name(), "Arial");
  EXPECT_EQ(window_->label->Font()->Color(), vcl::clRed);
  EXPECT_EQ(window_->label->Font()->Style(), vcl::FontStyle(vcl::fsBold));
  EXPECT_EQ(window_->label->Alignment(), vcl::taCenter);
  // A value of the wrong kind and an unknown name are skipped; the rest apply.
  EXPECT_EQ(window_->edit->Text(), "代码");
  EXPECT_NE(window_->edit->Width(), 0);
  EXPECT_EQ(window_->edit->Height(), 30);
  EXPECT_EQ(window_->edit->MaxLength(), 8);
  const std::vector<std::string> log = {"frmTest<Root", "frmTest>",      "lblName<lblName",
                                        "lblName>",     "edName<edName", "edName>"};
  EXPECT_EQ(window_->log, log);
}

// Elements in a namespace (a prefix or a default one) do not name
// components; the plain element of the name applies.
TEST_F(LanguageTest, ElementsInANamespaceNameNoComponent) {
  Load(
      "<Root xmlns:x=\"urn:x\"><x:lblName Caption=\"prefixed\"/>"
      "<Group xmlns=\"urn:d\"><edName Text=\"defaulted\"/></Group>"
      "<lblName Caption=\"plain\"/></Root>");
  EXPECT_EQ(window_->label->Caption(), "plain");
  EXPECT_EQ(window_->edit->Text(), "");
}

TEST_F(LanguageTest, ExcludedComponentsAreLeftAloneButTheRootStillAppliesToTheWindow) {
  controller_->ExcludeControls()->SetText(" FRMTEST \r\nlblname");
  Load(
      "<Root Caption=\"root\"><frmTest Hint=\"by name\"/><lblName Caption=\"x\"/>"
      "<edName Text=\"y\"/></Root>");
  EXPECT_EQ(window_->Caption(), "root");
  EXPECT_EQ(window_->Hint(), "");
  EXPECT_EQ(window_->label->Caption(), "name");
  EXPECT_EQ(window_->edit->Text(), "y");
  // A later change of the list reaches the loaded reader.
  controller_->ExcludeControls()->Add("edName");
  window_->edit->SetText("");
  controller_->Reader().LoadComponent(window_);
  EXPECT_EQ(window_->edit->Text(), "");
}

TEST_F(LanguageTest, IndexedSegmentsReachColumnsRowsAndLines) {
  Load(
      "<Root><lvList Columns_1.Caption=\"second\" Columns_7.Caption=\"none\" "
      "Items_0.Caption=\"row\" Items_0.ImageIndex=\"3\"/>"
      "<cboKind Items_5=\"six\" Items_x=\"bad\"/></Root>");
  EXPECT_EQ(window_->view->Columns()->Items(0)->Caption(), "c0");
  EXPECT_EQ(window_->view->Columns()->Items(1)->Caption(), "second");
  EXPECT_EQ(window_->view->Items()->Item(0)->Caption(), "row");
  EXPECT_EQ(window_->view->Items()->Item(0)->ImageIndex(), 3);
  // Lines are added until line 5 exists; the selection stays.
  ASSERT_EQ(window_->combo->Items()->Count(), 6);
  EXPECT_EQ(window_->combo->Items()->Get(5), "six");
  EXPECT_EQ(window_->combo->Items()->Get(3), "");
  EXPECT_EQ(window_->combo->ItemIndex(), 1);
}

TEST_F(LanguageTest, AColumnPastTheEndChangesNothing) {
  window_->view->Columns()->Delete(1);
  Load("<Root><lvList Columns_1.Caption=\"second\"/></Root>");
  ASSERT_EQ(window_->view->Columns()->Count(), 1);
  EXPECT_EQ(window_->view->Columns()->Items(0)->Caption(), "c0");
}

TEST_F(LanguageTest, TextsArriveInTheInterfaceCodePage) {
  Load("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Root Caption=\"\xE5\x9B\xBD\xE5\xAE\xB6\"/>");
  EXPECT_EQ(window_->Caption(), GB(u"国家"));
  Configure(936, "950", "936");
  WritePackage(
      "CHT", "TfrmLangTest",
      "<?xml version=\"1.0\" encoding=\"Big5\"?><Root Caption=\"" + Big5(u"國家") + "\"/>");
  controller_->SetLangPackageName("TfrmLangTest");  // the same name: nothing is read again
  EXPECT_TRUE(controller_->Active());
  EXPECT_EQ(controller_->PackageFile(), Path("install/MultiLanguage/CHS/TfrmLangTest.Lng"));
  controller_->SetLangPackageName("");
  controller_->SetLangPackageName("TfrmLangTest");
  EXPECT_FALSE(controller_->Active());
  controller_->SetActive(true);
  controller_->Reader().LoadComponent(window_);
  EXPECT_EQ(window_->Caption(), Big5(u"國家"));
}

// --- Hostile and broken packages ---------------------------------------------------

std::string Deep(int levels) {
  std::string xml;
  for (int i = 0; i < levels; ++i) xml += "<a>";
  for (int i = 0; i < levels; ++i) xml += "</a>";
  return xml;
}

std::string EntityBomb() {
  std::string xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE Root [\n <!ENTITY e0 \"lol\">\n";
  for (int i = 1; i <= 9; ++i) {
    xml += " <!ENTITY e" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) xml += "&e" + std::to_string(i - 1) + ";";
    xml += "\">\n";
  }
  return xml + "]>\n<Root Caption=\"&e9;\"><lblName Caption=\"&e9;\"/></Root>\n";
}

struct BrokenCase {
  const char* what;
  std::string xml;
  const char* reason;  // part of the parser's reason
};

TEST_F(LanguageTest, BrokenPackagesRaiseWithTheParsersReason) {
  const BrokenCase cases[] = {
      {"tags out of order", "<Root><a></Root>", "mismatch"},
      {"cut short", "<Root Caption=\"x", "AttValue"},
      {"empty", "", "Document is empty"},
      {"not XML", "Caption=x", "Start tag expected"},
      {"too deep", Deep(300), "depth"},
      {"entity bomb", EntityBomb(), "entity"},
      {"external entity in a value",
       "<!DOCTYPE Root [<!ENTITY x SYSTEM \"" + Path("secret.txt") + "\">]><Root Caption=\"&x;\"/>",
       "external entity"},
  };
  WriteFile("secret.txt", "leaked");
  for (const BrokenCase& c : cases) {
    SCOPED_TRACE(c.what);
    controller_->SetLangPackageName("");
    const std::string error = ActivationError(c.xml);
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_FALSE(controller_->Active());
    EXPECT_THROW(controller_->Reader(), LanguageControllerError);
  }
  EXPECT_EQ(window_->Caption(), "frmTest");
}

TEST_F(LanguageTest, NothingOutsideThePackageIsRead) {
  WriteFile("secret.txt", "leaked");
  WriteFile("ext.dtd", "<!ENTITY secret \"leaked\"><!ATTLIST lblName Hint CDATA \"leaked\">");
  const std::string dtd = Path("ext.dtd");
  // A parameter entity naming a local file is not followed, so its entity is unknown.
  EXPECT_NE(ActivationError("<!DOCTYPE Root [<!ENTITY % ext SYSTEM \"" + dtd +
                            "\"> %ext;]><Root Caption=\"&secret;\"/>"),
            "(no error)");
  // An external DTD is not loaded: its default attributes do not appear.
  controller_->SetLangPackageName("");
  Load("<!DOCTYPE Root SYSTEM \"" + dtd + "\"><Root Caption=\"plain\"><lblName/></Root>");
  EXPECT_EQ(window_->Caption(), "plain");
  EXPECT_EQ(window_->label->Hint(), "");
  // An external entity in element content is never expanded into a value.
  controller_->SetLangPackageName("");
  Load("<!DOCTYPE Root [<!ENTITY x SYSTEM \"" + Path("secret.txt") +
       "\">]><Root Caption=\"c\"><lblName Caption=\"n\">&x;</lblName></Root>");
  EXPECT_EQ(window_->label->Caption(), "n");
}

TEST_F(LanguageTest, ActivationNeedsAFileAndReaderAccessNeedsAnActiveController) {
  EXPECT_FALSE(controller_->Active());
  try {
    controller_->Reader();
    ADD_FAILURE();
  } catch (const LanguageControllerError& e) {
    EXPECT_EQ(e.Message(), "No active LanguageController!");
  }
  // No language folder: no package file at all.
  controller_->SetLangPackageName("TfrmLangTest");
  EXPECT_EQ(controller_->PackageFile(), "");
  try {
    controller_->SetActive(true);
    ADD_FAILURE();
  } catch (const LanguageControllerError& e) {
    EXPECT_EQ(e.Message(), "Cannot Find File !");
  }
  // A folder without the file.
  WritePackage("CHS", "Other", "<Root/>");
  controller_->SetLangPackageName("TfrmNone");
  const std::string file = Path("install/MultiLanguage/CHS/TfrmNone.Lng");
  EXPECT_EQ(controller_->PackageFile(), file);
  try {
    controller_->SetActive(true);
    ADD_FAILURE();
  } catch (const LanguageControllerError& e) {
    EXPECT_EQ(e.Message(), "Cannot Find File " + file + "!");
  }
}

TEST_F(LanguageTest, ANewPackageNameDeactivatesAndLoadingDefersActivation) {
  Activate("<Root/>");
  EXPECT_TRUE(controller_->Active());
  EXPECT_TRUE(vcl::GetOrdProp(controller_, "Active"));
  WritePackage("CHS", "TfrmOther", "<Root Caption=\"other\"/>");
  controller_->SetLangPackageName("TfrmOther");
  EXPECT_FALSE(controller_->Active());

  controller_->BeginLoad();
  controller_->SetActive(true);
  EXPECT_FALSE(controller_->Active());
  controller_->EndLoad();
  EXPECT_TRUE(controller_->Active());
  controller_->Reader().LoadComponent(window_);
  EXPECT_EQ(window_->Caption(), "other");
}

// --- Messages -----------------------------------------------------------------------

struct MessageCase {
  const char* key;
  const char* expected;
};

TEST_F(LanguageTest, MessagesComeFromTheMsgAttributeOrTheDefault) {
  WritePackage("CHS", "TfrmBaseGene",
               std::string(kGBHeader) +
                   "<Root><Texts><sOption Msg=\"选项\"/></Texts><sOption Msg=\"later\"/>"
                   "<sNoMsg Text=\"x\"/><sEmpty Msg=\"\"/><a Msg=\"any a\"/></Root>");
  const MessageCase cases[] = {
      {"sOption", "选项"},
      {"sNoMsg", "默认"},
      {"sEmpty", ""},
      {"sMissing", "默认"},
      // Keys that are not XML names find nothing, whatever they would do in a query.
      {"*", "默认"},
      {"a/@Msg | //sOption", "默认"},
      {"sOption']", "默认"},
      {"a[1]", "默认"},
      {"x:a", "默认"},
      {"1a", "默认"},
      {"", "默认"},
  };
  for (const MessageCase& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(GetLangMessage(CodeConverter::dtClient, "TfrmBaseGene", c.key, "默认"), c.expected);
  }
  EXPECT_EQ(GetLangMessage(CodeConverter::dtClient, "TfrmOther", "sOption", "默认"), "默认");
  WritePackage("CHS", "TfrmBroken", "<Root><sOption Msg=\"x\"></Root>");
  EXPECT_EQ(GetLangMessage(CodeConverter::dtClient, "TfrmBroken", "sOption", "默认"), "默认");
}

// --- Property paths and readers ---------------------------------------------------------

struct PathCase {
  const char* path;
  Variant value;
  bool result;
};

TEST_F(LanguageTest, SetPropertyPathConvertsTheValueForThePropertysKind) {
  vcl::TEdit* edit = window_->edit;
  const PathCase cases[] = {
      {"Font.Name", Variant("Tahoma"), true},  {" Font . Charset", Variant(int32_t{134}), true},
      {"Color", Variant("clRed"), true},       {"Enabled", Variant(" False "), true},
      {"CharCase", Variant(int32_t{1}), true}, {"Font.Style", Variant("[fsItalic]"), true},
      {"Width", Variant("wide"), false},       {"Nonesuch", Variant("1"), false},
      {"Font.Nonesuch", Variant("1"), false},  {"Text.Name", Variant("x"), false},
      {"Font", Variant("Arial"), false},       {"", Variant("x"), false},
  };
  const int width = edit->Width();
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(SetPropertyPath(edit, c.path, c.value), c.result);
  }
  EXPECT_EQ(edit->Font()->Name(), "Tahoma");
  EXPECT_EQ(edit->Font()->Charset(), 134);
  EXPECT_EQ(edit->Color(), vcl::clRed);
  EXPECT_FALSE(edit->Enabled());
  EXPECT_EQ(edit->CharCase(), vcl::ecUpperCase);
  EXPECT_EQ(edit->Font()->Style(), vcl::FontStyle(vcl::fsItalic));
  EXPECT_EQ(edit->Width(), width);
  EXPECT_FALSE(SetPropertyPath(window_, "PixelsPerInch", Variant(int32_t{120})));
  EXPECT_FALSE(SetPropertyPath(nullptr, "Caption", Variant("x")));
}

/* Class "TwwDBCustomComboBox": loses its selection whenever its items change. */
class TTestWwCombo : public vcl::TComponent {
  VCL_CLASS_INFO()
 public:
  explicit TTestWwCombo(vcl::TComponent* owner)
      : vcl::TComponent(owner), items_(std::make_unique<vcl::TStringList>()) {
    items_->SetChangeHook([this] { index_ = -1; });
  }
  vcl::TStrings* Items() const { return items_.get(); }
  int ItemIndex() const { return index_; }
  void SetItemIndex(int index) { index_ = index; }

 private:
  std::unique_ptr<vcl::TStringList> items_;
  int index_ = -1;
};

const vcl::TClassInfo* TTestWwCombo::StaticClassInfo() {
  using P = vcl::PropBuilder<TTestWwCombo>;
  static const vcl::TClassInfo info(
      "TwwDBCustomComboBox", vcl::TComponent::StaticClassInfo(),
      {P::Object<&TTestWwCombo::Items>("Items", "TStrings"),
       P::Integer<&TTestWwCombo::ItemIndex, &TTestWwCombo::SetItemIndex>("ItemIndex")});
  return &info;
}

TEST_F(LanguageTest, ComboBoxReadersKeepTheSelection) {
  auto* ww = new TTestWwCombo(window_);
  ww->SetName("cboData");
  ww->Items()->SetText("a\r\nb\r\nc");
  ww->SetItemIndex(2);
  EXPECT_NE(dynamic_cast<TwwDBCustomComboBoxRead*>(TReaderFactory::GetReader(ww, 936).get()),
            nullptr);
  EXPECT_NE(
      dynamic_cast<TCustomComboBoxRead*>(TReaderFactory::GetReader(window_->combo, 936).get()),
      nullptr);
  EXPECT_EQ(dynamic_cast<TCustomComboBoxRead*>(TReaderFactory::GetReader(window_->edit, 936).get()),
            nullptr);
  Load("<Root><cboData Items_1=\"B\"/></Root>");
  EXPECT_EQ(ww->Items()->Get(1), "B");
  EXPECT_EQ(ww->ItemIndex(), 2);
}

}  // namespace
}  // namespace LanguageController
