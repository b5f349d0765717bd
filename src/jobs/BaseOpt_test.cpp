// The job window: registration and start-up, the system page's layout, the
// environment fields of the job request, periodic requests, submission to
// the report module, Cancel, notification, the OK menu, required fields,
// the scheme property list and F2 on the date fields.

#include "jobs/BaseOpt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/F2Button.h"
#include "controls/VkRadioGroup.h"
#include "controls/VkSpin.h"
#include "jobs/test/JobsSupport.h"
#include "platform/core/DateTime.h"
#include "platform/remote/SocketConnection.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

namespace jobs_test {
namespace {

using platform::VarArrayOf;

std::string Moment(int y, int mo, int d, int h, int mi, int s) {
  return Show(Variant(platform::ComposeDateTime(platform::EncodeDate(y, mo, d),
                                                platform::EncodeTime(h, mi, s, 0))));
}
const std::string kNow = Moment(2024, 3, 5, 14, 7, 9);

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Environment field 12 of a job without notification.
const std::string kNoNotice = VK_COMPAT_BUILD ? "1" : "''";

// ---------------------------------------------------------------------------
// Registration and start-up.

TEST_F(JobsTest, StartUpRegistersTheJobFieldsAndAsksTheServer) {
  TJobWindow* w = Window();
  EXPECT_EQ(w->DateFields, "sp01,edDate,meStartDate,meEndDate,edPrintDate");
  EXPECT_EQ(w->EnvCount, 12);
  EXPECT_EQ(w->ConditionCount, 4);
  EXPECT_EQ(w->ServiceFlags, 4);
  EXPECT_FALSE(w->LookupService.IsEmpty());  // the date picker's service
  EXPECT_EQ(w->MainMidas->ServerName(), "ReportCounterS.dmReportCounter");
  EXPECT_EQ(w->DatabaseKind, 5);  // the report module's SQLType
  EXPECT_EQ(w->MessageCodes, "");
  // The rights answer was applied: AfterRights composed the scheme list.
  EXPECT_EQ(w->SchemeProperties, "sp01.style;ed05.text;chk09.checked;");
  EXPECT_TRUE(w->pnlCondition->Visible());
  EXPECT_FALSE(w->tsPeriodOption->TabVisible());
  EXPECT_EQ(w->pgOption->Pages(w->pgOption->PageCount() - 1), w->tsPeriodOption);
  EXPECT_TRUE(w->PeriodPageFresh);
  EXPECT_TRUE(w->rdoQueue->Checked());
  EXPECT_FALSE(w->pnlTime->Enabled());
  EXPECT_TRUE(w->ExitAfterSubmit);
}

TEST_F(JobsTest, InitialisingEmptiesTheRecipientListEvenWhenItFails) {
  TJobWindow* w = Window();
  w->NotifyXml = "<Root/>";
  EXPECT_FALSE(w->Initialize(HostParams()));  // the second time
  EXPECT_EQ(w->NotifyXml, "");
}

TEST_F(JobsTest, AWindowWithoutSchemeControlsHidesTheSchemePanel) {
  TJobWindow* w = Window([](TJobWindow* win) {
    for (vcl::TControl* c :
         {static_cast<vcl::TControl*>(win->sp01), static_cast<vcl::TControl*>(win->ed05),
          static_cast<vcl::TControl*>(win->chk09)})
      c->SetParent(win->tsOption2);
  });
  EXPECT_EQ(w->SchemeProperties, "");
  EXPECT_FALSE(w->pnlCondition->Visible());
}

// ---------------------------------------------------------------------------
// The system page.

TEST_F(JobsTest, TheSystemPageIsLaidOutForTheBuild) {
  for (const char* ui : {"936", "437"}) {
    SCOPED_TRACE(std::string("interface ") + ui);
    TJobWindow* w = Window({}, ui);
    ShowWindow(w);
    w->pgOption->SetActivePage(w->tsOption2);
    vcl::Application->ProcessMessages();
    EXPECT_GE(w->Width(), 340);
    EXPECT_GE(w->Height(), 275);
    const struct {
      vcl::TWinControl* control;
      int left, top, tabOrder;
    } windowed[] = {
#if !VK_COMPAT_BUILD
      {w->grpGenTime, 8, 41, 1},
      {w->chkNotify, 10, 162, 2},
#else
      {w->grpGenTime, 8, 35, 1},
      {w->grpAlarm, 8, 155, 2},
      {w->chkAlarm, 8, 14, 0},
      {w->chkVkPager, 8, 30, 1},
#endif
      {w->edPrintDate, 60, 8, 0},
      {w->rdoRealTime, 5, 12, 0},
      {w->rdoQueue, 5, 28, 1},
      {w->rdoExceptTime, 5, 43, 2},
      {w->pnlTime, 15, 60, 3},
      {w->edDate, 1, 1, 0},
      {w->edHour, 1, 27, 1},
      {w->edMin, 64, 27, 2},
      {w->edSec, 130, 27, 3},
    };
    for (const auto& c : windowed) {
      SCOPED_TRACE(c.control->Name());
      EXPECT_EQ(c.control->Left(), c.left);
      EXPECT_EQ(c.control->Top(), c.top);
      EXPECT_EQ(c.control->TabOrder(), c.tabOrder);
    }
    EXPECT_EQ(w->grpGenTime->Width(), 220);
    EXPECT_EQ(w->grpGenTime->Height(), 115);
    EXPECT_EQ(w->pnlTime->Width(), 200);
    EXPECT_EQ(w->pnlTime->Height(), 50);
#if !VK_COMPAT_BUILD
    const int labels[][2] = {{36, 32}, {100, 32}, {165, 32}};
    EXPECT_EQ(w->btnNotify->Left(), std::string(ui) == "437" ? 160 : 108);
    EXPECT_EQ(w->btnNotify->Top(), 156);
    EXPECT_FALSE(w->grpAlarm->Visible());
#else
    const int labels[][2] = {{45, 32}, {110, 32}, {175, 32}};
    EXPECT_EQ(w->grpAlarm->Width(), 140);
    EXPECT_EQ(w->grpAlarm->Height(), 50);
    EXPECT_TRUE(w->grpAlarm->Visible());
    EXPECT_EQ(w->FindComponent("chkNotify"), nullptr);
    EXPECT_EQ(w->FindComponent("btnOK02"), nullptr);
#endif
    const vcl::TControl* labelControls[] = {w->lalHour, w->lblMin, w->lblSec};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(labelControls[i]->Left(), labels[i][0]) << labelControls[i]->Name();
      EXPECT_EQ(labelControls[i]->Top(), labels[i][1]) << labelControls[i]->Name();
    }
  }
}

TEST_F(JobsTest, TheMenuArrowSitsAtTheRightOfOk) {
  TJobWindow* shown = Window();
  ShowWindow(shown);
  EXPECT_TRUE(shown->btnSpd->Visible());
  EXPECT_EQ(shown->btnSpd->Left(), shown->btnOk->Left() + shown->btnOk->Width());
  EXPECT_EQ(shown->btnSpd->Top(), shown->btnOk->Top());
  EXPECT_EQ(shown->btnSpd->Height(), shown->btnOk->Height());

  TJobWindow* hidden = Window();
  hidden->ShowSubmitMenu = false;
  ShowWindow(hidden);
  EXPECT_FALSE(hidden->btnSpd->Visible());
}

// ---------------------------------------------------------------------------
// The environment of a job request.

TEST_F(JobsTest, TheEnvironmentCarriesTheGenerationModeAndTime) {
  host_.Settings = {{"Sys001", "2"}, {"Sys002", "-"}};
  const struct {
    const char* name;
    vcl::TRadioButton* TJobWindow::*choice;
    std::string date, hour, minute, second;
    int mode;
    std::string time;
  } cases[] = {
      {"queue", &TJobWindow::rdoQueue, "", "0", "0", "0", 0, kNow},
      {"real time", &TJobWindow::rdoRealTime, "03-20-2024", "8", "30", "15", 1, kNow},
      {"at a time", &TJobWindow::rdoExceptTime, "03-20-2024", "8", "30", "15", 2,
       Moment(2024, 3, 20, 8, 30, 15)},
      {"at a time, no date", &TJobWindow::rdoExceptTime, "", "23", "59", "0", 2,
       Moment(1899, 12, 30, 23, 59, 0)},
      {"at a time, unreadable date", &TJobWindow::rdoExceptTime, "13-45-2024", "1", "2", "3", 2,
       Moment(1899, 12, 30, 1, 2, 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TJobWindow* w = Window();
    (w->*c.choice)->SetChecked(true);
    w->edDate->SetText(c.date);
    w->edHour->SetText(c.hour);
    w->edMin->SetText(c.minute);
    w->edSec->SetText(c.second);
    ASSERT_TRUE(w->BuildRequest());
    const Variant& env = w->Request[0];
    EXPECT_EQ(env.LowBound(), 1);
    ASSERT_EQ(env.HighBound(), 12);
    EXPECT_EQ(Show(env), "['PVQR82',12,4,'VRK','U001','VRKDEMO'," + kNow +
                             ",'PVQR82S.Class1','R'," + std::to_string(c.mode) + "," + c.time +
                             "," + kNoNotice + "]");
    EXPECT_EQ(env[10].Type(), platform::VarType::Integer);
    EXPECT_EQ(platform::GlobalFormatSettings().ShortDateFormat, "YYYY/MM/DD");
  }
}

TEST_F(JobsTest, AnUnreadableScheduledTimeStopsTheRequest) {
  host_.Messages = {{"E;000005", "%s"}, {"I;000009", "日期时间"}, {"I;000010", "错误"}};
  const struct {
    const char *hour, *minute, *second;
  } cases[] = {{"", "0", "0"}, {"1", "", "0"}, {"1", "2", ""}, {"24", "0", "0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.hour) + ":" + c.minute + ":" + c.second);
    TJobWindow* w = Window();
    w->rdoExceptTime->SetChecked(true);
    w->edDate->SetText("2024/03/20");
    w->edHour->SetText(c.hour);
    w->edMin->SetText(c.minute);
    w->edSec->SetText(c.second);
    vcl::ClearShownDialogs();
    Variant env = platform::VarArrayCreate({{1, 12}});
    EXPECT_FALSE(w->FillEnvironment(env, 12));
    EXPECT_EQ(Show(env[10]), "0");
    EXPECT_EQ(w->MessageCodes, "E;000005;I000009:日期时间I000010:错误; ");
    EXPECT_EQ(DialogTexts(), std::vector<std::string>{"E000005:I000009:日期时间I000010:错误"});
    w->Request = Variant();
    EXPECT_FALSE(w->BuildRequest());
    EXPECT_TRUE(w->Request.IsEmpty());
  }
}

#if !VK_COMPAT_BUILD
TEST_F(JobsTest, FieldTwelveIsTheRecipientListOnlyWhileNotifyIsChecked) {
  TJobWindow* w = Window();
  w->NotifyXml = "<Root><R1 ID=\"U002\"/></Root>";
  ASSERT_TRUE(w->BuildRequest());
  EXPECT_EQ(Show(w->Request[0][12]), "''");
  w->chkNotify->SetChecked(true);
  ASSERT_TRUE(w->BuildRequest());
  EXPECT_EQ(Show(w->Request[0][12]), "'<Root><R1 ID=\"U002\"/></Root>'");
}
#else
TEST_F(JobsTest, FieldTwelveIsTheNotificationMethodAsANumber) {
  const struct {
    bool alarm, pager;
    int field;
  } cases[] = {{false, false, 1}, {true, false, 2}, {false, true, 3}, {true, true, 4}};
  TJobWindow* w = Window();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.field));
    w->chkAlarm->SetChecked(c.alarm);
    w->chkVkPager->SetChecked(c.pager);
    ASSERT_TRUE(w->BuildRequest());
    EXPECT_EQ(w->Request[0][12].Type(), platform::VarType::Integer);
    EXPECT_EQ(w->Request[0][12].AsInteger(), c.field);
  }
}
#endif

// ---------------------------------------------------------------------------
// Periodic requests.

TEST_F(JobsTest, APeriodicRequestCarriesTheScheduleAndTheDynamicFieldBlocks) {
  TJobWindow* w = Window();
  const std::string etx = "\x03";
  const std::string record = "0" + etx + "sp01" + etx + "Y" + etx + "-1" + etx + "1" + etx + "1" +
                             etx + "0" + etx + "N" + etx + "0" + etx + "0" + etx + "0" + etx + "0" +
                             etx + "D";
  w->DynamicFieldRules->Add(record);
  w->btnPeriod->SetDown(true);
  w->btnPeriod->Click();
  EXPECT_TRUE(w->tsPeriodOption->TabVisible());
  w->sePeriodHour->SetValue(8);
  w->sePeriodMin->SetValue(5);

  ASSERT_TRUE(w->BuildRequest());
  const Variant& r = w->Request;
  ASSERT_EQ(r.HighBound(), 4);
  EXPECT_EQ(Show(r[0][9]), "'r'");
  EXPECT_EQ(Show(r[3]), "['Y','08:05',<empty>,<empty>]");
  EXPECT_EQ(Show(r[4]), "[1,'" + record + etx + "1']");
  EXPECT_EQ(r[4][0].Type(), platform::VarType::Integer);
  EXPECT_EQ(r[2].HighBound(), 4);  // the values of the first run

  // Each submission appends the condition's position once more.
  ASSERT_TRUE(w->BuildRequest());
  EXPECT_EQ(w->DynamicFieldRules->Get(0), record + etx + "1" + etx + "1");

  // Scheduled at a time, the run time goes into the generation-time fields.
  w->rdoExceptTime->SetChecked(true);
  ASSERT_TRUE(w->BuildRequest());
  EXPECT_EQ(w->edHour->Text(), "8");
  EXPECT_EQ(w->edMin->Text(), "5");
  EXPECT_EQ(w->edSec->Text(), "00");
  EXPECT_EQ(Show(w->Request[0][10]), "2");

  // Switched off again: a one-off request with the program kind in capitals.
  w->btnPeriod->SetDown(false);
  w->btnPeriod->Click();
  EXPECT_FALSE(w->tsPeriodOption->TabVisible());
  ASSERT_TRUE(w->BuildRequest());
  EXPECT_EQ(w->Request.HighBound(), 2);
  EXPECT_EQ(Show(w->Request[0][9]), "'R'");
}

// ---------------------------------------------------------------------------
// Submission to the report module.

TEST_F(JobsTest, AnAcceptedJobIsShownStoredAndClosesTheWindow) {
  host_.Messages["I;000004"] = "作业 %s 已排入";
  TJobWindow* w = Window();
  ShowWindow(w);
  w->sp01->edBegin()->SetText("2024/03/31");
  w->sp01->edFinal()->SetText("2024/03/01");
  w->ed05->SetText("P01");
  w->chk09->SetChecked(true);
  w->edPrintDate->SetText("2024/03/05");
  const int before = JobCount();

  w->btnOk->Click();
  ASSERT_EQ(w->ResultCode, 1);
  const std::string id = platform::VarToStr(w->ResultValue);
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{"I000004:作业 " + id + " 已排入"});
  EXPECT_EQ(w->MessageCodes, "I;000004;" + id + "; ");
  EXPECT_EQ(JobCount(), before + 1);

  const StoredJob job = ReadJob(id);
  ASSERT_TRUE(job.Found) << id;
  EXPECT_EQ(job.GenerationMode, 0);
  EXPECT_EQ(job.ProgramKind, "R");
  EXPECT_EQ(job.UserID, "U001");
  EXPECT_EQ(job.RunAt, "2024-03-05 14:07:09");
  // Every text arrives as a wide text; the values in their request order.
  EXPECT_EQ(job.Part("$.bounds"), "[[0,2]]");
  EXPECT_EQ(job.Part("$.v[0].bounds"), "[[1,12]]");
  EXPECT_EQ(job.Part("$.v[0].v[0].t"), "OleStr");
  EXPECT_EQ(job.Part("$.v[0].v[0].v"), "PVQR82");
  EXPECT_EQ(job.Part("$.v[0].v[11].v"), VK_COMPAT_BUILD ? "1" : "");
  EXPECT_EQ(job.Part("$.v[1].v[0].v[0].v"), Utf8(u8"进货日期"));
  EXPECT_EQ(job.Part("$.v[1].v[3].v[1].v"), "edPrintDate");
  EXPECT_EQ(job.Part("$.v[2].v[0].v[1].v"), "20240301");
  EXPECT_EQ(job.Part("$.v[2].v[0].v[2].v"), "20240331");
  EXPECT_EQ(job.Part("$.v[2].v[1].v"), "P01");
  EXPECT_EQ(job.Part("$.v[2].v[2].v"), "Y");
  EXPECT_EQ(job.Part("$.v[2].v[3].v"), "20240305");

  vcl::Application->ProcessMessages();
  EXPECT_FALSE(Alive(w));
}

TEST_F(JobsTest, AJobSubmittedWithoutTheUserIsRecordedOnly) {
  TJobWindow* w = Window();
  w->Interactive = false;
  w->rdoRealTime->SetChecked(true);
  w->btnOk->Click();
  ASSERT_EQ(w->ResultCode, 1);
  const std::string id = platform::VarToStr(w->ResultValue);
  EXPECT_EQ(w->MessageCodes, "I;-000004;" + id + "; ");
  EXPECT_TRUE(vcl::ShownDialogs().empty());
  EXPECT_EQ(ReadJob(id).GenerationMode, 1);
}

TEST_F(JobsTest, StayingAfterSubmitLetsTheUserSubmitAgain) {
  TJobWindow* w = Window();
  ShowWindow(w);
  const int before = JobCount();
  w->miOKNoExit->Click();
  const std::string first = platform::VarToStr(w->ResultValue);
  w->btnOk->Click();  // a plain click keeps the choice
  const std::string second = platform::VarToStr(w->ResultValue);
  vcl::Application->ProcessMessages();
  ASSERT_TRUE(Alive(w));
  EXPECT_FALSE(w->ExitAfterSubmit);
  EXPECT_NE(first, second);
  EXPECT_EQ(JobCount(), before + 2);
  EXPECT_TRUE(ReadJob(first).Found);
  EXPECT_TRUE(ReadJob(second).Found);

  w->miOKExit->Click();
  EXPECT_TRUE(w->ExitAfterSubmit);
  EXPECT_EQ(JobCount(), before + 3);
  vcl::Application->ProcessMessages();
  EXPECT_FALSE(Alive(w));
}

/* A report module that refuses every job (or fails on the call). */
class RefusingServer : public platform::AutoObject {
 public:
  explicit RefusingServer(bool raise) : AutoObject("Test.Refusing") {
    AddMethod("Request", 1, 1, [this, raise](std::vector<Variant>& args) {
      ++requests;
      received = args[0];
      if (raise) throw platform::Exception("connection lost");
      return Variant("error");
    });
    AddMethod("ErrorDescript", 0, 0, [](std::vector<Variant>&) { return Variant("磁盘已满"); });
  }
  int requests = 0;
  Variant received;
};

TEST_F(JobsTest, ARefusedJobShowsTheServersReasonAndTheWindowStays) {
  host_.Messages["E;000013"] = "失败: %s";
  for (bool raise : {false, true}) {
    SCOPED_TRACE(raise ? "the call fails" : "the server answers ERROR");
    TJobWindow* w = Window();
    ShowWindow(w);
    auto server = std::make_shared<RefusingServer>(raise);
    w->AppServer = Variant(platform::DispatchPtr(server));
    vcl::ClearShownDialogs();
    w->btnOk->Click();
    EXPECT_EQ(server->requests, 1);
    EXPECT_EQ(DialogTexts(), std::vector<std::string>{"E000013:失败: 磁盘已满"});
    EXPECT_EQ(w->ResultCode, 0);
    EXPECT_TRUE(w->ResultValue.IsEmpty());
    // What went to the server: every text wide, whatever its depth.
    EXPECT_EQ(server->received[0][1].Type(), platform::VarType::OleStr);
    EXPECT_EQ(server->received[1][1][0].Type(), platform::VarType::OleStr);
    EXPECT_EQ(server->received[0][2].Type(), platform::VarType::Integer);
    vcl::Application->ProcessMessages();
    EXPECT_TRUE(Alive(w));
  }
}

TEST_F(JobsTest, CancelLeavesWithResultCodeTwo) {
  TJobWindow* w = Window();
  ShowWindow(w);
  w->btnCancel->Click();
  EXPECT_EQ(w->ResultCode, 2);
  vcl::Application->ProcessMessages();
  EXPECT_FALSE(Alive(w));
}

// ---------------------------------------------------------------------------
// Required fields.

TEST_F(JobsTest, TheGenerationTimeRequiresADateBeforeOkSendsAnything) {
  host_.Messages["E;000037"] = "请输入";
  TJobWindow* w = Window();
  ShowWindow(w);
  w->rdoExceptTime->SetChecked(true);
  EXPECT_TRUE(w->pnlTime->Enabled());
  EXPECT_EQ(w->RequiredFields, "edDate");
  EXPECT_EQ(w->edDate->Color(), BaseGene::kRequiredColour);
  const int before = JobCount();

  w->btnOk->Click();
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{"E000037:请输入"});
  EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption2);
  EXPECT_EQ(w->ActiveControl(), w->edDate);
  EXPECT_EQ(w->ResultCode, 0);
  EXPECT_EQ(JobCount(), before);

  w->rdoQueue->SetChecked(true);
  EXPECT_FALSE(w->pnlTime->Enabled());
  EXPECT_EQ(w->RequiredFields, "");
  EXPECT_NE(w->edDate->Color(), BaseGene::kRequiredColour);
  w->btnOk->Click();
  EXPECT_EQ(w->ResultCode, 1);
  EXPECT_EQ(JobCount(), before + 1);
}

TEST_F(JobsTest, TheWindowsOwnRequiredFieldsAndOtherPartsKeepEachOther) {
  TJobWindow* w = Window();
  auto* label = w->Add<vcl::TLabel>("lblNote", w->tsOption1);
  (void)label;
  const struct {
    const char* step;
    std::function<void()> act;
    std::string expected;
  } steps[] = {
      {"another part sets its fields", [w] { w->SetRequired("sp01;N;0,ed05"); }, "sp01;N;0,ed05"},
      {"the generation time at a given time", [w] { w->rdoExceptTime->SetChecked(true); },
       "edDate,sp01;N;0,ed05"},
      // Another part's list keeps only the system and periodic pages' entries.
      {"another part again", [w] { w->SetRequired("chk09"); }, "chk09,edDate"},
      {"back to the job queue", [w] { w->rdoQueue->SetChecked(true); }, ",chk09"},
      // Duplicates, unknown names and controls without a window are dropped.
      {"a list with leftovers",
       [w] {
         w->SetRequired("edDate,meStartDate,edDate,nosuch,lblNote,lblMin");
         w->SetRequired("ed05");
       },
       "ed05,edDate,meStartDate"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    s.act();
    EXPECT_EQ(w->RequiredFields, s.expected);
    EXPECT_FALSE(w->ComposingRequired);
  }
}

// ---------------------------------------------------------------------------
// Notification.

#if !VK_COMPAT_BUILD
TEST_F(JobsTest, NotifyingStartsWithTheCurrentUserAndKeepsTheListWhenUnchecked) {
  TJobWindow* w = Window();
  EXPECT_FALSE(w->btnNotify->Enabled());
  w->chkNotify->Click();
  EXPECT_TRUE(w->chkNotify->Checked());
  EXPECT_TRUE(w->btnNotify->Enabled());
  EXPECT_EQ(w->NotifyXml,
            "<?xml version=\"1.0\" encoding=\"GB2312\"?><Root><R1 ID=\"U001\" Name=\"\" "
            "Type=\"5\" Msg=\"YNN\"/></Root>");
  EXPECT_EQ(w->NotifyXml, BaseOpt::DefaultRecipientXml("U001"));

  w->NotifyXml = "N";
  w->chkNotify->Click();
  EXPECT_FALSE(w->btnNotify->Enabled());
  EXPECT_EQ(w->NotifyXml, "N");
  w->chkNotify->Click();
  EXPECT_EQ(w->NotifyXml, "N");  // a list the user made stays
}

TEST_F(JobsTest, TheRecipientButtonReadsThePortalSettingsFirst) {
  TJobWindow* w = Window();
  host_.CounterAnswer = VarArrayOf({VarArrayOf({Variant("Y")})});
  w->NotifyXml = "<Root/>";
  w->btnNotifyClick(w->btnNotify);
  EXPECT_EQ(w->PortalStarted, "Y");
  EXPECT_EQ(w->PortalAddress, "Y");
  EXPECT_EQ(host_.CallsOf("GetCounter"),
            (std::vector<std::string>{
                "GetCounter('SIMPLESQL',['SELECT MA003 FROM VRKINTMA WHERE "
                "MA001='StartupPortal' ','MA003'],['VRK','VRKDEMO'])",
                "GetCounter('SIMPLESQL',['SELECT MA003 FROM VRKINTMA WHERE MA001='Portal WS' "
                "','MA003'],['VRK','VRKDEMO'])"}));
  EXPECT_EQ(w->NotifyXml, "<Root/>");

  for (const Variant& answer : {Variant(), Variant("x"), platform::VarArrayCreate({{0, -1}})}) {
    host_.CounterAnswer = answer;
    w->btnNotifyClick(w->btnNotify);
    EXPECT_EQ(w->PortalStarted, "Y") << Show(answer);
  }
}
#endif

// ---------------------------------------------------------------------------
// The OK button's image and its menu.

TEST_F(JobsTest, OkShowsTheImageOfTheChosenVariant) {
  TJobWindow* w = Window();
  ASSERT_FALSE(w->btnOk->Glyph()->Empty());
#if !VK_COMPAT_BUILD
  EXPECT_EQ(w->btnOk->Glyph()->Width(), w->btnOK02->Glyph()->Width());
  EXPECT_EQ(w->btnOk->Glyph()->Canvas()->Pixel(8, 8), w->btnOK02->Glyph()->Canvas()->Pixel(8, 8));
  EXPECT_EQ(w->pmOKExit->Images(), nullptr);
#else
  EXPECT_EQ(w->pmOKExit->Images(), w->ImageList1);
  EXPECT_EQ(w->miOKExit->ImageIndex(), 5);
  EXPECT_EQ(w->miOKNoExit->ImageIndex(), 6);
  vcl::TBitmap exitImage, stayImage;
  ASSERT_TRUE(w->ImageList1->GetBitmap(5, &exitImage));
  ASSERT_TRUE(w->ImageList1->GetBitmap(6, &stayImage));
  auto sameImage = [](vcl::TBitmap* a, vcl::TBitmap* b) {
    for (int y = 0; y < a->Height(); ++y)
      for (int x = 0; x < a->Width(); ++x)
        if (a->Canvas()->Pixel(x, y) != b->Canvas()->Pixel(x, y)) return false;
    return a->Width() == b->Width() && a->Height() == b->Height();
  };
  EXPECT_TRUE(sameImage(w->btnOk->Glyph(), &exitImage));
  w->Interactive = false;
  w->miOKNoExit->Click();
  EXPECT_TRUE(sameImage(w->btnOk->Glyph(), &stayImage));
  EXPECT_FALSE(sameImage(w->btnOk->Glyph(), &exitImage));
#endif
}

// ---------------------------------------------------------------------------
// The scheme property list.

TEST_F(JobsTest, TheSchemeListNamesThePagesControlsInTabOrder) {
  TJobWindow* w = Window([](TJobWindow* win) {
    auto* page = new vcl::TTabSheet(win);
    page->SetName("tsOption3");
    page->SetPageControl(win->pgOption);
    page->SetPageIndex(1);  // before the system page
    auto* memo = win->Add<vcl::TMemo>("me01", page);
    auto* group = win->Add<VkRadioGroup::TVkRadioGroup>("rg02", page);
    group->Items()->Add("A");
    group->Items()->Add("B");
    auto* combo = win->Add<vcl::TComboBox>("cbo03", page);
    auto* radio = win->Add<vcl::TRadioButton>("rdo04", page);
    auto* spin = win->Add<VkSpin::TVkSpinEdit>("se05", page);
    auto* button = win->Add<vcl::TButton>("btn06", page);
    auto* mask = win->Add<vcl::TMaskEdit>("me07", page);
    auto* panel = win->Add<vcl::TPanel>("pn08", page);
    auto* inner = win->Add<vcl::TCheckBox>("chk10", panel);
    (void)memo, (void)button, (void)inner;
    combo->SetTabOrder(0);
    mask->SetTabOrder(1);
    group->SetTabOrder(2);
    radio->SetTabOrder(3);
    spin->SetTabOrder(4);
    panel->SetTabOrder(5);
    // The first page's controls in another tab order.
    win->chk09->SetTabOrder(0);
  });
  EXPECT_EQ(w->SchemeProperties,
            "chk09.checked;sp01.style;ed05.text;"
            "cbo03.itemindex;me07.text;rg02.itemindex;rdo04.checked;se05.text;chk10.checked;");
}

// ---------------------------------------------------------------------------
// F2 on the job's date fields.

TEST_F(JobsTest, F2OnAJobDateFieldAsksTheDatePicker) {
  host_.Settings = {{"Sys001", "3"}, {"Sys002", "."}};
  host_.PickedDate = "20240320";
  TJobWindow* w = Window();
  ShowWindow(w);
  w->btnPeriod->SetDown(true);
  w->btnPeriod->Click();
  w->rdoExceptTime->SetChecked(true);
  for (vcl::TMaskEdit* edit : {w->edDate, w->meStartDate, w->meEndDate}) {
    SCOPED_TRACE(edit->Name());
    edit->SetEditMask("");
    edit->SetText("01.03.2024");
    w->LookupKey(vcl::VK_F2, edit);
    EXPECT_EQ(edit->Text(), "20.03.2024");
  }
  const size_t asked = host_.CallsOf("ShowInputDay").size();
  EXPECT_EQ(asked, 3u);
  w->ed05->SetText("01.03.2024");
  w->LookupKey(vcl::VK_F2, w->ed05);
  EXPECT_EQ(w->ed05->Text(), "01.03.2024");
  EXPECT_EQ(host_.CallsOf("ShowInputDay").size(), asked);
}

}  // namespace
}  // namespace jobs_test
