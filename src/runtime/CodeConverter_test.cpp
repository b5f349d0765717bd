#include "runtime/CodeConverter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "runtime/UiTestClasses.h"
#include "runtime/UiTestSupport.h"

namespace CodeConverter {
namespace {

using platform::VarArrayOf;
using platform::Variant;
using runtime_ui_test::Big5;
using runtime_ui_test::GB;

/* Frees a component made without an owner. */
template <class T>
struct Owned {
  T* p;
  ~Owned() { p->Free(); }
  T* operator->() const { return p; }
};

class ConverterTest : public runtime_ui_test::InstallationTest {
 protected:
  Owned<TCodeConverter> MakeConverter(int system, const std::string& ui, const std::string& db) {
    Configure(system, ui, db);
    return Owned<TCodeConverter>{new TCodeConverter(nullptr)};
  }
};

struct SettingsCase {
  int system;
  const char* ui;
  const char* db;
  const char* systemText;
  int uiKind;
  int dataKind;
  bool translator;
};

const SettingsCase kSettings[] = {
    {936, "936", "936", "936", 0, 0, false},  // GB everywhere
    {936, "950", "936", "936", 2, 2, true},   // Big5 interface on GB data
    {950, "936", "950", "950", 4, 1, true},   // GB interface on a Big5 system and database
    {950, "950", "950", "950", 2, 0, true},   // Big5 everywhere: the program's texts still need it
    {437, "437", "936", "437", 0, 0, false},  // English
    {936, "936", "950", "936", 0, 1, false},  // Big5 data alone loads no library
};

TEST_F(ConverterTest, SettingsGiveTheKindsAndTheLibraryOnlyWhenTheInterfaceNeedsIt) {
  for (const SettingsCase& c : kSettings) {
    SCOPED_TRACE(std::string(c.ui) + " on " + std::to_string(c.system) + ", data " + c.db);
    auto converter = MakeConverter(c.system, c.ui, c.db);
    EXPECT_EQ(converter->SystemCodePage(), c.systemText);
    EXPECT_EQ(converter->UICodePage(), c.ui);
    EXPECT_EQ(converter->DBCodePage(), c.db);
    EXPECT_EQ(converter->UIConvertKind(), c.uiKind);
    EXPECT_EQ(converter->DataConvertKind(), c.dataKind);
    EXPECT_EQ(converter->HasTranslator(), c.translator);
    EXPECT_EQ(converter->DesignType(), dtClient);
  }
}

TEST_F(ConverterTest, TheServerReaderIsReadOnlyWhenAskedFor) {
  auto converter = MakeConverter(936, "950", "936");
  WriteFile("server/BrantorS.ini", "[CodePage]\r\nUICodePage=936\r\nDBCodePage=950\r\n");
  converter->SetDesignType(dtServer);
  EXPECT_EQ(converter->UICodePage(), "950");  // setting the type does not read again
  converter->LoadSettings();
  EXPECT_EQ(converter->UICodePage(), "936");
  EXPECT_EQ(converter->DBCodePage(), "950");
  EXPECT_EQ(converter->DataConvertKind(), 1);
  EXPECT_EQ(vcl::GetEnumProp(converter.p, "DesignType"), "dtServer");
}

TEST_F(ConverterTest, ALibraryThatCannotBeLoadedStopsTheConverter) {
  Configure(936, "950", "936");
  TranslatorU::SetLibraryFolder(Path("nowhere"));
  try {
    Owned<TCodeConverter> converter{new TCodeConverter(nullptr)};
    ADD_FAILURE() << "made without its library";
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(), "Load Library Vklanguage.dll Error!");
  }
  // Without interface conversion the library is not needed.
  Configure(936, "936", "936");
  EXPECT_FALSE(Owned<TCodeConverter> { new TCodeConverter(nullptr) } -> HasTranslator());
}

Variant Grid(std::initializer_list<Variant> cells) {  // 2 x 2, row by row
  Variant grid = platform::VarArrayCreate({{0, 1}, {1, 2}});
  auto it = cells.begin();
  for (int i = 0; i <= 1; ++i)
    for (int j = 1; j <= 2; ++j) grid.At(i, j) = *it++;
  return grid;
}

struct ValueCase {
  const char* what;
  int kind;
  Variant input;
  Variant expected;
};

TEST_F(ConverterTest, ConvertValueFollowsTheKindAndTheShapeOfTheValue) {
  auto converter = MakeConverter(936, "950", "936");
  const std::string big5 = Big5(u"國家");
  const ValueCase cases[] = {
      {"GB text to Big5", 2, Variant("国家"), Variant(big5)},
      {"Big5 text to GB", 1, Variant(big5), Variant("国家")},
      {"a number comes back as text", 2, Variant(int32_t{1}), Variant("1")},
      {"a wide text comes back as bytes", 2, Variant(u"国"), Variant(Big5(u"國"))},
      {"kind 4 leaves texts alone", 4, Variant("国家"), Variant("国家")},
      {"kind 0 leaves texts alone", 0, Variant("国家"), Variant("国家")},
      {"kind 4 leaves numbers alone", 4, Variant(int32_t{7}), Variant(int32_t{7})},
      {"empty stays empty", 2, Variant(), Variant()},
      {"null stays null", 2, Variant::Null(), Variant::Null()},
      {"a list: every element as text", 2, VarArrayOf({Variant(int32_t{1}), Variant("国家")}),
       VarArrayOf({Variant("1"), Variant(big5)})},
      {"an empty element of a list becomes an empty text", 2,
       VarArrayOf({Variant(), Variant(true)}), VarArrayOf({Variant(""), Variant("True")})},
      {"a list inside a list", 2, VarArrayOf({Variant("国"), VarArrayOf({Variant("家")})}),
       VarArrayOf({Variant(Big5(u"國")), VarArrayOf({Variant(Big5(u"家"))})})},
      {"a grid keeps its empty and null cells", 2,
       Grid({Variant("国家"), Variant::Null(), Variant(), Variant(int32_t{5})}),
       Grid({Variant(big5), Variant::Null(), Variant(), Variant("5")})},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(converter->ConvertValue(c.kind, c.input), c.expected);
  }
  // A list keeps its bounds.
  Variant shifted = platform::VarArrayCreate({{3, 4}});
  shifted[3] = Variant("国");
  shifted[4] = Variant("家");
  const Variant converted = converter->TextToUI(shifted);
  EXPECT_EQ(converted.LowBound(), 3);
  EXPECT_EQ(converted[4], Variant(Big5(u"家")));
}

TEST_F(ConverterTest, ConversionsForTheScreenRaiseButTheirReversalsGiveTheInputBack) {
  auto converter = MakeConverter(936, "950", "936");
  const Variant withNull = VarArrayOf({Variant("国"), Variant::Null()});
  EXPECT_THROW(converter->TextToUI(withNull), platform::EVariantError);
  EXPECT_THROW(converter->DataToUI(withNull), platform::EVariantError);
  EXPECT_EQ(converter->UIToText(withNull), withNull);
  EXPECT_EQ(converter->UIToData(withNull), withNull);
}

struct DirectionCase {
  int system;
  const char* ui;
  const char* db;
  // What each operation makes of the GB text "国家" and of its Big5 form.
  bool textToUIMakesBig5;
  bool dataToUIMakesGB;
  bool uiToTextMakesGB;
  bool uiToDataMakesBig5;
};

TEST_F(ConverterTest, TheReversalsRunTheOtherWay) {
  const DirectionCase cases[] = {
      // Big5 interface on GB data: data and texts go to Big5 and come back as GB.
      {936, "950", "936", true, false, true, false},
      // GB interface on Big5 data (Big5 system): data comes as Big5 and goes back as Big5.
      {950, "936", "950", false, true, false, true},
  };
  const std::string gb = "国家";
  const std::string big5 = Big5(u"國家");
  for (const DirectionCase& c : cases) {
    SCOPED_TRACE(std::string(c.ui) + "/" + c.db);
    auto converter = MakeConverter(c.system, c.ui, c.db);
    EXPECT_EQ(converter->TextToUI(Variant(gb)).AsString(), c.textToUIMakesBig5 ? big5 : gb);
    EXPECT_EQ(converter->UIToText(Variant(big5)).AsString(), c.uiToTextMakesGB ? gb : big5);
    if (converter->DataConvertKind() == 2) {
      EXPECT_EQ(converter->DataToUI(Variant(gb)).AsString(), big5);
      EXPECT_EQ(converter->UIToData(Variant(big5)).AsString(), gb);
    } else {
      EXPECT_EQ(converter->DataToUI(Variant(big5)).AsString(), c.dataToUIMakesGB ? gb : big5);
      EXPECT_EQ(converter->UIToData(Variant(gb)).AsString(), c.uiToDataMakesBig5 ? big5 : gb);
    }
  }
}

TEST_F(ConverterTest, WithoutTheLibraryEverythingComesBackAsItWas) {
  // Big5 data on a GB interface: the data kind is 1, but nothing loads the library.
  auto converter = MakeConverter(936, "936", "950");
  const std::string big5 = Big5(u"國家");
  EXPECT_EQ(converter->DataToUI(Variant(big5)), Variant(big5));
  EXPECT_EQ(converter->UIToData(Variant("国家")), Variant("国家"));
  EXPECT_EQ(converter->GBToBig5("国家"), "国家");
  EXPECT_EQ(converter->Big5ToGB(big5), big5);
  EXPECT_EQ(converter->TextToUI(Variant(int32_t{3})), Variant(int32_t{3}));
}

struct FontCase {
  int kind;
  const char* name;
  int charset;
};

TEST(SetFontForKindTest, GivesSimSunWithTheCharsetOfTheKind) {
  const FontCase cases[] = {
      {0, "SimSun", 134}, {1, "SimSun", 134}, {4, "SimSun", 134}, {2, "SimSun", 136},
      {3, "SimSun", 136}, {5, "Arial", 0},    {-1, "Arial", 0},
  };
  for (const FontCase& c : cases) {
    SCOPED_TRACE(c.kind);
    vcl::TFont font;
    font.SetName("Arial");
    font.SetCharset(0);
    SetFontForKind(c.kind, &font);
    EXPECT_EQ(font.Name(), c.name);
    EXPECT_EQ(font.Charset(), c.charset);
  }
  SetFontForKind(2, nullptr);  // no font: nothing to do
}

// --- Converting a window --------------------------------------------------------

/* A window with one of each kind of component the conversion treats. */
class TTestWindow : public vcl::TForm {
 public:
  explicit TTestWindow(vcl::TComponent* owner) : vcl::TForm(owner) {
    SetCaption("国家");
    SetHint("中");
    label = Make<vcl::TLabel>("lblName");
    label->SetCaption("国家");
    label->SetHint("中");
    edit = Make<vcl::TEdit>("edName");
    edit->Font()->SetName("Arial");
    picked = MakeCombo("cboPicked", vcl::csDropDown, 1);
    unpicked = MakeCombo("cboUnpicked", vcl::csDropDownList, -1);
    simple = MakeCombo("cboSimple", vcl::csSimple, -1);
    memo = Make<vcl::TMemo>("mmNote");
    memo->Lines()->SetText("国\r\n家");
    group = Make<vcl::TRadioGroup>("rgKind");
    group->Items()->SetText("国\r\n家");
    view = Make<vcl::TListView>("lvList");
    FillListView(view);
    grid = Make<vcl::TStringGrid>("sgGrid");
    grid->SetColCount(2);
    grid->SetRowCount(2);
    grid->SetCells(0, 0, "国");
    grid->SetCells(1, 1, "家");
    menu = new vcl::TPopupMenu(this);
    menu->SetName("pmMenu");
    menuItem = new vcl::TMenuItem(this);
    menuItem->SetName("miOpen");
    menuItem->SetCaption("国");
    menu->Items()->Add(menuItem);
    panel = Make<runtime_ui_test::TTestSelectPanel>("sp01");
    panel->ChildHints()->SetText("国\r\n家");
    panel->BeginWords()->SetText("起\r\n起");
    panel->FinalWords()->SetText("止\r\n止");
    panel->SetHintWord("区间选择");
    FillListView(panel->ListBox);
    panel->wordSettings = 0;
    list = Make<runtime_ui_test::TTestListBox>("lbList");
    list->Items()->SetText("国");
    status = Make<runtime_ui_test::TTestStatusBar>("sbStatus");
    status->AddPanel("国家");
  }

  template <class T>
  T* Make(const std::string& name) {
    auto* c = new T(this);
    c->SetName(name);
    c->SetParent(this);
    return c;
  }
  vcl::TComboBox* MakeCombo(const std::string& name, vcl::TComboBoxStyle style, int index) {
    auto* combo = Make<vcl::TComboBox>(name);
    combo->SetStyle(style);
    combo->Items()->SetText("国\r\n家");
    combo->SetItemIndex(index);
    return combo;
  }
  static void FillListView(vcl::TListView* v) {
    v->SetViewStyle(vcl::vsReport);
    v->Columns()->Add()->SetCaption("国");
    v->Columns()->Add()->SetCaption("家");
    vcl::TListItem* item = v->Items()->Add();
    item->SetCaption("中");
    item->SubItems()->SetText("文\r\n国");
  }

  vcl::TLabel* label;
  vcl::TEdit* edit;
  vcl::TComboBox* picked;
  vcl::TComboBox* unpicked;
  vcl::TComboBox* simple;
  vcl::TMemo* memo;
  vcl::TRadioGroup* group;
  vcl::TListView* view;
  vcl::TStringGrid* grid;
  vcl::TPopupMenu* menu;
  vcl::TMenuItem* menuItem;
  runtime_ui_test::TTestSelectPanel* panel;
  runtime_ui_test::TTestListBox* list;
  runtime_ui_test::TTestStatusBar* status;
};

std::vector<std::string> ListViewTexts(vcl::TListView* v) {
  std::vector<std::string> texts;
  for (int i = 0; i < v->Columns()->Count(); ++i)
    texts.push_back(v->Columns()->Items(i)->Caption());
  vcl::TListItem* item = v->Items()->Item(0);
  texts.push_back(item->Caption());
  for (int i = 0; i < item->SubItems()->Count(); ++i) texts.push_back(item->SubItems()->Get(i));
  return texts;
}

class ConvertFormTest : public ConverterTest {
 protected:
  void TearDown() override {
    if (window_) window_->Free();
    ConverterTest::TearDown();
  }
  TTestWindow* Window() {
    window_ = vcl::Create<TTestWindow>(nullptr);
    return window_;
  }
  TTestWindow* window_ = nullptr;
};

TEST_F(ConvertFormTest, ABig5InterfaceGetsBig5TextsFontsAndOwnerDrawnLists) {
  auto converter = MakeConverter(936, "950", "936");
  TTestWindow* w = Window();
  converter->ConvertForm(w);
  const std::string b = Big5(u"國家");

  EXPECT_EQ(w->Caption(), "国家");  // a GB system draws captions in GB
  EXPECT_EQ(w->Hint(), Big5(u"中"));
  EXPECT_EQ(w->label->Caption(), b);
  EXPECT_EQ(w->label->Hint(), Big5(u"中"));
  for (vcl::TControl* c : std::vector<vcl::TControl*>{w->label, w->edit, w->picked, w->view}) {
    SCOPED_TRACE(c->Name());
    EXPECT_EQ(c->Font()->Name(), "SimSun");
    EXPECT_EQ(c->Font()->Charset(), 136);
  }
  EXPECT_EQ(w->list->TitleFont()->Charset(), 136);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(ScreenFont(i)->Name(), "SimSun");
    EXPECT_EQ(ScreenFont(i)->Charset(), 136);
  }

  // Lists: converted, combo boxes owner-drawn with their selection (or the first item).
  const std::string lines = Big5(u"國") + "\r\n" + Big5(u"家") + "\r\n";
  for (vcl::TStrings* s :
       std::vector<vcl::TStrings*>{w->picked->Items(), w->memo->Lines(), w->group->Items()})
    EXPECT_EQ(s->Text(), lines);
  EXPECT_EQ(w->picked->Style(), vcl::csOwnerDrawFixed);
  EXPECT_EQ(w->picked->ItemIndex(), 1);
  EXPECT_EQ(w->unpicked->Style(), vcl::csOwnerDrawFixed);
  EXPECT_EQ(w->unpicked->ItemIndex(), 0);
  EXPECT_EQ(w->simple->Style(), vcl::csSimple);
  EXPECT_EQ(w->simple->ItemIndex(), 0);
  EXPECT_EQ(w->list->Style(), runtime_ui_test::TTestListBox::lbOwnerDrawFixed);
  EXPECT_EQ(w->list->Items()->Get(0), Big5(u"國"));

  const std::vector<std::string> viewTexts = {Big5(u"國"), Big5(u"家"), Big5(u"中"), Big5(u"文"),
                                              Big5(u"國")};
  EXPECT_EQ(ListViewTexts(w->view), viewTexts);
  EXPECT_EQ(w->grid->Cells(0, 0), Big5(u"國"));
  EXPECT_EQ(w->grid->Cells(1, 1), Big5(u"家"));
  EXPECT_EQ(w->grid->Cells(1, 0), "");
  EXPECT_TRUE(w->menu->OwnerDraw());
  EXPECT_EQ(w->menuItem->Caption(), Big5(u"國"));
  EXPECT_EQ(static_cast<runtime_ui_test::TTestStatusPanel*>(w->status->Panels()->Items(0))->Text(),
            b);

  // The select panel: hints, label words (through their setters), choice text, its list.
  EXPECT_EQ(w->panel->ChildHints()->Text(), lines);
  EXPECT_EQ(w->panel->BeginWords()->Text(), Big5(u"起") + "\r\n" + Big5(u"起") + "\r\n");
  EXPECT_EQ(w->panel->FinalWords()->Get(1), Big5(u"止"));
  EXPECT_EQ(w->panel->wordSettings, 2);
  EXPECT_EQ(w->panel->HintWord(), Big5(u"區間選擇"));
  EXPECT_EQ(ListViewTexts(w->panel->ListBox), viewTexts);
}

TEST_F(ConvertFormTest, AGBInterfaceOnABig5SystemChangesFontsAndDrawingButNotTexts) {
  auto converter = MakeConverter(950, "936", "936");
  ASSERT_EQ(converter->UIConvertKind(), 4);
  TTestWindow* w = Window();
  converter->ConvertForm(w);

  EXPECT_EQ(w->Caption(), Big5(u"國家"));  // the Big5 system draws the caption
  EXPECT_EQ(w->label->Caption(), "国家");
  EXPECT_EQ(w->memo->Lines()->Get(0), "国");
  EXPECT_EQ(ListViewTexts(w->view)[0], "国");
  EXPECT_EQ(w->grid->Cells(0, 0), "国");
  EXPECT_EQ(w->panel->HintWord(), "区间选择");
  EXPECT_EQ(w->panel->wordSettings, 0);
  EXPECT_EQ(w->label->Font()->Name(), "SimSun");
  EXPECT_EQ(w->label->Font()->Charset(), 134);
  EXPECT_EQ(ScreenFont(2)->Charset(), 134);
  // Lists become owner-drawn by the style rule alone; no item gets picked.
  EXPECT_EQ(w->picked->Style(), vcl::csOwnerDrawVariable);
  EXPECT_EQ(w->picked->ItemIndex(), 1);
  EXPECT_EQ(w->unpicked->Style(), vcl::csOwnerDrawFixed);
  EXPECT_EQ(w->unpicked->ItemIndex(), -1);
  EXPECT_EQ(w->list->Style(), runtime_ui_test::TTestListBox::lbOwnerDrawFixed);
  EXPECT_TRUE(w->menu->OwnerDraw());
}

TEST_F(ConvertFormTest, WithoutInterfaceConversionTheWindowStaysAsItIs) {
  auto plain = MakeConverter(936, "936", "950");
  TTestWindow* w = Window();
  w->edit->Font()->SetCharset(1);
  plain->ConvertForm(w);
  EXPECT_EQ(w->label->Caption(), "国家");
  EXPECT_EQ(w->edit->Font()->Name(), "Arial");
  EXPECT_EQ(w->edit->Font()->Charset(), 1);
  EXPECT_EQ(w->picked->Style(), vcl::csDropDown);
  EXPECT_EQ(w->unpicked->ItemIndex(), -1);
  EXPECT_FALSE(w->menu->OwnerDraw());
  EXPECT_EQ(w->list->Style(), runtime_ui_test::TTestListBox::lbStandard);
}

}  // namespace
}  // namespace CodeConverter
