#pragma once

#include <string>

#include "platform/core/DateTime.h"

namespace pilgarwc {

/* The date as the picker's edit shows it: "2024/03/05", or with Minguo
   years (year - 1911, three digits) "113/03/05". */
std::string PickerDateText(platform::DateTime date, bool minguo);
/* The date of such a text (also yyyymmdd without separators when not
   Minguo); 0 when it is not a date. */
platform::DateTime PickerTextDate(const std::string& text, bool minguo);

/* Shows the date picker ("日期快手") modally: a month calendar and a date edit
   (Minguo years when minguo), both on the start date (today when start is
   not a yyyymmdd date), kept in step, with OK and Cancel. A double click on
   a day takes it. OK with a text that is not a date says so and stays.
   Returns the chosen date as yyyymmdd, or "" when the picker was left. */
std::string RunDatePicker(bool minguo, const std::string& start);

}  // namespace pilgarwc
