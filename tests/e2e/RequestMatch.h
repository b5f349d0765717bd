#pragma once

// Stored job requests (tagged JSON, as "vkadmin job ID" prints them) held
// against the expected ones, element by element.

#include <string>
#include <vector>

#include "suite/db/Json.h"

namespace e2e {

/* The moments a scenario ran between, as the platform's date values (days
   since 1899-12-30, local time). */
struct TTimeWindow {
  double From = 0;
  double To = 0;
};

/* The platform's date value of this moment, local time. */
double NowAsDate();

/* The differences between Expected and Found, one text each, naming the
   element by its path from Name with the array's own indexes
   ("request[0][7]: expected ..., found ..."); empty when they match.
   Expected may hold, in place of any value:
     "$any"  anything;
     "$now"  a date between Window.From and Window.To: a number (the date
             value) or a text "yyyy/mm/dd hh:nn:ss[.zzz]".
   A tagged array ({"t":"Array","bounds":[[lo,hi]],"v":[...]}) is compared
   kind, bounds and then element by element; any other object member by
   member, in order; numbers by value. */
std::vector<std::string> CompareRequest(const suitedb::Json& expected, const suitedb::Json& found,
                                        const TTimeWindow& window,
                                        const std::string& name = "request");

}  // namespace e2e
