#pragma once

// A goods-receipt job request as the report window sends it, for the tests
// and measurements of the report module.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/Variant.h"

namespace reportcounter::test {

/* What the callers vary in a sample request. */
struct TSampleRequest {
  std::u16string User = u"U001";   // environment 5
  int Conditions = 3;              // environment 3, and the captions and values
  int32_t GenerationMode = 0;      // environment 10
  double RunAt = 45356.75;         // environment 11 (2024-03-05 18:00)
  std::u16string Recipients;       // environment 12, the notification list
  std::u16string DataType = u"A";  // environment 14: "A" document, "B" receipt date
  /* The component name of condition I's caption. */
  std::function<std::u16string(int)> Field = [](int) { return std::u16string(u"sp01"); };
};

/* A one-off request [environment, captions, values], each from 1, texts as
   wide strings: the environment (14 fields) of program "PVQR82" for company
   "VRK" and database "VRKDEMO", made on 2024-03-05 at 12:00 by server class
   "PVQR82S.Class1", kind "R", output flags 3, with the fields Shape gives;
   caption I is ["选择进货单号", Field(I)] and every value the range
   [4, "3401-24010100001", ""]. Callers put other values in place with
   request[2][I]. */
platform::Variant SampleJobRequest(const TSampleRequest& shape);

}  // namespace reportcounter::test
