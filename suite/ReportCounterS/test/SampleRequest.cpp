#include "suite/ReportCounterS/test/SampleRequest.h"

#include "platform/core/DateTime.h"

namespace reportcounter::test {

using platform::VarArrayOf;
using platform::Variant;

Variant SampleJobRequest(const TSampleRequest& shape) {
  Variant env = platform::VarArrayCreate({{1, 14}});
  env[1] = Variant(u"PVQR82");
  env[2] = Variant(int32_t{14});
  env[3] = Variant(int32_t{shape.Conditions});
  env[4] = Variant(u"VRK");
  env[5] = Variant(shape.User);
  env[6] = Variant(u"VRKDEMO");
  env[7] = Variant(platform::DateTime{45356.5});
  env[8] = Variant(u"PVQR82S.Class1");
  env[9] = Variant(u"R");
  env[10] = Variant(shape.GenerationMode);
  env[11] = Variant(platform::DateTime{shape.RunAt});
  env[12] = Variant(shape.Recipients);
  env[13] = Variant(int32_t{3});
  env[14] = Variant(shape.DataType);
  Variant captions = platform::VarArrayCreate({{1, shape.Conditions}});
  Variant values = platform::VarArrayCreate({{1, shape.Conditions}});
  for (int i = 1; i <= shape.Conditions; ++i) {
    captions[i] = VarArrayOf({Variant(u"选择进货单号"), Variant(shape.Field(i))});
    values[i] = VarArrayOf({Variant(u"\x04"), Variant(u"3401-24010100001"), Variant(u"")});
  }
  return VarArrayOf({env, captions, values});
}

}  // namespace reportcounter::test
