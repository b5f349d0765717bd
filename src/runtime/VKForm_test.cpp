#include "runtime/VKForm.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/vcl/Buttons.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"
#include "runtime/UiTestClasses.h"
#include "runtime/UiTestSupport.h"

namespace VKForm {
namespace {

using runtime_ui_test::Big5;
using vcl::TColor;

/* A three-level window chain below TVKForm; the most derived one has a few
   controls. The controller's AfterOpen logs each package applied. */
class TfrmLevel1 : public TVKForm {
  VCL_CLASS_INFO()
 public:
  explicit TfrmLevel1(vcl::TComponent* owner) : TVKForm(owner) {
    LangController()->AfterOpen = vcl::MakeEvent<&TfrmLevel1::PackageOpened>(this);
  }
  void PackageOpened(vcl::TObject*) { opened.push_back(LangController()->LangPackageName()); }
  std::vector<std::string> opened;
};

class TfrmLevel2 : public TfrmLevel1 {
  VCL_CLASS_INFO()
 public:
  using TfrmLevel1::TfrmLevel1;
};

class TfrmLevel3 : public TfrmLevel2 {
  VCL_CLASS_INFO()
 public:
  explicit TfrmLevel3(vcl::TComponent* owner) : TfrmLevel2(owner) {
    label = Make<vcl::TLabel>("lblName");
    label->SetCaption("国家");
    edit = Make<vcl::TEdit>("edName");
    edit->SetImeName("Chinese (Simplified) - Microsoft Pinyin");
    button = Make<vcl::TButton>("btnOk");
    button->Font()->SetName("Arial");
  }
  template <class T>
  T* Make(const std::string& name) {
    auto* c = new T(this);
    c->SetName(name);
    c->SetParent(this);
    return c;
  }
  vcl::TLabel* label;
  vcl::TEdit* edit;
  vcl::TButton* button;
};

const vcl::TClassInfo* TfrmLevel1::StaticClassInfo() {
  static const vcl::TClassInfo info("TfrmLevel1", TVKForm::StaticClassInfo());
  return &info;
}
const vcl::TClassInfo* TfrmLevel2::StaticClassInfo() {
  static const vcl::TClassInfo info("TfrmLevel2", TfrmLevel1::StaticClassInfo());
  return &info;
}
const vcl::TClassInfo* TfrmLevel3::StaticClassInfo() {
  static const vcl::TClassInfo info("TfrmLevel3", TfrmLevel2::StaticClassInfo());
  return &info;
}

class VKFormTest : public runtime_ui_test::InstallationTest {
 protected:
  void SetUp() override {
    InstallationTest::SetUp();
    Configure(936, "936", "936");
    vcl::ClearShownDialogs();
  }
  void TearDown() override {
    for (vcl::TComponent* form : forms_)
      if (vcl::IsLiveComponent(form)) form->Free();
    vcl::Application->SetModalHook({});
    InstallationTest::TearDown();
  }
  template <class T>
  T* MakeForm() {
    T* form = vcl::Create<T>(nullptr);
    forms_.push_back(form);
    return form;
  }
  std::vector<vcl::TComponent*> forms_;
};

TEST_F(VKFormTest, ANewWindowHasTheBaseSettingsAndItsTwoComponents) {
  auto* form = MakeForm<TVKForm>();
  EXPECT_EQ(form->Width(), 400);
  EXPECT_EQ(form->Height(), 191);
  EXPECT_EQ(form->Caption(), "VKForm");
  EXPECT_EQ(form->Font()->Name(), "宋体");
  EXPECT_EQ(form->Font()->Height(), -13);
  EXPECT_EQ(form->Font()->Charset(), 1);
  EXPECT_TRUE(form->KeyPreview());
  EXPECT_EQ(form->Position(), vcl::poScreenCenter);
  EXPECT_FALSE(form->Scaled());
  EXPECT_EQ(form->FindComponent("VkConverter"), form->VkConverter());
  EXPECT_EQ(form->FindComponent("LangController"), form->LangController());
  EXPECT_FALSE(form->LangController()->Active());
  EXPECT_EQ(form->MethodName(form->OnCreate.Method().Code), "FormCreate");
  EXPECT_EQ(form->MethodName(form->OnShow.Method().Code), "FormShow");
  EXPECT_FALSE(form->Converted);
  EXPECT_TRUE(form->LanguageOnShow);
}

TEST_F(VKFormTest, PackagesApplyFromTheBaseClassToTheMostDerivedOne) {
  WritePackage("CHS", "TVKForm", "<Root Caption=\"base\" Hint=\"base\"/>");
  WritePackage("CHS", "TfrmLevel2", "<Root Caption=\"two\"><lblName Caption=\"two\"/></Root>");
  WritePackage("CHS", "TfrmLevel3", "<Root Caption=\"three\"/>");
  auto* form = MakeForm<TfrmLevel3>();
  form->Show();
  EXPECT_EQ(form->opened, (std::vector<std::string>{"TVKForm", "TfrmLevel2", "TfrmLevel3"}));
  EXPECT_EQ(form->Caption(), "three");
  EXPECT_EQ(form->Hint(), "base");
  EXPECT_EQ(form->label->Caption(), "two");

  form->opened.clear();
  form->ApplyLanguageBelowBase(form, true);
  EXPECT_EQ(form->opened, (std::vector<std::string>{"TfrmLevel2", "TfrmLevel3"}));
  // Without the chain only the window's own package applies (the one still loaded).
  form->opened.clear();
  form->SetCaption("changed");
  form->SetHint("changed");
  form->ApplyLanguage(form, false);
  EXPECT_TRUE(form->opened.empty());
  EXPECT_EQ(form->Caption(), "three");
  EXPECT_EQ(form->Hint(), "changed");

  // Every show applies them again, unless the window says otherwise.
  form->Hide();
  form->SetCaption("changed");
  form->Show();
  EXPECT_EQ(form->Caption(), "three");
  form->Hide();
  form->LanguageOnShow = false;
  form->SetCaption("changed");
  form->Show();
  EXPECT_EQ(form->Caption(), "changed");
}

TEST_F(VKFormTest, AMalformedPackageRaisesFromTheShowHandlerAndAMissingOneIsSkipped) {
  auto* form = MakeForm<TfrmLevel3>();
  form->FormShow(form);  // no language folder at all
  EXPECT_TRUE(form->opened.empty());
  WritePackage("CHS", "TfrmLevel2", "<Root Caption=\"two\">");
  EXPECT_THROW(form->FormShow(form), LanguageController::LanguageControllerError);
}

TEST_F(VKFormTest, AnEnglishInterfaceGivesEveryFontTahomaWithTheGBCharset) {
  Configure(437, "437", "936");
  auto* form = MakeForm<TfrmLevel3>();
  for (vcl::TControl* c : std::vector<vcl::TControl*>{form->label, form->edit, form->button}) {
    SCOPED_TRACE(c->Name());
    EXPECT_EQ(c->Font()->Name(), "Tahoma");
    EXPECT_EQ(c->Font()->Charset(), 134);
  }
  EXPECT_EQ(form->edit->ImeName(), "");
  EXPECT_EQ(form->Font()->Name(), "宋体");  // the window's own font is its resource's
}

TEST_F(VKFormTest, AChineseInterfaceLeavesTheFontsAlone) {
  auto* form = MakeForm<TfrmLevel3>();
  EXPECT_EQ(form->button->Font()->Name(), "Arial");
  EXPECT_EQ(form->button->Font()->Charset(), 1);
  EXPECT_EQ(form->edit->ImeName(), "");
}

TEST_F(VKFormTest, ConvertOnceConvertsTheWindowOnce) {
  Configure(936, "950", "936");
  auto* form = MakeForm<TfrmLevel3>();
  EXPECT_FALSE(form->Converted);
  form->ConvertOnce();
  EXPECT_TRUE(form->Converted);
  EXPECT_EQ(form->label->Caption(), Big5(u"國家"));
  form->ConvertOnce();
  EXPECT_EQ(form->label->Caption(), Big5(u"國家"));
  EXPECT_EQ(form->UIConvertKind(), 2);
  EXPECT_EQ(form->DataConvertKind(), 2);
  EXPECT_EQ(form->UICodePage(), "950");
  EXPECT_EQ(form->SystemCodePage(), "936");
}

TEST_F(VKFormTest, LanguageTextsFallBackToTheDefaultConvertedWhenAsked) {
  Configure(936, "950", "936");
  auto* form = MakeForm<TVKForm>();
  std::string text;
  form->GetLangMessage("TfrmBaseGene", "sOption", text, true, "选项");
  EXPECT_EQ(text, Big5(u"選項"));
  form->GetLangMessage("TfrmBaseGene", "sOption", text, false, "选项");
  EXPECT_EQ(text, "选项");
  WritePackage("CHT", "TfrmBaseGene", "<Root><sOption Msg=\"Options\"/></Root>");
  form->GetLangMessage("TfrmBaseGene", "sOption", text, true, "选项");
  EXPECT_EQ(text, "Options");
}

// --- The message dialog -----------------------------------------------------------

struct DialogCase {
  int system;
  const char* ui;
  bool blanks;
  std::string yes;  // caption of the Yes button
  int charset;
};

TEST_F(VKFormTest, TheMessageDialogSpeaksTheInterfacesLanguage) {
  const DialogCase cases[] = {
      {936, "936", true, "是(&Y)", 134}, {936, "950", true, Big5(u"是(&Y)"), 136},
      {950, "936", true, "是(&Y)", 134}, {950, "950", false, Big5(u"是(&Y)"), 136},
      {437, "437", false, "&Yes", 134},
  };
  vcl::Application->SetModalHook([](vcl::TCustomForm& dialog) {
    if (auto* no = dynamic_cast<vcl::TButton*>(dialog.FindComponent("No"))) no->Click();
  });
  for (const DialogCase& c : cases) {
    SCOPED_TRACE(std::string(c.ui) + " on " + std::to_string(c.system));
    Configure(c.system, c.ui, "936");
    auto* form = MakeForm<TVKForm>();
    form->SetCaption("采购单");
    form->SetWindowState(vcl::wsMinimized);
    vcl::ClearShownDialogs();
    EXPECT_EQ(form->ShowMessageDialog("保存吗?", vcl::mtConfirmation,
                                      vcl::MsgDlgButtons({vcl::mbYes, vcl::mbNo})),
              vcl::mrNo);
    EXPECT_EQ(form->WindowState(), vcl::wsNormal);
    ASSERT_EQ(vcl::ShownDialogs().size(), 1u);
    const vcl::TShownDialog& shown = vcl::ShownDialogs()[0];
    EXPECT_EQ(shown.Text, c.blanks ? "保存吗?      " : "保存吗?");
    EXPECT_EQ(shown.Caption, "采购单");
    EXPECT_EQ(shown.FontName, "SimSun");
    EXPECT_EQ(shown.FontCharset, c.charset);
    ASSERT_EQ(shown.Buttons.size(), 2u);
    EXPECT_EQ(shown.Buttons[0].Caption, c.yes);
  }
}

TEST_F(VKFormTest, AnEmptyMessageShowsNothing) {
  auto* form = MakeForm<TVKForm>();
  EXPECT_EQ(form->ShowMessageDialog("", vcl::mtError, vcl::MsgDlgButtons({vcl::mbOK})), 0);
  EXPECT_TRUE(vcl::ShownDialogs().empty());
}

// --- Disabled images ------------------------------------------------------------------

/* A bitmap from rows of letters, each letter a colour. */
std::unique_ptr<vcl::TBitmap> Picture(const std::vector<std::string>& rows,
                                      const std::map<char, TColor>& colours) {
  auto bitmap = std::make_unique<vcl::TBitmap>();
  bitmap->SetSize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x)
      bitmap->SetPixel(static_cast<int>(x), static_cast<int>(y), colours.at(rows[y][x]));
  return bitmap;
}

// T transparent (the bottom-left colour), D dark, L light; F face, H highlight, S shadow.
const std::map<char, TColor> kSource = {
    {'T', vcl::clFuchsia}, {'D', vcl::clNavy}, {'L', vcl::clYellow}};
const std::map<char, TColor> kDisabled = {
    {'F', vcl::clBtnFace}, {'H', vcl::clBtnHighlight}, {'S', vcl::clBtnShadow}};
const std::vector<std::string> kGlyph = {"LLLL", "LLDL", "TLLL"};

#if !VK_COMPAT_BUILD

std::vector<std::string> Letters(const vcl::TBitmap& bitmap,
                                 const std::map<char, TColor>& colours) {
  std::vector<std::string> rows;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::string row;
    for (int x = 0; x < bitmap.Width(); ++x) {
      char letter = '?';
      for (const auto& [l, c] : colours)
        if ((vcl::ColorToRGB(c) & 0xFFFFFF) == (bitmap.Pixel(x, y) & 0xFFFFFF)) letter = l;
      row += letter;
    }
    rows.push_back(row);
  }
  return rows;
}

TEST_F(VKFormTest, TheDisabledImageEngravesDarkPixelsAndTheRim) {
  const auto source = Picture(kGlyph, kSource);
  const auto disabled = TVKForm::MakeDisabledImage(source.get());
  EXPECT_EQ(disabled->PixelFormat(), vcl::pf24bit);
  // Marked: the dark pixel and the two light ones beside the transparent
  // corner; each is shadow, with highlight down and right of it unless that
  // is marked too. Light pixels away from the rim stay face.
  EXPECT_EQ(Letters(*disabled, kDisabled), (std::vector<std::string>{"FFFF", "SFSF", "FSFH"}));
  // A transparent colour set on the image counts, wherever it is.
  const auto fixed = Picture({"TLL", "LLL", "LLL"}, kSource);
  fixed->SetTransparentColor(vcl::clFuchsia);
  EXPECT_EQ(Letters(*TVKForm::MakeDisabledImage(fixed.get()), kDisabled),
            (std::vector<std::string>{"FSF", "SFH", "FHF"}));
  EXPECT_TRUE(TVKForm::MakeDisabledImage(nullptr)->Empty());
}

TEST_F(VKFormTest, AddDisabledImagePutsTheDisabledFormBesideTheImage) {
  auto glyph = Picture(kGlyph, kSource);
  TVKForm::AddDisabledImage(glyph.get());
  ASSERT_EQ(glyph->Width(), 8);
  ASSERT_EQ(glyph->Height(), 3);
  std::map<char, TColor> both = kSource;
  both.insert(kDisabled.begin(), kDisabled.end());
  EXPECT_EQ(Letters(*glyph, both), (std::vector<std::string>{"LLLLFFFF", "LLDLSFSF", "TLLLFSFH"}));
  vcl::TBitmap empty;
  TVKForm::AddDisabledImage(&empty);
  EXPECT_TRUE(empty.Empty());
}

#endif

/* A window with buttons of every kind that takes a second image. */
class TfrmButtons : public TVKForm {
  VCL_CLASS_INFO()
 public:
  explicit TfrmButtons(vcl::TComponent* owner) : TVKForm(owner) {
    oneImage = Make<vcl::TBitBtn>("btnOne");
    oneImage->Glyph()->Assign(Picture(kGlyph, kSource).get());
    twoImages = Make<vcl::TBitBtn>("btnTwo");
    twoImages->Glyph()->Assign(Picture({"LLLLLLLL", "LLDLLLDL", "TLLLTLLL"}, kSource).get());
    twoImages->SetNumGlyphs(2);
    noImage = Make<vcl::TBitBtn>("btnNone");
    speed = Make<vcl::TSpeedButton>("spSpeed");
    speed->Glyph()->Assign(Picture(kGlyph, kSource).get());
    panel = Make<runtime_ui_test::TTestSelectPanel>("sp01");
    for (vcl::TSpeedButton* b : {panel->BeginButton, panel->FinalButton, panel->ListButton})
      b->Glyph()->Assign(Picture(kGlyph, kSource).get());
    lookup = Make<runtime_ui_test::TTestLookupEdit>("ed01");
    lookup->F2Button->Glyph()->Assign(Picture(kGlyph, kSource).get());
  }
  template <class T>
  T* Make(const std::string& name) {
    auto* c = new T(this);
    c->SetName(name);
    c->SetParent(this);
    return c;
  }
  vcl::TBitBtn* oneImage;
  vcl::TBitBtn* twoImages;
  vcl::TBitBtn* noImage;
  vcl::TSpeedButton* speed;
  runtime_ui_test::TTestSelectPanel* panel;
  runtime_ui_test::TTestLookupEdit* lookup;
};

const vcl::TClassInfo* TfrmButtons::StaticClassInfo() {
  static const vcl::TClassInfo info("TfrmButtons", TVKForm::StaticClassInfo());
  return &info;
}

TEST_F(VKFormTest, ButtonsWithOneImageGetADisabledOneInTheCurrentBuildOnly) {
  auto* form = MakeForm<TfrmButtons>();
  struct Shown {
    const char* what;
    vcl::TComponent* button;
  };
  const Shown oneImageButtons[] = {
      {"bitmap button", form->oneImage},         {"speed button", form->speed},
      {"panel begin", form->panel->BeginButton}, {"panel final", form->panel->FinalButton},
      {"panel list", form->panel->ListButton},   {"lookup edit", form->lookup->F2Button},
  };
  for (const Shown& s : oneImageButtons) {
    SCOPED_TRACE(s.what);
    auto* glyph = static_cast<vcl::TBitmap*>(vcl::GetObjectProp(s.button, "Glyph"));
#if VK_COMPAT_BUILD
    EXPECT_EQ(vcl::GetOrdProp(s.button, "NumGlyphs"), 1);
    EXPECT_EQ(glyph->Width(), 4);
#else
    EXPECT_EQ(vcl::GetOrdProp(s.button, "NumGlyphs"), 2);
    ASSERT_EQ(glyph->Width(), 8);
    EXPECT_EQ((glyph->Pixel(6, 1) & 0xFFFFFF), vcl::ColorToRGB(vcl::clBtnShadow) & 0xFFFFFF);
#endif
  }
  // Two images already, or none at all: nothing to add.
  EXPECT_EQ(form->twoImages->NumGlyphs(), 2);
  EXPECT_EQ(form->twoImages->Glyph()->Width(), 8);
  EXPECT_EQ(form->noImage->NumGlyphs(), 1);
  EXPECT_TRUE(form->noImage->Glyph()->Empty());
}

}  // namespace
}  // namespace VKForm
