// Condition values and texts: the request and its checks, the company date
// format, the date-field check, the values of date ranges and select panels,
// and the scheme value text with its restoring.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "controls/BtChkBox.h"
#include "controls/DBLabel.h"
#include "controls/SelectPnl.h"
#include "controls/VkRadioGroup.h"
#include "framework/test/Support.h"
#include "platform/core/DateTime.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"

namespace framework_test {
namespace {

using SelectPnl::TSelectPanel;

const std::string kEtx = "\x03";
const std::string kRow = "\x04";
const std::string kCol = "\x01";

/* A component with a floating-point property, as some controls of the
   platform publish them. */
class TRatioHolder : public vcl::TComponent {
  VCL_CLASS_INFO()
 public:
  using vcl::TComponent::TComponent;
  double Ratio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }

 private:
  double ratio_ = 0;
};

const vcl::TClassInfo* TRatioHolder::StaticClassInfo() {
  using P = vcl::PropBuilder<TRatioHolder>;
  static const vcl::TClassInfo info(
      "TRatioHolder", vcl::TComponent::StaticClassInfo(),
      {P::Float<&TRatioHolder::Ratio, &TRatioHolder::SetRatio>("Ratio")});
  return &info;
}

/* The test window with conditions of its own: OwnConditions of them, filled
   by the test's functions (when set) before the base fills its print
   date. */
class TValuesWindow : public TTestWindow {
 public:
  explicit TValuesWindow(vcl::TComponent* owner) : TTestWindow(owner) {}

  int OwnConditions = 0;
  std::string OwnDateFields;  // registered in front of the base's
  std::function<bool(Variant&, int)> FillCaptions, FillValues, FillEnv;

  void RegisterFields() override {
    TTestWindow::RegisterFields();
    if (!OwnDateFields.empty()) RegisterDateFields(OwnDateFields);
    SetConditionCount(OwnConditions);
  }
  bool FillConditionCaptions(Variant& captions, int own) override {
    if (FillCaptions && !FillCaptions(captions, own)) return false;
    return TfrmBaseGene::FillConditionCaptions(captions, own);
  }
  bool FillConditionValues(Variant& values, int own) override {
    if (FillValues && !FillValues(values, own)) return false;
    return TfrmBaseGene::FillConditionValues(values, own);
  }
  bool FillEnvironment(Variant& env, int count) override {
    if (!TfrmBaseGene::FillEnvironment(env, count)) return false;
    return !FillEnv || FillEnv(env, count);
  }

  using TfrmBaseGene::Request;
  using TfrmBaseGene::SchemeDateRules;
};

class ValuesTest : public SandboxTest {
 protected:
  void TearDown() override {
    for (TValuesWindow* w : windows_)
      if (vcl::IsLiveComponent(w)) w->Free();
    SandboxTest::TearDown();
  }

  /* A window initialised under the company date format Kind/Separator;
     Prepare runs before Initialize (to add controls and conditions). */
  TValuesWindow* Window(const std::string& kind = "1", const std::string& separator = "/",
                        const std::function<void(TValuesWindow*)>& prepare = {}) {
    host_.Settings = {{"Sys001", kind}, {"Sys002", separator}, {"VRK002", "N"}};
    auto* w = vcl::Create<TValuesWindow>(nullptr);
    windows_.push_back(w);
    w->SetModuleFileName(Path("PVQR82C.dll"));
    w->HostObject = host_.Object();
    if (prepare) prepare(w);
    EXPECT_TRUE(w->Initialize(HostParams()));
    return w;
  }

  static TSelectPanel* Panel(TValuesWindow* w, const std::string& name,
                             SelectPnl::TSelectStyle style) {
    auto* panel = w->Add<TSelectPanel>(name, w->tsOption1);
    panel->SetStyle(style);
    return panel;
  }
  static void AddRow(TSelectPanel* panel, std::vector<std::string> texts) {
    vcl::TListItem* item = panel->Items()->Add();
    item->SetCaption(texts[0]);
    for (size_t i = 1; i < texts.size(); ++i) item->SubItems()->Add(texts[i]);
  }

  std::vector<TValuesWindow*> windows_;
};

// ---------------------------------------------------------------------------
// The company date format.

TEST_F(ValuesTest, DateMaskAndBlankDateFollowTheCompanyFormat) {
  const struct {
    const char *kind, *separator, *mask, *blank;
  } cases[] = {
      {"1", "/", "9999/99/99;1; ", "    /  /  "}, {"2", "-", "99-99-9999;1; ", "  -  -    "},
      {"3", ".", "99.99.9999;1; ", "  .  .    "}, {"4", "/", "99/99/99;1; ", "  /  /  "},
      {"5", "/", "999/99/99;1; ", "   /  /  "},   {"6", "/", "/99/99;1; ", "/  /  "},
      {"0", "-", "-99-99;1; ", "-  -  "},         {"abc", "", "9999/99/99;1; ", "    /  /  "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("kind ") + c.kind + " separator " + c.separator);
    TValuesWindow* w = Window(c.kind, c.separator);
    EXPECT_EQ(w->DateMask(), c.mask);
    EXPECT_EQ(w->BlankDate(), c.blank);
  }
}

TEST_F(ValuesTest, ToStorageDateReadsTheCompanyFormatWithoutCheckingTheDate) {
  const struct {
    const char *kind, *separator, *text, *stored;
  } cases[] = {
      {"1", "/", "2024/3/5", "20240305"},
      {"1", "/", " 2024 / 03 / 05 ", "20240305"},
      {"1", "/", "2024/13/40", "20241340"},  // the check refuses it, not the conversion
      {"1", "/", "", ""},
      {"1", "/", "    /  /  ", ""},
      {"1", "/", "     ", ""},
      {"1", "/", "abc", "abc"},
      {"1", "/", "2024/03", "2024/03"},        // a missing part is not a number
      {"1", "/", "2024/3/5/7", "2024/3/5/7"},  // the rest "5/7" is not a number
      {"1", "/", "2024-03-05", "2024-03-05"},
      {"2", "-", "03-05-2024", "20240305"},
      {"3", ".", "05.03.2024", "20240305"},
      {"4", "/", "93/03/05", "20040305"},
      {"5", "/", "113/3/5", "20240305"},
      {"9", "/", "2024/03/05", ""},  // an unknown kind stores nothing
  };
  std::map<std::string, TValuesWindow*> windows;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("kind ") + c.kind + " text '" + c.text + "'");
    TValuesWindow*& w = windows[std::string(c.kind) + c.separator];
    if (!w) w = Window(c.kind, c.separator);
    EXPECT_EQ(w->ToStorageDate(c.text), c.stored);
  }
}

// ---------------------------------------------------------------------------
// The date-field check.

class DateFieldTest : public ValuesTest {
 protected:
  void SetUp() override {
    ValuesTest::SetUp();
    host_.Messages["E;000005"] = "bad date";
    w_ = Window("1", "/", [this](TValuesWindow* w) {
      edFrom_ = w->Add<vcl::TMaskEdit>("edFrom", w->tsOption1);
      edPlain_ = w->Add<vcl::TEdit>("edPlain", w->tsOption1);
      panel_ = Panel(w, "sp03", SelectPnl::sp_Range);
      other_ = w->Add<vcl::TCheckBox>("chkOther", w->tsOption1);
      edFrom_->SetBounds(8, 8, 85, 21);
      edPlain_->SetBounds(8, 40, 85, 21);
      panel_->SetBounds(8, 70, 353, 45);
      w->OwnDateFields = "edFrom";
    });
  }
  TValuesWindow* w_ = nullptr;
  vcl::TMaskEdit* edFrom_ = nullptr;
  vcl::TEdit* edPlain_ = nullptr;
  TSelectPanel* panel_ = nullptr;
  vcl::TCheckBox* other_ = nullptr;
};

TEST_F(DateFieldTest, EnteringPutsTheDateFormatInPlace) {
  EXPECT_TRUE(w_->CheckDateField(edFrom_, true));
  EXPECT_EQ(edFrom_->EditMask(), "9999/99/99;1; ");
  EXPECT_TRUE(w_->CheckDateField(edPlain_, true));
  EXPECT_EQ(edPlain_->Text(), "    /  /  ");
  EXPECT_TRUE(w_->CheckDateField(panel_, true));
  EXPECT_EQ(panel_->EditMask(), "9999/99/99;1; ");
  EXPECT_EQ(w_->MessageCodes, "");
}

TEST_F(DateFieldTest, LeavingRefusesADateThatDoesNotExistAndFocusesTheFirstWrongEdit) {
  ShowWindow(w_);
  const struct {
    std::string from;        // edFrom's text
    std::string begin, end;  // the panel's texts
    bool fromOk, panelOk;
    int focused;  // 0 none wrong, 1 edBegin, 2 edFinal
  } cases[] = {
      {"2024/02/29", "2024/01/01", "2024/12/31", true, true, 0},
      {"2023/02/29", "", "", false, true, 0},
      {"", "2024/13/01", "2024/14/01", true, false, 1},
      {"    /  /  ", "2024/01/01", "2024/02/30", true, false, 2},
      {"1752/12/31", "", "", VK_COMPAT_BUILD != 0, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("from '" + c.from + "' panel '" + c.begin + "'..'" + c.end + "'");
    edPlain_->SetText(c.from);
    panel_->edBegin()->SetText(c.begin);
    panel_->edFinal()->SetText(c.end);
    w_->MessageCodes.clear();
    other_->SetFocus();

    EXPECT_EQ(w_->CheckDateField(edPlain_, false), c.fromOk);
    if (!c.fromOk) {
      EXPECT_EQ(w_->ActiveControl(), edPlain_);
      EXPECT_EQ(w_->MessageCodes, "E;000005; ");
      EXPECT_EQ(DialogTexts().back(), "E000005:bad date");
    }
    other_->SetFocus();
    w_->MessageCodes.clear();
    EXPECT_EQ(w_->CheckDateField(panel_, false), c.panelOk);
    if (c.focused == 1) {
      EXPECT_EQ(w_->ActiveControl(), panel_->edBegin());
    } else if (c.focused == 2) {
      EXPECT_EQ(w_->ActiveControl(), panel_->edFinal());
    }
    EXPECT_EQ(w_->MessageCodes, c.panelOk ? "" : "E;000005; ");
  }
}

TEST_F(DateFieldTest, AControlThatCannotHoldADateIsRefusedWithThePlainMessage) {
  EXPECT_FALSE(w_->CheckDateField(other_, false));
  EXPECT_FALSE(w_->CheckDateField(other_, true));
  ASSERT_EQ(vcl::ShownDialogs().size(), 2u);
  EXPECT_EQ(vcl::ShownDialogs()[0].Text,
            "判断日期的函数第一个参数错误, 只能传下列三种物件:\rTSelectPanel, TMaskedit, TEdit");
  EXPECT_EQ(vcl::ShownDialogs()[0].DialogType, vcl::mtCustom);
}

TEST_F(DateFieldTest, TheWindowsDateHooksRunTheCheckOnEntryAndExit) {
  ShowWindow(w_);
  edFrom_->SetFocus();
  EXPECT_EQ(edFrom_->EditMask(), "9999/99/99;1; ");  // entering
  edFrom_->SetText("2024/02/30");
  other_->SetFocus();
  EXPECT_TRUE(w_->InputError);
  EXPECT_EQ(w_->ActiveControl(), edFrom_);
  EXPECT_EQ(w_->MessageCodes, "E;000005; ");

  // Leaving for Cancel: the current build checks nothing while Cancel has
  // the focus; the earlier generation checks whatever has it.
  w_->MessageCodes.clear();
  w_->btnCancel->SetFocus();
  if (VK_COMPAT_BUILD) {
    EXPECT_EQ(w_->MessageCodes, "E;000005; ");
    EXPECT_EQ(w_->ActiveControl(), edFrom_);
  } else {
    EXPECT_EQ(w_->MessageCodes, "");
    EXPECT_EQ(w_->ActiveControl(), w_->btnCancel);
  }
}

// ---------------------------------------------------------------------------
// Date ranges and select panels.

Variant Range(const std::string& a, const std::string& b) {
  return platform::VarArrayOf({Variant("\x04"), Variant(a), Variant(b)});
}

TEST_F(ValuesTest, ADateRangeIsSentInAscendingOrder) {
  TValuesWindow* w = Window("2", "-");
  const struct {
    const char *from, *to, *a, *b;
  } cases[] = {
      {"03-05-2024", "01-01-2024", "20240101", "20240305"},
      {"01-01-2024", "03-05-2024", "20240101", "20240305"},
      {"03-05-2024", "", "20240305", ""},
      {"", "01-01-2024", "", "20240101"},
      {"  -  -    ", "01-01-2024", "", "20240101"},
      {"1-1-2024", "1-1-2024", "20240101", "20240101"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " .. " + c.to);
    Variant values = platform::VarArrayCreate({{1, 3}});
    w->DateRangeValue(c.from, c.to, values, 2);
    EXPECT_EQ(Show(values), Show(platform::VarArrayOf({Variant(), Range(c.a, c.b), Variant()})))
        << Show(values);
    EXPECT_EQ(values[2].LowBound(), 0);
  }
}

TEST_F(ValuesTest, APanelGivesItsRangeOrItsRows) {
  TSelectPanel *range = nullptr, *list = nullptr, *empty = nullptr, *choice = nullptr;
  TValuesWindow* w = Window("1", "/", [&](TValuesWindow* win) {
    range = Panel(win, "sp01", SelectPnl::sp_Range);
    list = Panel(win, "sp02", SelectPnl::sp_Discrete);
    empty = Panel(win, "sp03", SelectPnl::sp_Discrete);
    choice = Panel(win, "sp04", SelectPnl::sp_UserChoice);
  });
  range->edBegin()->SetText("A001");
  range->edFinal()->SetText("A009");
  AddRow(list, {"S001", "甲", "乙"});
  AddRow(list, {"S002"});
  choice->edBegin()->SetText("B1");
  choice->edFinal()->SetText("B2");
  AddRow(choice, {"C1", "x"});

  Variant values = platform::VarArrayCreate({{1, 4}});
  w->PanelValue(range, values, 1);
  w->PanelValue(list, values, 2);
  w->PanelValue(empty, values, 3);
  EXPECT_EQ(Show(values[1]), "['\x04','A001','A009']");
  EXPECT_EQ(Show(values[2]), "['\x05',['S001','甲','乙'],['S002']]");
  EXPECT_EQ(Show(values[3]), "['\x05']");
  EXPECT_EQ(values[3].HighBound(), 0);

  choice->SetUserChoice(true);
  w->PanelValue(choice, values, 4);
  EXPECT_EQ(Show(values[4]), "['\x04','B1','B2']");
  choice->SetUserChoice(false);
  w->PanelValue(choice, values, 4);
  EXPECT_EQ(Show(values[4]), "['\x05',['C1','x']]");
}

TEST_F(ValuesTest, AStrippedPanelValueLosesTheMasksLiteralsOrTheStripText) {
  const std::string receiptMask = "!aaaa-aaaaaaaaaaa;0; ";
  struct Case {
    const char* name;
    std::string panelMask, edMask;  // the panel's mask, else the edit's own
    SelectPnl::TSelectStyle style;
    std::string begin, end;
    std::vector<std::vector<std::string>> rows;
    std::string strip;
    std::string expected;
  };
  const Case cases[] = {
      {"range under the receipt mask",
       receiptMask,
       "",
       SelectPnl::sp_Range,
       "3401-24010100001",
       "3402-24123100009",
       {},
       "-",
       "['\x04','340124010100001','340224123100009']"},
      {"range without a mask",
       "",
       "",
       SelectPnl::sp_Range,
       " 34-01 ",
       "-",
       {},
       "-",
       "['\x04','3401','']"},
      {"range under the edit's own mask",
       "",
       "99.99;1;_",
       SelectPnl::sp_Range,
       "12.34",
       "",
       {},
       ".",
       "['\x04','1234','    ']"},
      {"rows under the receipt mask",
       receiptMask,
       "",
       SelectPnl::sp_Discrete,
       "",
       "",
       {{"3401-24010100001", "甲-1"}, {"3402-24010100002", ""}},
       "-",
       "['\x05',['340124010100001','甲-1'],['340224010100002','']]"},
      {"rows without a mask",
       "",
       "",
       SelectPnl::sp_Discrete,
       "",
       "",
       {{"A 1 ", "x y"}, {"B2"}},
       " ",
       "['\x05',['A1','x y'],['B2']]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSelectPanel* panel = nullptr;
    TValuesWindow* w =
        Window("1", "/", [&](TValuesWindow* win) { panel = Panel(win, "sp01", c.style); });
    if (!c.panelMask.empty()) panel->SetEditMask(c.panelMask);
    if (!c.edMask.empty()) {
      panel->edBegin()->SetEditMask(c.edMask);
      panel->edFinal()->SetEditMask(c.edMask);
    }
    panel->edBegin()->SetText(c.begin);
    panel->edFinal()->SetText(c.end);
    for (const auto& row : c.rows) AddRow(panel, row);
    const int rowsBefore = w->ComponentCount();

    Variant values = platform::VarArrayCreate({{1, 1}});
    w->PanelValueStripped(panel, values, c.strip, 1);
    EXPECT_EQ(Show(values[1]), c.expected);
    // The panel itself keeps its rows and texts.
    EXPECT_EQ(panel->Items()->Count(), static_cast<int>(c.rows.size()));
    if (!c.rows.empty()) {
      EXPECT_EQ(panel->Items()->Item(0)->Caption(), c.rows[0][0]);
    }
    EXPECT_EQ(w->ComponentCount(), rowsBefore);
  }
}

// ---------------------------------------------------------------------------
// The request.

class RequestTest : public ValuesTest {
 protected:
  /* A window with two conditions of its own, both filled. */
  TValuesWindow* TwoConditions() {
    TValuesWindow* w = Window("1", "/", [](TValuesWindow* win) { win->OwnConditions = 2; });
    w->FillCaptions = [](Variant& captions, int own) {
      for (int i = 1; i <= own; ++i)
        captions[i] = platform::VarArrayOf(
            {Variant("条件" + std::to_string(i)), Variant("sp0" + std::to_string(i))});
      return true;
    };
    w->FillValues = [](Variant& values, int own) {
      for (int i = 1; i <= own; ++i) values[i] = Range("A" + std::to_string(i), "Z");
      return true;
    };
    return w;
  }
};

TEST_F(RequestTest, TheRequestHoldsTheEnvironmentCaptionsAndValues) {
  TValuesWindow* w = TwoConditions();
  w->edPrintDate->SetText("2024/03/05");
  w->GenerateData = false;
  ASSERT_TRUE(w->BuildRequest());
  const Variant& r = w->Request;
  ASSERT_EQ(r.LowBound(), 0);
  ASSERT_EQ(r.HighBound(), 2);
  EXPECT_EQ(r[0].LowBound(), 1);
  EXPECT_EQ(r[0].HighBound(), 9);
  EXPECT_EQ(r[1].LowBound(), 1);
  EXPECT_EQ(r[1].HighBound(), 3);
  EXPECT_EQ(r[2].LowBound(), 1);
  EXPECT_EQ(r[2].HighBound(), 3);

  const std::string now = Show(Variant(platform::ComposeDateTime(
      platform::EncodeDate(2024, 3, 5), platform::EncodeTime(14, 7, 9, 0))));
  EXPECT_EQ(Show(r[0]), "['PVQR82',9,3,'VRK','U001','VRKDEMO'," + now + ",'PVQR82S.Class1','R']");
  EXPECT_EQ(r[0][2].Type(), platform::VarType::Integer);
  EXPECT_EQ(r[0][7].Type(), platform::VarType::Date);
  EXPECT_EQ(Show(r[1]), "[['条件1','sp01'],['条件2','sp02'],['制表日期','edPrintDate']]");
  EXPECT_EQ(Show(r[2]), "[['\x04','A1','Z'],['\x04','A2','Z'],'20240305']");
  EXPECT_TRUE(w->GenerateData);
}

TEST_F(RequestTest, ThePrintDateIsSentOnlyWhenComplete) {
  TValuesWindow* w = TwoConditions();
  w->edPrintDate->SetEditMask(w->DateMask());
  const struct {
    const char *typed, *sent;
  } cases[] = {{"2024/03/05", "20240305"}, {"2024", ""}, {"", ""}, {"2024/03", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    w->edPrintDate->SetText(c.typed);
    ASSERT_TRUE(w->BuildRequest());
    EXPECT_EQ(Show(w->Request[2][3]), std::string("'") + c.sent + "'");
  }
}

TEST_F(RequestTest, AnIncompleteFillIsReportedByNameAndNothingIsBuilt) {
  host_.Messages["W;000002"] = "%s|%s|%s";
  host_.Messages["W;000003"] = "%s/%s/%s";
  host_.Messages["I;000003"] = "nothing[%s]";
  struct Case {
    const char* name;
    std::function<void(TValuesWindow*)> spoil;
    std::string dialog;
  };
  const Case cases[] = {
      {"caption left empty",
       [](TValuesWindow* w) {
         w->FillCaptions = [](Variant& c, int) {
           c[1] = platform::VarArrayOf({Variant("a"), Variant("sp01")});
           return true;
         };
       },
       "W000003:选择条件文字/3/2"},
      {"captions cut short",
       [](TValuesWindow* w) {
         w->FillCaptions = [](Variant& c, int) {
           c.Redim(1);
           c[1] = platform::VarArrayOf({Variant("a"), Variant("sp01")});
           return true;
         };
       },
       // The base's print date no longer fits the array: its own message,
       // with the text of I 000011 as argument.
       "E000030:I000011:%s"},
      {"value null",
       [](TValuesWindow* w) {
         w->FillValues = [](Variant& v, int) {
           v[1] = Variant("x");
           v[2] = Variant::Null();
           return true;
         };
       },
       "W000003:选择条件信息/3/2"},
      {"values cut short",
       [](TValuesWindow* w) {
         w->FillValues = [](Variant& v, int) {
           v.Redim(2);
           return true;
         };
       },
       "E000030:"},
      {"values longer",
       [](TValuesWindow* w) {
         w->FillValues = [](Variant& v, int) {
           v[1] = v[2] = Variant("x");
           v.Redim(4);
           v[4] = Variant("y");
           return true;
         };
       },
       "W000002:选择条件信息|3|4"},
      {"environment entry left empty", [](TValuesWindow* w) { w->EnvCount = 10; },
       "W000003:环境设置/10/10"},
      {"environment cut short",
       [](TValuesWindow* w) {
         w->FillEnv = [](Variant& env, int) {
           env.Redim(8);
           return true;
         };
       },
       "W000002:环境设置|9|8"},
      {"no environment", [](TValuesWindow* w) { w->EnvCount = 0; }, "I000003:nothing[]"},
      {"no conditions", [](TValuesWindow* w) { w->ConditionCount = 0; }, "I000003:nothing[]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TValuesWindow* w = TwoConditions();
    w->Request = Variant("before");
    c.spoil(w);
    vcl::ClearShownDialogs();
    EXPECT_FALSE(w->BuildRequest());
    EXPECT_EQ(DialogTexts(), std::vector<std::string>{c.dialog});
    EXPECT_EQ(Show(w->Request), "'before'");
  }
}

TEST_F(RequestTest, TheArrayNamesComeFromTheLanguagePackage) {
  WriteFile("MultiLanguage/CHS/TfrmBaseGene.Lng",
            "<Root><sOption Msg=\"Captions\"/><sOptionInf Msg=\"Values\"/>"
            "<sEnvSetting Msg=\"Environment\"/></Root>");
  host_.Messages["W;000003"] = "%s/%s/%s";
  const struct {
    std::function<void(TValuesWindow*)> spoil;
    const char* dialog;
  } cases[] = {
      {[](TValuesWindow* w) { w->FillCaptions = [](Variant&, int) { return true; }; },
       "W000003:Captions/3/1"},
      {[](TValuesWindow* w) { w->FillValues = [](Variant&, int) { return true; }; },
       "W000003:Values/3/1"},
      {[](TValuesWindow* w) { w->EnvCount = 11; }, "W000003:Environment/11/10"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dialog);
    TValuesWindow* w = TwoConditions();
    c.spoil(w);
    vcl::ClearShownDialogs();
    EXPECT_FALSE(w->BuildRequest());
    EXPECT_EQ(DialogTexts(), std::vector<std::string>{c.dialog});
  }
}

TEST_F(RequestTest, AFillThatRefusesStopsTheRequestWithoutAMessageOfItsOwn) {
  TValuesWindow* w = TwoConditions();
  w->FillValues = [](Variant&, int) { return false; };
  EXPECT_FALSE(w->BuildRequest());
  EXPECT_TRUE(vcl::ShownDialogs().empty());
}

// ---------------------------------------------------------------------------
// The scheme value text.

class SchemeTest : public ValuesTest {
 protected:
  /* A window holding one control of every kind a scheme stores. */
  TValuesWindow* SchemeWindow() {
    return Window("2", "-", [this](TValuesWindow* w) {
      sp01_ = Panel(w, "sp01", SelectPnl::sp_Range);
      sp02_ = Panel(w, "sp02", SelectPnl::sp_Discrete);
      sp03_ = Panel(w, "sp03", SelectPnl::sp_UserChoice);
      sp04_ = Panel(w, "sp04", SelectPnl::sp_Range);
      ed05_ = w->Add<vcl::TEdit>("ed05", w->tsOption1);
      edDay_ = w->Add<vcl::TMaskEdit>("edDay", w->tsOption1);
      cbo07_ = w->Add<vcl::TComboBox>("cbo07", w->tsOption1);
      chk09_ = w->Add<BtChkBox::TBitCheckBox>("chk09", w->tsOption1);
      rdo10_ = w->Add<vcl::TRadioButton>("rdo10", w->tsOption1);
      rg11_ = w->Add<VkRadioGroup::TVkRadioGroup>("rg11", w->tsOption1);
      ratio_ = new TRatioHolder(w);
      ratio_->SetName("Ratio1");
      for (const char* item : {"甲", "乙", "丙"}) cbo07_->Items()->Add(item);
      for (const char* item : {"A", "B", "C"}) rg11_->Items()->Add(item);
      w->OwnDateFields = "sp04,edDay";
    });
  }
  void Fill(TValuesWindow* w) {
    sp01_->edBegin()->SetText("A001");
    sp01_->edFinal()->SetText("A009");
    AddRow(sp02_, {"S001", "甲", "乙"});
    AddRow(sp02_, {"S002", "丙", ""});
    sp03_->SetUserChoice(true);
    sp03_->edBegin()->SetText("B1");
    sp03_->edFinal()->SetText("B2");
    sp04_->edBegin()->SetText("03-01-2024");
    sp04_->edFinal()->SetText("03-31-2024");
    ed05_->SetText("abc;def");
    ed05_->SetTag(7);
    edDay_->SetText("03-05-2024");
    cbo07_->SetItemIndex(2);
    chk09_->SetChecked(true);
    rdo10_->SetChecked(false);
    rg11_->SetItemIndex(1);
    ratio_->SetRatio(0.1 + 0.2);
    w->SchemeDateRules->Add("0" + kEtx + "sp04" + kEtx + "N" + kEtx + "0" + kEtx + "0" + kEtx +
                            "0" + kEtx + "0" + kEtx + "N" + kEtx + "0" + kEtx + "0" + kEtx + "0" +
                            kEtx + "0" + kEtx + "D");
    w->SchemeDateRules->Add("1" + kEtx + "edDay" + kEtx + "N" + kEtx + "0" + kEtx + "0" + kEtx +
                            "0" + kEtx + "0" + kEtx + "D");
  }

  TSelectPanel *sp01_ = nullptr, *sp02_ = nullptr, *sp03_ = nullptr, *sp04_ = nullptr;
  vcl::TEdit* ed05_ = nullptr;
  vcl::TMaskEdit* edDay_ = nullptr;
  vcl::TComboBox* cbo07_ = nullptr;
  BtChkBox::TBitCheckBox* chk09_ = nullptr;
  vcl::TRadioButton* rdo10_ = nullptr;
  VkRadioGroup::TVkRadioGroup* rg11_ = nullptr;
  TRatioHolder* ratio_ = nullptr;
};

TEST_F(SchemeTest, EveryKindOfControlHasItsLine) {
  TValuesWindow* w = SchemeWindow();
  Fill(w);
  const struct {
    const char* item;
    std::string line;
  } cases[] = {
      {"sp01.style", "sp_Range" + kEtx + "A001" + kEtx + "A009"},
      {"sp02.style", "sp_Discrete" + kEtx + "S001" + kCol + "甲" + kCol + "乙" + kRow + "S002" +
                         kCol + "丙" + kCol + kRow},
      {"sp03.style", "sp_UserChoice" + kEtx + "True" + kEtx + "B1" + kEtx + "B2"},
      {"sp04.style", "sp_Range" + kEtx + "20240301" + kEtx + "20240331"},
      {"sp01.Name", "sp01" + kEtx + "A001" + kEtx + "A009"},  // the line starts with the property
      {"ed05.text", "abc;def"},
      {"edDay.text", "20240305"},
      {"ed05.tag", "7"},
      {"cbo07.itemindex", "2"},
      {"cbo07.nosuch", "2"},  // a combo box without the property: its item index
      {"chk09.checked", "True"},
      {"rdo10.checked", "False"},
      {"rg11.itemindex", "1"},
      {"Ratio1.Ratio", "0.30000000000000004"},
      {"ed05.Font", ""},  // an object property has no text form
      {"ed05.nosuch", ""},
      {"nosuch.text", ""},
      {"ed05text", ""},  // no "."
      {" .text", ""},
      {"ed05.", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(w->SchemeValueText(std::string(c.item) + ";"), c.line + "\r\n");
  }
  // A list of several items, the last one without ";".
  EXPECT_EQ(w->SchemeValueText("ed05.text; cbo07.itemindex ;;chk09.checked"),
            "abc;def\r\n2\r\n\r\nTrue\r\n");

  sp03_->SetUserChoice(false);
  AddRow(sp03_, {"C1"});
  EXPECT_EQ(w->SchemeValueText("sp03.style;"),
            "sp_UserChoice" + kEtx + "False" + kEtx + "C1" + kRow + "\r\n");
  // A row without sub-items has no column mark.
  sp02_->Items()->Clear();
  AddRow(sp02_, {"S001", "甲", "乙"});
  AddRow(sp02_, {"S002"});
  EXPECT_EQ(w->SchemeValueText("sp02.style;"), "sp_Discrete" + kEtx + "S001" + kCol + "甲" + kCol +
                                                   "乙" + kRow + "S002" + kRow + "\r\n");
  sp02_->Items()->Clear();
  EXPECT_EQ(w->SchemeValueText("sp02.style;"), "sp_Discrete" + kEtx + "\r\n");
}

TEST_F(SchemeTest, ADateFieldIsStoredByItsRuleOnly) {
  TValuesWindow* w = SchemeWindow();
  Fill(w);
  w->SchemeDateRules->Clear();
  EXPECT_EQ(w->SchemeValueText("edDay.text;sp04.style;"), "\r\nsp_Range" + kEtx + "\r\n");

  // The first record naming the control counts.
  w->SchemeDateRules->Add("1" + kEtx + "edDay" + kEtx + "N" + kEtx + "0" + kEtx + "0" + kEtx + "0" +
                          kEtx + "0" + kEtx + "D");
  w->SchemeDateRules->Add("0" + kEtx + "edDay" + kEtx + "N");
  edDay_->SetText("2-29-2024");
  EXPECT_EQ(w->SchemeValueText("edDay.text;"), "20240229\r\n");
}

TEST_F(SchemeTest, AStoredSchemeComesBackIntoAnotherWindow) {
  const std::string properties =
      "sp01.style;sp02.style;sp03.style;sp04.style;ed05.text;edDay.text;ed05.tag;cbo07.itemindex;"
      "chk09.checked;rdo10.checked;rg11.itemindex;Ratio1.Ratio;cbo07.nosuch;";
  TValuesWindow* source = SchemeWindow();
  Fill(source);
  rdo10_->SetChecked(true);
  const std::string text = source->SchemeValueText(properties);

  TValuesWindow* target = SchemeWindow();
  target->SchemeDateRules->Assign(source->SchemeDateRules.get());
  ASSERT_TRUE(target->RestoreScheme(properties, text));
  EXPECT_EQ(target->SchemeValueText(properties), text);

  EXPECT_EQ(sp01_->edBegin()->Text(), "A001");
  EXPECT_EQ(sp01_->Style(), SelectPnl::sp_Range);
  ASSERT_EQ(sp02_->Items()->Count(), 2);
  EXPECT_EQ(sp02_->Items()->Item(0)->SubItems()->Get(1), "乙");
  EXPECT_TRUE(sp03_->UserChoice());
  EXPECT_EQ(sp03_->edFinal()->Text(), "B2");
  EXPECT_EQ(sp04_->EditMask(), "99-99-9999;1; ");
  EXPECT_EQ(sp04_->edBegin()->Text(), "03-01-2024");
  EXPECT_EQ(edDay_->EditMask(), "99-99-9999;1; ");
  EXPECT_EQ(edDay_->Text(), "03-05-2024");
  EXPECT_EQ(ed05_->Text(), "abc;def");
  EXPECT_EQ(ed05_->Tag(), 7);
  EXPECT_EQ(cbo07_->ItemIndex(), 2);
  EXPECT_TRUE(chk09_->Checked());
  EXPECT_TRUE(rdo10_->Checked());
  EXPECT_EQ(rg11_->ItemIndex(), 1);
  EXPECT_EQ(ratio_->Ratio(), 0.1 + 0.2);
}

TEST_F(SchemeTest, RestoringCallsTheHooksAroundEveryValueButNotForPanels) {
  struct THookWindow : TValuesWindow {
    using TValuesWindow::TValuesWindow;
    std::vector<std::string> hooks;
    void BeforeRestoreValue(vcl::TComponent* c, const std::string& line) override {
      hooks.push_back("before " + c->Name() + "=" + line);
    }
    void AfterRestoreValue(vcl::TComponent* c, const std::string& line) override {
      hooks.push_back("after " + c->Name() + "=" + line);
    }
  };
  host_.Settings = {{"Sys001", "1"}, {"Sys002", "/"}};
  auto* w = vcl::Create<THookWindow>(nullptr);
  windows_.push_back(w);
  w->SetModuleFileName(Path("PVQR82C.dll"));
  w->HostObject = host_.Object();
  Panel(w, "sp01", SelectPnl::sp_Range);
  w->Add<vcl::TEdit>("ed05", w->tsOption1);
  auto* combo = w->Add<vcl::TComboBox>("cbo07", w->tsOption1);
  combo->Items()->Add("x");
  ASSERT_TRUE(w->Initialize(HostParams()));

  ASSERT_TRUE(w->RestoreScheme("sp01.style;nosuch.text;ed05.text;cbo07.none;",
                               "sp_Range" + kEtx + "a" + kEtx + "b\r\nzz\r\nhello\r\n0\r\n"));
  EXPECT_EQ(w->hooks, (std::vector<std::string>{"before sp01=sp_Range" + kEtx + "a" + kEtx + "b",
                                                "before ed05=hello", "after ed05=hello",
                                                "before cbo07=0", "after cbo07=0"}));
}

TEST_F(SchemeTest, AValueThatCannotBeRestoredStopsTheRestoreAndKeepsWhatCameBefore) {
  const struct {
    const char* name;
    std::string properties, values;
  } cases[] = {
      {"not a number", "ed05.text;ed05.tag;chk09.checked;", "new\r\nx7\r\nTrue\r\n"},
      {"unknown enumeration value", "ed05.text;chk09.checked;ed05.tag;", "new\r\nMaybe\r\n3\r\n"},
      {"fewer lines than items", "ed05.text;", "new"},  // then ed05.tag from an empty line
      {"bad choice", "ed05.text;sp03.style;ed05.tag;",
       "new\r\nsp_UserChoice" + kEtx + "Perhaps" + kEtx + "x\r\n3\r\n"},
      {"combo box index", "ed05.text;cbo07.none;ed05.tag;", "new\r\n1.5\r\n3\r\n"},
      {"float", "ed05.text;Ratio1.Ratio;ed05.tag;", "new\r\nabout two\r\n3\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TValuesWindow* w = SchemeWindow();
    std::string properties = c.properties;
    if (std::string(c.name) == "fewer lines than items") properties += "ed05.tag;chk09.checked;";
    EXPECT_FALSE(w->RestoreScheme(properties, c.values));
    EXPECT_EQ(ed05_->Text(), "new");
    EXPECT_EQ(ed05_->Tag(), 0);
    EXPECT_FALSE(chk09_->Checked());
  }
}

TEST_F(SchemeTest, APropertyWithoutATextFormEndsTheRestoreSuccessfully) {
  TValuesWindow* w = SchemeWindow();
  EXPECT_TRUE(w->RestoreScheme("ed05.text;ed05.Font;ed05.tag;", "one\r\n\r\n9\r\n"));
  EXPECT_EQ(ed05_->Text(), "one");
  EXPECT_EQ(ed05_->Tag(), 0);
}

TEST_F(SchemeTest, FloatsTravelWithThePlatformsDecimalSeparator) {
  TValuesWindow* w = SchemeWindow();
  platform::GlobalFormatSettings().DecimalSeparator = ',';
  const double values[] = {1.5, 0.1 + 0.2, -2.5e-7, 1e20, 0, 123456789.125};
  for (double v : values) {
    SCOPED_TRACE(v);
    ratio_->SetRatio(v);
    const std::string text = w->SchemeValueText("Ratio1.Ratio;");
    EXPECT_EQ(text.find('.'), std::string::npos) << text;
    ratio_->SetRatio(99);
    ASSERT_TRUE(w->RestoreScheme("Ratio1.Ratio;", text));
    EXPECT_EQ(ratio_->Ratio(), v);
  }
  EXPECT_EQ(w->SchemeValueText("Ratio1.Ratio;"), "123456789,125\r\n");
  // A point is not the separator here.
  EXPECT_FALSE(w->RestoreScheme("Ratio1.Ratio;", "1.5"));
}

TEST_F(SchemeTest, AListTextIsReadBackRowByRow) {
  TValuesWindow* w = SchemeWindow();
  AddRow(sp02_, {"old"});
  ASSERT_TRUE(w->RestoreScheme("sp02.style;", "sp_Discrete" + kEtx + "R1" + kCol + "a" + kCol +
                                                  "b" + kRow + kRow + "R2" + kCol + kRow + "\r\n"));
  ASSERT_EQ(sp02_->Items()->Count(), 2);
  EXPECT_EQ(sp02_->Items()->Item(0)->Caption(), "R1");
  EXPECT_EQ(sp02_->Items()->Item(0)->SubItems()->Count(), 2);
  EXPECT_EQ(sp02_->Items()->Item(1)->Caption(), "R2");
  EXPECT_EQ(sp02_->Items()->Item(1)->SubItems()->Get(0), "");
  // A panel keeps its style whatever the line says.
  ASSERT_TRUE(w->RestoreScheme("sp02.style;", "sp_Range" + kEtx + "a" + kEtx + "b\r\n"));
  EXPECT_EQ(sp02_->Style(), SelectPnl::sp_Discrete);
  EXPECT_EQ(sp02_->edBegin()->Text(), "a");
}

}  // namespace
}  // namespace framework_test
