#pragma once

#include "platform/core/DateTime.h"
#include "platform/vcl/Controls.h"

namespace pilgarwc {

/* A month calendar: one month of days to pick from, with the month and year
   to page through. Date is the day picked (a whole day number). Setting
   Date from code shows that day and runs nothing; a day the user picks
   (a click, or moving with the keys) becomes Date and runs OnChange, and a
   double click or Enter on a day runs OnDblClick after it. */
class TMonthCalendar : public vcl::TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TMonthCalendar(vcl::TComponent* owner);

  platform::DateTime Date() const { return date_; }
  void SetDate(platform::DateTime date);

  vcl::TNotifyEvent OnChange;

  /* The widget reports a day the user picked. */
  void UserPicked(int year, int month, int day);

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;

 private:
  void ShowDate();
  platform::DateTime date_;
};

}  // namespace pilgarwc
