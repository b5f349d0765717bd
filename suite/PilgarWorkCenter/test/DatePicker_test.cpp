// The date picker opened through the lookup service (ShowInputDay) and
// answered headlessly: the start date in both calendars, typing, picking a
// day, a double click, a text that is not a date, and leaving.

#include <gtest/gtest.h>

#include <QCalendarWidget>

#include "platform/core/DateTime.h"
#include "platform/core/Dispatch.h"
#include "platform/vcl/StdCtrls.h"
#include "suite/PilgarWorkCenter/DatePicker.h"
#include "suite/PilgarWorkCenter/MonthCalendar.h"
#include "suite/PilgarWorkCenter/test/SuiteEnvironment.h"

namespace pilgarwc::test {
namespace {

using platform::CallMethod;
using platform::DateTime;
using platform::EncodeDate;
using platform::VarArrayOf;
using platform::Variant;

TEST(PickerTextTest, ShowsAndReadsGregorianAndMinguoDates) {
  struct Case {
    DateTime Date;
    bool Minguo;
    const char* Text;
  } cases[] = {
      {EncodeDate(2024, 3, 5), false, "2024/03/05"},
      {EncodeDate(2024, 3, 5), true, "113/03/05"},
      {EncodeDate(1999, 12, 31), true, "088/12/31"},
      {EncodeDate(1912, 1, 1), true, "001/01/01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(PickerDateText(c.Date, c.Minguo), c.Text);
    EXPECT_EQ(PickerTextDate(c.Text, c.Minguo), c.Date);
  }
  struct Reading {
    const char* Text;
    bool Minguo;
    DateTime Date;
  } readings[] = {
      {" 113/3/5 ", true, EncodeDate(2024, 3, 5)},
      {"20240305", false, EncodeDate(2024, 3, 5)},
      {"20240305", true, DateTime{}},
      {"2024/13/01", false, DateTime{}},
      {"113-03-05", true, DateTime{}},
      {"", false, DateTime{}},
      {"abc", true, DateTime{}},
  };
  for (const Reading& r : readings) EXPECT_EQ(PickerTextDate(r.Text, r.Minguo), r.Date) << r.Text;
}

class DatePickerTest : public SuiteTest {
 protected:
  void SetUp() override {
    SuiteTest::SetUp();
    lookup_ = CallMethod(NewHost(), "Com_F2Window");
  }
  std::string Pick(bool minguo, const char* start) {
    return CallMethod(lookup_, "ShowInputDay",
                      {VarArrayOf({Variant(minguo), Variant(start), Variant("VRKDEMO")})})
        .AsString();
  }
  static QCalendarWidget* Calendar(vcl::TCustomForm& form) {
    return qobject_cast<QCalendarWidget*>(Part<TMonthCalendar>(form, "calDate")->Handle());
  }

  platform::ScopedClock clock_{[] { return platform::EncodeDate(2023, 12, 31); }};
  Variant lookup_;
};

TEST_F(DatePickerTest, StartsOnTheGivenDateOrTodayInTheAskedCalendar) {
  struct Case {
    bool Minguo;
    const char* Start;
    const char* Shown;
    DateTime Day;
  } cases[] = {
      {false, "20240305", "2024/03/05", EncodeDate(2024, 3, 5)},
      {true, "20240305", "113/03/05", EncodeDate(2024, 3, 5)},
      {false, "", "2023/12/31", EncodeDate(2023, 12, 31)},
      {true, "2024/03/05", "112/12/31", EncodeDate(2023, 12, 31)},  // not yyyymmdd: today
      {false, "20240230", "2023/12/31", EncodeDate(2023, 12, 31)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Shown);
    ModalAnswers answers([&](vcl::TCustomForm& form) {
      EXPECT_EQ(form.ClassName(), "TfrmInputDay");
      EXPECT_EQ(form.Caption(), "日期快手");
      EXPECT_EQ(Part<vcl::TEdit>(form, "edDate")->Text(), c.Shown);
      EXPECT_EQ(Part<TMonthCalendar>(form, "calDate")->Date(), c.Day);
      int y, m, d;
      platform::DecodeDate(c.Day, y, m, d);
      EXPECT_EQ(Calendar(form)->selectedDate(), QDate(y, m, d));
      Part<vcl::TButton>(form, "btnOk")->Click();
    });
    EXPECT_EQ(Pick(c.Minguo, c.Start), platform::FormatDateTime("yyyymmdd", c.Day));
  }
}

TEST_F(DatePickerTest, TypingAMinguoDateMovesTheCalendarAndIsTaken) {
  ModalAnswers answers([&](vcl::TCustomForm& form) {
    auto* edit = Part<vcl::TEdit>(form, "edDate");
    edit->SelectAll();
    vcl::SimulateText(edit, "113/4/1");
    EXPECT_EQ(Part<TMonthCalendar>(form, "calDate")->Date(), EncodeDate(2024, 4, 1));
    EXPECT_EQ(Calendar(form)->selectedDate(), QDate(2024, 4, 1));
    vcl::SimulateKey(edit, vcl::VK_RETURN);
  });
  EXPECT_EQ(Pick(true, "20240305"), "20240401");
}

TEST_F(DatePickerTest, ADayPickedInTheCalendarShowsInTheEditAndADoubleClickTakesIt) {
  ModalAnswers answers([&](vcl::TCustomForm& form) {
    QCalendarWidget* calendar = Calendar(form);
    calendar->setSelectedDate(QDate(2024, 3, 20));  // as a click on the 20th does
    EXPECT_EQ(Part<vcl::TEdit>(form, "edDate")->Text(), "113/03/20");
    emit calendar->activated(QDate(2024, 3, 22));  // a double click on the 22nd
    EXPECT_EQ(form.ModalResult(), vcl::mrOk);
  });
  EXPECT_EQ(Pick(true, "20240305"), "20240322");
}

TEST_F(DatePickerTest, ATextThatIsNotADateIsRefusedAndThePickerStays) {
  ModalAnswers answers([&](vcl::TCustomForm& form) {
    auto* edit = Part<vcl::TEdit>(form, "edDate");
    edit->SetText("2024/13/01");
    EXPECT_EQ(Part<TMonthCalendar>(form, "calDate")->Date(), EncodeDate(2024, 3, 5));
    Part<vcl::TButton>(form, "btnOk")->Click();
    EXPECT_EQ(form.ModalResult(), vcl::mrNone);
    EXPECT_TRUE(form.Visible());
    edit->SetText("2024/12/01");
    Part<vcl::TButton>(form, "btnOk")->Click();
  });
  EXPECT_EQ(Pick(false, "20240305"), "20241201");
  ASSERT_EQ(answers.Messages().size(), 1u);
  EXPECT_EQ(answers.Messages()[0], "日期格式不正确，请重新输入！");
}

TEST_F(DatePickerTest, LeavingAnswersAnEmptyText) {
  for (bool escape : {true, false}) {
    ModalAnswers answers([&](vcl::TCustomForm& form) {
      Part<TMonthCalendar>(form, "calDate")->SetDate(EncodeDate(2024, 5, 5));
      if (escape)
        vcl::SimulateKey(Part<vcl::TEdit>(form, "edDate"), vcl::VK_ESCAPE);
      else
        Part<vcl::TButton>(form, "btnCancel")->Click();
    });
    EXPECT_EQ(Pick(false, "20240305"), "");
  }
  EXPECT_THROW(CallMethod(lookup_, "ShowInputDay", {VarArrayOf({Variant(true)})}),
               platform::EBadArgument);
}

}  // namespace
}  // namespace pilgarwc::test
